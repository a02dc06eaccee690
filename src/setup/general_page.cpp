#include "setup/general_page.h"

#include "link/baud_rates.h"
#include "link/instr_status.h"
#include "link/model_rules.h"
#include "platform/clock.h"
#include "platform/date_time.h"
#include "platform/operator.h"
#include "platform/text.h"
#include "setup/strict_number.h"

namespace setup {

using namespace general_ids;

namespace {

// The integration time list: seconds 0..59, minutes 1..59, hours 1..99.
struct TimeUnit {
    const char* prefix;  // as stored, "SS"
    const char* suffix;  // as listed, "s"
    int first, last;
};
constexpr TimeUnit kTimeUnits[] = {{"SS", "s", 0, 59}, {"MM", "m", 1, 59}, {"HH", "h", 1, 99}};

constexpr int kOverloadLowest = 20;
constexpr int kOverloadHighest = 200;
constexpr double kCalLevelLowest = 90.0;
constexpr double kCalLevelHighest = 130.0;

std::vector<std::string> IntegrationTimeEntries() {
    std::vector<std::string> entries;
    for (const TimeUnit& unit : kTimeUnits)
        for (int n = unit.first; n <= unit.last; ++n)
            entries.push_back(platform::Format("%d%s", n, unit.suffix));
    return entries;
}

std::vector<std::string> Numbered(int first, int last, const char* format) {
    std::vector<std::string> entries;
    for (int n = first; n <= last; ++n)
        entries.push_back(platform::Format(format, n));
    return entries;
}

std::vector<std::string> BaudRateEntries() {
    std::vector<std::string> entries;
    for (const baud_rates::BaudRateText& entry : baud_rates::kBaudRateTexts)
        entries.emplace_back(entry.text);
    return entries;
}

std::optional<PickerDate> DateOfSetup(const std::string& text) {
    const std::optional<platform::DateTime> date = platform::DateTime::Parse(text);
    if (!date || !date->IsValid())
        return std::nullopt;
    return PickerDate{date->Year(), date->Month(), date->Day()};
}

// "10:30" or "10:30:00".
std::optional<PickerTime> TimeOfSetup(const std::string& text) {
    const std::vector<std::string> parts = platform::Split(platform::Trim(text), ':');
    if (parts.size() != 2 && parts.size() != 3)
        return std::nullopt;
    int fields[3] = {0, 0, 0};
    for (size_t i = 0; i < parts.size(); ++i) {
        const std::optional<int> n = ParseWholeNumber(parts[i]);
        if (!n)
            return std::nullopt;
        fields[i] = *n;
    }
    if (fields[0] > 23 || fields[1] > 59 || fields[2] > 59)
        return std::nullopt;
    return PickerTime{fields[0], fields[1], fields[2]};
}

std::string NoDecibel(const std::string& text) {
    return platform::Remove(platform::Remove(text, 'd'), 'B');
}

}  // namespace

std::optional<std::string> IntegrationTimeOfEntry(int index) {
    int first = 0;
    for (const TimeUnit& unit : kTimeUnits) {
        const int count = unit.last - unit.first + 1;
        if (index >= first && index < first + count)
            return platform::Format("%s:%.2d", unit.prefix, unit.first + index - first);
        first += count;
    }
    return std::nullopt;
}

std::optional<int> EntryOfIntegrationTime(const std::string& text) {
    // "SS:05": the unit, then two digits from the fourth character.
    int first = 0;
    for (const TimeUnit& unit : kTimeUnits) {
        const int count = unit.last - unit.first + 1;
        if (platform::Contains(text, unit.prefix)) {
            const std::optional<int> n = ParseWholeNumber(platform::Mid(text, 3, 2));
            // No time at all, in whatever unit, is the first entry.
            if (n == 0)
                return 0;
            if (!n || *n < unit.first || *n > unit.last)
                return std::nullopt;
            return first + *n - unit.first;
        }
        first += count;
    }
    return std::nullopt;
}

GeneralPage::GeneralPage(SetupHost& host) : SetupPage(host, SetupPageKind::General) {}

void GeneralPage::OnInitDialog() {
    PageControls& c = Controls();
    const bool qs4160 = model_rules::IsQS4160(Model());
    FillTableLists();
    c.FillList(kBaudRate, BaudRateEntries());
    if (qs4160) {
        c.FillList(kInputChannel, {"MIC", "LINE"});
        c.FillList(kInputGain, {"00dB", "10dB"});
        c.FillList(kDaOutput, {"ON", "OFF"});
        c.FillList(kAmbientCorrection, {"ON", "OFF"});
    } else {
        c.FillList(kInputChannel, {"MIC"});
        c.Select(kInputChannel, 0);
        c.FillList(kInputGain, {"00dB", "10dB", "20dB", "30dB", "40dB"});
        c.FillList(kDaOutput, {"OFF"});
        c.Select(kDaOutput, 0);
        c.FillList(kAmbientCorrection, {"OFF"});
        c.Select(kAmbientCorrection, 0);
    }
    c.FillList(kIntegrationTime, IntegrationTimeEntries());
    c.FillList(kOverloadLevel, Numbered(kOverloadLowest, kOverloadHighest, "%ddB"));
    if (model_rules::HasDataLogging(Model()))
        c.FillList(kIntegrationMode, {"SINGLE", "MULTI"});
    else
        c.FillList(kIntegrationMode, {"SINGLE"});
}

void GeneralPage::EnableClockControls(bool enabled) {
    for (int id : {kClockWarning, kClockWarningIcon, kPcDate, kPcTime})
        Controls().Enable(id, enabled);
}

void GeneralPage::ShowPcClock() {
    const platform::DateTime now(platform::Clock::Now());
    m_pcDate = PickerDate{now.Year(), now.Month(), now.Day()};
    m_pcTime = PickerTime{now.Hour(), now.Minute(), now.Second()};
}

bool GeneralPage::IsIntegrationModeForced() const {
    return model_rules::IsQS4160WithReports(Model()) && Edited().m_strReportTime != "OFF";
}

void GeneralPage::OnSetActive() {
    PageControls& c = Controls();
    const CInstrStatus& edited = Edited();
    m_clockRunning = true;
    m_activated = true;
    EnableClockControls(c.IsChecked(kUpdateClock));
    c.Enable(kMeterDate, false);
    c.Enable(kMeterTime, false);

    m_meterDate = DateOfSetup(edited.m_strDate);
    m_meterTime = TimeOfSetup(edited.m_strTime);
    ShowPcClock();

    ShowTableValues();
    c.SelectPrefix(kInputChannel, edited.m_strInputChannel);
    c.SelectPrefix(kInputGain, edited.m_strInputGain);
    c.SelectPrefix(kDaOutput, edited.m_strDaOutput);
    if (edited.m_strInputChannel == "DA") {
        c.FillList(kDaOutput, {"OFF"});
        c.Select(kDaOutput, 0);
    }

    // A time or level that names no entry keeps the list as it was.
    if (const std::optional<int> entry = EntryOfIntegrationTime(edited.m_strIntegrationTime))
        c.Select(kIntegrationTime, *entry);
    if (const std::optional<int> level = ParseWholeNumber(edited.m_strOverloadLevel);
        level && *level >= kOverloadLowest && *level <= kOverloadHighest)
        c.Select(kOverloadLevel, *level - kOverloadLowest);

    c.SetText(kCalLevel, NoDecibel(edited.m_strCalLevel));

    if (model_rules::IsQS4160WithReports(Model())) {
        if (IsIntegrationModeForced())
            c.Select(kIntegrationMode, 0);
        c.Enable(kIntegrationMode, !IsIntegrationModeForced());
    }

    const bool qs4160 = model_rules::IsQS4160(Model());
    c.Enable(kInputChannel, qs4160);
    c.Enable(kDaOutput, qs4160);
    c.Show(kAmbientCorrectionLabel, qs4160);
    if (!qs4160 && model_rules::HasFixedMicrophone(Model())) {
        for (int id : {kMicResponse, kWindShield, kMicResponseLabel, kWindShieldLabel})
            c.Show(id, false);
        c.Enable(kCalLevel, false);
    }
}

void GeneralPage::StoreSelected(int list, std::string& value) const {
    if (const std::optional<std::string> text = Controls().SelectedText(list))
        value = *text;
}

bool GeneralPage::OnKillActive() {
    const PageControls& c = Controls();
    CInstrStatus& edited = Edited();
    const CInstrStatus& current = Current();
    m_clockRunning = false;

    // The meter's clock is set only when the box is ticked; otherwise the date and time equal
    // the meter's and are not sent. A picker without a value sets nothing.
    const bool setClock = c.IsChecked(kUpdateClock);
    edited.m_nDateTimeFlag = setClock ? 1 : 0;
    edited.m_strDate = setClock && m_pcDate ? platform::Format("%.2d:%.2d:%.2d", m_pcDate->year,
                                                               m_pcDate->month, m_pcDate->day)
                                            : current.m_strDate;
    edited.m_strTime = setClock && m_pcTime
                           ? platform::Format("%.2d:%.2d", m_pcTime->hour, m_pcTime->minute)
                           : current.m_strTime;

    // What comes before the calibration level in the table is stored even when the level is
    // refused, what comes after it is not.
    constexpr int kCalLevelValue = RowOf("CAL_L").value;
    StoreTableValues(0, kCalLevelValue);
    StoreSelected(kInputChannel, edited.m_strInputChannel);
    if (const std::optional<std::string> gain = c.SelectedText(kInputGain))
        edited.m_strInputGain = NoDecibel(*gain);
    StoreSelected(kDaOutput, edited.m_strDaOutput);
    if (const std::optional<std::string> time =
            IntegrationTimeOfEntry(c.Selected(kIntegrationTime)))
        edited.m_strIntegrationTime = *time;
    if (const int overload = c.Selected(kOverloadLevel); overload >= 0)
        edited.m_strOverloadLevel = platform::Format("%d", overload + kOverloadLowest);

    if (!TakeCalLevel())
        return false;
    StoreTableValues(kCalLevelValue + 1);
    return true;
}

bool GeneralPage::TakeCalLevel() {
    // A fixed calibration level is shown, not edited: the operator could not mend it.
    if (!Controls().IsEnabled(kCalLevel))
        return true;
    const std::string text = platform::Trim(Controls().Text(kCalLevel));
    const std::optional<double> level = ParseDecimal(text);
    if (!platform::Contains(text, ".") || !level) {
        platform::AfxMessageBox("ERROR: Insert Cal. Level with decimal digit (es. 130.0).",
                                MB_ICONEXCLAMATION);
        return false;
    }
    if (*level < kCalLevelLowest || *level > kCalLevelHighest) {
        platform::AfxMessageBox("ERROR: Cal. Level out of range.\nAllowed range 90-130",
                                MB_ICONEXCLAMATION);
        return false;
    }
    Edited().m_strCalLevel = text;
    return true;
}

void GeneralPage::OnUpdateDateTimeCheck() {
    const bool ticked = Controls().IsChecked(kUpdateClock);
    EnableClockControls(ticked);
    m_clockRunning = ticked;
}

void GeneralPage::OnSetFocusPcTime() {
    m_clockRunning = false;
}

bool GeneralPage::OnTimer() {
    if (!m_clockRunning)
        return false;
    const platform::DateTime now(platform::Clock::Now());
    m_pcTime = PickerTime{now.Hour(), now.Minute(), now.Second()};
    return true;
}

void GeneralPage::OnInputChannelChange() {
    PageControls& c = Controls();
    const std::optional<std::string> channel = c.SelectedText(kInputChannel);
    if (!channel)
        return;
    if (*channel == "DA") {
        c.FillList(kDaOutput, {"OFF"});
        c.Select(kDaOutput, 0);
    } else {
        c.FillList(kDaOutput, {"ON", "OFF"});
        c.Select(kDaOutput, 1);
    }
}

void GeneralPage::OnIntegrationTimeChange() {
    PageControls& c = Controls();
    const int entry = c.Selected(kIntegrationTime);
    if (entry < 0)
        return;
    if (entry == 0) {
        c.Select(kIntegrationMode, 0);
        c.Enable(kIntegrationMode, false);
    } else {
        c.Enable(kIntegrationMode, !IsIntegrationModeForced());
    }
}

}  // namespace setup
