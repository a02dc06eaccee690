// The start-up job of the frame's creation, against the web-service stand-in and a simulated
// meter (the whole job with the expiry update: calib_expiry_job_test.cpp).
#include <gtest/gtest.h>

#include <QProcess>
#include <algorithm>
#include <filesystem>
#include <memory>

#include "app/frame_bench.h"
#include "app/frame_boxes.h"
#include "app/frame_web.h"
#include "app/kx9monitor_app.h"
#include "app/kx9monitor_view.h"
#include "app/main_frame.h"
#include "app/port_setup_dlg.h"
#include "link/fake_tty_tree.h"
#include "link/link_test_support.h"
#include "link/port_record.h"
#include "link/serial.h"
#include "link/serial_port_list.h"
#include "platform/com_ports.h"
#include "platform/event_loop.h"
#include "platform/shell.h"
#include "platform/text.h"
#include "sim_meter.h"
#include "support/test_env.h"
#include "web/login_form.h"
#include "web/service_paths.h"
#include "web/web_test_env.h"
#include "zip/zip_archive.h"

namespace {

constexpr const char* kNoInternetCheck = "Connessione Internet assente.\nNon e' possibile";
constexpr const char* kNoInternetStop =
    "ATTENZIONE:\nConnessione internet assente.\nAggiornamento data di scadenza non puo' "
    "essere eseguito";
constexpr const char* kNotAnswering =
    "Fonometro da verificare non risponde.\nVerificare impostazioni porta seriale.";
constexpr const char* kCorrections = "//qs4060krtn_vp//corrections//corrections_table.txt";

class StartupJobTest : public ::testing::Test {
protected:
    StartupJobTest() {
        app.m_strProgramDir = folder.Path();
        frame = std::make_unique<CMainFrame>(&clock);
    }
    ~StartupJobTest() override {
        frame.reset();
        platform::ClearComDevices();
        SetTtyClassRoot("");
        platform::EventLoop::ClearQuit();
    }

    // The stand-in is the server, and it answers the internet check.
    void ServerReachable() {
        ASSERT_TRUE(stub.Running()) << stub.StartError();
        PointProgramAt(folder, stub);
        stub.ServeFile(kCorrections, "REF1;0.1\n");
    }
    // The link's waits and reply time-outs last until `meter` had its turn.
    void PaceTo(const simmeter::SimMeter& meter) {
        clock.SetAnswered(
            [this, &meter] { return meter.Answered() && !linktest::ReplyUntaken(frame->Link()); });
    }

    // Slow enough for the simulated meters on a loaded machine.
    platform::ScopedClockSpeed fast{40.0};
    testenv::ScratchFolder folder;
    testenv::TestOperator op;
    webstub::WebStub stub;
    CKX9MonitorApp app;
    linktest::PatientClock clock{0, nullptr, &app.m_bAbortWait};
    std::unique_ptr<CMainFrame> frame;
};

TEST_F(StartupJobTest, WithoutInternetItStopsAndQuitsBeforeTheInstrument) {
    RefusingPort refusing;
    folder.Write("alt_www.dll", "127.0.0.1\n" + refusing.PortText() + "\n");
    frame->Web().Client().SetSrvPath(web::kTestServerPath);
    op.ExpectBox("//qs4060krtn_vp_test//");
    op.ExpectBox(kNoInternetCheck);
    op.ExpectBox(kNoInternetStop);

    EXPECT_EQ(frame->OnCreate(), 0);

    EXPECT_TRUE(platform::EventLoop::QuitPending());
    ASSERT_NE(frame->Window(), nullptr);
    EXPECT_FALSE(frame->Window()->isVisible());
    EXPECT_NE(frame->View(), nullptr);
    EXPECT_EQ(app.m_pView, frame->View());
    EXPECT_FALSE(frame->Boxes().m_TryConnDlg.HasWindow());
}

TEST_F(StartupJobTest, MeterNotAnsweringRetriesThroughThePortSettingsUntilCancel) {
    ServerReachable();
    simmeter::SimMeter meter;
    PaceTo(meter);
    meter.SilenceNext("SET:INS", -1);
    platform::SetComDevice(3, meter.SlavePath());
    app.m_TargetPort.m_nComPort = 3;
    std::vector<bool> boxShown;
    op.ExpectBox(kNotAnswering, IDOK);
    op.ExpectBox(kNotAnswering, IDCANCEL);
    // The port settings offer the PC's one port, COM3, and the operator keeps it.
    linktest::FakeTtyTree tree(folder.Path() + "sys/class/tty");
    tree.Uart("ttyS2");
    SetTtyClassRoot(tree.RootText());
    op.ExpectDialog("CPortSetupDlg", [&](platform::ModalDialog& dialog) {
        boxShown.push_back(frame->Boxes().m_TryConnDlg.IsWindowVisible());
        auto& settings = dynamic_cast<CPortSetupDlg&>(dialog);
        settings.m_nTargetPortSel = settings.FindPortEntry("COM3");
        return IDOK;
    });

    EXPECT_EQ(frame->OnCreate(), 0);

    // The web client took the stand-in's address from the file and reached it.
    EXPECT_EQ(frame->Web().Client().ServerHost(), stub.Host());
    EXPECT_EQ(frame->Web().Client().ServerPort(), stub.PortText());
    bool probed = false;
    for (const auto& request : stub.Requests())
        probed = probed || request.uri == kCorrections;
    EXPECT_TRUE(probed);
    EXPECT_EQ(frame->Web().Databases().m_bCheckInternet, 0);
    EXPECT_EQ(frame->Web().Databases().m_bInternetAvailable, 1);

    EXPECT_EQ(frame->Boxes().m_TryConnDlg.m_strText, "Connessione con il server in corso..");
    EXPECT_EQ(boxShown, (std::vector<bool>{true}));
    EXPECT_FALSE(frame->Boxes().m_TryConnDlg.HasWindow());
    // Each try opened the port afresh and asked the meter its model, three times a try; the
    // meter reads on its own thread, so give it until it has heard the second try.
    auto asked = [&] {
        size_t count = 0;
        for (const auto& line : meter.Lines())
            count += line == "SET:INS:?";
        return count;
    };
    while (asked() <= 3 && meter.WaitForLines(meter.LineCount() + 1, 2000)) {
    }
    EXPECT_GT(asked(), 3u);
    EXPECT_FALSE(frame->Link().IsPortOpen(LinkSide::Target));
    EXPECT_EQ(app.m_TargetPort.m_nComPort, 3);
    EXPECT_NE(folder.Read("port.ini").find("TARGET_INSTR_COM=3\r\n"), std::string::npos);
    // Cancel ends the program without the login (an unexpected dialog would fail the test).
    EXPECT_TRUE(platform::EventLoop::QuitPending());
}

TEST_F(StartupJobTest, APortHeldByAnotherStartIsToldAsInUseNotBlamedOnTheMeter) {
    ServerReachable();
    simmeter::SimMeter meter;
    platform::SetComDevice(3, meter.SlavePath());
    app.m_TargetPort.m_nComPort = 3;
    CSerial firstStart;
    ASSERT_EQ(firstStart.Open("COM3"), 0);
    op.ExpectBox(kNotAnswering, IDCANCEL);

    EXPECT_EQ(frame->OnCreate(), 0);

    EXPECT_EQ(op.Shown(), std::vector<std::string>{std::string(kNotAnswering) +
                                                   "\nLa porta COM3 e' in uso da un altro "
                                                   "programma."});
    EXPECT_EQ(meter.LineCount(), 0u);
}

TEST_F(StartupJobTest, APortNumberThatNamesNoPortIsToldAsTheSettingNotAsADevice) {
    ServerReachable();
    const std::string cause =
        "\nL'impostazione TARGET_INSTR_COM di port.ini non contiene un numero di porta "
        "utilizzabile";
    std::string utf16 = "\xFF\xFE";
    for (const char c : std::string("TARGET_INSTR_COM=3\r\n"))
        utf16 += std::string{c, '\0'};
    struct Case {
        const char* name;
        std::string file;  // port.ini's bytes; none: a folder in its place
        std::string quoted;
    };
    const std::vector<Case> cases = {
        {"empty file", "", ""},
        {"not a number", "TARGET_INSTR_COM=abc\r\n", " (\"abc\")"},
        {"zero", "TARGET_INSTR_COM=0\r\n", " (\"0\")"},
        {"past int", "TARGET_INSTR_COM=100000000000000000000\r\n", " (\"1000000000000000...\")"},
        {"no TARGET lines", "REF_INSTR_COM=3\r\nREF_INSTR_SN=R100\r\n", ""},
        {"a folder", std::string(), ""},
        {"UTF-16", utf16, ""},
        // One line: the number is read from what the key leaves of it.
        {"CR-only lines", "REF_INSTR_COM=1\rTARGET_INSTR_COM=3\r", " (\"REF_INSTR_COM=1...\")"},
        {"1 MiB line", "TARGET_INSTR_COM=" + std::string(1 << 20, '7') + "\r\n",
         " (\"7777777777777777...\")"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(folder.File("port.ini"));
        if (std::string(c.name) == "a folder")
            std::filesystem::create_directory(folder.File("port.ini"));
        else
            folder.Write("port.ini", c.file);
        app.m_TargetPort = PortRecord{};
        app.LoadPortIni();
        op.ExpectBox(kNotAnswering, IDCANCEL);

        EXPECT_EQ(frame->OnCreate(), 0);

        // Nothing was opened, and no device is named.
        EXPECT_EQ(op.Shown().back(), kNotAnswering + cause + c.quoted + ".");
        platform::EventLoop::ClearQuit();
    }

    // The program rewrote the file since (an error counter's reset, say): the box quotes what
    // the file holds now.
    folder.Write("port.ini", "TARGET_INSTR_COM=abc\r\n");
    app.LoadPortIni();
    app.SavePortIni(app.m_RefPort, app.m_TargetPort);
    ASSERT_NE(folder.Read("port.ini").find("TARGET_INSTR_COM=0\r\n"), std::string::npos);
    op.ExpectBox(kNotAnswering, IDCANCEL);
    EXPECT_EQ(frame->OnCreate(), 0);
    EXPECT_EQ(op.Shown().back(), kNotAnswering + cause + " (\"0\").");
    platform::EventLoop::ClearQuit();
}

TEST_F(StartupJobTest, AScriptThatKeepsRetryingASilentMeterEndsTheJobAfterAFewTries) {
    ServerReachable();
    simmeter::SimMeter meter;
    PaceTo(meter);
    meter.SilenceNext("SET:INS", -1);
    platform::SetComDevice(3, meter.SlavePath());
    app.m_TargetPort.m_nComPort = 3;
    linktest::FakeTtyTree tree(folder.Path() + "sys/class/tty");
    tree.Uart("ttyS2");
    SetTtyClassRoot(tree.RootText());
    op.AlwaysAnswer(kNotAnswering, IDOK);
    int settings = 0;
    op.AlwaysRunDialog("CPortSetupDlg", [&](platform::ModalDialog&) {
        // Only a loop without end gets this far; the quit then dismisses its question.
        if (++settings > 10)
            platform::EventLoop::RequestQuit(0);
        return IDOK;
    });

    EXPECT_EQ(frame->OnCreate(), 0);

    EXPECT_EQ(std::count(op.Shown().begin(), op.Shown().end(), kNotAnswering), 3);
    EXPECT_EQ(settings, 3);
    EXPECT_TRUE(platform::EventLoop::QuitPending());
}

TEST_F(StartupJobTest, ASoftwareUpdateStartedAfterTheLoginEndsTheJobInsteadOfTheExpiryUpdate) {
    ServerReachable();
    simmeter::SimMeter meter;
    PaceTo(meter);
    meter.SetSetting("INSTR_M", "QS4060KRTN");
    meter.SetSetting("INSTR_N", "T200");
    platform::SetComDevice(3, meter.SlavePath());
    app.m_TargetPort.m_nComPort = 3;
    // The second look at the version list finds a newer version.
    const std::string list = "//qs4060krtn_vp//software_upgrade//sw_versions.txt";
    stub.ServeFile(list, "1.0.0;kx9_1_0_0.zip\n");
    stub.ChangeFileAfter(list, 1, "1.0.0;kx9_1_0_0.zip\n1.2.0;kx9_1_2_0.zip\n");
    folder.Write("nuovo.txt", "versione 1.2.0");
    {
        CZipArchive zip;
        ASSERT_TRUE(zip.Open(folder.File("pacchetto.zip"), CZipArchive::kCreate));
        ASSERT_TRUE(zip.AddNewFile(folder.File("nuovo.txt"), -1, false));
        zip.Close();
    }
    stub.ServeFile("//qs4060krtn_vp//software_upgrade//kx9_1_2_0.zip",
                   folder.Read("pacchetto.zip"));
    folder.Write("updater.ini", "UPDATER=/opt/corvanex/updater\n");
    std::vector<platform::ShellRequest> started;
    platform::SetShellRecorder([&](const platform::ShellRequest& request) {
        started.push_back(request);
        return true;
    });
    op.ExpectDialog("CSetHystogramRange", [](platform::ModalDialog& dialog) {
        auto& form = dynamic_cast<CSetHystogramRange&>(dialog);
        form.m_strCode = "123456";
        form.m_bAuthorised = 1;
        return IDOK;
    });
    op.ExpectBox(
        "E' disponibile una versione aggiornata del software.\nL'aggiornamento verra' "
        "eseguito ora");

    frame->OnCreate();
    platform::SetShellRecorder(nullptr);

    EXPECT_EQ(app.m_strTechnicianId, "123456");
    EXPECT_EQ(frame->Web().LoginResult(), 1);
    EXPECT_EQ(frame->Bench().Instruments().target.serial, "T200");
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0].path, "/opt/corvanex/updater");
    EXPECT_EQ(folder.Read("software_upgrade/nuovo.txt"), "versione 1.2.0");
    // No expiry update: the meter was never asked for its protected fields.
    for (const auto& line : meter.Lines())
        EXPECT_FALSE(platform::StartsWith(line, "SET:PROT")) << line;
    EXPECT_FALSE(frame->Bench().Window().HasWindow());
    EXPECT_TRUE(platform::EventLoop::QuitPending());
}

// The program itself, as scripts/run.sh starts it without a display.
TEST(ProgramRunTest, UnattendedRunInAnEmptyFolderStopsOnTheMissingInternetAndEnds) {
    testenv::ScratchFolder folder;
    QProcess program;
    program.setWorkingDirectory(QString::fromStdString(folder.Path()));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("KX9_UNATTENDED", "1");
    environment.insert("KX9_CLOCK_SPEED", "1000");
    program.setProcessEnvironment(environment);
    program.start(QString::fromStdString(testenv::BinaryDir() + "/src/app/kx9monitor"), {});
    ASSERT_TRUE(program.waitForFinished(60000)) << program.errorString().toStdString();

    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);
    const std::string output = program.readAllStandardOutput().toStdString();
    EXPECT_NE(output.find(std::string("[kx9monitor] ") + kNoInternetStop), std::string::npos)
        << output;
}

}  // namespace
