#include "app/setup_texts.h"

#include <cmath>
#include <map>

#include "link/instr_status.h"
#include "link/model_rules.h"
#include "link/setup_value_table.h"
#include "platform/text.h"

using platform::Contains;
using platform::Format;

namespace {

std::string* CurrentSlot(CInstrStatus& current, std::string_view name) {
    const SetupValueRow* row = FindSetupValueByName(name);
    return row ? current.Text(row->value) : nullptr;
}

std::string CurrentValue(const CInstrStatus& current, std::string_view name) {
    const SetupValueRow* row = FindSetupValueByName(name);
    return row ? current.GetText(row->value) : std::string();
}

void SetCurrent(CInstrStatus& current, std::string_view name, const std::string& text) {
    if (std::string* value = CurrentSlot(current, name))
        *value = text;
}

// --- parameter names

const std::map<std::string_view, const char*>& WeightedNames() {
    static const std::map<std::string_view, const char*> names = {
        {"LeqS", "L%seqS"},
        {"Lpk", "L%spk"},
        {"Lpkmx", "L%spkmax"},
        {"Leq", "L%seq"},
        {"LFp", "L%sFp"},
        {"LSp", "L%sSp"},
        {"LIp", "L%sIp"},
        {"LFmx", "L%sFmax"},
        {"LSmx", "L%sSmax"},
        {"LImx", "L%sImax"},
        {"LFmn", "L%sFmin"},
        {"LSmn", "L%sSmin"},
        {"LImn", "L%sImin"},
        {"LOeqI", "LeqOct%s(Inst)"},
        {"LOeq", "LeqOct%s"},
        {"LOFp", "LFpOct%s"},
        {"LOFmx", "LFmaxOct%s"},
        {"LOSmx", "LSmaxOct%s"},
        {"LOFmn", "LFminOct%s"},
        {"LOSmn", "LSminOct%s"},
        {"LTOeqI", "LeqTOct%s(Inst)"},
        {"LTOeq", "LeqTOct%s"},
        {"LTOFp", "LFpTOct%s"},
        {"LTOFmx", "LFmaxTOct%s"},
        {"LTOSmx", "LSmaxTOct%s"},
        {"LTOFmn", "LFminTOct%s"},
        {"LTOSmn", "LSminTOct%s"},
    };
    return names;
}

const std::map<std::string_view, const char*>& FixedNames() {
    static const std::map<std::string_view, const char*> names = {
        {"Lav4", "Lav,4"}, {"Lav5", "Lav,5"}, {"Lep,d", "LEP,d"},   {"LE", "LE"},
        {"EA", "EA"},      {"Dose", "Dose"},  {"Dose,d", "Dose,d"}, {"OL", "OL"},
    };
    return names;
}

const std::map<std::string_view, const char*>& PercentileValues() {
    static const std::map<std::string_view, const char*> values = {
        {"L1", "PERC1_LEV"}, {"L2", "PERC2_LEV"}, {"L3", "PERC3_LEV"}, {"L4", "PERC4_LEV"}};
    return values;
}

std::string PercentileName(std::string_view name, const CInstrStatus& current) {
    const std::string text =
        std::string(name) + ":" + CurrentValue(current, PercentileValues().at(name));
    const int colon = platform::Find(text, ':');
    std::string level = platform::Mid(text, colon + 1);
    level = platform::Remove(platform::Remove(level, ' '), '%');
    return "L" + level;
}

// --- setup lines

enum class Store {
    None,
    Text,        // the field's text becomes the current value
    TextSuffix,  // the text with the line's suffix
    Line,        // the whole line (the record processors read the value from its 13th character)
};

struct LineRule {
    const char* value;  // the value's name: the setup table gives its field
    const char* label;
    const char* suffix = "";
    // The line for a model other than QS4160: nullptr the same line, "" no line.
    const char* otherModels = nullptr;
    Store store = Store::None;
};

// In list order. "Dose Thr" and "Crit.Lev" come in this order although the block keeps the
// criterion level first: each line shows its own value's field.
const LineRule kLines[] = {
    {"INSTR_M", "Model: "},
    {"INSTR_N", "Ser.Num: "},
    {"INSTR_V", "Soft.Ver.: "},
    {"MIC_M", "Mic.Model: "},
    {"MIC_T", "Mic.Type: "},
    {"MIC_N", "Mic.Num: "},
    {"DATE", "Instr.Date: ", "", nullptr, Store::Line},
    {"TIME", "Instr.Time: ", "", nullptr, Store::Line},
    {"MEM_S", "Mem.Size: "},
    {"AUTO_PWR_OFF", "Auto Off: "},
    {"INPUT_CH", "In Channel: ", "", "In Channel: MIC"},
    {"DA_OUTPUT", "DA Output: ", "", "DA Output: OFF"},
    {"BAUD", "Baudrate: "},
    {"INPUT_GAIN", "In. Gain: ", "", nullptr, Store::Text},
    {"PROFILE_TIME", "Profile Time: ", "", "Profile Time: 0.125s", Store::Text},
    {"PROFILE_SPECTRUM_TIME", "Spectrum Time: ", "", "Spectrum Time: 0.5s"},
    {"INTEGRATION_TIME", "Integration Time: "},
    {"ERASE_TIME", "Erase Time: "},
    {"EXCHANGE_RATE", "Exch.Rate: ", " dB"},
    {"DOSE_THRESHOLD", "Dose Thr: ", " dB"},
    {"CRITERION_LEV", "Crit.Lev: ", " dB"},
    {"OVERLOAD_LEV", "Ovl.Lev: ", " dB"},
    {"PERC1_LEV", "1 Perc.Lev: ", " %", nullptr, Store::TextSuffix},
    {"PERC2_LEV", "2 Perc.Lev: ", " %", nullptr, Store::TextSuffix},
    {"PERC3_LEV", "3 Perc.Lev: ", " %", nullptr, Store::TextSuffix},
    {"PERC4_LEV", "4 Perc.Lev: ", " %", nullptr, Store::TextSuffix},
    {"SPECT_AUX_POND", "Spect.Aux.Pond: "},
    {"SPECT_TYPE", "Spect.Type: ", "", "Spect.Type: AVG"},
    {"SPECT_MEAN", "Spect.Mean.: ", "", "Spect.Mean.: LIN"},
    {"SPECT_MEAN_WEIGHT", "Spect.Mean.Weight: ", "", "", Store::Text},
    {"SPECT_SHIFT", "Spect.Shift: ", "", "Spect.Shift: OFF", Store::Text},
    {"CAL_L", "Cal.Lev: "},
    {"WIND_SHIELD", "Wind Shield: "},
    {"MIC_RESP", "Acoustic field: "},
    {"AMB_CORR", "Ambiental Curr.: ", "", ""},
    {"MIC_CT", "Mic.Temp.Corr: ", "", ""},
};

// The integration mode's line goes right after the integration time's.
constexpr const char* kIntegrationModeValue = "INTEGR_MODE";
constexpr const char* kIntegrationModeLabel = "Integr.Mode: ";
constexpr size_t kIntegrationModeRow = 17;

std::string FieldOf(const records::SetupBlock& block, const char* value) {
    const SetupValueRow* row = FindSetupValueByName(value);
    return row && row->block >= 0 ? block.Text(row->block) : std::string();
}

// "SS:10" -> "10 s": the two digits after the unit, and the unit.
std::string IntegrationTime(const std::string& text) {
    std::string time = platform::Mid(text, 3, 2);
    if (Contains(text, "HH"))
        time += " h";
    else if (Contains(text, "MM"))
        time += " m";
    else if (Contains(text, "SS"))
        time += " s";
    return time;
}

// The line of a rule, its value's field `text`: the model as the current setup has it, the
// integration time in its unit, a fixed line for another model than a QS4160's.
std::string SetupLine(const LineRule& rule, const std::string& text, const CInstrStatus& current,
                      bool qs4160) {
    const std::string_view value = rule.value;
    if (value == "INSTR_M")
        return rule.label + CurrentValue(current, "INSTR_M");
    if (value == "INTEGRATION_TIME")
        return rule.label + IntegrationTime(text);
    if (!qs4160 && rule.otherModels)
        return rule.otherModels;
    return rule.label + text + rule.suffix;
}

// What a rule keeps of its line in the current setup.
void StoreSetupLine(const LineRule& rule, const std::string& text, const std::string& line,
                    CInstrStatus& current, bool qs4160) {
    const std::string_view value = rule.value;
    switch (rule.store) {
        case Store::Text:
            SetCurrent(current, value, text);
            break;
        case Store::TextSuffix:
            SetCurrent(current, value, text + rule.suffix);
            break;
        case Store::Line:
            SetCurrent(current, value, line);
            break;
        case Store::None:
            break;
    }
    if (value == "PROFILE_SPECTRUM_TIME")
        SetCurrent(current, value, qs4160 ? text : std::string("0.5"));
    else if (value == "INTEGRATION_TIME")
        SetCurrent(current, value, IntegrationTime(text));
}

// The block's integration mode, kept in the current setup. A page file keeps its scheduler
// fields where the live block keeps the integration mode: such a block has no mode to show.
std::string IntegrationMode(const records::SetupBlock& block, CInstrStatus& current) {
    const std::string_view schedule =
        block.Bytes().substr(records::kAcquisitionTimeOffset, records::kSchedulerFieldBytes);
    if (records::ParseSchedulerField(schedule).status != records::ScheduleTime::kInvalid)
        return {};
    const std::string mode = FieldOf(block, kIntegrationModeValue);
    SetCurrent(current, kIntegrationModeValue, mode);
    return mode;
}

}  // namespace

std::string ParameterDisplayName(std::string_view code, const CInstrStatus& current) {
    const int colon = platform::ReverseFind(code, ':');
    const std::string name = colon < 0 ? std::string(code) : platform::Left(code, colon);
    std::string weighting = colon < 0 ? std::string() : platform::Mid(code, colon + 1);
    if (weighting == "LIN")
        weighting = "Z";

    if (PercentileValues().contains(name))
        return PercentileName(name, current);
    if (const auto fixed = FixedNames().find(name); fixed != FixedNames().end())
        return fixed->second;
    if (const auto weighted = WeightedNames().find(name); weighted != WeightedNames().end())
        return platform::ReplaceAll(weighted->second, "%s", weighting);
    return name + weighting;
}

std::vector<std::string> BuildSetupLines(const records::SetupBlock& block, CInstrStatus& current) {
    const bool qs4160 = model_rules::IsQS4160(CurrentValue(current, "INSTR_M"));
    std::vector<std::string> lines;
    for (const LineRule& rule : kLines) {
        const std::string text = FieldOf(block, rule.value);
        const std::string line = SetupLine(rule, text, current, qs4160);
        StoreSetupLine(rule, text, line, current, qs4160);
        if (!line.empty())
            lines.push_back(line);
    }
    const std::string mode = IntegrationMode(block, current);
    lines.insert(lines.begin() + std::min(kIntegrationModeRow, lines.size()),
                 kIntegrationModeLabel + mode);
    return lines;
}

std::string ScheduleDurationLine(const char* label, double days) {
    const long long seconds = std::isfinite(days) ? std::llround(days * 86400.0) : 0;
    return Format("%s: %lldh-%lldm-%llds", label, (seconds / 3600) % 24, (seconds / 60) % 60,
                  seconds % 60);
}
