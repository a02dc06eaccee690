#include "link/setup_value_table.h"

#include <algorithm>
#include <utility>

#include "link/model_rules.h"
#include "link/setup_value_rows.h"

namespace {

using setup_rows::kRows;

template <typename Match>
const SetupValueRow* FindFirst(Match match) {
    for (const auto& row : kRows) {
        if (match(row))
            return &row;
    }
    return nullptr;
}

bool Same(const char* a, std::string_view b) {
    return a != nullptr && b == a;
}

using ModelTest = bool (*)(std::string_view);

bool TriggerHolds(SetupGate gate, const CInstrStatus& edited) {
    using namespace setup_gate;
    const std::string& trigger = edited.m_strEventTrigger;
    return (gate.Names(kLevelTrigger) && trigger == "LEV") ||
           (gate.Names(kManualTrigger) && trigger == "MAN") ||
           (gate.Names(kExternalTrigger) && trigger == "EXT");
}

std::span<const OrderPlace> PlacesIn(const SetupValueRow& row, SetupOrder order) {
    switch (order) {
        case SetupOrder::Read:
            return row.read;
        case SetupOrder::Session:
            return {&row.session, 1};
        case SetupOrder::Send:
            return row.send;
    }
    return {};
}

int CodeAt(const SetupValueRow& row, SetupOrder order, const OrderPlace& place) {
    if (order == SetupOrder::Send)
        return place.second ? row.altSetCode : row.setCode;
    return place.second ? row.altQuery.code : row.query.code;
}

}  // namespace

bool SetupGateHolds(SetupGate gate, std::string_view model, const CInstrStatus* edited) {
    using namespace setup_gate;
    const std::pair<SetupGate, ModelTest> modelTests[] = {
        {kSpectrum, model_rules::HasSpectrum},
        {kReportLetters, model_rules::HasReports},
        {kThirdOctaveReports, model_rules::ReportsStoreThirdOctaves},
        {kOctaveReportLetters, model_rules::HasOctaveReportLetters},
        {kOctaveReportsOnly, model_rules::ReportsStoreOctavesOnly},
        {kQS4160, model_rules::IsQS4160},
        {kQS4160Reports, model_rules::IsQS4160WithReports},
        {kShortLeqAndFft, model_rules::HasShortLeqAndFft},
        {kReports, model_rules::HasReportSettings},
    };
    for (const auto& [condition, holds] : modelTests)
        if (gate.Names(condition) && !holds(model))
            return false;
    if (!gate.Names(kEditedSetup))
        return true;
    if (!edited)
        return false;
    if (gate.Names(kLogging) && edited->m_strAutoStore != "OFF")
        return false;
    const SetupGate triggers = kLevelTrigger | kManualTrigger | kExternalTrigger;
    return !gate.Names(triggers) || TriggerHolds(gate, *edited);
}

std::span<const SetupValueRow> SetupValueRows() {
    return kRows;
}

const SetupValueRow* FindSetupValue(int value) {
    if (value < 0 || value >= CInstrStatus::kValueCount)
        return nullptr;
    return &kRows[static_cast<size_t>(value)];
}

const SetupValueRow* FindSetupValueBySetupNumber(int number) {
    return FindSetupValue(ValueOfSetupNumber(number));
}

const SetupValueRow* FindSetupValueByQuery(int code) {
    if (code < 0)
        return nullptr;
    return FindFirst([code](const SetupValueRow& s) { return ReplyRuleFor(s, code) != nullptr; });
}

const SetupValueRow* FindSetupValueBySetCode(int code) {
    if (code < 0)
        return nullptr;
    return FindFirst(
        [code](const SetupValueRow& s) { return s.setCode == code || s.altSetCode == code; });
}

const SetupValueRow* FindSetupValueByName(std::string_view name) {
    return FindFirst([name](const SetupValueRow& s) { return Same(s.name, name); });
}

const SetupValueRow* FindSetupValueByKey(std::string_view key) {
    return FindFirst(
        [key](const SetupValueRow& s) { return Same(s.key, key) || Same(s.altKey, key); });
}

std::vector<const SetupValueRow*> CustomSettingsLineOrder() {
    std::vector<const SetupValueRow*> rows;
    for (const auto& row : kRows)
        if (row.keyUse == CustomKeyUse::LoadAndSave)
            rows.push_back(&row);
    std::ranges::sort(rows, {}, &SetupValueRow::keyLine);
    return rows;
}

const ReplyRule* ReplyRuleFor(const SetupValueRow& row, int code) {
    if (row.query.form != ReplyForm::None && row.query.code == code)
        return &row.query;
    if (row.altQuery.form != ReplyForm::None && row.altQuery.code == code)
        return &row.altQuery;
    return nullptr;
}

std::vector<OrderStep> SetupOrderSteps(SetupOrder order, std::string_view model,
                                       const CInstrStatus* edited,
                                       std::span<const SetupValueRow> rows) {
    std::vector<std::pair<int, OrderStep>> placed;
    for (const SetupValueRow& row : rows) {
        for (const OrderPlace& place : PlacesIn(row, order)) {
            if (place.position > 0 && SetupGateHolds(row.gate | place.gate, model, edited))
                placed.push_back({place.position, {&row, CodeAt(row, order, place)}});
        }
    }
    std::ranges::stable_sort(placed, {}, &std::pair<int, OrderStep>::first);
    std::vector<OrderStep> steps;
    for (const auto& [position, step] : placed)
        steps.push_back(step);
    return steps;
}
