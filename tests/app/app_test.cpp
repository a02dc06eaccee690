#include <gtest/gtest.h>

#include <QTimer>

#include "app/kx9monitor_app.h"
#include "platform/clock.h"
#include "platform/event_loop.h"
#include "support/test_env.h"

namespace {
class AppTest : public ::testing::Test {
protected:
    ~AppTest() override { platform::EventLoop::ClearQuit(); }
    platform::ScopedClockSpeed fast{1000.0};
    testenv::ScratchFolder folder;
    testenv::TestOperator op;
};
}  // namespace

TEST_F(AppTest, StartsInItsFolderReadsThePortsAndEndsAfterStartUp) {
    folder.Write("port.ini", "REF_INSTR_COM=2\r\nTARGET_INSTR_COM=5\r\nTARGET_INSTR_SN=X1\r\n");
    CKX9MonitorApp app;
    EXPECT_TRUE(app.InitInstance({"report.vpg"}));
    EXPECT_EQ(app.m_strProgramDir, folder.Path());
    EXPECT_EQ(app.m_RefPort.m_nComPort, 2);
    EXPECT_EQ(app.m_TargetPort.m_strSerialNumber, "X1");
    EXPECT_EQ(app.m_TargetPort.m_nBaudRate, 38400);
    EXPECT_EQ(app.m_strCommandLineFile, "report.vpg");
    EXPECT_EQ(app.m_DataBuffer.size(), 3000000u);
    // The quit posted during start-up ends the main loop as soon as it runs.
    EXPECT_EQ(platform::EventLoop::Run(), 0);
    EXPECT_EQ(app.ExitInstance(), 0);
}

TEST_F(AppTest, AutomationStartReturnsBeforeTheStartUpJob) {
    CKX9MonitorApp app;
    EXPECT_TRUE(app.InitInstance({"-Embedding"}));
    EXPECT_FALSE(platform::EventLoop::QuitPending());
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
    app.m_bAbortWait = 1;
    {
        // At the fixture's speed 100 ms are a tenth of a real one: too short to tell early.
        platform::ScopedClockSpeed realTime{1.0};
        const auto start = platform::Clock::TickCount();
        app.WaitWithMessages(100);
        EXPECT_LT(platform::Clock::TickCount() - start, 100u);
    }
    EXPECT_EQ(app.m_bAbortWait, 0);
    EXPECT_TRUE(log.empty());
    QTimer::singleShot(5, [&] { app.m_bAbortWait = 1; });
    app.WaitWithMessages(10000000);
    EXPECT_EQ(log, (std::vector<std::string>{"Sleep 10000000 ms"}));
}

TEST_F(AppTest, GlobalStringArraysAreThirteenEmptyEntries) {
    CKX9MonitorApp app;
    app.m_astrLabelsA[3] = "x";
    app.m_astrLabelsB.clear();
    app.InitGlobalStringArrays();
    EXPECT_EQ(app.m_astrLabelsA, std::vector<std::string>(13));
    EXPECT_EQ(app.m_astrLabelsB, std::vector<std::string>(13));
}
