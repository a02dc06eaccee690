// The Channels and DataLogging pages against the simulated meter: a visit without an edit
// sends nothing, and the operator's edits reach the meter as exactly their setting commands.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>

#include "app/monitoring_session.h"
#include "frame_test_support.h"
#include "setup/channels_page.h"
#include "setup/data_logging_page.h"
#include "setup/setup_prop_sheet.h"

using namespace frametest;
using Lines = std::vector<std::string>;

namespace {

// A meter whose settings are written the way the pages write them.
const std::map<std::string, std::string> kSettings = {
    {"1_SLM", "Leq:A"},       {"2_SLM", "LOeq:1k"},    {"3_SLM", "L1:"},
    {"4_SLM", "LTOeq:1.25k"}, {"5_SLM", "EA:"},        {"PROFILE_P", "LTOeq:1.6k"},
    {"PROFILE_T", "0.5s"},    {"STAT_PAR", "Leq:A"},   {"EXCH", "3dB"},
    {"DOSE_T", "80dB"},       {"CRIT", "85dB"},        {"SPECT_SHIFT", "OFF"},
    {"SLM_D", "ON"},          {"PROF_D", "ON"},        {"OCT_D", "OFF"},
    {"TOCT_D", "ON"},         {"LEQ_SHORT_D", "A"},    {"FFT_D", "OFF"},
    {"SLM+PROF", "ON"},       {"AUTO_STORE", "OFF"},   {"REPORT_TIME", "1m"},
    {"1_REP_PAR", "Leq:A"},   {"2_REP_PAR", "LE:A"},   {"3_REP_PAR", "Lpk:C"},
    {"4_REP_PAR", "L1:"},     {"5_REP_PAR", "LFmx:Z"}, {"REP_PAR", "ON"},
    {"REP_OCT", "ON"},        {"REP_TOCT", "OFF"},     {"REP_STAT", "OFF"},
    {"1_EVN_PAR", "Lpk:Z"},   {"2_EVN_PAR", "Leq:C"},  {"3_EVN_PAR", "LE:A"},
    {"4_EVN_PAR", "LImn:A"},  {"5_EVN_PAR", "LSmx:Z"}, {"EVN_PAR", "ON"},
    {"EVN_OCT", "OFF"},       {"EVN_TOCT", "OFF"},     {"EVN_STAT", "OFF"},
    {"EVN_TRIG", "LEV"},      {"EVN_POL", "POS"},      {"EVN_ON_LEV", "80"},
    {"EVN_OFF_LEV", "70"},    {"EVN_ON_TIME", "2"},    {"EVN_OFF_TIME", "30"},
    {"EVN_PRINT", "OFF"}};

class SetupPagesSendTest : public FrameLinkTest {
protected:
    SetupPagesSendTest() {
        op.AlwaysRunDialog("CSetupPropSheet", [this](platform::ModalDialog& dialog) {
            ++sheets;
            // Only what the pages send from here on.
            meter.ClearLog();
            return edit(static_cast<setup::CSetupPropSheet&>(dialog));
        });
    }

    // Reads the setup of a meter of `preset`; the sheet runs `edits` and "Apply All". Answers
    // the lines the meter received after the read.
    Lines ReadEditAndApply(const std::string& preset,
                           std::function<void(setup::CSetupPropSheet&)> edits) {
        const simmeter::ModelPreset* model = simmeter::FindModelPreset(preset);
        EXPECT_NE(model, nullptr);
        meter.Modify([model](simmeter::MeterState& s) {
            ApplyModelPreset(s, *model);
            for (const auto& [key, value] : kSettings)
                s.settings[key] = value;
        });
        if (!Port().IsOpen())
            OpenLink();
        frame.SendCommand(0, "", "");
        EXPECT_TRUE(PumpUntil([&] { return meter.LineCount() > 0 && QueueIdle(); }));
        EXPECT_EQ(app.m_InstrStatus.m_strModel, preset);
        edit = [edits](setup::CSetupPropSheet& sheet) {
            edits(sheet);
            return IDOK;
        };
        const int before = sheets;
        frame.Session().QueueSetupQueries();
        EXPECT_TRUE(PumpUntil([&] { return sheets == before + 1; }));
        EXPECT_TRUE(PumpUntil([&] { return QueueIdle() && !frame.Mode().IsSetupQueued(); }));
        return meter.Lines();
    }

    // Shows the page of type `Page` and answers its model.
    template <typename Page>
    static Page& Visit(setup::CSetupPropSheet& sheet) {
        for (int i = 0; i < sheet.PageCount(); ++i) {
            if (auto* page = dynamic_cast<Page*>(&sheet.Page(i))) {
                EXPECT_TRUE(sheet.SetActivePage(i));
                return *page;
            }
        }
        ADD_FAILURE() << "no such page";
        return *sheet.FindPage<Page>();
    }
    static void VisitBoth(setup::CSetupPropSheet& sheet) {
        Visit<setup::ChannelsPage>(sheet);
        Visit<setup::DataLoggingPage>(sheet);
    }

    // The operator picks `text` in list `id` of `page`.
    static void Pick(setup::SetupPage& page, int id, const std::string& text) {
        const auto& entries = page.Controls().Entries(id);
        const auto it = std::find(entries.begin(), entries.end(), text);
        ASSERT_NE(it, entries.end()) << text;
        page.Controls().Select(id, static_cast<int>(it - entries.begin()));
    }

    int sheets = 0;
    std::function<int(setup::CSetupPropSheet&)> edit;
};

}  // namespace

TEST_F(SetupPagesSendTest, AQS4160GetsExactlyTheEditsOfBothPages) {
    // Shown and left as read, the pages send nothing.
    EXPECT_EQ(ReadEditAndApply("QS4160_L0$1", VisitBoth), Lines{});

    const Lines sent = ReadEditAndApply("QS4160_L0$1", [](setup::CSetupPropSheet& sheet) {
        using namespace setup::channels_ids;
        auto& channels = Visit<setup::ChannelsPage>(sheet);
        Pick(channels, kSlmParams[0], "LOFmx");
        channels.OnSelChangeSlm(1);
        Pick(channels, kSlmParams[2], "LTOeq");
        channels.OnSelChangeSlm(3);
        Pick(channels, kSlmBands[2], "20");
        Pick(channels, kProfileParam, "Lpkmx");
        channels.OnSelChangeProfileParam();
        Pick(channels, kPercentiles[1], "5");
        Pick(channels, kExchangeRate, "5dB");
        Pick(channels, kStatParam, "Lpk");
        channels.OnSelChangeStatParam();

        using namespace setup::data_logging_ids;
        auto& logging = Visit<setup::DataLoggingPage>(sheet);
        logging.Controls().Check(kThirdOctaves, false);
        Pick(logging, kShortLeqWeighting, "Z");
        logging.Controls().Check(kFft, true);
        Pick(logging, kReportInterval, "5m");
        logging.OnReportIntervalChange();
        Pick(logging, kReport.params[1], "LImx");
        logging.OnReportParamChange(1);
        Pick(logging, kTrigger, "MAN");
        logging.OnTriggerTypeChange();
        Pick(logging, kOffTime, "45 s");
        logging.Controls().Check(kEvent.storeStatistics, true);
    });
    EXPECT_EQ(sent,
              (Lines{"SET:EXCH:5", "SET:2_PERC:5", "SET:1_SLM:LOFmx:16", "SET:3_SLM:LTOeq:20",
                     "SET:PROFILE_P:Lpkmx:Z", "SET:TOCT_D:OFF", "SET:LEQ_SHORT_D:Z", "SET:FFT_D:ON",
                     "SET:STAT_PAR:Lpk:Z", "SET:REPORT_TIME:5m", "SET:2_REP_PAR:LImx:A",
                     "SET:EVN_STAT:ON", "SET:EVN_TRIG:MAN", "SET:EVN_OFF_TIME:45"}));
    EXPECT_EQ(meter.Setting("1_SLM"), "LOFmx:16");

    // The meter took them: read again, the pages find what they sent and send nothing.
    EXPECT_EQ(ReadEditAndApply("QS4160_L0$1", VisitBoth), Lines{});
}

TEST_F(SetupPagesSendTest, AQS4060ReportModelGetsExactlyTheEditsOfBothPages) {
    EXPECT_EQ(ReadEditAndApply("QS4060_n0$1", VisitBoth), Lines{});

    const Lines sent = ReadEditAndApply("QS4060_n0$1", [](setup::CSetupPropSheet& sheet) {
        using namespace setup::channels_ids;
        auto& channels = Visit<setup::ChannelsPage>(sheet);
        Pick(channels, kSlmParams[0], "LE");
        channels.OnSelChangeSlm(1);
        Pick(channels, kDoseThreshold, "90dB");
        Pick(channels, kStatParam, "Lpk");
        channels.OnSelChangeStatParam();

        using namespace setup::data_logging_ids;
        auto& logging = Visit<setup::DataLoggingPage>(sheet);
        Pick(logging, kTrigger, "OFF");
        logging.OnTriggerTypeChange();
        Pick(logging, kReportInterval, "OFF");
        logging.OnReportIntervalChange();
        ASSERT_TRUE(logging.Controls().IsEnabled(kModeAutoStore));
        logging.OnModeAutoStore();
    });
    EXPECT_EQ(sent, (Lines{"SET:DOSE_T:90", "SET:1_SLM:LE:A", "SET:AUTO_STORE:ON",
                           "SET:STAT_PAR:Lpk:Z", "SET:REPORT_TIME:OFF", "SET:REP_PAR:OFF",
                           "SET:REP_OCT:OFF", "SET:EVN_TRIG:OFF", "SET:EVN_PAR:OFF"}));
    EXPECT_EQ(ReadEditAndApply("QS4060_n0$1", VisitBoth), Lines{});
}
