// The start-up job of the frame's creation, against the web-service stand-in, with the parts of
// the program that come later played by handlers.
#include <gtest/gtest.h>

#include <QProcess>
#include <memory>

#include "app/kx9monitor_app.h"
#include "app/kx9monitor_view.h"
#include "app/main_frame.h"
#include "app/port_setup_dlg.h"
#include "link/fake_tty_tree.h"
#include "link/serial_port_list.h"
#include "platform/com_ports.h"
#include "platform/event_loop.h"
#include "sim_meter.h"
#include "support/test_env.h"
#include "web/login_form.h"
#include "web/service_paths.h"
#include "web/web_test_env.h"

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
        frame = std::make_unique<CMainFrame>();
    }
    ~StartupJobTest() override {
        frame.reset();
        SetTtyClassRoot("");
        platform::SetEnumeratedComDevices({});
        platform::ClearComDevices();
        platform::EventLoop::ClearQuit();
    }

    // The stand-in is the server, and it answers the internet check.
    void ServerReachable() {
        ASSERT_TRUE(stub.Running()) << stub.StartError();
        folder.Write("alt_www.dll", stub.Host() + "\r\n" + stub.PortText() + "\r\n");
        stub.ServeFile(kCorrections, "REF1;0.1\n");
    }
    void InstrumentAnswers() {
        frame->m_pending.SetHandler("ConnectInstrumentUnderTest", [] { return TRUE; });
    }
    int Calls(const std::string& name) const { return frame->m_pending.CountOf(name); }

    platform::ScopedClockSpeed fast{1000.0};
    testenv::ScratchFolder folder;
    testenv::TestOperator op;
    webstub::WebStub stub;
    CKX9MonitorApp app;
    std::unique_ptr<CMainFrame> frame;
};

TEST_F(StartupJobTest, WithoutInternetItStopsAndQuitsBeforeTheInstrument) {
    RefusingPort refusing;
    folder.Write("alt_www.dll", "127.0.0.1\n" + refusing.PortText() + "\n");
    frame->m_web.SetSrvPath(web::kTestServerPath);
    op.ExpectBox("//qs4060krtn_vp_test//");
    op.ExpectBox(kNoInternetCheck);
    op.ExpectBox(kNoInternetStop);

    EXPECT_EQ(frame->OnCreate(), 0);

    EXPECT_TRUE(platform::EventLoop::QuitPending());
    ASSERT_NE(frame->Window(), nullptr);
    EXPECT_FALSE(frame->Window()->isVisible());
    EXPECT_NE(frame->View(), nullptr);
    EXPECT_EQ(app.m_pView, frame->View());
    EXPECT_TRUE(frame->m_pending.Calls().empty());
    EXPECT_FALSE(frame->m_TryConnDlg.HasWindow());
}

TEST_F(StartupJobTest, AlternativeServerFileGivesHostAndPortWithoutLineEnds) {
    folder.Write("alt_www.dll", "127.0.0.1 \r\n8080\t\r\n");
    // Whatever listens on that port, the job ends without the operator.
    op.AlwaysAnswer("Connessione", IDOK);
    op.AlwaysAnswer(kNotAnswering, IDCANCEL);

    frame->OnCreate();

    EXPECT_EQ(frame->m_web.ServerHost(), "127.0.0.1");
    EXPECT_EQ(frame->m_web.ServerPort(), "8080");
}

TEST_F(StartupJobTest, MeterNotAnsweringRetriesThroughThePortSettingsUntilCancel) {
    ServerReachable();
    simmeter::SimMeter meter;
    platform::SetComDevice(3, meter.SlavePath());
    std::vector<bool> boxShown;
    std::vector<bool> portOpenBefore;
    frame->m_pending.SetHandler("ConnectInstrumentUnderTest", [&] {
        boxShown.push_back(frame->m_TryConnDlg.IsWindowVisible());
        CSerialMFC& port = frame->View()->m_TargetSerial;
        portOpenBefore.push_back(port.IsOpen());
        port.Open("COM3", frame.get(), 0, 0, 2048, 2048);
        return FALSE;
    });
    op.ExpectBox(kNotAnswering, IDOK);
    op.ExpectBox(kNotAnswering, IDCANCEL);
    // The port settings offer the PC's one port, COM1, and the operator takes it.
    linktest::FakeTtyTree tree(folder.Path() + "sys/class/tty");
    tree.Port("ttyUSB0", true);
    SetTtyClassRoot(tree.RootText());
    op.ExpectDialog("CPortSetupDlg", [](platform::ModalDialog& dialog) {
        auto& settings = dynamic_cast<CPortSetupDlg&>(dialog);
        settings.m_nTargetPortSel = settings.FindPortEntry("COM1");
        return IDOK;
    });

    EXPECT_EQ(frame->OnCreate(), 0);

    // The web client took the stand-in's address from the file and reached it.
    EXPECT_EQ(frame->m_web.ServerHost(), stub.Host());
    EXPECT_EQ(frame->m_web.ServerPort(), stub.PortText());
    bool probed = false;
    for (const auto& request : stub.Requests())
        probed = probed || request.uri == kCorrections;
    EXPECT_TRUE(probed);
    EXPECT_EQ(frame->m_databases.m_bCheckInternet, 0);
    EXPECT_EQ(frame->m_databases.m_bInternetAvailable, 1);

    EXPECT_EQ(frame->m_TryConnDlg.m_strText, "Connessione con il server in corso..");
    EXPECT_EQ(boxShown, (std::vector<bool>{true, false}));
    // The port settings may change the port: it is opened afresh for the next try.
    EXPECT_EQ(portOpenBefore, (std::vector<bool>{false, false}));
    EXPECT_EQ(frame->m_pending.Calls(),
              (std::vector<std::string>{"CheckSoftwareUpdate(0,0)", "ConnectInstrumentUnderTest",
                                        "ConnectInstrumentUnderTest"}));
    EXPECT_EQ(app.m_TargetPort.m_nComPort, 1);
    EXPECT_NE(folder.Read("port.ini").find("TARGET_INSTR_COM=1\r\n"), std::string::npos);
    // Cancel ends the program without the login (an unexpected dialog would fail the test).
    EXPECT_TRUE(platform::EventLoop::QuitPending());
    frame->View()->m_TargetSerial.Close();
}

TEST_F(StartupJobTest, CancelledLoginEndsWithoutTheExpiryUpdate) {
    ServerReachable();
    InstrumentAnswers();
    op.ExpectDialog("CSetHystogramRange", [](platform::ModalDialog&) { return IDCANCEL; });

    EXPECT_EQ(frame->OnCreate(), 0);

    EXPECT_TRUE(platform::EventLoop::QuitPending());
    EXPECT_FALSE(frame->m_TryConnDlg.HasWindow());
    EXPECT_EQ(Calls("CheckSoftwareUpdate(0,0)"), 1);
    EXPECT_EQ(Calls("OnUpdateCalibExpiry"), 0);
    EXPECT_EQ(app.m_strTechnicianId, "");
}

TEST_F(StartupJobTest, LoginLeadsToTheExpiryUpdateUnlessAProgramUpdateStarted) {
    ServerReachable();
    InstrumentAnswers();
    auto login = [](platform::ModalDialog& dialog) {
        auto& form = dynamic_cast<CSetHystogramRange&>(dialog);
        form.m_strCode = "123456";
        form.m_bAuthorised = 1;
        return IDOK;
    };
    op.ExpectDialog("CSetHystogramRange", login);

    frame->OnCreate();

    EXPECT_EQ(app.m_strTechnicianId, "123456");
    EXPECT_EQ(frame->m_nLoginResult, 1);
    EXPECT_EQ(frame->m_pending.Calls(),
              (std::vector<std::string>{"CheckSoftwareUpdate(0,0)", "ConnectInstrumentUnderTest",
                                        "CheckSoftwareUpdate(0,0)", "OnUpdateCalibExpiry"}));
    EXPECT_TRUE(platform::EventLoop::QuitPending());

    // The second check starts an update: the program ends for it instead.
    platform::EventLoop::ClearQuit();
    frame.reset();
    frame = std::make_unique<CMainFrame>();
    InstrumentAnswers();
    int checks = 0;
    frame->m_pending.SetHandler("CheckSoftwareUpdate(0,0)", [&] { return ++checks == 2 ? 1 : 0; });
    op.ExpectDialog("CSetHystogramRange", login);
    frame->OnCreate();
    EXPECT_EQ(checks, 2);
    EXPECT_EQ(Calls("OnUpdateCalibExpiry"), 0);
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
