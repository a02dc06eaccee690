// Golden command lists of "Apply All": for each model text, a whole setup read from the simulated
// meter, one set of edits on every page the model has, and the commands that went out after the
// read, as the meter received them (the queue's order). The edits are the operator's: a control
// the model hides or disables is left alone, a list entry it lacks is not chosen.
//
// The lists are kept in tests/app/golden/setup_commands.txt; KX9_UPDATE_GOLDEN=1 writes it
// again instead of comparing (support/golden_file.h). The fixed clock gives the meter's new
// date and time.
#include <gtest/gtest.h>

#include <functional>

#include "app/monitoring_session.h"
#include "frame_test_support.h"
#include "platform/date_time.h"
#include "setup/channels_page.h"
#include "setup/data_logging_page.h"
#include "setup/general_page.h"
#include "setup/setup_prop_sheet.h"
#include "setup/spectrum_page.h"
#include "support/golden_file.h"

using namespace frametest;
using golden::Lines;

namespace {

const char* const kModels[] = {"QS4060_00", "QS4060_p0", "QS4060_q0",  "QS4060_r0",
                               "QS4060_n0", "QS4060_j0", "QS4060_B0",  "QS4060_c0$2",
                               "QS4160_L1", "QS4160_I0", "QS4160_000", "QS4160_M0$2"};

// What the operator can reach on a page.
bool Reachable(setup::SetupPage& page, int id) {
    return page.Controls().IsShown(id) && page.Controls().IsEnabled(id);
}

// Types the first letters of `text` into list `id`; whether an entry was chosen.
bool Choose(setup::SetupPage& page, int id, const std::string& text) {
    return Reachable(page, id) && page.Controls().SelectPrefix(id, text);
}

void Tick(setup::SetupPage& page, int id, bool checked) {
    if (Reachable(page, id))
        page.Controls().Check(id, checked);
}

// Shows the page of type `Page` when the model has it.
template <typename Page>
Page* Visit(setup::CSetupPropSheet& sheet) {
    for (int i = 0; i < sheet.PageCount(); ++i) {
        if (auto* page = dynamic_cast<Page*>(&sheet.Page(i))) {
            EXPECT_TRUE(sheet.SetActivePage(i));
            return page;
        }
    }
    return nullptr;
}

void EditGeneral(setup::GeneralPage& page) {
    using namespace setup::general_ids;
    if (Reachable(page, kUpdateClock)) {
        page.Controls().Check(kUpdateClock, true);
        page.OnUpdateDateTimeCheck();
    }
    Choose(page, kDisplayContrast, "7");
    Choose(page, kAutoPowerOff, "ON");
    if (Choose(page, kInputChannel, "LINE"))
        page.OnInputChannelChange();
    Choose(page, kInputGain, "10dB");
    if (Choose(page, kIntegrationTime, "6m"))
        page.OnIntegrationTimeChange();
    Choose(page, kEraseTime, "30s");
    Choose(page, kOverloadLevel, "100dB");
    if (Reachable(page, kCalLevel))
        page.Controls().SetText(kCalLevel, "114.0");
    Choose(page, kMicResponse, "RI");
    Choose(page, kAmbientCorrection, "ON");
    Choose(page, kIntegrationMode, "MULTI");
}

void EditChannels(setup::ChannelsPage& page) {
    using namespace setup::channels_ids;
    if (Choose(page, kSlmParams[0], "LE"))
        page.OnSelChangeSlm(1);
    if (Choose(page, kSlmParams[2], "Lpk"))
        page.OnSelChangeSlm(3);
    if (Choose(page, kProfileParam, "Lpkmx"))
        page.OnSelChangeProfileParam();
    Choose(page, kPercentiles[1], "5");
    Choose(page, kExchangeRate, "5dB");
    Choose(page, kDoseThreshold, "90dB");
    if (Choose(page, kStatParam, "Lpk"))
        page.OnSelChangeStatParam();
}

void EditSpectrum(setup::SpectrumPage& page) {
    using namespace setup::spectrum_ids;
    if (Choose(page, kType, "MAXIMUM"))
        page.OnSelChangeMeanType();
    Choose(page, kStep, "1m");
    if (Choose(page, kMean, "EXP"))
        page.OnSelChangeMean();
    Choose(page, kAuxWeighting, "C");
    Choose(page, kFftBand, "HF");
}

void EditDataLogging(setup::DataLoggingPage& page) {
    using namespace setup::data_logging_ids;
    Tick(page, kThirdOctaves, false);
    Tick(page, kFft, true);
    Choose(page, kShortLeqWeighting, "Z");
    if (Choose(page, kReportInterval, "5m"))
        page.OnReportIntervalChange();
    if (Choose(page, kReport.params[1], "LImx"))
        page.OnReportParamChange(1);
    if (Choose(page, kTrigger, "LEV"))
        page.OnTriggerTypeChange();
    Choose(page, kOffTime, "45 s");
    Tick(page, kEvent.storeStatistics, true);
}

void EditEveryPage(setup::CSetupPropSheet& sheet) {
    if (auto* general = Visit<setup::GeneralPage>(sheet))
        EditGeneral(*general);
    if (auto* channels = Visit<setup::ChannelsPage>(sheet))
        EditChannels(*channels);
    if (auto* spectrum = Visit<setup::SpectrumPage>(sheet))
        EditSpectrum(*spectrum);
    if (auto* logging = Visit<setup::DataLoggingPage>(sheet))
        EditDataLogging(*logging);
}

class GoldenSetupCommandsTest : public FrameLinkTest {
protected:
    GoldenSetupCommandsTest() {
        platform::Clock::SetFixedNow(platform::DateTime::FromParts(2026, 3, 4, 7, 8, 9).Seconds());
        op.AlwaysRunDialog("CSetupPropSheet", [this](platform::ModalDialog& dialog) {
            ++sheets;
            // The read is over: what the meter hears from here on is the send.
            meter.ClearLog();
            EditEveryPage(static_cast<setup::CSetupPropSheet&>(dialog));
            return IDOK;  // "Apply All"
        });
    }
    ~GoldenSetupCommandsTest() override { platform::Clock::SetFixedNow(std::nullopt); }

    // A meter as the simulator starts it, read as `model`; the lines of the send.
    Lines ReadEditAndApply(const std::string& model) {
        meter.Modify([](simmeter::MeterState& s) { simmeter::LoadInitialSettings(s); });
        app.m_InstrStatus = CInstrStatus();
        app.m_InstrStatus.m_strModel = model;
        app.m_EditStatus = app.m_InstrStatus;
        if (!Port().IsOpen())
            OpenLink();
        const int before = sheets;
        frame.Session().QueueSetupQueries();
        EXPECT_TRUE(PumpUntil([&] { return sheets == before + 1; }));
        EXPECT_TRUE(PumpUntil([&] { return QueueIdle() && !frame.Mode().IsSetupQueued(); }));
        return meter.Lines();
    }

    // A whole read and send is a long exchange: a slower pace keeps a busy machine's late
    // reply from counting as lost and sent again.
    platform::ScopedClockSpeed slower{8.0};
    int sheets = 0;
};

}  // namespace

TEST_F(GoldenSetupCommandsTest, ApplyAllQueuesTheCommandsOfTheEditsForEachModel) {
    Lines all;
    for (const char* model : kModels) {
        SCOPED_TRACE(model);
        all.push_back(std::string("== ") + model);
        const Lines sent = ReadEditAndApply(model);
        all.insert(all.end(), sent.begin(), sent.end());
    }
    EXPECT_TRUE(golden::MatchesGolden("tests/app/golden/setup_commands.txt", all));
}
