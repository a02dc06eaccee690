// The "General" page on its model: the lists by model variant, showing the edited setup,
// storing the operator's choices, the clock and the strict calibration level.
#include "setup/general_page.h"

#include <gtest/gtest.h>

#include "fake_setup_host.h"
#include "platform/date_time.h"
#include "setup/strict_number.h"
#include "support/test_env.h"

using namespace setup::general_ids;
using setup::GeneralPage;
using setup::PickerDate;
using setup::PickerTime;
using setuptest::FakeSetupHost;

namespace {

class GeneralPageTest : public ::testing::Test {
protected:
    GeneralPageTest() { platform::Clock::SetFixedNow(kPcNow.Seconds()); }
    ~GeneralPageTest() override { platform::Clock::SetFixedNow(std::nullopt); }

    // The page of a meter of `model` whose setup reads as a meter reports it.
    GeneralPage& Open(const std::string& model) {
        host.ReadAs(model);
        setuptest::FillAsMeter(host.current);
        host.edited = host.current;
        page.OnInitDialog();
        page.OnSetActive();
        return page;
    }
    std::optional<std::string> Shown(int list) const { return c().SelectedText(list); }
    const setup::PageControls& c() const { return page.Controls(); }
    setup::PageControls& c() { return page.Controls(); }
    CInstrStatus& edited() { return host.edited; }

    const platform::DateTime kPcNow = platform::DateTime::FromParts(2026, 3, 4, 7, 8, 9);
    testenv::TestOperator op;
    FakeSetupHost host;
    GeneralPage page{host};
};

}  // namespace

TEST(StrictNumber, OnlyAWholeTextOfDigitsIsANumber) {
    EXPECT_EQ(setup::ParseWholeNumber("140"), 140);
    EXPECT_EQ(setup::ParseWholeNumber("05"), 5);
    for (const char* bad : {"", "-1", "+5", " 5", "5 ", "5dB", "1e2", "1234567890"})
        EXPECT_FALSE(setup::ParseWholeNumber(bad)) << bad;
    EXPECT_DOUBLE_EQ(*setup::ParseDecimal("94.0"), 94.0);
    EXPECT_DOUBLE_EQ(*setup::ParseDecimal("130.25"), 130.25);
    EXPECT_DOUBLE_EQ(*setup::ParseDecimal("130"), 130.0);
    for (const char* bad : {"95.x", "94.", ".5", "9 4.0", "1e2", "94,0", "-94.0", "94.0.1", ""})
        EXPECT_FALSE(setup::ParseDecimal(bad)) << bad;
}

TEST_F(GeneralPageTest, AQS4060ShowsTheMetersValuesAndLeavingStoresThemUnchanged) {
    Open("QS4060_00$1");
    EXPECT_EQ(c().Entries(kBaudRate).back(), "230.4k");
    EXPECT_EQ(c().Entries(kIntegrationTime).size(), 218u);
    EXPECT_EQ(c().Entries(kInputGain).size(), 5u);
    EXPECT_EQ(Shown(kDisplayContrast), "5");
    EXPECT_EQ(Shown(kInputGain), "20dB");
    EXPECT_EQ(Shown(kEraseTime), "5s");
    EXPECT_EQ(Shown(kIntegrationTime), "10s");
    EXPECT_EQ(Shown(kOverloadLevel), "140dB");
    EXPECT_EQ(c().Text(kCalLevel), "94.0");
    EXPECT_EQ(page.MeterDate(), (PickerDate{2024, 1, 15}));
    EXPECT_EQ(page.MeterTime(), (PickerTime{10, 30, 0}));
    EXPECT_EQ(page.PcTime(), (PickerTime{7, 8, 9}));
    EXPECT_FALSE(c().IsEnabled(kInputChannel));
    EXPECT_FALSE(c().IsShown(kAmbientCorrection));
    EXPECT_TRUE(c().IsShown(kMicResponse));
    // The clock box starts cleared: the PC clock runs but cannot be edited.
    EXPECT_TRUE(page.IsClockRunning());
    EXPECT_FALSE(c().IsEnabled(kPcTime));

    const CInstrStatus before = host.edited;
    EXPECT_TRUE(page.OnKillActive());
    EXPECT_FALSE(page.IsClockRunning());
    EXPECT_EQ(edited().m_strInputGain, "20");  // without its unit: the send compares by part
    edited().m_strInputGain = before.m_strInputGain;
    EXPECT_EQ(setuptest::Differences(before, host.edited), "");
}

TEST_F(GeneralPageTest, VariantsHideWhatTheMeterCannotSet) {
    Open("QS4060_c0$1");
    for (int id : {kMicResponse, kWindShield, kMicResponseLabel, kWindShieldLabel})
        EXPECT_FALSE(c().IsShown(id)) << id;
    EXPECT_FALSE(c().IsEnabled(kCalLevel));
    // Its fixed level is no text of the operator's: it is neither checked nor stored.
    c().SetText(kCalLevel, "1");
    EXPECT_TRUE(page.OnKillActive());
    EXPECT_EQ(edited().m_strCalLevel, "94.0");

    GeneralPage noLogging(host);
    host.ReadAs("QS4060_p0$1");
    noLogging.OnInitDialog();
    EXPECT_EQ(noLogging.Controls().Entries(kIntegrationMode), (std::vector<std::string>{"SINGLE"}));
}

TEST_F(GeneralPageTest, AQS4160OffersItsOwnListsAndForcesSingleWhileReporting) {
    Open("QS4160_00$1");
    EXPECT_EQ(c().Entries(kInputGain), (std::vector<std::string>{"00dB", "10dB"}));
    EXPECT_TRUE(c().IsEnabled(kInputChannel));
    EXPECT_TRUE(c().IsShown(kAmbientCorrection));
    // "20dB" is no entry here: the list shows nothing and the value stays.
    EXPECT_EQ(Shown(kInputGain), std::nullopt);
    EXPECT_TRUE(page.OnKillActive());
    EXPECT_EQ(edited().m_strInputGain, "20dB");

    GeneralPage reporting(host);
    host.ReadAs("QS4160_L0$1");
    setuptest::FillAsMeter(host.current);
    host.edited = host.current;
    host.edited.m_strIntegrationMode = "MULTI";
    host.edited.m_strReportTime = "1m";
    reporting.OnInitDialog();
    reporting.OnSetActive();
    EXPECT_EQ(reporting.Controls().SelectedText(kIntegrationMode), "SINGLE");
    EXPECT_FALSE(reporting.Controls().IsEnabled(kIntegrationMode));
    // Another integration time does not free it while the report runs.
    reporting.Controls().Select(kIntegrationTime, 61);
    reporting.OnIntegrationTimeChange();
    EXPECT_FALSE(reporting.Controls().IsEnabled(kIntegrationMode));
    EXPECT_TRUE(reporting.OnKillActive());
    EXPECT_EQ(host.edited.m_strIntegrationMode, "SINGLE");
    host.edited.m_strReportTime = "OFF";
    reporting.OnSetActive();
    EXPECT_TRUE(reporting.Controls().IsEnabled(kIntegrationMode));
}

TEST_F(GeneralPageTest, TheOperatorsChoicesAreStoredInTheMetersNotation) {
    Open("QS4160_L0$1");
    c().Select(kDisplayContrast, 6);
    c().SelectPrefix(kInputChannel, "LINE");
    page.OnInputChannelChange();
    EXPECT_EQ(Shown(kDaOutput), "OFF");
    c().Select(kDaOutput, 0);
    c().SelectPrefix(kInputGain, "10dB");
    c().Select(kIntegrationTime, 119);  // 1h
    c().Select(kOverloadLevel, 0);
    c().SelectPrefix(kWindShield, "WME");
    ASSERT_TRUE(page.OnKillActive());
    EXPECT_EQ(edited().m_strDisplayContrast, "9");
    EXPECT_EQ(edited().m_strInputChannel, "LINE");
    EXPECT_EQ(edited().m_strDaOutput, "ON");
    EXPECT_EQ(edited().m_strInputGain, "10");
    EXPECT_EQ(edited().m_strIntegrationTime, "HH:01");
    EXPECT_EQ(edited().m_strOverloadLevel, "20");
    EXPECT_EQ(edited().m_strWindShield, "WME");

    // Shown again: the stored texts find their entries.
    page.OnSetActive();
    EXPECT_EQ(Shown(kIntegrationTime), "1h");
    EXPECT_EQ(Shown(kOverloadLevel), "20dB");
}

TEST_F(GeneralPageTest, IntegrationTimesAndTheirEntries) {
    EXPECT_EQ(setup::EntryOfIntegrationTime("MM:05"), 64);
    EXPECT_EQ(setup::EntryOfIntegrationTime("HH:99"), 217);
    EXPECT_EQ(setup::EntryOfIntegrationTime("HH:00"), 0);
    EXPECT_EQ(setup::IntegrationTimeOfEntry(0), "SS:00");
    for (const char* none : {"SS:60", "MM:xx", "0", "-1", ""})
        EXPECT_EQ(setup::EntryOfIntegrationTime(none), std::nullopt) << none;
    EXPECT_EQ(setup::IntegrationTimeOfEntry(218), std::nullopt);

    // No time at all allows a single integration only.
    Open("QS4060_00$1");
    c().SelectPrefix(kIntegrationMode, "MULTI");
    c().Select(kIntegrationTime, 0);
    page.OnIntegrationTimeChange();
    EXPECT_EQ(Shown(kIntegrationMode), "SINGLE");
    EXPECT_FALSE(c().IsEnabled(kIntegrationMode));
    EXPECT_TRUE(page.OnKillActive());
    EXPECT_EQ(edited().m_strIntegrationTime, "SS:00");
    c().Select(kIntegrationTime, 3);
    page.OnIntegrationTimeChange();
    EXPECT_TRUE(c().IsEnabled(kIntegrationMode));
}

TEST_F(GeneralPageTest, ListsWithoutASelectionOrUnreadValuesLeaveTheirValues) {
    host.ReadAs("QS4160_L0$1");  // nothing read: "-1" everywhere, the mode "SINGLE"
    page.OnInitDialog();
    page.OnSetActive();
    c().SetText(kCalLevel, "94.0");
    const CInstrStatus before = host.edited;
    ASSERT_TRUE(page.OnKillActive());
    EXPECT_EQ(setuptest::Differences(before, host.edited), "CAL_L");

    // An empty text selects nothing either, rather than the first entry.
    host.edited.m_strBaudRate.clear();
    host.edited.m_strAutoPowerOff.clear();
    page.OnSetActive();
    EXPECT_EQ(Shown(kBaudRate), std::nullopt);
    ASSERT_TRUE(page.OnKillActive());
    EXPECT_EQ(host.edited.m_strBaudRate, "");
    EXPECT_EQ(host.edited.m_strAutoPowerOff, "");

    // A "DA" input channel leaves the D/A output off.
    host.edited.m_strInputChannel = "DA";
    page.OnSetActive();
    EXPECT_EQ(c().Entries(kDaOutput), (std::vector<std::string>{"OFF"}));
    EXPECT_EQ(Shown(kDaOutput), "OFF");
    c().SelectPrefix(kInputChannel, "MIC");
    page.OnInputChannelChange();
    EXPECT_EQ(c().Entries(kDaOutput), (std::vector<std::string>{"ON", "OFF"}));
    EXPECT_EQ(Shown(kDaOutput), "OFF");
}

TEST_F(GeneralPageTest, TheCalibrationLevelIsADecimalNumberWithinRange) {
    Open("QS4060_00$1");
    for (const char* accepted : {"130.0", "90.0", "94.5"}) {
        c().SetText(kCalLevel, accepted);
        EXPECT_TRUE(page.OnKillActive()) << accepted;
        EXPECT_EQ(edited().m_strCalLevel, accepted);
    }
    const char* kNoDecimal = "ERROR: Insert Cal. Level with decimal digit (es. 130.0).";
    const char* kOutOfRange = "ERROR: Cal. Level out of range.\nAllowed range 90-130";
    const std::pair<const char*, const char*> refused[] = {
        {"130", kNoDecimal},  {"95.x", kNoDecimal},   {"9.5.0", kNoDecimal}, {"", kNoDecimal},
        {"94,0", kNoDecimal}, {"130.1", kOutOfRange}, {"89.9", kOutOfRange}, {"0.0", kOutOfRange},
    };
    for (const auto& [text, message] : refused) {
        SCOPED_TRACE(text);
        c().SetText(kCalLevel, text);
        c().SelectPrefix(kWindShield, "SAV");
        c().Select(kOverloadLevel, 10);
        op.ExpectBox(message);
        EXPECT_FALSE(page.OnKillActive());
        EXPECT_EQ(edited().m_strCalLevel, "94.5");
        // What comes before the level is stored, what comes after it is not.
        EXPECT_EQ(edited().m_strOverloadLevel, "30");
        EXPECT_EQ(edited().m_strWindShield, "OFF");
    }
}

TEST_F(GeneralPageTest, TheMetersClockIsSetFromThePcOnlyWhenTheBoxIsTicked) {
    Open("QS4060_00$1");
    ASSERT_TRUE(page.OnKillActive());
    EXPECT_EQ(edited().m_nDateTimeFlag, 0);
    EXPECT_EQ(edited().m_strDate, host.current.m_strDate);
    EXPECT_EQ(edited().m_strTime, host.current.m_strTime);

    page.OnSetActive();
    c().Check(kUpdateClock, true);
    page.OnUpdateDateTimeCheck();
    EXPECT_TRUE(page.IsClockRunning());
    EXPECT_TRUE(c().IsEnabled(kPcTime));
    platform::Clock::SetFixedNow(kPcNow.AddSeconds(60).Seconds());
    EXPECT_TRUE(page.OnTimer());
    EXPECT_EQ(page.PcTime(), (PickerTime{7, 9, 9}));
    ASSERT_TRUE(page.OnKillActive());
    EXPECT_EQ(edited().m_nDateTimeFlag, 1);
    EXPECT_EQ(edited().m_strDate, "2026:03:04");
    EXPECT_EQ(edited().m_strTime, "07:09");

    // A time typed by hand: the clock stops when the picker takes the focus.
    page.OnSetActive();
    page.OnSetFocusPcTime();
    EXPECT_FALSE(page.IsClockRunning());
    EXPECT_FALSE(page.OnTimer());
    page.SetPcTime(PickerTime{23, 5, 0});
    page.SetPcDate(PickerDate{2031, 12, 31});
    ASSERT_TRUE(page.OnKillActive());
    EXPECT_EQ(edited().m_strDate, "2031:12:31");
    EXPECT_EQ(edited().m_strTime, "23:05");

    // A picker without a valid value sets nothing of its own.
    page.OnSetActive();
    page.SetPcTime(std::nullopt);
    ASSERT_TRUE(page.OnKillActive());
    EXPECT_EQ(edited().m_strTime, host.current.m_strTime);

    // An unreadable meter date leaves its picker without a value.
    host.edited.m_strDate = "2000/13/45";
    page.OnSetActive();
    EXPECT_EQ(page.MeterDate(), std::nullopt);
}
