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

namespace setup {

namespace data_logging_ids {
constexpr int kModeNormal = 1717;
constexpr int kModeAutoStore = 1718;
constexpr int kSlm = 1565;
constexpr int kProfile = 1566;
constexpr int kOctaves = 1567;
constexpr int kThirdOctaves = 1568;
constexpr int kShortLeq = 1634;
constexpr int kFft = 1635;
constexpr int kShortLeqWeighting = 1637;
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
constexpr SectionIds kReport = {1694,
                                {1638, 1639, 1640, 1641, 1642},
                                {1643, 1644, 1645, 1646, 1647},
                                {1610, 1611, 1612, 1654, 1655},
                                1695,
                                1696,
                                1648,
                                1649,
                                1650,
                                1651};
constexpr int kReportInterval = 1652;
constexpr int kReportIntervalLabel = 1653;

constexpr SectionIds kEvent = {1704,
                               {1658, 1659, 1660, 1661, 1662},
                               {1663, 1664, 1665, 1666, 1667},
                               {1613, 1614, 1615, 1656, 1657},
                               1698,
                               1699,
                               1668,
                               1669,
                               1670,
                               1671};
constexpr int kTriggerGroup = 1697;
constexpr int kTrigger = 1673;
constexpr int kPolarity = 1675;
constexpr int kOnLevel = 1680;
constexpr int kOffLevel = 1681;
constexpr int kOnTime = 1684;
constexpr int kOffTime = 1685;
constexpr int kNotify = 1677;
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

    void ShowShortLeqAndFft();
    void ShowSection(const data_logging_ids::SectionIds& section,
                     const std::vector<std::string>& entries);
    void ShowReport();
    void ShowEvent();
    void StoreSection(const data_logging_ids::SectionIds& section);
};

}  // namespace setup
