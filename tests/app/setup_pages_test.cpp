// The "General" and "Spectrum" pages against the simulated meter: a whole read, the operator's
// edits on the pages, "Apply All", and exactly the commands of those edits on the line. The
// golden transcript of one such read and send is tests/app/golden/setup_read_apply_all.txt;
// KX9_UPDATE_GOLDEN=1 writes it again instead of comparing (support/golden_file.h).
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "app/monitoring_session.h"
#include "frame_test_support.h"
#include "link/model_rules.h"
#include "platform/date_time.h"
#include "setup/general_page.h"
#include "setup/setup_prop_sheet.h"
#include "setup/sheet_pages.h"
#include "setup/spectrum_page.h"
#include "support/golden_file.h"

using namespace frametest;
using Lines = std::vector<std::string>;
using setup::SetupPageKind;

namespace {

class SetupPagesTest : public FrameLinkTest {
protected:
    SetupPagesTest() {
        platform::Clock::SetFixedNow(platform::DateTime::FromParts(2026, 3, 4, 7, 8, 9).Seconds());
        op.AlwaysRunDialog("CSetupPropSheet", [this](platform::ModalDialog& dialog) {
            auto& sheet = static_cast<setup::CSetupPropSheet&>(dialog);
            ++sheets;
            // The read is over and nothing of the send has gone yet: the line where it begins.
            // Marked after the sheet, a loaded machine's late look would count the first
            // commands sent ("SET:DATE:...") as the read's.
            meter.ClearLog();
            onSheet(sheet);
            return IDOK;  // "Apply All"
        });
    }
    ~SetupPagesTest() override { platform::Clock::SetFixedNow(std::nullopt); }

    // A whole read and send is a long exchange: a slower pace keeps a busy machine's late
    // reply from counting as lost and sent again.
    platform::ScopedClockSpeed slower{8.0};

    // Reads the whole setup of a meter of `preset`, lets `edit` work on the sheet, applies
    // it, and answers what went to the meter after the read.
    Lines ReadEditAndApply(const std::string& preset,
                           std::function<void(setup::CSetupPropSheet&)> edit) {
        const simmeter::ModelPreset* model = simmeter::FindModelPreset(preset);
        EXPECT_NE(model, nullptr) << preset;
        if (!model)
            return {};
        meter.Modify([model](simmeter::MeterState& s) {
            simmeter::LoadInitialSettings(s);
            ApplyModelPreset(s, *model);
        });
        if (!Port().IsOpen())
            OpenLink();
        frame.SendCommand(0, "", "");
        EXPECT_TRUE(PumpUntil([&] { return meter.LineCount() > 0 && QueueIdle(); }));
        onSheet = std::move(edit);
        sheets = 0;
        frame.Session().QueueSetupQueries();
        EXPECT_TRUE(PumpUntil([&] { return sheets == 1; }));
        EXPECT_TRUE(PumpUntil([&] { return QueueIdle() && !frame.Mode().IsSetupQueued(); }));
        return meter.Lines();
    }

    std::function<void(setup::CSetupPropSheet&)> onSheet;
    int sheets = 0;
};

bool Holds(const setup::CSetupPropSheet& sheet, SetupPageKind kind) {
    const std::vector<SetupPageKind> kinds = sheet.Kinds();
    return std::find(kinds.begin(), kinds.end(), kind) != kinds.end();
}

// Shows the page of `kind` and answers its model.
template <typename Page>
Page& Visit(setup::CSetupPropSheet& sheet, SetupPageKind kind) {
    const std::vector<SetupPageKind> kinds = sheet.Kinds();
    const auto at = std::find(kinds.begin(), kinds.end(), kind);
    EXPECT_NE(at, kinds.end());
    EXPECT_TRUE(sheet.SetActivePage(static_cast<int>(at - kinds.begin())));
    return *sheet.FindPage<Page>();
}

}  // namespace

TEST_F(SetupPagesTest, PagesVisitedWithoutAnEditSendNothing) {
    for (const simmeter::ModelPreset& preset : simmeter::ModelPresets()) {
        SCOPED_TRACE(preset.name);
        bool spectrum = false;
        const Lines sent = ReadEditAndApply(preset.name, [&](setup::CSetupPropSheet& sheet) {
            Visit<setup::GeneralPage>(sheet, SetupPageKind::General);
            spectrum = Holds(sheet, SetupPageKind::Spectrum);
            if (spectrum)
                Visit<setup::SpectrumPage>(sheet, SetupPageKind::Spectrum);
        });
        EXPECT_EQ(spectrum, model_rules::HasSpectrum(preset.name));
        EXPECT_EQ(sent, Lines{});
    }
}

TEST_F(SetupPagesTest, EditsOfAQS4160ReachTheMeterAsTheirCommands) {
    const Lines sent = ReadEditAndApply("QS4160_L0$1", [](setup::CSetupPropSheet& sheet) {
        using namespace setup::general_ids;
        setup::GeneralPage& general = Visit<setup::GeneralPage>(sheet, SetupPageKind::General);
        setup::PageControls& g = general.Controls();
        g.Check(kUpdateClock, true);
        general.OnUpdateDateTimeCheck();
        g.SelectPrefix(kDisplayContrast, "7");
        g.SelectPrefix(kInputChannel, "LINE");
        general.OnInputChannelChange();
        g.SelectPrefix(kInputGain, "10dB");
        g.SelectPrefix(kIntegrationTime, "6m");
        general.OnIntegrationTimeChange();
        g.SelectPrefix(kOverloadLevel, "100dB");
        g.SetText(kCalLevel, "114.0");
        g.SelectPrefix(kMicResponse, "RI");
        g.SelectPrefix(kAmbientCorrection, "ON");

        using namespace setup::spectrum_ids;
        setup::SpectrumPage& spectrum = Visit<setup::SpectrumPage>(sheet, SetupPageKind::Spectrum);
        setup::PageControls& s = spectrum.Controls();
        s.SelectPrefix(kType, "MAXIMUM");
        spectrum.OnSelChangeMeanType();
        s.SelectPrefix(kStep, "1m");
        s.SelectPrefix(kMean, "EXP");
        spectrum.OnSelChangeMean();  // "FAST", as the meter has it
        s.SelectPrefix(kAuxWeighting, "Z");
        s.SelectPrefix(kFftBand, "HF");
    });
    EXPECT_EQ(sent, (Lines{"SET:DATE:2026:03:04", "SET:TIME:07:08", "SET:INPUT_G:10",
                           "SET:INTEGRATION_T:MM:06", "SET:OVER:100", "SET:SPECT_AUX:Z",
                           "SET:CAL_L:114.0", "SET:MIC_CORR:RI", "SET:DISP_C:7", "SET:IN_CH:LINE",
                           "SET:SPECTRUM_T:1m", "SET:SPECT_T:MAXIMUM", "SET:SPECT_MEAN:EXP",
                           "SET:FFT_BAND:HF", "SET:AMB_MIC_CORR:ON"}));
    // The meter took every value, and acknowledged it.
    EXPECT_EQ(meter.Setting("SPECT_T"), "MAXIMUM");
    EXPECT_EQ(app.m_InstrStatus.m_strFftBand, "HF");
    EXPECT_EQ(app.m_InstrStatus.m_strCalLevel, "114.0");
}

TEST_F(SetupPagesTest, EditsOfAFixedMicrophoneQS4060ReachTheMeterAsTheirCommands) {
    const Lines sent = ReadEditAndApply("QS4060_c0$1", [](setup::CSetupPropSheet& sheet) {
        using namespace setup::general_ids;
        setup::GeneralPage& general = Visit<setup::GeneralPage>(sheet, SetupPageKind::General);
        setup::PageControls& g = general.Controls();
        g.SelectPrefix(kAutoPowerOff, "ON");
        g.SelectPrefix(kEraseTime, "30s");
        g.SelectPrefix(kIntegrationMode, "MULTI");
        g.SetText(kCalLevel, "95.x");  // disabled: the fixed level is not the operator's

        using namespace setup::spectrum_ids;
        setup::SpectrumPage& spectrum = Visit<setup::SpectrumPage>(sheet, SetupPageKind::Spectrum);
        spectrum.Controls().SelectPrefix(kAuxWeighting, "C");
        // Back on "General", the edits are still there, and left again.
        Visit<setup::GeneralPage>(sheet, SetupPageKind::General);
    });
    // The meter takes the mode by its first four letters.
    EXPECT_EQ(sent,
              (Lines{"SET:AUTO_P:ON", "SET:ERASE_T:30s", "SET:SPECT_AUX:C", "SET:INT_MODE:MULT"}));
}

// The golden transcript of an identification, a whole setup read and "Apply All" after edits on
// both pages. The fixed clock gives the meter's new date and time.
TEST_F(SetupPagesTest, GoldenTranscriptOfASetupReadAndApplyAll) {
    ReadEditAndApply("QS4160_L0$1", [](setup::CSetupPropSheet& sheet) {
        using namespace setup::general_ids;
        setup::GeneralPage& general = Visit<setup::GeneralPage>(sheet, SetupPageKind::General);
        setup::PageControls& g = general.Controls();
        g.Check(kUpdateClock, true);
        general.OnUpdateDateTimeCheck();
        g.SelectPrefix(kDisplayContrast, "7");
        g.SelectPrefix(kIntegrationTime, "6m");
        general.OnIntegrationTimeChange();
        g.SetText(kCalLevel, "114.0");

        using namespace setup::spectrum_ids;
        setup::SpectrumPage& spectrum = Visit<setup::SpectrumPage>(sheet, SetupPageKind::Spectrum);
        setup::PageControls& s = spectrum.Controls();
        s.SelectPrefix(kType, "MAXIMUM");
        spectrum.OnSelChangeMeanType();
        s.SelectPrefix(kAuxWeighting, "C");
    });
    EXPECT_EQ(meter.Setting("SPECT_T"), "MAXIMUM");
    EXPECT_TRUE(
        golden::MatchesGolden("tests/app/golden/setup_read_apply_all.txt", meter.Transcript()));
}
