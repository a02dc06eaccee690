// This edition's whole start-up job against the stand-ins: the web service's stand-in with the
// technician's account, the certificate dates and the meter's key file, and a simulated meter
// with key data and protected fields on COM4. The operator is the script an unattended run
// would read. The job's golden transcript is tests/app/golden/startup_job.txt;
// KX9_UPDATE_GOLDEN=1 writes it again instead of comparing (support/golden_file.h).
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>

#include <QProcess>
#include <atomic>

#include <memory>
#include <string>

#include "../cipher/key_test_support.h"
#include "app/frame_bench.h"
#include "app/kx9monitor_app.h"
#include "app/kx9monitor_view.h"
#include "app/main_frame.h"
#include "app/operator_script.h"
#include "cipher/enciphered_command.h"
#include "cipher_responder.h"
#include "link/link_test_support.h"
#include "platform/com_ports.h"
#include "platform/event_loop.h"
#include "platform/files.h"
#include "platform/text.h"
#include "sim_meter.h"
#include "support/golden_file.h"
#include "support/test_env.h"
#include "web/code_entry_form.h"
#include "web/web_test_env.h"

namespace {

constexpr const char* kSerial = "T200";
constexpr int kTargetCom = 4;
constexpr const char* kCorrections = "//qs4060krtn_vp//corrections//corrections_table.txt";
constexpr const char* kBlackList = "//qs4060krtn_vp//black_list.txt";
constexpr const char* kLogin = "dialog CSetHystogramRange OK code=123456 password=segreto\n";
constexpr const char* kApply = "dialog CFonoConfigDlg OK\n";
constexpr const char* kDone = "Aggiornamento data di scadenza taratura completato.";
constexpr const char* kNotAnswering = "Fonometro da verificare non risponde.";

using Fields = std::map<std::string, std::string>;

const Fields kBefore = {{"CERT_DATE", "2023/03/01"},
                        {"CALIB_CERT_DATE", "2023/03/02"},
                        {"HOMOLOGATION", "OM-1"},
                        {"MAKER", "Corvanex"}};
const Fields kAfter = {{"CERT_DATE", "2025/04/10"},
                       {"CALIB_CERT_DATE", "2025/04/09"},
                       {"HOMOLOGATION", "OM-2"},
                       {"MAKER", "Corvanex Srl"}};

class CalibExpiryJobTest : public ::testing::Test {
protected:
    CalibExpiryJobTest() {
        app.m_strProgramDir = folder.Path();
        app.m_TargetPort.m_nComPort = kTargetCom;
        meter.SetSetting("INSTR_M", "QS4060KRTN");
        meter.SetSetting("INSTR_N", kSerial);
        meter.Modify([](simmeter::MeterState& s) { s.protectedFields = kBefore; });
        keys->InstallOn(meter);
        platform::SetComDevice(kTargetCom, meter.SlavePath());
        folder.Write("setup.ini", "HOMOLOGATION=OM-2\r\nMAKER = Corvanex Srl\r\n");
        frame = std::make_unique<CMainFrame>(&clock);
    }
    ~CalibExpiryJobTest() override {
        frame.reset();
        platform::ClearComDevices();
        platform::EventLoop::ClearQuit();
    }

    void SetUp() override {
        ASSERT_TRUE(stub.Running()) << stub.StartError();
        PointProgramAt(folder, stub);
        stub.ServeFile(kCorrections, "REF1;0.1\n");
        stub.ServeKeyFile(kSerial, keytest::KeyLine(kSerial, keyData) + "\n");
        stub.WriteState("accounts", "123456;segreto;tecnico@example.com\n");
        stub.WriteState("cert_dates", std::string(kSerial) + ";2025/04/10\n");
        stub.WriteState("cert_dates_calib", std::string(kSerial) + ";2025/04/09\n");
    }

    void Script(const std::string& text) {
        std::string error;
        ASSERT_TRUE(ParseOperatorScript(text, op, error)) << error;
    }

    Fields MeterFields() {
        Fields fields;
        meter.Modify([&](simmeter::MeterState& s) { fields = s.protectedFields; });
        return fields;
    }
    std::optional<std::string> ServerRecord() const {
        return stub.ReadState("server_logs/calib_expiry_T200.txt");
    }
    int KeyFrames(std::string_view keyword) const {
        int count = 0;
        for (const auto& frame : keys->Frames())
            count += platform::StartsWith(frame.command, keyword);
        return count;
    }
    bool TargetPortOpen() const { return frame->Link().IsPortOpen(LinkSide::Target); }

    // Slow enough that the meters and the stand-in answer within the job's waits under load.
    platform::ScopedClockSpeed fast{20.0};
    testenv::ScratchFolder folder;
    testenv::TestOperator op;
    webstub::WebStub stub;
    CKX9MonitorApp app;
    cipher::KeyData keyData = keytest::MakeKeyData(42);
    simmeter::SimMeter meter;
    std::shared_ptr<simmeter::CipherResponder> keys =
        simmeter::CipherResponder::Create(keyData.resetKeystream, keyData.state);
    // The link's waits and reply time-outs last until the meter had its turn.
    linktest::PatientClock clock{
        0, [this] { return meter.Answered() && !linktest::ReplyUntaken(frame->Link()); },
        &app.m_bAbortWait};
    std::unique_ptr<CMainFrame> frame;
};

TEST_F(CalibExpiryJobTest, TheJobWritesTheNewDatesIntoTheMeterAndRecordsTheChange) {
    Script(std::string(kLogin) + kApply);
    op.ExpectBox(kDone);

    EXPECT_EQ(frame->OnCreate(), 0);

    EXPECT_EQ(MeterFields(), kAfter);
    // One unlock for each protected write.
    EXPECT_EQ(KeyFrames(cipher::kUnlockKeyword), 4);
    const auto record = ServerRecord();
    ASSERT_TRUE(record);
    EXPECT_EQ(*record,
              "SN T200; TECNICO 123456; CERT_DATE 2023/03/01 -> 2025/04/10; CALIB_CERT_DATE "
              "2023/03/02 -> 2025/04/09; HOMOLOGATION OM-1 -> OM-2; MAKER Corvanex -> "
              "Corvanex Srl\n");
    EXPECT_EQ(frame->Bench().CalibExpiryDialog().m_strResult, "OK");
    EXPECT_FALSE(frame->Bench().CalibExpiryDialog().HasWindow());
    EXPECT_EQ(frame->Bench().Instruments().target.model, "QS4060KRTN");
    EXPECT_EQ(app.m_strTechnicianId, "123456");
    // The keys were aligned and recorded; the bench window stays, hidden.
    EXPECT_TRUE(frame->Bench().Window().HasWindow());
    EXPECT_FALSE(frame->Bench().Window().IsWindowVisible());
    EXPECT_NE(folder.Read("port.ini").find("TARGET_INSTR_SN=T200"), std::string::npos);
    // The queued link is armed, its tick asleep while nothing waits to go; the port is closed
    // and the program ends.
    EXPECT_FALSE(frame->Link().IsTimerSet(LinkSession::kSendTick));
    frame->SendCommand(16, "", "");
    EXPECT_TRUE(frame->Link().IsTimerSet(LinkSession::kSendTick));
    frame->Link().DeleteAllCommands();
    EXPECT_TRUE(frame->Mode().IsLinkActive());
    EXPECT_FALSE(TargetPortOpen());
    EXPECT_TRUE(platform::EventLoop::QuitPending());
    const std::string log = folder.Read("archivio_verifiche/instr_T200_" +
                                        platform::DateTime::Now().Format("%Y_%m_%d") + "_Log.txt");
    EXPECT_NE(log.find("Avvio modifica data scadenza taratura"), std::string::npos);
    EXPECT_NE(log.find("Scrittura CERT_DATE: 2023/03/01 -> 2025/04/10"), std::string::npos);
}

// Every answer comes twice, the copy a while later: after the program's next query went out,
// before that query's answer.
TEST_F(CalibExpiryJobTest, AMeterThatAnswersEverythingTwiceIsUpdatedAsAnyOther) {
    meter.Override("", -1, [](const std::string&, std::optional<simmeter::Reply> normal) {
        if (normal) {
            normal->bytes += normal->bytes;
            normal->delayMs = 300;
            normal->pieces = 2;
            normal->pieceGapMs = 200;
        }
        return normal;
    });
    Script(std::string(kLogin) + kApply);
    op.ExpectBox(kDone);

    EXPECT_EQ(frame->OnCreate(), 0);

    EXPECT_EQ(MeterFields(), kAfter);
}

TEST_F(CalibExpiryJobTest, AMeterThatDoesNotAnswerEndsTheJobWhenTheOperatorCancels) {
    meter.SilenceNext("SET:INS", -1);
    Script(std::string("box CANCEL ") + kNotAnswering + "\n" + kLogin);

    EXPECT_EQ(frame->OnCreate(), 0);

    EXPECT_EQ(op.Shown().back(),
              std::string(kNotAnswering) + "\nVerificare impostazioni porta seriale.");
    EXPECT_EQ(MeterFields(), kBefore);
    EXPECT_TRUE(frame->Bench().Instruments().target.model.empty());
    EXPECT_FALSE(ServerRecord());
    EXPECT_TRUE(platform::EventLoop::QuitPending());
}

TEST_F(CalibExpiryJobTest, ACancelledLoginLeavesTheMeterAlone) {
    Script("dialog CSetHystogramRange CANCEL\n" + std::string(kApply));

    frame->OnCreate();

    EXPECT_EQ(frame->Bench().Instruments().target.serial, kSerial);
    EXPECT_EQ(MeterFields(), kBefore);
    EXPECT_TRUE(keys->Frames().empty());
    EXPECT_FALSE(ServerRecord());
    EXPECT_TRUE(platform::EventLoop::QuitPending());
}

TEST_F(CalibExpiryJobTest, AWrongPasswordIsRefusedAndEndsTheJob) {
    Script("dialog CSetHystogramRange OK code=123456 password=sbagliata\n" + std::string(kApply));
    op.ExpectBox("Nome utente o password errati");

    frame->OnCreate();

    EXPECT_EQ(MeterFields(), kBefore);
    EXPECT_TRUE(app.m_strTechnicianId.empty());
}

TEST_F(CalibExpiryJobTest, ABlackListedMeterIsRefusedBeforeItsKeysAreTouched) {
    stub.ServeFile(kBlackList, "X1\nT200 bloccato\n");
    Script(std::string(kLogin) + kApply);
    op.ExpectBox("err 689");

    frame->OnCreate();

    EXPECT_EQ(MeterFields(), kBefore);
    EXPECT_TRUE(keys->Frames().empty());
    EXPECT_FALSE(frame->Bench().Window().HasWindow());
    EXPECT_FALSE(frame->Link().IsReadyToSend());  // the queued link was not armed
    EXPECT_FALSE(TargetPortOpen());
}

TEST_F(CalibExpiryJobTest, FailedKeyAlignmentStopsTheUpdate) {
    // The meter refuses every enciphered frame.
    for (int i = 0; i < 20; ++i)
        keys->RefuseNext();
    Script(std::string(kLogin) + kApply);
    // The key initialisation's own boxes ("Errore (di) inizializzazione cifratura").
    op.AlwaysAnswer("nizializzazione cifratura", IDOK);
    op.ExpectBox("DUT: Allineamento chiavi di comunicazione fallito.");

    frame->OnCreate();

    EXPECT_EQ(MeterFields(), kBefore);
    EXPECT_FALSE(ServerRecord());
    EXPECT_FALSE(frame->Bench().CalibExpiryDialog().HasWindow());
    EXPECT_FALSE(frame->Link().IsReadyToSend());  // the queued link was not armed
    EXPECT_FALSE(TargetPortOpen());
}

TEST_F(CalibExpiryJobTest, CancellingTheDialogWritesNothing) {
    Script(std::string(kLogin) + "dialog CFonoConfigDlg CANCEL\n");

    frame->OnCreate();

    EXPECT_EQ(frame->Bench().CalibExpiryDialog().m_strResult, "-1");
    EXPECT_EQ(MeterFields(), kBefore);
    EXPECT_EQ(KeyFrames(cipher::kUnlockKeyword), 0);
    EXPECT_FALSE(ServerRecord());
    EXPECT_FALSE(TargetPortOpen());
}

TEST_F(CalibExpiryJobTest, WithoutInternetTheMeterIsNotEvenAsked) {
    RefusingPort refusing;
    folder.Write("alt_www.dll", "127.0.0.1\n" + refusing.PortText() + "\n");
    op.AlwaysAnswer("Connessione Internet assente", IDOK);
    op.ExpectBox("ATTENZIONE:\nConnessione internet assente.");

    frame->OnCreate();

    EXPECT_EQ(meter.LineCount(), 0u);
    EXPECT_EQ(MeterFields(), kBefore);
    EXPECT_TRUE(platform::EventLoop::QuitPending());
}

// The program itself, as the start-up job runs without a display, killed (SIGKILL) right after
// the meter took its first protected write, then run again by another technician.
TEST_F(CalibExpiryJobTest, AChangeKilledAfterItsFirstWriteIsRecordedByTheNextRun) {
    folder.Write("port.ini", "TARGET_INSTR_COM=4\r\n");
    stub.AppendState("accounts", "654321;riservata;altro@example.com\n");
    std::atomic<qint64> running{0};
    // The meter takes the value, and the program dies before it hears the answer.
    meter.Override("SET:PROT:CERT_DATE:2", 1, [&](const std::string&, auto) {
        if (const qint64 pid = running.load(); pid > 0)
            ::kill(static_cast<pid_t>(pid), SIGKILL);
        return std::optional<simmeter::Reply>();
    });
    auto run = [&](const std::string& login) {
        folder.Write("operator.txt", "dialog CSetHystogramRange OK " + login + "\n" + kApply);
        QProcess program;
        program.setWorkingDirectory(QString::fromStdString(folder.Path()));
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        environment.insert("KX9_OPERATOR_SCRIPT",
                           QString::fromStdString(folder.File("operator.txt")));
        environment.insert("KX9_COM_MAP", QString::fromStdString("4=" + meter.SlavePath()));
        environment.insert("KX9_CLOCK_SPEED", "20");
        program.setProcessEnvironment(environment);
        program.start(QString::fromStdString(testenv::BinaryDir() + "/src/app/kx9monitor"), {});
        running = program.waitForStarted(30000) ? program.processId() : 0;
        EXPECT_TRUE(program.waitForFinished(90000));
        return std::pair(program.exitStatus(), program.readAllStandardOutput().toStdString());
    };
    ASSERT_EQ(run("code=123456 password=segreto").first, QProcess::CrashExit);
    EXPECT_EQ(MeterFields().at("CERT_DATE"), "2025/04/10");
    EXPECT_EQ(MeterFields().at("CALIB_CERT_DATE"), "2023/03/02");
    EXPECT_FALSE(ServerRecord());
    struct stat info {};
    ASSERT_EQ(::stat(folder.File("calib_expiry_pending.txt").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);

    const auto [status, output] = run("code=654321 password=riservata");
    EXPECT_EQ(status, QProcess::NormalExit);
    EXPECT_NE(output.find(std::string("[kx9monitor] ") + kDone), std::string::npos) << output;
    EXPECT_EQ(MeterFields(), kAfter);
    EXPECT_EQ(ServerRecord(),
              "SN T200; TECNICO 123456; CERT_DATE 2023/03/01 -> 2025/04/10; COMPLETATA DOPO "
              "INTERRUZIONE\nSN T200; TECNICO 654321; CALIB_CERT_DATE 2023/03/02 -> 2025/04/09; "
              "HOMOLOGATION OM-1 -> OM-2; MAKER Corvanex -> Corvanex Srl\n");
    EXPECT_FALSE(platform::FileExists(folder.File("calib_expiry_pending.txt")));
}

TEST(OperatorScriptTest, RulesAnswerBoxesAndFillDialogs) {
    platform::ScriptedOperator op;
    std::string error;
    ASSERT_TRUE(
        ParseOperatorScript("# prova\r\n\nbox NO Eseguire\\nla validazione\n"
                            "box cancel non risponde\n"
                            "dialog CSetLabelDlg OK text=12345\n"
                            "dialog CAboutDlg OK\n",
                            op, error))
        << error;
    EXPECT_EQ(op.MessageBox("Eseguire\nla validazione del rapporto", "", MB_YESNO), IDNO);
    EXPECT_EQ(op.MessageBox("Fonometro non risponde", "", MB_OKCANCEL), IDCANCEL);
    // The code form checks its six characters as its OK button would.
    CSetLabelDlg code;
    testenv::TestOperator boxes;
    boxes.ExpectBox("deve essere di 6 cifre");
    EXPECT_EQ(op.RunModal(code), IDCANCEL);
    EXPECT_EQ(code.m_strText, "12345");

    for (const char* bad : {"box MAYBE testo", "box OK", "dialog CSetLabelDlg OK colour=red",
                            "dialog CFonoConfigDlg", "click OK"}) {
        platform::ScriptedOperator other;
        EXPECT_FALSE(ParseOperatorScript(std::string("# a\n") + bad + "\n", other, error)) << bad;
        EXPECT_NE(error.find("line 2"), std::string::npos) << error;
    }
    EXPECT_FALSE(LoadOperatorScript("/nonexistent/script.txt", op, error));
}

}  // namespace

namespace {

// The golden transcript of the start-up job: every line the meter heard and every answer it
// gave. The certificate dates and "setup.ini" fix what is written; the key data and a fixed
// series of challenges fix the enciphered frames.
TEST_F(CalibExpiryJobTest, GoldenTranscriptOfTheStartUpJob) {
    frame->Bench().Window().SetRandomSource([n = 0]() mutable { return 1000 + 7 * n++; });
    Script(std::string(kLogin) + kApply);
    op.ExpectBox(kDone);

    frame->OnCreate();

    EXPECT_EQ(MeterFields(), kAfter);
    EXPECT_TRUE(golden::MatchesGolden("tests/app/golden/startup_job.txt", meter.Transcript()));
}

}  // namespace
