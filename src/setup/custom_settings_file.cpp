#include "setup/custom_settings_file.h"

#include <algorithm>
#include <cctype>
#include <optional>

#include "link/instr_status.h"
#include "link/setup_replies.h"
#include "link/setup_value_table.h"
#include "platform/text.h"

namespace setup {

namespace {

constexpr const char* kLevelTrigger = "LEV";

// The gain as a settings file writes it, from the meter's form ("20dB") or a page's ("20").
std::optional<std::string> GainInDb(std::string_view value) {
    const std::string digits = CleanValue(value, ValueCleanup::NoDecibel);
    if (digits.empty() || digits.size() > 2 ||
        !std::ranges::all_of(digits, [](unsigned char c) { return std::isdigit(c) != 0; }))
        return std::nullopt;
    const int db = platform::Atoi(digits);
    if (db % 10 != 0 || db > 40)
        return std::nullopt;
    return platform::Format("%02ddB", db);
}

bool IsOnOff(std::string_view value) {
    return value == "ON" || value == "OFF";
}

// The key a row is written or taken under for this model and trigger; nullptr for none.
const char* KeyFor(const SetupValueRow& row, bool reports, const CInstrStatus& edited) {
    switch (row.keyGate) {
        case CustomKeyGate::Always:
            return row.key;
        case CustomKeyGate::Reports:
            return reports ? row.key : nullptr;
        case CustomKeyGate::LevelTrigger:
            if (!reports)
                return nullptr;
            return edited.m_strEventTrigger == kLevelTrigger ? row.key : row.altKey;
    }
    return nullptr;
}

}  // namespace

bool HasCustomReportSettings(std::string_view model) {
    return SetupGateHolds(setup_gate::kReports, model);
}

std::string WriteCustomSettings(const CInstrStatus& edited, std::string_view model) {
    const bool reports = HasCustomReportSettings(model);
    std::string text;
    for (const SetupValueRow* row : CustomSettingsLineOrder()) {
        const char* key = KeyFor(*row, reports, edited);
        if (!key)
            continue;
        std::optional<std::string> value = edited.*row->text;
        if (row->keyForm == CustomKeyForm::GainInDb)
            value = GainInDb(*value);
        else if (row->keyForm == CustomKeyForm::OnOff && !IsOnOff(*value))
            value.reset();
        if (value)
            text += std::string(key) + "=" + *value + "\r\n";
    }
    return text;
}

void LoadCustomSettings(const std::vector<std::string>& lines, std::string_view model,
                        CInstrStatus& edited) {
    const bool reports = HasCustomReportSettings(model);
    for (const std::string& line : lines) {
        const size_t equals = line.find('=');
        if (equals == std::string::npos)
            continue;
        const std::string key = line.substr(0, equals);
        const SetupValueRow* row = FindSetupValueByKey(key);
        if (!row || !row->text || row->keyUse == CustomKeyUse::None)
            continue;
        const char* taken = KeyFor(*row, reports, edited);
        if (!taken || key != taken)
            continue;
        std::string value = platform::Trim(line.substr(equals + 1));
        if (row->keyForm == CustomKeyForm::OnOff && !IsOnOff(value))
            continue;
        if (row->keyForm == CustomKeyForm::GainInDb)
            value = CleanValue(value, ValueCleanup::NoDecibel);
        edited.*row->text = value;
    }
}

}  // namespace setup
