#include <gtest/gtest.h>

#include <QProcess>
#include <QTimer>

#include "app/kx9monitor_app.h"
#include "app/main_frame.h"
#include "platform/clock.h"
#include "platform/event_loop.h"
#include "platform/files.h"
#include "support/test_env.h"
#include "web/web_test_env.h"

namespace {
class AppTest : public ::testing::Test {
protected:
    ~AppTest() override { platform::EventLoop::ClearQuit(); }
    platform::ScopedClockSpeed fast{1000.0};
    testenv::ScratchFolder folder;
    testenv::TestOperator op;
};
}  // namespace

TEST_F(AppTest, StartsInItsFolderRunsTheStartUpJobAndEndsAfterIt) {
    folder.Write("port.ini", "REF_INSTR_COM=2\r\nTARGET_INSTR_COM=5\r\nTARGET_INSTR_SN=X1\r\n");
    RefusingPort server;
    folder.Write("alt_www.dll", "127.0.0.1\r\n" + server.PortText() + "\r\n");
    op.ExpectBox("Connessione Internet assente");
    op.ExpectBox("Connessione internet assente.\nAggiornamento data di scadenza");
    CKX9MonitorApp app;
    EXPECT_TRUE(app.InitInstance({"report.vpg"}));
    EXPECT_EQ(app.m_strProgramDir, folder.Path());
    EXPECT_EQ(app.m_RefPort.m_nComPort, 2);
    EXPECT_EQ(app.m_TargetPort.m_strSerialNumber, "X1");
    EXPECT_EQ(app.m_TargetPort.m_nBaudRate, 38400);
    EXPECT_EQ(app.m_strCommandLineFile, "report.vpg");
    EXPECT_EQ(app.m_DataBuffer.size(), 3000000u);

    // The frame and its view exist, with the image menu, shown maximised.
    ASSERT_NE(app.Frame(), nullptr);
    CMainFrameWindow* window = app.Frame()->Window();
    ASSERT_NE(window, nullptr);
    EXPECT_NE(app.m_pView, nullptr);
    EXPECT_TRUE(window->isMaximized());
    EXPECT_NE(window->Menu(), nullptr);
    // The file named on the command line is opened as a data file.
    EXPECT_EQ(app.m_strCurrentFile, "report.vpg");
    EXPECT_TRUE(app.Frame()->m_recording.LoadedFromFile());

    // The quits posted during start-up end the main loop as soon as it runs.
    EXPECT_EQ(platform::EventLoop::Run(), 0);
    EXPECT_EQ(app.ExitInstance(), 0);
}

TEST_F(AppTest, AnAutomationStartEndsAtOnceSayingThatThereIsNoAutomationServer) {
    folder.Write("port.ini.kx9tmp-Ab3xYz", "TARGET_INSTR_CO");
    for (const char* argument : {"-Embedding", "/automation", "/Embedding", "-AUTOMATION"}) {
        SCOPED_TRACE(argument);
        CKX9MonitorApp app;
        testing::internal::CaptureStderr();
        EXPECT_FALSE(app.InitInstance({"report.vpg", argument}));
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_NE(said.find(std::string("started with ") + argument +
                            ", but this build has no automation server"),
                  std::string::npos)
            << said;
        // Nothing started: no frame, no job, no file touched.
        EXPECT_EQ(app.Frame(), nullptr);
        EXPECT_FALSE(platform::EventLoop::QuitPending());
        EXPECT_TRUE(platform::FileExists(folder.File("port.ini.kx9tmp-Ab3xYz")));
    }
}

// The program itself: such a start ends instead of waiting for a quit that never comes.
TEST_F(AppTest, TheProgramStartedAsAnAutomationServerEnds) {
    QProcess program;
    program.setWorkingDirectory(QString::fromStdString(folder.Path()));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    program.setProcessEnvironment(environment);
    program.start(QString::fromStdString(testenv::BinaryDir() + "/src/app/kx9monitor"),
                  {"-Embedding"});
    const bool ended = program.waitForFinished(60000);
    if (!ended)
        program.kill();
    ASSERT_TRUE(ended);
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_NE(program.readAllStandardError().toStdString().find("no automation server"),
              std::string::npos);
}

TEST_F(AppTest, TheStartRemovesTheTemporariesThatAKilledRunLeftBehind) {
    folder.Write("port.ini", "TARGET_INSTR_COM=5\r\n");
    folder.Write("port.ini.kx9tmp-Ab3xYz", "TARGET_INSTR_CO");
    RefusingPort server;
    folder.Write("alt_www.dll", "127.0.0.1\r\n" + server.PortText() + "\r\n");
    op.ExpectBox("Connessione Internet assente");
    op.ExpectBox("Connessione internet assente.\nAggiornamento data di scadenza");
    CKX9MonitorApp app;
    EXPECT_TRUE(app.InitInstance({}));
    EXPECT_FALSE(platform::FileExists(folder.File("port.ini.kx9tmp-Ab3xYz")));
    EXPECT_EQ(app.m_TargetPort.m_nComPort, 5);
}

TEST_F(AppTest, SavingPortsIntoAReadOnlyPlaceIsReported) {
    CKX9MonitorApp app;
    app.m_strProgramDir = folder.Path() + "missing/";
    op.ExpectBox("Error : fail saving port configuration.");
    app.SavePortIni(app.m_RefPort, app.m_TargetPort);
}

TEST_F(AppTest, WaitEndsEarlyOnTheAbortFlagAndLogsLongWaitsToTheBench) {
    CKX9MonitorApp app;
    std::vector<std::string> log;
    app.SetBenchLog([&](const std::string& line) { log.push_back(line); });
    {
        platform::ScopedClockSpeed realTime(1.0);
        app.m_bAbortWait = 1;
        const auto start = platform::Clock::TickCount();
        app.WaitWithMessages(300);
        EXPECT_EQ(app.m_bAbortWait, 0);
        EXPECT_LT(platform::Clock::TickCount() - start, 300u);  // ended before its time
    }
    EXPECT_TRUE(log.empty());
    QTimer::singleShot(5, [&] { app.m_bAbortWait = 1; });
    app.WaitWithMessages(10000000);
    EXPECT_EQ(log, (std::vector<std::string>{"Sleep 10000000 ms"}));
}
