// The maintenance commands on the frame against the stand-ins: a reference meter on COM3, the
// instrument under test on COM16 (with its keys), the web service's stand-in and the scripted
// operator. The firmware update goes up to where the maker's writer would start; the
// microphone replacement runs its wizard to the end; the meter's guided programs run on the
// queued link in normal and in scheduler mode.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "../cipher/key_test_support.h"
#include "app/frame_bench.h"
#include "app/frame_boxes.h"
#include "app/frame_command_ids.h"
#include "app/frame_commands.h"
#include "app/frame_scheduler.h"
#include "app/frame_timers.h"
#include "app/frame_web.h"
#include "app/kx9monitor_app.h"
#include "app/kx9monitor_view.h"
#include "app/main_frame.h"
#include "app/maintenance_commands.h"
#include "cipher_responder.h"
#include "frame_test_support.h"
#include "link/command.h"
#include "link/command_codes.h"
#include "link/link_session.h"
#include "platform/clock.h"
#include "platform/com_ports.h"
#include "platform/date_time.h"
#include "platform/event_loop.h"
#include "platform/files.h"
#include "platform/messages.h"
#include "platform/text.h"
#include "sim_meter.h"
#include "support/test_env.h"
#include "web/web_test_env.h"

namespace {

using linktest::PumpUntil;
namespace meter = maintenance::meter;

constexpr int kRefCom = 3;
constexpr int kTargetCom = 16;
constexpr const char* kFirmwareVersion = "100.105";
constexpr const char* kVersionsTable = "//qs4060krtn_vp//firmware_upgrade//target_instr_ver.txt";
constexpr const char* kFirmwareFile = "//qs4060krtn_vp//firmware_upgrade//fw_105.bin";
constexpr const char* kWriterFile = "//qs4060krtn_vp//firmware_upgrade//writer.txb";
constexpr const char* kBlackList = "//qs4060krtn_vp//black_list.txt";
constexpr const char* kTechnicians =
    "Lab Nord;Via Uno 1;Milano;MI;0201;nord@lab.invalid;Mario Rossi;123456;R100\r\n";
constexpr const char* kTechnicianRecord =
    "123456;Lab Nord;Via Uno 1;Milano;MI;0201;nord@lab.invalid;Mario Rossi (id=123456);T200";

constexpr const char* kConnectReference =
    "Per effettuare l'aggiornamento del firmware e' necessario collegare lo strumento di "
    "riferimento.";
constexpr const char* kUpgradeOffer = "E' disponibile un aggiornamento del firmware";
constexpr const char* kOptionalOffer = "E' disponibile un aggiornamento facoltativo";
constexpr const char* kLastVersion = "Lo strumento ha gia' installata l'ultima versione";

class MaintenanceCommandsTest : public ::testing::Test {
protected:
    MaintenanceCommandsTest() {
        app.m_strProgramDir = folder.Path();
        app.m_strTechnicianId = "123456";
        app.m_RefPort.m_nComPort = kRefCom;
        app.m_TargetPort.m_nComPort = kTargetCom;
        for (const auto& [sim, serial] :
             {std::pair{&reference, "R100"}, std::pair{&target, "T200"}}) {
            sim->SetSetting("INSTR_M", "QS4060KRTN");
            sim->SetSetting("INSTR_N", serial);
            sim->SetSetting("INSTR_V", kFirmwareVersion);
        }
        keys->InstallOn(target);
        platform::SetComDevice(kRefCom, reference.SlavePath());
        platform::SetComDevice(kTargetCom, target.SlavePath());
        folder.Write("msvcrt80.dll", kTechnicians);
        frame = std::make_unique<CMainFrame>(&clock);
        frame->CreateFrameWindow();
        // The internet was checked at start-up.
        frame->Web().Databases().m_bCheckInternet = 0;
        frame->Web().Databases().m_bInternetAvailable = 1;
    }
    ~MaintenanceCommandsTest() override {
        frame.reset();
        platform::ClearComDevices();
        platform::EventLoop::ClearQuit();
    }
    void SetUp() override {
        ASSERT_TRUE(stub.Running()) << stub.StartError();
        frame->Web().Client().SetEndpoint({stub.Host(), stub.PortText(), "", "", stub.PortText()});
        stub.ServeKeyFile("T200", keytest::KeyLine("T200", keyData) + "\n");
        stub.ServeFile(kFirmwareFile, "FIRMWARE 1.05");
        stub.ServeFile(kWriterFile, "WRITER");
    }

    // The versions table's line for the meters' firmware "100.105".
    void ServeEntry(const std::string& answer) const {
        stub.ServeFile(kVersionsTable, "[QS4060KRTN]\n[ITA]\n105 100 " + answer + "\n");
    }
    void ExpectReferenceNotice() {
        if (frame->Bench().Instruments().refSerial.empty())
            op.ExpectBox(kConnectReference);
    }
    int Requests(const std::string& path) const {
        int count = 0;
        for (const auto& request : stub.Requests())
            count += request.uri == path ? 1 : 0;
        return count;
    }
    bool TargetGot(const std::string& line) const {
        const auto lines = target.Lines();
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }
    // The microphone replacement's boxes up to the wizard, which is given the new microphone;
    // `switchedOff` tells whether the meter read its KEY:OFF before the operator went on.
    void ExpectReplacementUpToTheWizard(bool& switchedOff) {
        target.Modify([](simmeter::MeterState& s) { s.settings["PROT_CODE"] = "4321"; });
        op.ExpectBox("Per effettuare la sostituzione del microfono");
        op.ExpectBox("Modello mic:MK250\nNum serie mic:M5678.\nAvviare procedura adesso ?", IDYES);
        op.ExpectBox("Sostituire il microfono e inserire lo strumento nel calibratore", IDOK);
        // The operator takes their time over it: the meter reads its KEY:OFF meanwhile.
        op.SetShownHandler([&](const std::string& text) {
            if (!platform::Contains(text, "Sostituire il microfono"))
                return;
            // Line by line, as the meter reads them, until that one came.
            for (;;) {
                const size_t read = target.LineCount();
                switchedOff = TargetGot("KEY:OFF");
                if (switchedOff || !target.WaitForLines(read + 1, 2000))
                    break;
            }
        });
        op.ExpectDialog("CMicCalibDlg", [](platform::ModalDialog& dialog) {
            dynamic_cast<CMicCalibDlg&>(dialog).m_strMicSerial = "M9001";
            return IDOK;
        });
    }
    // The wizard with its first gain written and answered, the second awaited (its answer
    // late enough, at the meter's own pace, for the operator to press "Annulla" meanwhile),
    // the microphone's number and the store still queued.
    void WizardAtItsSecondGainWrite(std::optional<platform::ScopedClockSpeed>& ownPace) {
        target.Modify([](simmeter::MeterState& s) { s.calibration.micDeviationDb = -0.7; });
        bool switchedOff = false;
        ExpectReplacementUpToTheWizard(switchedOff);
        op.ExpectDialog("CMicCalibDlg", [&](platform::ModalDialog&) {
            ownPace.emplace(1.0);
            target.DelayNext("CAL:GAIN:CH:1:", 1500);
            return IDOK;
        });
        frame->Maintenance().OnReplaceMicrophone();
        LinkSession& link = frame->Link();
        ASSERT_TRUE(PumpUntil(
            [&] {
                const CCommand* awaited = link.CurrentCommand();
                return awaited && awaited->GetCode() == command_code::kGainWrite &&
                       awaited->GetName() == meter::kChannel1;
            },
            20000));
        ASSERT_EQ(link.QueuedCodes(),
                  (std::vector<int>{command_code::kGainWrite, command_code::kMicNumberWrite,
                                    command_code::kFactoryCommand}));
    }
    simmeter::MeterCalibration TargetCalibration() {
        simmeter::MeterCalibration calibration;
        target.Modify([&](simmeter::MeterState& s) { calibration = s.calibration; });
        return calibration;
    }

    platform::ScopedClockSpeed fast{20.0};
    testenv::ScratchFolder folder;
    testenv::TestOperator op;
    webstub::WebStub stub;
    CKX9MonitorApp app;
    simmeter::SimMeter reference;
    simmeter::SimMeter target;
    cipher::KeyData keyData = keytest::MakeKeyData(7);
    std::shared_ptr<simmeter::CipherResponder> keys =
        simmeter::CipherResponder::Create(keyData.resetKeystream, keyData.state);
    // The link's waits and reply time-outs last until the meters had their turn.
    linktest::PatientClock clock{0,
                                 [this] {
                                     return reference.Answered() && target.Answered() &&
                                            !linktest::ReplyUntaken(frame->Link());
                                 },
                                 &app.m_bAbortWait};
    std::unique_ptr<CMainFrame> frame;
};

TEST_F(MaintenanceCommandsTest, AFirmwareUpdateGoesUpToTheWriterAndThenGivesEverythingBack) {
    ServeEntry("fw_105.bin");
    ExpectReferenceNotice();
    op.ExpectBox(kUpgradeOffer, IDOK);
    op.ExpectBox(FrameMaintenanceHost::kWriterMissing);

    frame->Maintenance().OnFirmwareUpgrade();

    EXPECT_EQ(frame->Bench().Instruments().refSerial, "R100");
    // Recorded and announced before anything was fetched.
    EXPECT_EQ(stub.ReadState("server_logs/target_instr_upgrade.txt"),
              std::string(kTechnicianRecord) + ";fw_105.bin\n");
    const auto mails = stub.ReadState("mails");
    ASSERT_TRUE(mails);
    EXPECT_NE(mails->find(";AVVIO Aggiornamento firmware fonometro T200 - VER:fw_105.bin;"),
              std::string::npos);
    EXPECT_EQ(folder.Read("firmware_upgrade/fw_105.bin"), "FIRMWARE 1.05");
    EXPECT_EQ(folder.Read("firmware_upgrade/writer.txb"), "WRITER");
    EXPECT_EQ(folder.Read("firmware_upgrade/writer_port.txt"), "COM16\r\n");
    EXPECT_FALSE(platform::FileExists(folder.File("firmware_upgrade/target_instr_ver.txt")));
    // The meter went into upgrade mode and out of it again; nothing stays held.
    EXPECT_TRUE(TargetGot(meter::kUpgradeModeOn));
    EXPECT_TRUE(TargetGot(meter::kUpgradeModeOff));
    EXPECT_FALSE(TargetCalibration().upgradeMode);
    EXPECT_FALSE(frame->Mode().IsFirmwareUpgrading());
    EXPECT_FALSE(frame->Timers().IsSet(FrameTimers::kFirmwareUpgrade));
    EXPECT_TRUE(frame->Link().IsPortOpen(LinkSide::Target));
    EXPECT_FALSE(frame->Boxes().m_TryConnDlg.HasWindow());
    CCmdUI exitUi(cmd::ID_APP_EXIT);
    frame->Commands().OnUpdateCommandUi(exitUi);
    EXPECT_TRUE(exitUi.m_bEnabled);
}

TEST_F(MaintenanceCommandsTest, TheTablesOtherEntriesEndTheUpdateBeforeAnythingIsRecorded) {
    struct Case {
        const char* answer;
        std::vector<std::pair<const char*, int>> boxes;
        bool quits;
    };
    const Case cases[] = {
        {";LAST VER", {{kLastVersion, IDOK}}, false},
        // No line for this version: the table's own notice, then the same message.
        {nullptr,
         {{"Non sono disponibili aggiornamenti per lo strumento.", IDOK}, {kLastVersion, IDOK}},
         false},
        {"fw_105.bin;OPTIONAL", {{kOptionalOffer, IDCANCEL}}, false},
        // An optional update accepted is asked again; declining that one ends the program.
        {"fw_105.bin;OPTIONAL", {{kOptionalOffer, IDOK}, {kUpgradeOffer, IDCANCEL}}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answer ? c.answer : "no entry");
        if (c.answer)
            ServeEntry(c.answer);
        else
            stub.ServeFile(kVersionsTable, "[QS4060KRTN]\n[ITA]\n106 100 fw_106.bin\n");
        ExpectReferenceNotice();
        for (const auto& [text, answer] : c.boxes)
            op.ExpectBox(text, answer);

        frame->Maintenance().OnFirmwareUpgrade();

        EXPECT_EQ(platform::EventLoop::QuitPending(), c.quits);
        platform::EventLoop::ClearQuit();
        EXPECT_FALSE(stub.ReadState("server_logs/target_instr_upgrade.txt"));
        EXPECT_EQ(Requests(kFirmwareFile), 0);
        EXPECT_FALSE(TargetGot(meter::kUpgradeModeOn));
        EXPECT_FALSE(frame->Boxes().m_TryConnDlg.HasWindow());
    }
}

TEST_F(MaintenanceCommandsTest, TheWritersPortMustBeCom16AtMost) {
    app.m_TargetPort.m_nComPort = 17;
    platform::SetComDevice(17, target.SlavePath());
    ServeEntry("fw_105.bin");
    ExpectReferenceNotice();
    op.ExpectBox("porta seriale da COM1 a COM16");

    frame->Maintenance().OnFirmwareUpgrade();

    EXPECT_EQ(Requests(kVersionsTable), 0);
    EXPECT_FALSE(frame->Link().IsPortOpen(LinkSide::Target));
    EXPECT_FALSE(frame->Boxes().m_TryConnDlg.HasWindow());
}

TEST_F(MaintenanceCommandsTest, UpdatesThatMayNotStartStopWithTheirMessage) {
    // The server does not record the start.
    ServeEntry("fw_105.bin");
    stub.AddFault("log_user.php", "status 500");
    ExpectReferenceNotice();
    op.ExpectBox(kUpgradeOffer, IDOK);
    op.ExpectBox("Error 589");
    frame->Maintenance().OnFirmwareUpgrade();
    EXPECT_EQ(Requests(kFirmwareFile), 0);
    EXPECT_FALSE(frame->Link().IsPortOpen(LinkSide::Target));

    // An entry that names a path, not a file of the firmware folder.
    ServeEntry("../../port.ini");
    op.ExpectBox("Voce della tabella firmware non valida: ../../port.ini");
    frame->Maintenance().OnFirmwareUpgrade();

    // A black-listed reference meter: simply no update.
    stub.ServeFile(kBlackList, "R100\n");
    op.ExpectBox("Non sono disponibili aggiornamenti");
    frame->Maintenance().OnFirmwareUpgrade();
    EXPECT_EQ(Requests(kVersionsTable), 2);  // only the two updates before

    // A technician the database does not know.
    app.m_strTechnicianId = "654321";
    op.ExpectBox("Aggiornare il database dei tecnici abilitati adesso ?", IDNO);
    op.ExpectBox("Non e' possibile effettuare aggiornamento firmware");
    frame->Maintenance().OnFirmwareUpgrade();
    EXPECT_TRUE(app.m_strTechnicianId.empty());

    // A meter of another model is not identified: the connection settings are offered.
    app.m_strTechnicianId = "123456";
    target.SetSetting("INSTR_M", "QS4160");
    op.ExpectBox("Modello strumento non supportato: QS4160");
    op.ExpectBox("Strumento da verificare non rilevato.");
    op.ExpectDialog("CPortSetupDlg", [](platform::ModalDialog&) { return IDCANCEL; });
    frame->Maintenance().OnFirmwareUpgrade();
    EXPECT_NE(folder.Read("port.ini").find("TARGET_INSTR_COM=16"), std::string::npos);

    EXPECT_FALSE(TargetGot(meter::kUpgradeModeOn));
    EXPECT_FALSE(frame->Boxes().m_TryConnDlg.HasWindow());
}

TEST_F(MaintenanceCommandsTest, AMicrophoneReplacementCalibratesTheMeterToTheCalibrator) {
    target.Modify([](simmeter::MeterState& s) { s.calibration.micDeviationDb = -0.7; });
    bool switchedOff = false;
    ExpectReplacementUpToTheWizard(switchedOff);
    op.ExpectDialog("CMicCalibDlg", [](platform::ModalDialog&) { return IDOK; });
    op.ExpectBox("Sostituzione microfono completata.");

    frame->Maintenance().OnReplaceMicrophone();
    EXPECT_TRUE(switchedOff);
    EXPECT_FALSE(frame->Boxes().m_TryConnDlg.HasWindow());
    ASSERT_TRUE(frame->Maintenance().MicCalibration().HasWindow());
    EXPECT_EQ(frame->Maintenance().MicCalibration().Wizard().TechnicianRecord(), kTechnicianRecord);

    ASSERT_TRUE(
        PumpUntil([&] { return !frame->Maintenance().MicCalibration().HasWindow(); }, 20000));
    const simmeter::MeterCalibration calibration = TargetCalibration();
    EXPECT_EQ(calibration.stores, 1);
    EXPECT_DOUBLE_EQ(calibration.storedGain[0], 0.7);
    EXPECT_DOUBLE_EQ(calibration.storedGain[1], 0.7);
    EXPECT_EQ(target.Setting("MIC_N"), "M9001");
    EXPECT_EQ(stub.ReadState("server_logs/target_instr_mic_sobst.txt"),
              std::string(kTechnicianRecord) +
                  ";MIC_N M9001;GAIN0 0.0 -> 0.7;GAIN1 0.0 -> 0.7;LIVELLO 93.3;ELCAL 90.0 -> "
                  "90.7\n");
}

TEST_F(MaintenanceCommandsTest, AMeterThatGoesAwayEndsTheMicrophoneWizardWithWhatItConfirmed) {
    // Ten resends of a write, 2 s each, and the line's quiet after them.
    platform::ScopedClockSpeed faster{100.0};
    bool switchedOff = false;
    ExpectReplacementUpToTheWizard(switchedOff);
    // Unplugged once the readings are in.
    op.ExpectDialog("CMicCalibDlg", [this](platform::ModalDialog&) {
        target.SilenceNext("CAL:GAIN:", -1);
        return IDOK;
    });
    op.ExpectBox(
        "ATTENZIONE:\nLo strumento non risponde.\nScritture confermate dallo strumento: "
        "nessuna.\nSenza conferma, forse eseguite: guadagno canale 0 = 0.0.\nNon inviate: "
        "guadagno canale 1 = 0.0, numero di serie del microfono = M9001, memorizzazione della "
        "calibrazione.");

    frame->Maintenance().OnReplaceMicrophone();
    ASSERT_TRUE(
        PumpUntil([&] { return !frame->Maintenance().MicCalibration().HasWindow(); }, 20000));
    EXPECT_TRUE(frame->Link().IsQueueEmpty());
    EXPECT_FALSE(TargetGot("CAL:GAIN:CH:1:0.0"));
    EXPECT_EQ(TargetCalibration().stores, 0);
    const auto log = platform::ReadWholeFile(
        frame->Web().Log().LogPath(platform::DateTime(platform::Clock::Now())));
    EXPECT_TRUE(log &&
                platform::Contains(*log, "Err: sostituzione microfono: lo strumento non risponde"));
}

TEST_F(MaintenanceCommandsTest, AMeterThatRefusesAWriteEndsTheMicrophoneWizardInsteadOfWarning) {
    bool switchedOff = false;
    ExpectReplacementUpToTheWizard(switchedOff);
    op.ExpectDialog("CMicCalibDlg", [this](platform::ModalDialog&) {
        target.RefuseNext("CAL:GAIN:CH:1:", -1);
        return IDOK;
    });
    // Not the link's "Command not recognized", which the operator is not expected to see.
    op.ExpectBox(
        "ATTENZIONE:\nLo strumento ha rifiutato il comando.\nScritture confermate dallo "
        "strumento: guadagno canale 0 = 0.0.\nNon eseguite: guadagno canale 1 = 0.0, numero di "
        "serie del microfono = M9001, memorizzazione della calibrazione.");

    frame->Maintenance().OnReplaceMicrophone();
    ASSERT_TRUE(
        PumpUntil([&] { return !frame->Maintenance().MicCalibration().HasWindow(); }, 20000));
    EXPECT_TRUE(frame->Link().IsQueueEmpty());
    EXPECT_EQ(target.Setting("MIC_N"), "M5678");
    EXPECT_EQ(TargetCalibration().stores, 0);
    const auto log = platform::ReadWholeFile(
        frame->Web().Log().LogPath(platform::DateTime(platform::Clock::Now())));
    EXPECT_TRUE(log &&
                platform::Contains(
                    *log, "Err: sostituzione microfono: lo strumento ha rifiutato il comando"));
}

TEST_F(MaintenanceCommandsTest, AWriteOrStoreAnsweredWithItsEtxAloneIsNotTakenAsDone) {
    target.Modify([](simmeter::MeterState& s) { s.calibration.micDeviationDb = -0.7; });
    const std::string confirmedGains =
        "Scritture confermate dallo strumento: guadagno canale 0 = 0.7, guadagno canale 1 = 0.7";
    const std::string micNumberBox = confirmedGains +
                                     ".\nSenza conferma, forse eseguite: numero di serie del "
                                     "microfono = M9001.\nNon inviate: memorizzazione della "
                                     "calibrazione.";
    const std::string storeBox = confirmedGains +
                                 ", numero di serie del microfono = M9001.\nSenza conferma, "
                                 "forse eseguite: memorizzazione della calibrazione.";
    struct Case {
        const char* name;
        const char* write;
        // The meter's answers to the write's sends, in their order: bytes and how many sends.
        std::vector<std::pair<std::string, int>> answers;
        std::string box;
    };
    const Case cases[] = {
        {"ETX", "SET:MIC_NUMBER:", {{"\x03", 3}}, micNumberBox},
        {"ETX", "FAB:", {{"\x03", 3}}, storeBox},
        // The second ETX waits in the port while the first is taken: it is no answer to the
        // send after it, nor to nothing.
        {"two ETX", "SET:MIC_NUMBER:", {{"\x03\x03", 3}}, micNumberBox},
        // The last answer decides: a refusal asked again and answered empty may have been taken.
        {"NAK, then ETX", "FAB:", {{"\x15\x03", 1}, {"\x03", 2}}, storeBox},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " " + c.write);
        bool switchedOff = false;
        ExpectReplacementUpToTheWizard(switchedOff);
        op.ExpectDialog("CMicCalibDlg", [this, &c](platform::ModalDialog&) {
            for (const auto& [bytes, sends] : c.answers)
                target.AnswerNext(c.write, bytes, sends);
            return IDOK;
        });
        op.ExpectBox("ATTENZIONE:\nLo strumento ha inviato una risposta vuota.\n" + c.box);

        const size_t before = target.LineCount();
        frame->Maintenance().OnReplaceMicrophone();
        ASSERT_TRUE(
            PumpUntil([&] { return !frame->Maintenance().MicCalibration().HasWindow(); }, 20000));
        // Asked again twice, then the wizard ends: nothing recorded as done.
        const auto lines = target.Lines();
        EXPECT_EQ(std::count_if(
                      lines.begin() + static_cast<std::ptrdiff_t>(before), lines.end(),
                      [&](const std::string& line) { return platform::StartsWith(line, c.write); }),
                  3);
        EXPECT_TRUE(frame->Link().IsQueueEmpty());
        EXPECT_EQ(stub.ReadState("server_logs/target_instr_mic_sobst.txt").value_or(""), "");
        target.Modify([](simmeter::MeterState& s) {
            s.calibration.gain[0] = s.calibration.gain[1] = 0.0;
            s.settings["MIC_N"] = "M5678";
        });
    }
}

TEST_F(MaintenanceCommandsTest, AnnullaDuringTheWritesKeepsTheUnsentOnesAndPutsBackWhatWentOut) {
    std::optional<platform::ScopedClockSpeed> ownPace;
    ASSERT_NO_FATAL_FAILURE(WizardAtItsSecondGainWrite(ownPace));
    op.ExpectBox(
        "Sostituzione annullata: lo strumento e' tornato alla calibrazione precedente.\nValori "
        "ripristinati: guadagno canale 0 = 0.0, guadagno canale 1 = 0.0.\nNon inviate: numero di "
        "serie del microfono = M9001, memorizzazione della calibrazione.");
    frame->Maintenance().MicCalibration().OnCancel();
    // Pressed again while the meter is being put back: it waits for the meter, nothing more is
    // sent.
    frame->Maintenance().MicCalibration().OnCancel();
    ASSERT_TRUE(
        PumpUntil([&] { return !frame->Maintenance().MicCalibration().HasWindow(); }, 20000));

    auto lines = target.Lines();
    const auto writes = std::find(lines.begin(), lines.end(), "CAL:GAIN:CH:0:0.7");
    ASSERT_NE(writes, lines.end());
    EXPECT_EQ(std::vector<std::string>(writes, lines.end()),
              (std::vector<std::string>{"CAL:GAIN:CH:0:0.7", "CAL:GAIN:CH:1:0.7",
                                        "CAL:GAIN:CH:0:0.0", "CAL:GAIN:CH:1:0.0", "FAB:4321"}));
    EXPECT_EQ(target.Setting("MIC_N"), "M5678");
    const simmeter::MeterCalibration calibration = TargetCalibration();
    EXPECT_EQ(calibration.stores, 1);
    EXPECT_DOUBLE_EQ(calibration.storedGain[0], 0.0);
    EXPECT_DOUBLE_EQ(calibration.storedGain[1], 0.0);
    EXPECT_EQ(stub.ReadState("server_logs/target_instr_mic_sobst.txt").value_or(""), "");
}

TEST_F(MaintenanceCommandsTest,
       AWriteBackTheMeterDoesNotConfirmEndsTheWizardWithoutSayingItIsBack) {
    const std::string restore = "CAL:GAIN:CH:0:0.0";
    const std::string confirmed =
        " durante il ripristino della calibrazione precedente.\nScritture confermate dallo "
        "strumento: guadagno canale 0 = 0.7, guadagno canale 1 = 0.7.\n";
    const std::string notSent =
        "numero di serie del microfono = M9001, memorizzazione della calibrazione, ";
    const std::string restores =
        "guadagno canale 1 = 0.0 (precedente), memorizzazione della calibrazione precedente.";
    struct Case {
        const char* name;
        std::function<void()> bend;  // the meter's answers to the first write put back
        std::string box;
    };
    const Case cases[] = {
        {"refused", [&] { target.RefuseNext(restore, 3); },
         "ha rifiutato il comando" + confirmed + "Non eseguite: " + notSent +
             "guadagno canale 0 = 0.0 (precedente), " + restores},
        {"empty", [&] { target.AnswerNext(restore, "\x03", 3); },
         "ha inviato una risposta vuota" + confirmed +
             "Senza conferma, forse eseguite: guadagno canale 0 = 0.0 (precedente).\nNon "
             "inviate: " +
             notSent + restores},
        // Not done in the state the meter is in: refused as well.
        {"wrong state", [&] { target.AnswerNext(restore, "#WRONG\x03"); },
         "ha rifiutato il comando" + confirmed + "Non eseguite: " + notSent +
             "guadagno canale 0 = 0.0 (precedente), " + restores},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::optional<platform::ScopedClockSpeed> ownPace;
        ASSERT_NO_FATAL_FAILURE(WizardAtItsSecondGainWrite(ownPace));
        c.bend();
        if (std::string(c.name) == "wrong state")
            op.ExpectBox("WARNING : WRONG INSTR STATUS Received.");
        op.ExpectBox("ATTENZIONE:\nLo strumento " + c.box +
                     "\nLa calibrazione dello strumento puo' essere memorizzata in parte");
        frame->Maintenance().MicCalibration().OnCancel();
        ownPace.reset();
        ASSERT_TRUE(
            PumpUntil([&] { return !frame->Maintenance().MicCalibration().HasWindow(); }, 20000));
        EXPECT_TRUE(frame->Link().IsQueueEmpty());
        EXPECT_FALSE(platform::Contains(op.Shown().back(), "tornato"));
        target.Modify([](simmeter::MeterState& s) {
            s.calibration.gain[0] = s.calibration.gain[1] = 0.0;
            s.settings["MIC_N"] = "M5678";
        });
    }
}

TEST_F(MaintenanceCommandsTest, CommandsStartedDuringAPumpedWaitAreIgnored) {
    stub.ServeFile("//qs4060krtn_vp//software_upgrade//sw_versions.txt", "1.0.0;kx9.zip\n");
    bool served = false;
    platform::PostToUiThread([&] {
        served = true;
        frame->Maintenance().OnSoftwareUpdate();
        frame->Maintenance().OnFirmwareUpgrade();
        frame->Maintenance().OnReplaceMicrophone();
    });
    op.ExpectBox("Non ci sono aggiornamenti.");
    frame->Maintenance().OnSoftwareUpdate();
    EXPECT_TRUE(served);
    EXPECT_EQ(reference.LineCount() + target.LineCount(), 0u);
    EXPECT_FALSE(frame->Boxes().m_TryConnDlg.HasWindow());

    op.ExpectDialog("CSelExcelInterval", [](platform::ModalDialog&) { return IDOK; });
    EXPECT_TRUE(frame->Commands().OnCommand(cmd::ID_AUDIO_CARD_SETTINGS));
}

// The meter's guided programs on the queued link, opened as the electric calibration's start
// opens them: the running flag set, the window opened, the acquisition state and the screen
// queried.
class GuidedProgramTest : public frametest::FrameLinkTest {
protected:
    GuidedProgramTest() { OpenLink(); }
    void Start() {
        ASSERT_TRUE(frame.Mode().BeginElectricCalibration());
        frame.Scheduler().OpenElectricCalibration(
            maintenance::ElectricCalibration::kElectricCalibration);
        frame.SendCommand(11, "", "");
        frame.SendCommand(100, "", "");
    }
    bool Finished() {
        return !frame.Link().Mode().IsElectricCalRunning() && QueueIdle() &&
               frame.Scheduler().ElectricCalibration().Routine().IsFinished();
    }
    std::vector<std::string> Exits() {
        std::vector<std::string> exits;
        meter.Modify([&](simmeter::MeterState& s) { exits = s.calibration.programExits; });
        return exits;
    }
};

TEST_F(GuidedProgramTest, TheOperatorKeepsAnElectricCalibration) {
    meter.Modify([](simmeter::MeterState& s) { s.calibration.deltaLeqDb = -0.4; });
    op.ExpectBox("Start Electric Calibration now ?", IDYES);
    op.ExpectBox("Delta Leq = -0.4 dB.\nKeep the new calibration ?", IDYES);
    Start();
    ASSERT_TRUE(PumpUntil([&] { return Finished(); }, 20000));
    EXPECT_EQ(Exits(), std::vector<std::string>{"KEY:CLEFT"});
    EXPECT_EQ(frame.Mode().DeltaLeq(), "-0.4");
    EXPECT_TRUE(SchedulerLog().empty());
    // The window shows the outcome until the operator closes it.
    ASSERT_TRUE(frame.Scheduler().ElectricCalibration().IsWindowVisible());
    frame.Scheduler().ElectricCalibration().OnOK();
    EXPECT_FALSE(frame.Scheduler().ElectricCalibration().HasWindow());
}

TEST_F(GuidedProgramTest, InSchedulerModeTheThresholdDecidesAndTheLogTells) {
    frame.Mode().EnterSchedulerMode();
    frame.Scheduler().Window().Settings().confirmMode = acquisition::kCalIfErrorExceeds;
    frame.Scheduler().Window().Settings().threshold = "0.5";
    Start();
    ASSERT_TRUE(PumpUntil([&] { return Finished(); }, 20000));
    EXPECT_EQ(Exits(), std::vector<std::string>{"KEY:CRIGHT"});
    EXPECT_EQ(SchedulerLog(),
              std::vector<std::string>{
                  "Calibration skipped by Cal. Level.(Delta Leq = 0.3 dB - Cal.Lev = 0.5 dB)"});
    EXPECT_EQ(frame.Scheduler().Run().State(),
              maintenance::ElectricCalibration::kSchedulerCalibrationEnded);
    EXPECT_EQ(frame.Mode().DeltaLeq(), "0.3");
    // The scheduler is in charge: its window's OK is refused.
    op.ExpectBox(CElectricCalibrationDlg::kSchedulerActive);
    frame.Scheduler().ElectricCalibration().OnOK();
    EXPECT_TRUE(frame.Scheduler().ElectricCalibration().HasWindow());

    // A failing calibration, with "Cal. always".
    ClearSchedulerLog();
    frame.Scheduler().Window().Settings().confirmMode = acquisition::kCalAlways;
    meter.Modify([](simmeter::MeterState& s) {
        s.calibration.programFails = true;
        s.calibration.deltaLeqDb = 3.2;
    });
    Start();
    ASSERT_TRUE(PumpUntil([&] { return Finished(); }, 20000));
    EXPECT_EQ(SchedulerLog(),
              std::vector<std::string>{"WARNING: Calibration Failed (Delta Leq = 3.2 dB)"});
    EXPECT_EQ(Exits(), (std::vector<std::string>{"KEY:CRIGHT", "KEY:CRIGHT"}));
}

}  // namespace
