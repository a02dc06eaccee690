// The "DataLogging" page: its controls by model variant, what a visit stores back, and the
// handlers of the mode, the report interval, the trigger and the parameters.
#include "setup/data_logging_page.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "fake_setup_host.h"

using namespace setup::data_logging_ids;
using setup::DataLoggingPage;
using setuptest::FakeSetupHost;
using Entries = std::vector<std::string>;

namespace {

// Every variant that has the page.
const std::vector<const char*> kVariants = {
    "QS4060_00$1", "QS4060_r1$1", "QS4060_n0$1", "QS4060_J0$2", "QS4060_q0$1", "QS4060_c0$1",
    "QS4160_00$1", "QS4160_L0$1", "QS4160_H0$1", "QS4160_I0$1", "QS4160_M0$1"};

class DataLoggingPageTest : public ::testing::Test {
protected:
    // The page as a read of `model` shows it, the edited setup in its vocabulary.
    DataLoggingPage& Open(const std::string& model, const std::string& autoStore = "OFF") {
        host.ReadAs(model);
        CInstrStatus& e = host.edited;
        e.m_strAutoStore = autoStore;
        e.m_strSlmDatalogger = "ON";
        e.m_strProfDatalogger = "ON";
        e.m_strOctDatalogger = "OFF";
        e.m_strToctDatalogger = "ON";
        e.m_strShortLeqDatalogger = "C";
        e.m_strFftDatalogger = "ON";
        e.m_strReportTime = "1m";
        e.m_strReport1Param = "Leq:A";
        e.m_strReport2Param = "LE:A";
        e.m_strReport3Param = "Lpk:C";
        e.m_strReport4Param = "L1:";
        e.m_strReport5Param = "LFmx:Z";
        e.m_strStoreRepParams = "ON";
        e.m_strStoreRepOctaves = "ON";
        e.m_strStoreRepThirdOctaves = "ON";
        e.m_strStoreRepStatistics = "OFF";
        e.m_strEvent1Param = "Lpk:Z";
        e.m_strEvent2Param = "Leq:C";
        e.m_strEvent3Param = "LE:A";
        e.m_strEvent4Param = "LImn:A";
        e.m_strEvent5Param = "LSmx:Z";
        e.m_strStoreEvnParams = "ON";
        e.m_strStoreEvnOctaves = "OFF";
        e.m_strStoreEvnThirdOctaves = "ON";
        e.m_strStoreEvnStatistics = "ON";
        e.m_strEventTrigger = "LEV";
        e.m_strTriggerPolarity = "NEG";
        e.m_strTriggerOnLevel = "80";
        e.m_strTriggerOffLevel = "70";
        e.m_strTriggerOnTime = "2";
        e.m_strTriggerOffTime = "30";
        e.m_strTriggerPrint = "OFF";
        page = std::make_unique<DataLoggingPage>(host);
        page->OnInitDialog();
        page->OnSetActive();
        return *page;
    }
    setup::PageControls& C() { return page->Controls(); }
    std::string Chosen(int id) { return C().SelectedText(id).value_or("(none)"); }
    void Choose(int id, const std::string& text) {
        const Entries& entries = C().Entries(id);
        const auto it = std::find(entries.begin(), entries.end(), text);
        ASSERT_NE(it, entries.end()) << text;
        C().Select(id, static_cast<int>(it - entries.begin()));
    }
    // Every text value of the edited setup that differs from `before`, by name.
    std::vector<std::string> Changed(const CInstrStatus& before) {
        std::vector<std::string> names;
        for (const SetupValueRow& row : SetupValueRows())
            if (row.text && host.edited.*row.text != before.*row.text)
                names.push_back(std::string(row.name) + "=" + host.edited.*row.text);
        return names;
    }

    FakeSetupHost host;
    std::unique_ptr<DataLoggingPage> page;
};

}  // namespace

TEST_F(DataLoggingPageTest, EachVariantShowsItsSectionsAndAVisitStoresBackWhatItShowed) {
    for (const char* model : kVariants) {
        SCOPED_TRACE(model);
        Open(model);
        const std::string text = model;
        const bool qs4060 = text.starts_with("QS4060");
        const bool reports = text.find_first_of("rnJLHIM") != std::string::npos;
        EXPECT_EQ(C().IsShown(kReport.group), !qs4060 || reports);
        EXPECT_EQ(C().IsEnabled(kReport.group), reports);
        EXPECT_EQ(C().IsShown(kShortLeq) && C().IsEnabled(kShortLeq),
                  text.find_first_of("LH") != std::string::npos);
        EXPECT_EQ(C().IsShown(kLoggerLabel), !(qs4060 && reports));
        EXPECT_EQ(C().IsShown(kProfileLabel), qs4060 && reports);
        if (qs4060) {
            EXPECT_EQ(C().Text(kLoggerLabel),
                      text.find_first_of("rnJqc") != std::string::npos ? "ENABLED" : "DISABLED");
        }
        if (reports) {
            EXPECT_EQ(Chosen(kReportInterval), "1m");
            EXPECT_EQ(Chosen(kReport.params[1]), "LE");
            EXPECT_EQ(Chosen(kReport.weightings[1]), "A");
            EXPECT_TRUE(C().Entries(kReport.weightings[3]).empty());
            EXPECT_EQ(Chosen(kOnLevel), "80dB");
            EXPECT_EQ(Chosen(kOffTime), "30 s");
            // Octaves stored by "n", "J" and the QS4160; third octaves not by "J".
            EXPECT_EQ(C().IsChecked(kReport.storeOctaves), text.find('r') == std::string::npos);
            EXPECT_EQ(C().IsEnabled(kEvent.storeThirdOctaves),
                      text.find_first_of("rJ") == std::string::npos);
        }
        const CInstrStatus before = host.edited;
        page->OnKillActive();
        EXPECT_EQ(Changed(before), std::vector<std::string>{});
    }
}

TEST_F(DataLoggingPageTest, WithTheHalfBandShiftNeitherProfileNorOctavesAreLogged) {
    host.ReadAs("QS4160_L0$1");
    host.current.m_strHalfBandShift = "ON";
    page = std::make_unique<DataLoggingPage>(host);
    host.edited.m_strProfDatalogger = "ON";
    host.edited.m_strOctDatalogger = "ON";
    page->OnInitDialog();
    page->OnSetActive();
    EXPECT_FALSE(C().IsEnabled(kProfile));
    EXPECT_FALSE(C().IsEnabled(kOctaves));
    EXPECT_TRUE(C().IsEnabled(kThirdOctaves));
    C().Check(kProfile, true);
    page->OnKillActive();
    EXPECT_EQ(host.edited.m_strProfDatalogger, "OFF");
    EXPECT_EQ(host.edited.m_strOctDatalogger, "OFF");
}

TEST_F(DataLoggingPageTest, AutoStoreOnlyWhileNeitherReportNorEventTriggers) {
    Open("QS4060_n0$1");
    EXPECT_FALSE(C().IsEnabled(kModeAutoStore));
    Choose(kReportInterval, "OFF");
    page->OnReportIntervalChange();
    EXPECT_FALSE(C().IsEnabled(kReport.params[0]));
    EXPECT_FALSE(C().IsChecked(kReport.storeParams));
    EXPECT_FALSE(C().IsEnabled(kModeAutoStore));  // the trigger is still "LEV"
    Choose(kTrigger, "OFF");
    page->OnTriggerTypeChange();
    EXPECT_TRUE(C().IsEnabled(kModeAutoStore));
    EXPECT_TRUE(C().Entries(kPolarity).empty());
    Choose(kTrigger, "LEV");
    page->OnTriggerTypeChange();
    EXPECT_FALSE(C().IsEnabled(kModeAutoStore));
    EXPECT_EQ(Chosen(kOnLevel), "10 dB");
    EXPECT_EQ(Chosen(kEvent.params[0]), "Lpk");
    EXPECT_EQ(Chosen(kEvent.weightings[0]), "Z");
    Choose(kReportInterval, "5m");
    page->OnReportIntervalChange();
    EXPECT_EQ(C().Entries(kReport.params[0]).size(), 13u);
    C().Check(kReport.storeParams, true);
    page->OnReportParamsCheck();
    Choose(kReport.params[2], "LImx");
    page->OnReportParamChange(2);

    page->OnKillActive();
    const CInstrStatus& e = host.edited;
    EXPECT_EQ(e.m_strReportTime, "5m");
    EXPECT_EQ(e.m_strStoreRepParams, "ON");
    EXPECT_EQ(e.m_strReport3Param, "LImx:A");
    EXPECT_EQ(e.m_strReport1Param, "Lpk:Z");
    EXPECT_EQ(e.m_strEventTrigger, "LEV");
    EXPECT_EQ(e.m_strTriggerOnLevel, "10");
    EXPECT_EQ(e.m_strTriggerOffTime, "0");
    EXPECT_EQ(e.m_strStoreEvnParams, "OFF");  // cleared with the trigger "OFF"
}

TEST_F(DataLoggingPageTest, AManualTriggerKeepsOnlyItsOffTime) {
    Open("QS4160_I0$1");
    Choose(kTrigger, "MAN");
    page->OnTriggerTypeChange();
    for (int id : {kOnLevel, kOffLevel, kOnTime, kPolarity})
        EXPECT_FALSE(C().IsEnabled(id)) << id;
    EXPECT_TRUE(C().IsEnabled(kOffTime));
    EXPECT_EQ(Chosen(kOffTime), "30 s");
    Choose(kOffTime, "45 s");
    page->OnKillActive();
    EXPECT_EQ(host.edited.m_strTriggerOffTime, "45");
    EXPECT_EQ(host.edited.m_strTriggerPolarity, "NEG");
    EXPECT_EQ(host.edited.m_strTriggerOnLevel, "80");

    // Shown with "MAN" stored, the levels and times are empty; from "OFF" the off time fills.
    page->OnSetActive();
    for (int id : {kOnLevel, kOffLevel, kOnTime, kOffTime})
        EXPECT_TRUE(C().Entries(id).empty()) << id;
    Choose(kTrigger, "OFF");
    page->OnTriggerTypeChange();
    Choose(kTrigger, "EXT");
    page->OnTriggerTypeChange();
    EXPECT_EQ(Chosen(kOffTime), "0 s");
    EXPECT_EQ(Chosen(kPolarity), "POS");
}

TEST_F(DataLoggingPageTest, TheModeRadiosSwitchTheLoggingAndAClickOnTheChosenOneChangesNothing) {
    Open("QS4160_L0$1");
    page->OnModeNormal();  // already normal: the reports stay
    EXPECT_EQ(Chosen(kReportInterval), "1m");
    page->OnModeAutoStore();
    EXPECT_EQ(host.edited.m_strAutoStore, "ON");
    EXPECT_TRUE(C().IsChecked(kSlm));
    EXPECT_FALSE(C().IsChecked(kThirdOctaves));
    EXPECT_FALSE(C().IsEnabled(kSlm));
    EXPECT_TRUE(C().Entries(kReportInterval).empty());
    EXPECT_FALSE(C().IsEnabled(kTrigger));
    EXPECT_FALSE(C().IsChecked(kEvent.storeStatistics));
    page->OnModeAutoStore();
    page->OnModeNormal();
    EXPECT_EQ(host.edited.m_strAutoStore, "OFF");
    EXPECT_EQ(Chosen(kReportInterval), "OFF");
    EXPECT_EQ(C().Entries(kTrigger), (Entries{"OFF", "LEV", "MAN", "EXT"}));
    EXPECT_TRUE(C().IsEnabled(kTrigger));
    EXPECT_TRUE(C().Entries(kReport.params[0]).empty());
    EXPECT_TRUE(C().IsChecked(kProfile));

    // Shown in automatic storing, a QS4160 logs only the displayed levels: what it does not log
    // is stored off (and not sent while it stores automatically).
    Open("QS4160_L0$1", "ON");
    EXPECT_TRUE(C().IsChecked(kModeAutoStore));
    EXPECT_FALSE(C().IsEnabled(kReport.storeParams));
    const CInstrStatus before = host.edited;
    page->OnKillActive();
    EXPECT_EQ(Changed(before),
              (std::vector<std::string>{
                  "PROF_DLOGGER=OFF", "TOCT_DLOGGER=OFF", "SHORTLEQ_DLOGGER=OFF", "FFT_DLOGGER=OFF",
                  "STORE_REP_PAR=OFF", "STORE_REP_OCT=OFF", "STORE_REP_TOCT=OFF",
                  "STORE_EVN_PAR=OFF", "STORE_EVN_TOCT=OFF", "STORE_EVN_STAT=OFF"}));

    // A QS4060 stores its reports in either mode, and shows them in either.
    Open("QS4060_n0$1", "ON");
    EXPECT_EQ(Chosen(kReportInterval), "1m");
    EXPECT_TRUE(C().IsChecked(kReport.storeParams));
    const CInstrStatus shown = host.edited;
    page->OnKillActive();
    EXPECT_EQ(Changed(shown), (std::vector<std::string>{"PROF_DLOGGER=OFF", "TOCT_DLOGGER=OFF"}));
}

TEST_F(DataLoggingPageTest, ShortLeqIsLoggedWithTheWeightingChosen) {
    Open("QS4160_H0$1");
    EXPECT_EQ(Chosen(kShortLeqWeighting), "C");
    C().Check(kShortLeq, false);
    page->OnShortLeqCheck();
    EXPECT_FALSE(C().IsEnabled(kShortLeqWeighting));
    page->OnKillActive();
    EXPECT_EQ(host.edited.m_strShortLeqDatalogger, "OFF");
    page->OnSetActive();
    C().Check(kShortLeq, true);
    page->OnShortLeqCheck();
    page->OnKillActive();
    EXPECT_EQ(host.edited.m_strShortLeqDatalogger, "A");
}
