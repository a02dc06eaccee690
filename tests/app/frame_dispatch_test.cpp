// The replies' owners against the simulated meter: the identification chain of every model
// variant, a whole setup read, sending back only what the operator changed or loaded from a
// custom setting, refusals and wrong-state replies, the screen loop and the live records.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>

#include "app/meter_state_replies.h"
#include "app/monitoring_session.h"
#include "app/setup_transfer.h"
#include "frame_test_support.h"
#include "link/model_rules.h"
#include "link/session_queries.h"
#include "link/setup_replies.h"
#include "link/setup_value_table.h"
#include "platform/text.h"
#include "setup/current_settings.h"
#include "setup/custom_settings_dialogs.h"
#include "setup/options_page.h"
#include "setup/setup_prop_sheet.h"
#include "setup/sheet_pages.h"

using namespace frametest;

namespace {

// The key of a setting query's command text "SET:<key>:?".
std::string KeyOf(int code) {
    const std::string text = CCommand(code, "", "").GetText();
    return platform::Mid(text, 4, platform::Find(text, ":?") - 4);
}

// What the meter receives for them: the event trigger's reply ("MAN") adds its off time.
std::vector<std::string> LinesOf(const std::vector<int>& codes) {
    std::vector<std::string> lines;
    for (int code : codes) {
        lines.push_back(platform::TrimRight(CCommand(code, "", "").GetText()));
        if (code == 181)
            lines.push_back("SET:EVN_OFF_TIME:?");
    }
    return lines;
}

std::vector<std::string> SentSince(const std::vector<std::string>& lines, size_t first) {
    return std::vector<std::string>(
        lines.begin() + static_cast<long>(std::min(first, lines.size())), lines.end());
}

class FrameDispatchTest : public FrameLinkTest {
protected:
    FrameDispatchTest() {
        op.AlwaysRunDialog("CSetupPropSheet", [this](platform::ModalDialog& dialog) {
            auto& sheet = static_cast<setup::CSetupPropSheet&>(dialog);
            sheets.push_back(sheet.Kinds());
            return onSheet ? onSheet(sheet) : IDCANCEL;
        });
    }

    void UsePreset(const std::string& name) {
        const simmeter::ModelPreset* preset = simmeter::FindModelPreset(name);
        ASSERT_NE(preset, nullptr) << name;
        meter.Modify([preset](simmeter::MeterState& s) { ApplyModelPreset(s, *preset); });
    }

    // The connect's model query and the chain it starts, until the queue has run dry.
    void Identify() {
        frame.SendCommand(0, "", "");
        ASSERT_TRUE(PumpUntil([&] { return meter.LineCount() > 0 && QueueIdle(); }));
    }

    void IdentifyAndReadSetup(const std::string& preset) {
        UsePreset(preset);
        if (!Port().IsOpen())
            OpenLink();
        Identify();
        ASSERT_EQ(app.m_InstrStatus.m_strModel, preset);
        meter.ClearLog();
        dataSheets = 0;
        frame.Session().QueueSetupQueries();
    }

    // The pages of every sheet shown, and what the operator does in it.
    std::vector<std::vector<setup::SetupPageKind>> sheets;
    std::function<int(setup::CSetupPropSheet&)> onSheet;
};

}  // namespace

TEST_F(FrameDispatchTest, IdentificationDecoratesTheModelOfEveryVariant) {
    OpenLink();
    for (const simmeter::ModelPreset& preset : simmeter::ModelPresets()) {
        SCOPED_TRACE(preset.name);
        meter.ClearLog();
        dataSheets = 0;
        app.m_InstrStatus = CInstrStatus();
        app.m_EditStatus = CInstrStatus();
        ui.EmptyInstrStatusText();
        UsePreset(preset.name);
        Identify();
        const CInstrStatus& current = app.m_InstrStatus;
        EXPECT_EQ(current.m_strModel, preset.name);
        EXPECT_EQ(app.m_EditStatus.m_strModel, preset.name);
        // The block takes the model as the options left it, before the class.
        const std::string name = preset.name;
        EXPECT_EQ(frame.m_SetupBlock.Field(0),
                  BlockField(name.substr(0, std::min(name.find('$'), name.size()))));
        EXPECT_EQ(current.m_strClass, preset.meterClass ? preset.meterClass : "-1");

        std::vector<std::string> expected = {"SET:INSTR_M:?"};
        if (std::string(preset.model) == "QS4060")
            expected.push_back("SET:EXT_RNG:?");
        expected.push_back("SET:OPTIONS:?");
        for (int attempt = 0; attempt < (preset.meterClass ? 1 : 3); ++attempt)
            expected.push_back("SET:CLASS:?");
        for (const char* line : {"SET:INSTR_V:?", "SET:INSTR_N:?", "SET:INTEGRATION_T:?",
                                 "STT:DISPL:?", "SET:AUTO_P:?", "STT:ACQ:?", "STT:REC:?"})
            expected.push_back(line);
        if (model_rules::HasReports(preset.name)) {
            expected.push_back("SET:SLM+PROF:?");
            EXPECT_EQ(current.m_strSlmDatalogger, "OFF");
        }
        EXPECT_EQ(current.m_nExtendedRange, std::string(preset.extendedRange) == "ON");
        EXPECT_EQ(meter.Lines(), expected);
        EXPECT_EQ(dataSheets, 1);
    }
    // The extended range was known before the options decorated the model; the identity the
    // chain read, and the status texts it gathered.
    EXPECT_EQ(view.m_nExtendedRangeMark, 1);
    EXPECT_EQ(app.m_InstrStatus.m_strFirmwareVersion, "2.05");
    EXPECT_EQ(app.m_InstrStatus.m_strSerialNumber, "A12345");
    EXPECT_EQ(app.m_EditStatus.m_strSerialNumber, "A12345");
    EXPECT_EQ(app.m_InstrStatus.m_strIntegrationTime, "SS:10");
    EXPECT_TRUE(ui.statusDlgCreated);
    EXPECT_TRUE(frame.Mode().IsStatusDlgShown());
    ASSERT_FALSE(ui.shownStatusTexts.empty());
    EXPECT_EQ(ui.shownStatusTexts.back(),
              "STATUS:DISPL:Leq    45.2 dBSET:AUTO_POWEROFF:OFFSTATUS:ACQUISITION:STOP"
              "STATUS:REC:OFF");
}

TEST_F(FrameDispatchTest, WholeSetupReadFillsBothRecordsAndOpensTheSheet) {
    for (const char* preset :
         {"QS4060_00$1", "QS4060_J0$2", "QS4060_p0$1", "QS4160_L0$1", "QS4160_I0$1"}) {
        SCOPED_TRACE(preset);
        sheets.clear();
        IdentifyAndReadSetup(preset);
        ASSERT_TRUE(PumpUntil([&] { return sheets.size() == 1 && QueueIdle(); }));

        EXPECT_EQ(ui.setupBoxText, "Receiving Setup parameters from instrument...\r\nPlease wait.");
        const std::vector<int> codes = SetupQueryCodes(preset);
        ASSERT_EQ(meter.Lines(), LinesOf(codes));
        for (int code : codes) {
            const SetupValueRow* row = FindSetupValueByQuery(code);
            ASSERT_NE(row, nullptr) << code;
            const std::string expected =
                CleanValue(platform::Trim(meter.Setting(KeyOf(code))), row->cleanup);
            EXPECT_EQ(app.m_InstrStatus.*row->text, expected) << code;
            if (row->scope == RecordScope::Both) {
                EXPECT_EQ(app.m_EditStatus.*row->text, expected) << code;
            }
            if (row->block >= 0) {
                EXPECT_EQ(frame.m_SetupBlock.Field(row->block), BlockField(expected)) << code;
            }
        }
        EXPECT_EQ(app.m_InstrStatus.m_strDate, "2024/01/15");
        if (model_rules::IsQS4160(preset)) {
            EXPECT_EQ(app.m_InstrStatus.m_strMicTemperature, "23.0\xB0");
        }
        EXPECT_EQ(frame.Setup().InstrumentClock().Format("%Y/%m/%d %H:%M:%S"),
                  "2024/01/15 10:30:00");

        // The read ends with the sheet; no verification data sheet in between.
        EXPECT_EQ(sheets[0], setup::SheetPagesFor(preset));
        EXPECT_FALSE(CalibExpiryUpdateStarted());
        EXPECT_EQ(dataSheets, 0);
        EXPECT_FALSE(ui.setupBoxShown);
        EXPECT_EQ(ui.setupBoxProgress, 100);
        EXPECT_EQ(frame.Mode().PendingOp(), -1);  // cancelled: the read is over
    }
}

TEST_F(FrameDispatchTest, ApplyAllSendsExactlyTheChangedValuesInOrderForEveryModelVariant) {
    const std::string time = "SET:INTEGRATION_T:MM:05", aux = "SET:SPECT_AUX:C",
                      slmProf = "SET:SLM+PROF:ON", thirdOctaves = "SET:REP_TOCT:ON",
                      offTime = "SET:EVN_OFF_TIME:5", type = "SET:SPECT_T:MAXIMUM",
                      profile = "SET:PROF_D:ON", fft = "SET:FFT_BAND:HF",
                      ambient = "SET:AMB_MIC_CORR:ON";
    const std::vector<std::string> fullQS4160 = {time, aux,          type,    profile,
                                                 fft,  thirdOctaves, offTime, ambient};
    const std::vector<std::string> reportQS4160 = {time,         aux,     type,   profile,
                                                   thirdOctaves, offTime, ambient};
    // The same edits on every variant: each gets what its model has, in the meter's order.
    const std::map<std::string, std::vector<std::string>> sent = {
        {"QS4060_00$1", {time, aux}},
        {"QS4060_r1$1", {time, slmProf, offTime}},
        {"QS4060_n0$1", {time, aux, slmProf, thirdOctaves, offTime}},
        {"QS4060_J0$2", {time, aux, slmProf, offTime}},
        {"QS4060_p0$1", {time}},
        {"QS4060_q0$1", {time}},
        {"QS4060_c0$1", {time, aux}},
        {"QS4060_00", {time, aux}},
        {"QS4060X_00$1", {time, aux}},
        {"QS4160_00$1", {time, aux, type, profile, ambient}},
        {"QS4160_L0$1", fullQS4160},
        {"QS4160_H0$1", fullQS4160},
        {"QS4160_I0$1", reportQS4160},
        {"QS4160_M0$1", reportQS4160},
    };
    ASSERT_EQ(sent.size(), simmeter::ModelPresets().size());

    for (const auto& [preset, expected] : sent) {
        SCOPED_TRACE(preset);
        meter.Modify([](simmeter::MeterState& s) { simmeter::LoadInitialSettings(s); });
        app.m_InstrStatus = CInstrStatus();
        app.m_EditStatus = CInstrStatus();
        sheets.clear();
        onSheet = [this](setup::CSetupPropSheet& sheet) {
            // The summary of what was read, shown first.
            const auto* current = sheet.FindPage<setup::CurrentSettings>();
            EXPECT_EQ(sheet.ActivePage(), 0);
            EXPECT_TRUE(
                current->Text(setup::current_ids::kInstrument)
                    .starts_with("Model: " + setup::ModelDisplayText(app.m_InstrStatus.m_strModel) +
                                 "\nSerial Num.: A12345\n"));
            CInstrStatus& edited = app.m_EditStatus;
            edited.m_strIntegrationTime = "MM:05";
            edited.m_strSpectAuxWeighting = "C";
            edited.m_strSlmDatalogger = "ON";
            edited.m_strStoreRepThirdOctaves = "ON";
            edited.m_strTriggerOffTime = "5";
            edited.m_strSpectType = "MAXIMUM";
            edited.m_strProfDatalogger = "ON";
            edited.m_strFftBand = "HF";
            edited.m_strAmbientCorrection = "ON";
            edited.m_strInputGain = "20";  // the meter says "20dB": unchanged
            return IDOK;
        };
        IdentifyAndReadSetup(preset);
        const size_t readLines = LinesOf(SetupQueryCodes(preset)).size();
        ASSERT_TRUE(PumpUntil([&] { return sheets.size() == 1; }));
        ASSERT_TRUE(PumpUntil([&] { return QueueIdle() && !frame.Mode().IsSetupQueued(); }));
        EXPECT_EQ(sheets[0], setup::SheetPagesFor(preset));
        EXPECT_EQ(SentSince(meter.Lines(), readLines), expected);
        EXPECT_EQ(ui.setupBoxText, "Sending Setup parameters to instrument...\r\nPlease wait.");
        EXPECT_FALSE(ui.setupBoxShown);
        EXPECT_EQ(frame.Mode().PendingOp(), -1);

        // The meter took them, and acknowledged each: nothing is left to send.
        const CInstrStatus& current = app.m_InstrStatus;
        EXPECT_EQ(meter.Setting("INTEGRATION_T"), "MM:05");
        EXPECT_EQ(current.m_strIntegrationTime, "MM:05");
        EXPECT_EQ(current.m_strInputGain, "20dB");
        EXPECT_TRUE(app.m_EditStatus.m_strDate.empty());  // considered once, then emptied
        meter.ClearLog();
        frame.Setup().QueueSetupCommands();
        ASSERT_TRUE(PumpUntil([&] { return !frame.Mode().IsSetupQueued(); }));
        EXPECT_EQ(meter.LineCount(), 0u);

        // Read again and applied without an edit: every value reads back as it is kept, so
        // nothing goes out but the queries.
        onSheet = [](setup::CSetupPropSheet&) { return IDOK; };
        frame.Session().QueueSetupQueries();
        ASSERT_TRUE(PumpUntil([&] { return sheets.size() == 2; }));
        ASSERT_TRUE(PumpUntil([&] { return QueueIdle() && !frame.Mode().IsSetupQueued(); }));
        EXPECT_EQ(meter.Lines(), LinesOf(SetupQueryCodes(preset)));
    }
}

// A setting saved elsewhere, loaded on the "Options" page of a report meter with the letter
// "n": its report and event values go out with the rest, each changed one as its command.
TEST_F(FrameDispatchTest, ALoadedCustomSettingReachesTheMeterAsExactlyItsChangedValues) {
    folder.Write("CustomSettings/ConfigFileList.inf", "Night.cnf\r\n");
    folder.Write("CustomSettings/Night.cnf",
                 "AUTO_PWR_OFF=OFF\r\nINPUT_GAIN=10dB\r\nINTEGRATION_TIME=MM:05\r\n"
                 "SPECT_AUX_POND=C\r\nWIND_SHIELD=ON\r\nSLM_DLOGGER=ON\r\n"
                 "REPORT_TIME=300\r\nSTORE_REP_TOCT=ON\r\n1_REPORT_PAR=LAeq\r\n"
                 "EVN_TRIG=LEV\r\nEVN_TRIG_PRINT=OFF\r\nEVN_TRIG_POL=NEG\r\n"
                 "EVN_TRIG_ON_LEV=85\r\nEVN_TRIG_OFF_LEV=75\r\nEVN_TRIG_ON_TIME=2\r\n"
                 "EVN_TRIG_OFF_TIME=5\r\n1_EVENT_PAR=LAFmax\r\n");
    onSheet = [this](setup::CSetupPropSheet& sheet) {
        op.ExpectDialog("CSelCustomSettingDlg", [](platform::ModalDialog& d) {
            auto& dialog = static_cast<setup::CSelCustomSettingDlg&>(d);
            EXPECT_EQ(dialog.m_names, std::vector<std::string>{"Night"});
            dialog.OnSelChangeSetupList(0);
            return dialog.OnOK() ? IDOK : IDCANCEL;
        });
        sheet.FindPage<setup::OptionsPage>()->OnLoadSetup();
        EXPECT_EQ(app.m_InstrStatus.m_strReportTime, "60");  // the meter's, until it takes it
        return IDOK;
    };
    IdentifyAndReadSetup("QS4060_n0$1");
    const size_t readLines = LinesOf(SetupQueryCodes("QS4060_n0$1")).size();
    ASSERT_TRUE(PumpUntil([&] { return sheets.size() == 1; }));
    ASSERT_TRUE(PumpUntil([&] { return QueueIdle() && !frame.Mode().IsSetupQueued(); }));
    EXPECT_EQ(
        SentSince(meter.Lines(), readLines),
        (std::vector<std::string>{"SET:INPUT_G:10", "SET:INTEGRATION_T:MM:05", "SET:SPECT_AUX:C",
                                  "SET:WND:ON", "SET:SLM+PROF:ON", "SET:REPORT_TIME:300",
                                  "SET:REP_TOCT:ON", "SET:1_EVN_PAR:LAFmax", "SET:EVN_TRIG:LEV",
                                  "SET:EVN_POL:NEG", "SET:EVN_ON_LEV:85", "SET:EVN_OFF_LEV:75",
                                  "SET:EVN_ON_TIME:2", "SET:EVN_OFF_TIME:5"}));
    EXPECT_EQ(meter.Setting("EVN_TRIG"), "LEV");
    EXPECT_EQ(app.m_InstrStatus.m_strReportTime, "300");
}

TEST_F(FrameDispatchTest, SendingDuringAnAcquisitionAsksToStopItAndSendsNothingUnlessItStops) {
    onSheet = [this](setup::CSetupPropSheet&) {
        frame.Mode().OnAcquisitionStarted();
        app.m_EditStatus.m_strIntegrationTime = "MM:05";
        return IDOK;
    };
    IdentifyAndReadSetup("QS4060_00$1");
    op.ExpectBox("To modify setup parameters you must stop acquisition", IDNO);
    ASSERT_TRUE(PumpUntil([&] { return sheets.size() == 1 && QueueIdle(); }));
    EXPECT_EQ(op.types.back(), MB_YESNO | MB_ICONEXCLAMATION);
    // The meter had everything the program wrote: nothing but the read.
    ASSERT_TRUE(PumpUntil([&] { return meter.Answered(); }));
    EXPECT_EQ(meter.Lines(), LinesOf(SetupQueryCodes("QS4060_00$1")));
    EXPECT_EQ(frame.Mode().PendingOp(), -1);

    // A meter that keeps acquiring: asked three times, then nothing is sent.
    bool stuck = true;
    meter.AddResponder([&stuck](const std::string& line, simmeter::MeterState&) {
        if (stuck && (line == "STT:ACQ:STOP" || line == "STT:ACQ:?"))
            return std::optional(simmeter::Text("STT:ACQUISITION:RUN"));
        return std::optional<simmeter::Reply>();
    });
    frame.Session().QueueSetupQueries();
    op.ExpectBox("To modify setup parameters you must stop acquisition", IDYES);
    op.ExpectBox("ERROR: Instrument did not stop acquisition.\nSetup parameters not sent.");
    ASSERT_TRUE(PumpUntil([&] { return sheets.size() == 2 && QueueIdle(); }));
    ASSERT_TRUE(PumpUntil([&] { return meter.Answered(); }));
    EXPECT_EQ(op.types.back(), static_cast<unsigned>(MB_ICONSTOP));
    EXPECT_EQ(meter.Setting("INTEGRATION_T"), "SS:10");
    EXPECT_TRUE(frame.Mode().IsAcquiring());
    EXPECT_EQ(frame.Mode().PendingOp(), -1);
    EXPECT_FALSE(ui.setupBoxShown);

    stuck = false;
    meter.ClearLog();
    frame.Session().QueueSetupQueries();
    op.ExpectBox("To modify setup parameters you must stop acquisition", IDYES);
    ASSERT_TRUE(PumpUntil([&] { return sheets.size() == 3; }));
    ASSERT_TRUE(PumpUntil([&] { return QueueIdle() && !frame.Mode().IsSetupQueued(); }));
    // The stop is confirmed past the queue before the setting goes.
    const auto lines = meter.Lines();
    EXPECT_EQ(SentSince(lines, lines.size() - 3),
              (std::vector<std::string>{"STT:ACQ:STOP", "STT:ACQ:?", "SET:INTEGRATION_T:MM:05"}));
    EXPECT_FALSE(frame.Mode().IsAcquiring());
}

TEST_F(FrameDispatchTest, ScreenLoopOfAMeterStuckOnOneScreenEndsWithinItsBound) {
    meter.Modify([](simmeter::MeterState& s) { s.screen = "Menu"; });
    OpenLink();
    frame.Mode().BeginDisplayCheck();
    frame.SendCommand(100, "", "");
    ASSERT_TRUE(PumpUntil([&] { return !frame.Mode().IsCheckingDisplay() && QueueIdle(); }));
    const auto lines = meter.Lines();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "STT:DISPL:?"),
              MeterStateReplies::kMaxDisplayRounds + 1);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "KEY:MENU"),
              MeterStateReplies::kMaxDisplayRounds);

    // The next loop starts afresh.
    meter.ClearLog();
    meter.Modify([](simmeter::MeterState& s) { s.screen = "Leq    45.2 dB"; });
    frame.Mode().BeginDisplayCheck();
    frame.SendCommand(100, "", "");
    ASSERT_TRUE(PumpUntil([&] { return !frame.Mode().IsCheckingDisplay() && QueueIdle(); }));
    EXPECT_EQ(meter.Lines(), std::vector<std::string>{"STT:DISPL:?"});
}
