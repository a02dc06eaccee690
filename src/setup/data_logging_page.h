#pragma once
// The "DataLogging" page: what the meter stores while it logs (the measured channels, short Leq
// and FFT), normal or automatic storing, and for the models with reports and events the report
// interval and the event trigger, each with five parameters and what they store. Its controls
// follow the model variant; it shows the edited setup when activated and stores the operator's
// choices when left, a list without a choice leaving its value as it was. Only the mode radios
// write at once (the automatic storing).

#include <array>
#include <string>
#include <vector>

#include "setup/setup_page.h"
#include "setup/value_controls.h"

namespace setup {

namespace data_logging_ids {
constexpr int kModeNormal = ControlOf("AUTOSTORE").second;
constexpr int kModeAutoStore = ControlOf("AUTOSTORE").id;
constexpr int kSlm = ControlOf("SLM_DLOGGER").id;
constexpr int kProfile = ControlOf("PROF_DLOGGER").id;
constexpr int kOctaves = ControlOf("OCT_DLOGGER").id;
constexpr int kThirdOctaves = ControlOf("TOCT_DLOGGER").id;
constexpr int kShortLeq = ControlOf("SHORTLEQ_DLOGGER").id;
constexpr int kFft = ControlOf("FFT_DLOGGER").id;
constexpr int kShortLeqWeighting = ControlOf("SHORTLEQ_DLOGGER").second;
constexpr int kLoggerLabel = 1626;
constexpr int kProfileLabel = 1764;

// The report or the event section: five parameters with their weightings, and what it stores.
struct SectionIds {
    int group;
    std::array<int, 5> params;
    std::array<int, 5> weightings;
    std::array<int, 5> paramLabels;
    int paramsGroup;
    int storeGroup;
    int storeParams;
    int storeOctaves;
    int storeThirdOctaves;
    int storeStatistics;
};
// The section of the values shown by its parameter lists and store checks.
consteval SectionIds Section(int group, std::array<const char*, 5> params,
                             std::array<int, 5> paramLabels, int paramsGroup, int storeGroup,
                             std::array<const char*, 4> stores) {
    SectionIds s{};
    s.group = group;
    s.paramLabels = paramLabels;
    s.paramsGroup = paramsGroup;
    s.storeGroup = storeGroup;
    for (size_t n = 0; n < params.size(); ++n) {
        s.params[n] = ControlOf(params[n]).id;
        s.weightings[n] = ControlOf(params[n]).second;
    }
    s.storeParams = ControlOf(stores[0]).id;
    s.storeOctaves = ControlOf(stores[1]).id;
    s.storeThirdOctaves = ControlOf(stores[2]).id;
    s.storeStatistics = ControlOf(stores[3]).id;
    return s;
}

constexpr SectionIds kReport =
    Section(1694, {"1_REPORT_PAR", "2_REPORT_PAR", "3_REPORT_PAR", "4_REPORT_PAR", "5_REPORT_PAR"},
            {1610, 1611, 1612, 1654, 1655}, 1695, 1696,
            {"STORE_REP_PAR", "STORE_REP_OCT", "STORE_REP_TOCT", "STORE_REP_STAT"});
constexpr int kReportInterval = ControlOf("REPORT_TIME").id;
constexpr int kReportIntervalLabel = 1653;

constexpr SectionIds kEvent =
    Section(1704, {"1_EVENT_PAR", "2_EVENT_PAR", "3_EVENT_PAR", "4_EVENT_PAR", "5_EVENT_PAR"},
            {1613, 1614, 1615, 1656, 1657}, 1698, 1699,
            {"STORE_EVN_PAR", "STORE_EVN_OCT", "STORE_EVN_TOCT", "STORE_EVN_STAT"});
constexpr int kTriggerGroup = 1697;
constexpr int kTrigger = ControlOf("EVN_TRIG").id;
constexpr int kPolarity = ControlOf("EVN_TRIG_POL").id;
constexpr int kOnLevel = ControlOf("EVN_TRIG_ON_LEV").id;
constexpr int kOffLevel = ControlOf("EVN_TRIG_OFF_LEV").id;
constexpr int kOnTime = ControlOf("EVN_TRIG_ON_TIME").id;
constexpr int kOffTime = ControlOf("EVN_TRIG_OFF_TIME").id;
constexpr int kNotify = ControlOf("EVN_TRIG_PRINT").id;
// Trigger, polarity, on and off level, on and off time, notify.
constexpr std::array<int, 7> kTriggerLabels = {1672, 1674, 1678, 1679, 1682, 1683, 1676};
}  // namespace data_logging_ids

class DataLoggingPage : public SetupPage {
public:
    explicit DataLoggingPage(SetupHost& host);

    void OnInitDialog() override;
    void OnSetActive() override;
    bool OnKillActive() override;

    // The mode radios: a click on the mode already chosen changes nothing.
    void OnModeNormal();
    void OnModeAutoStore();
    void OnShortLeqCheck();
    // "Param. 1- 5" of the report and of the event.
    void OnReportParamsCheck();
    void OnEventParamsCheck();
    void OnReportIntervalChange();
    void OnTriggerTypeChange();
    // Parameter `n` (0..4) changed: its weighting list refilled, the first entry chosen.
    void OnReportParamChange(int n);
    void OnEventParamChange(int n);

private:
    bool IsQS4060() const;
    bool HasQS4060Reports() const;
    bool HasQS4160Reports() const;
    bool HasSections() const;
    bool StoresOctaves() const;
    bool StoresThirdOctaves() const;
    bool IsBandShifted() const;

    void ApplyModelVisibility();
    void EnableChannelChecks(bool enabled);
    void EnableStoreChecks(const data_logging_ids::SectionIds& section, bool enabled);
    void EnableParams(const data_logging_ids::SectionIds& section, bool enabled);
    void EmptyParams(const data_logging_ids::SectionIds& section);
    void ClearStoreChecks(const data_logging_ids::SectionIds& section);
    void FillWeightings(const data_logging_ids::SectionIds& section, int n);
    void RefillParams(const data_logging_ids::SectionIds& section,
                      const std::vector<std::string>& entries);
    void EmptyTriggerLists();
    void SwitchSection(const data_logging_ids::SectionIds& section, bool on, int otherSelector,
                       const std::vector<std::string>& parameters);

    void ShowShortLeqAndFft();
    void ShowSection(const data_logging_ids::SectionIds& section,
                     const std::vector<std::string>& entries);
    void ShowReport();
    void ShowEvent();
    void StoreSection(const data_logging_ids::SectionIds& section);
};

}  // namespace setup
