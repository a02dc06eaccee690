// The command queue over a real pseudo-terminal: what goes out, in which order, how replies,
// refusals and silences are handled.
#include <gtest/gtest.h>

#include "frame_test_support.h"
#include "platform/shell.h"

using namespace frametest;

namespace {
std::vector<std::string> Repeat(const std::string& line, int times) {
    return std::vector<std::string>(static_cast<size_t>(times), line);
}
}  // namespace

TEST_F(FrameLinkTest, QueuedCommandGoesOutAsItsExactBytesAndItsReplyIsHandled) {
    OpenLink();
    app.m_EditStatus.m_strIntegrationTime = "MM:05";
    frame.SendCommand(57, "INTEGRATION_T", "MM:05");
    ASSERT_TRUE(PumpUntil([&] { return QueueIdle() && meter.LineCount() == 1; }));
    EXPECT_EQ(meter.Received(), "SET:INTEGRATION_T:MM:05\r\n");
    EXPECT_EQ(app.m_InstrStatus.m_strIntegrationTime, "MM:05");  // acknowledged
    EXPECT_EQ(frame.m_nRetryCount, 0);
    EXPECT_FALSE(frame.IsTimerSet(CMainFrame::kReplyTimeout));
    EXPECT_TRUE(frame.m_strReply.IsEmpty());
    EXPECT_TRUE(frame.m_bReceiveEnabled);

    // A code the table does not know is refused before it is queued.
    op.ExpectBox("Syntax message incorrect");
    frame.SendCommand(8, "", "");
    EXPECT_TRUE(frame.m_CommandList.empty());
    EXPECT_EQ(op.types, std::vector<unsigned>{MB_ICONEXCLAMATION});
}

TEST_F(FrameLinkTest, UrgentCommandGoesNextAndNormalOnesKeepTheirOrder) {
    frame.SendCommand(16, "", "");
    frame.SendCommand(17, "", "");
    frame.SendCommand(18, "", "");
    frame.SendCommand(19, "", "", -1, TRUE);
    OpenLink();
    ASSERT_TRUE(PumpUntil([&] { return QueueIdle() && meter.LineCount() == 4; }));
    EXPECT_EQ(meter.Lines(), (std::vector<std::string>{"SET:DA_O:?", "SET:MEM_S:?", "SET:AUTO_P:?",
                                                       "SET:IN_CH:?"}));
    EXPECT_EQ(app.m_InstrStatus.m_strInputChannel, "1");
}

TEST_F(FrameLinkTest, TheSendTickRunsOnlyWhileCommandsAreQueued) {
    OpenLink();
    EXPECT_FALSE(frame.IsTimerSet(CMainFrame::kSendTick));
    frame.SendCommand(16, "", "");
    EXPECT_TRUE(frame.IsTimerSet(CMainFrame::kSendTick));
    ASSERT_TRUE(PumpUntil([&] { return QueueIdle() && meter.LineCount() == 1; }));
    ASSERT_TRUE(PumpUntil([&] { return !frame.IsTimerSet(CMainFrame::kSendTick); }));

    // Switched off, the tick stays off whatever is queued.
    frame.KillTimer(CMainFrame::kSendTick);
    frame.SendCommand(17, "", "");
    EXPECT_FALSE(frame.IsTimerSet(CMainFrame::kSendTick));
    frame.SetTimer(CMainFrame::kSendTick, 1);
    ASSERT_TRUE(PumpUntil([&] { return QueueIdle() && meter.LineCount() == 2; }));
}

TEST_F(FrameLinkTest, SilentMeterGetsTenResendsThenOnlyThatCommandIsDropped) {
    // Slow enough that a loaded machine's scheduling lag stays well inside the tolerances.
    platform::ScopedClockSpeed slower{20.0};
    meter.SilenceNext("SET:INSTR_N", -1);
    OpenLink();
    frame.SendCommand(1, "", "");
    ASSERT_TRUE(PumpUntil([&] { return meter.LineCount() == 1; }));
    frame.SendCommand(16, "", "");  // queued meanwhile: stays queued, goes out afterwards
    ASSERT_TRUE(PumpUntil([&] { return app.m_InstrStatus.m_strMemorySize == "2048k"; }));
    auto expected = Repeat("SET:INSTR_N:?", 11);
    expected.push_back("SET:MEM_S:?");
    EXPECT_EQ(meter.Lines(), expected);
    // Each resend waited the command's own time-out (1000 ms), give or take the meter's lag
    // in reading a line (a real millisecond is 20 program ones here).
    const auto ticks = meter.LineTicks();
    for (size_t i = 1; i < 11; ++i)
        EXPECT_GE(ticks[i] - ticks[i - 1], 500u) << i;
    EXPECT_GE(ticks[10] - ticks[0], 9600u);
    EXPECT_TRUE(QueueIdle());
}

TEST_F(FrameLinkTest, TimeOutIsFourTimesAsLongOnAModemOrBelow1200Baud) {
    platform::ScopedClockSpeed slower{20.0};
    meter.SilenceNext("SET:INSTR_N", -1);
    OpenLink();
    auto gapBeforeFirstResend = [&] {
        meter.ClearLog();
        frame.SendCommand(1, "", "");
        EXPECT_TRUE(PumpUntil([&] { return meter.LineCount() >= 2; }));
        const auto ticks = meter.LineTicks();
        frame.DeleteAllCommands();
        frame.KillTimer(CMainFrame::kReplyTimeout);
        frame.m_nRetryCount = 0;
        frame.m_bReadyToSend = TRUE;
        return ticks.size() >= 2 ? ticks[1] - ticks[0] : 0;
    };
    EXPECT_LT(gapBeforeFirstResend(), 3800u);
    app.m_bModemLink = 1;
    EXPECT_GE(gapBeforeFirstResend(), 3800u);
    app.m_bModemLink = 0;
    app.m_TargetPort.m_nBaudRate = 600;
    EXPECT_GE(gapBeforeFirstResend(), 3800u);
}

TEST_F(FrameLinkTest, RefusedOrEmptyRepliesAreSentThreeTimesAtMost) {
    OpenLink();
    meter.RefuseNext("SET:INSTR_V", 2);
    frame.SendCommand(2, "", "");
    ASSERT_TRUE(PumpUntil([&] { return app.m_InstrStatus.m_strFirmwareVersion == "2.05"; }));
    EXPECT_EQ(meter.Lines(), Repeat("SET:INSTR_V:?", 3));
    EXPECT_EQ(frame.m_nRetryCount, 0);
    app.m_InstrStatus.m_strFirmwareVersion = "kept";

    meter.ClearLog();
    meter.RefuseNext("SET:INSTR_V", 3);
    op.ExpectBox("WARNING : Command not recognized.\n\n(Command = 2 ,param = version)");
    frame.SendCommand(2, "version", "");
    ASSERT_TRUE(PumpUntil([&] { return op.Shown().size() == 1 && QueueIdle(); }));
    EXPECT_EQ(meter.Lines(), Repeat("SET:INSTR_V:?", 3));

    meter.ClearLog();
    meter.AnswerNext("SET:INSTR_V", "\x03", 3);
    op.ExpectBox(
        "WARNING: Empty message received"
        "SET:INSTR_V:?\r\n");
    frame.SendCommand(2, "", "");
    ASSERT_TRUE(PumpUntil([&] { return op.Shown().size() == 2 && QueueIdle(); }));
    EXPECT_EQ(meter.LineCount(), 3u);
    EXPECT_EQ(app.m_InstrStatus.m_strFirmwareVersion, "kept");

    // The scheduler gets the plain warning instead of a box.
    frame.m_bSchedulerMode = TRUE;
    meter.AnswerNext("SET:INSTR_V", "\x03", 3);
    frame.SendCommand(2, "", "");
    ASSERT_TRUE(PumpUntil([&] { return monitoring.schedulerLog.size() == 1 && QueueIdle(); }));
    EXPECT_EQ(monitoring.schedulerLog[0], "WARNING: Empty message received");
}

TEST_F(FrameLinkTest, WrongStateReplyIsReportedAndTheQueueGoesOn) {
    OpenLink();
    meter.AnswerNext("STT:DISPL", "#WRONG\x03");
    op.ExpectBox("WARNING : WRONG INSTR STATUS Received.\n\n(Command = 100 ,param = screen)");
    frame.SendCommand(100, "screen", "");
    frame.SendCommand(16, "", "");
    ASSERT_TRUE(PumpUntil([&] { return app.m_InstrStatus.m_strMemorySize == "2048k"; }));
    EXPECT_TRUE(PumpUntil([&] { return QueueIdle(); }));
}

TEST_F(FrameLinkTest, ReplyThatNoCommandAwaitsIsReportedAndChangesNoFlag) {
    OpenLink();
    frame.m_bReceiveEnabled = TRUE;
    frame.m_bReadyToSend = FALSE;
    op.ExpectBox("none command active. Receive : late");
    meter.Send("late\x03");
    ASSERT_TRUE(PumpUntil([&] { return op.Shown().size() == 1; }));
    EXPECT_FALSE(frame.m_bReadyToSend);
    EXPECT_FALSE(frame.m_bReceiveEnabled);
}

TEST_F(FrameLinkTest, MonitorOnAndAcquisitionRunGoOutWithoutAWaitForAReply) {
    OpenLink();
    frame.SendCommand(96, "", "");
    ASSERT_TRUE(PumpUntil([&] { return frame.m_bMonitorOn && frame.m_CommandList.empty(); }));
    EXPECT_FALSE(frame.IsTimerSet(CMainFrame::kReplyTimeout));
    EXPECT_TRUE(frame.m_bReadyToSend);
    EXPECT_TRUE(frame.m_bReceiveEnabled);

    frame.m_bAcquiring = TRUE;  // the acquisition's answer is a live record
    frame.SendCommand(99, "", "");
    ASSERT_TRUE(PumpUntil([&] { return frame.m_CommandList.empty(); }));
    EXPECT_FALSE(frame.IsTimerSet(CMainFrame::kReplyTimeout));
    EXPECT_FALSE(frame.m_bReadyToSend);
    ASSERT_TRUE(meter.WaitForLines(2));
    EXPECT_EQ(meter.Lines(), (std::vector<std::string>{"STT:MON:ON", "STT:ACQ:RUN"}));
}

TEST_F(FrameLinkTest, SendingWaitsWhileAFirmwareUpdateRuns) {
    OpenLink();
    frame.m_bFirmwareUpgrading = TRUE;
    frame.SendCommand(16, "", "");
    PumpFor(30);
    EXPECT_EQ(meter.LineCount(), 0u);
    frame.m_bFirmwareUpgrading = FALSE;
    ASSERT_TRUE(PumpUntil([&] { return app.m_InstrStatus.m_strMemorySize == "2048k"; }));
}

TEST_F(FrameLinkTest, EndOfAQueuedSetupClosesTheWaitBox) {
    OpenLink();
    ui.setupBoxShown = true;
    frame.m_nPendingOp = 5;
    frame.m_bSetupReadPending = TRUE;
    frame.SendCommand(57, "", "MM:05");
    frame.SendCommand(84, "", "3");
    ASSERT_TRUE(PumpUntil([&] { return !frame.m_bSetupReadPending; }));
    EXPECT_EQ(meter.LineCount(), 2u);
    EXPECT_EQ(ui.setupBoxSteps, 2);
    EXPECT_EQ(ui.setupBoxDestroyed, 1);
    EXPECT_EQ(frame.m_nPendingOp, -1);
}

TEST_F(FrameLinkTest, SetupReadThatTimesOutAbortsTheWholeQueue) {
    OpenLink();
    ui.setupBoxShown = true;
    frame.m_nPendingOp = 5;
    meter.SilenceNext("SET:INTEGRATION_T", -1);
    frame.SendCommand(24, "", "");
    frame.SendCommand(25, "", "");
    frame.SendCommand(26, "", "");
    op.ExpectBox("Comunication error: setup abort").ExpectBox("Command 24 : Timeout Expired");
    ASSERT_TRUE(PumpUntil([&] { return op.Shown().size() == 2; }));
    EXPECT_EQ(op.types, (std::vector<unsigned>{MB_ICONEXCLAMATION, MB_OK}));
    EXPECT_EQ(meter.Lines(), Repeat("SET:INTEGRATION_T:?", 11));
    EXPECT_TRUE(frame.m_CommandList.empty());
    EXPECT_EQ(frame.m_nPendingOp, -1);
    EXPECT_TRUE(frame.m_bReadyToSend);
    EXPECT_EQ(ui.setupBoxProgress, 100);
    EXPECT_EQ(ui.setupBoxDestroyed, 1);
    EXPECT_EQ(ui.setupBoxTimerKills, 2);
}

TEST_F(FrameLinkTest, DownloadCutOffByATimeOutIsMarkedIncompleteAndStopped) {
    meter.AddResponder([](const std::string& line, simmeter::MeterState&) {
        return line == "DMP:OFF" ? std::optional(simmeter::Text("DMP:OFF")) : std::nullopt;
    });
    platform::SetShellRecorder([](const platform::ShellRequest&) { return true; });
    OpenLink();
    frame.m_nPendingOp = 5;
    frame.m_bDownloading = TRUE;
    frame.SetTimer(CMainFrame::kDownloadProgress, 500);
    ui.downloadBoxShown = true;
    meter.SilenceNext("DMP:NE", -1);
    frame.SendCommand(112, "", "");
    op.ExpectBox("Comunication error: setup abort")
        .ExpectBox("Command 112 : Timeout Expired")
        .ExpectBox("Download Interrupted")
        .ExpectBox("Download Complete");  // the reply to DMP:OFF
    ASSERT_TRUE(PumpUntil([&] { return op.Shown().size() == 4; }));
    platform::SetShellRecorder(nullptr);
    std::vector<BYTE> record(67, 0xFF);
    record[66] = 0x03;
    EXPECT_EQ(monitoring.incompleteDumpRecord, record);
    EXPECT_FALSE(frame.m_bDownloading);
    EXPECT_FALSE(frame.IsTimerSet(CMainFrame::kDownloadProgress));
    EXPECT_FALSE(ui.downloadBoxShown);
}

TEST_F(FrameLinkTest, TimeOutAfterTheAwaitedCommandWasCancelledLetsTheQueueGoOn) {
    meter.SilenceNext("SET:INSTR_N");
    OpenLink();
    frame.SendCommand(1, "", "");
    ASSERT_TRUE(PumpUntil([&] { return meter.LineCount() == 1; }));
    frame.DeleteAllCommands();  // what the setup wait box's Cancel does
    ASSERT_TRUE(PumpUntil([&] { return !frame.IsTimerSet(CMainFrame::kReplyTimeout); }));
    frame.SendCommand(16, "", "");
    ASSERT_TRUE(PumpUntil([&] { return app.m_InstrStatus.m_strMemorySize == "2048k"; }));
    EXPECT_EQ(meter.LineCount(), 2u);
}

TEST_F(FrameLinkTest, BaudChangeReopensTheLinkPortAtTheNewRate) {
    OpenLink();
    app.m_EditStatus.m_strBaudRate = "9.6k";
    frame.SendCommand(53, "BAUD", "9.6k");
    ASSERT_TRUE(PumpUntil([&] { return ui.panes[1].text == "Connected to COM3 9600 8,N,1"; }));
    EXPECT_EQ(app.m_TargetPort.m_nBaudRate, 9600);
    EXPECT_EQ(Port().GetBaudrate(), 9600);
    EXPECT_EQ(Port().GetHandshaking(), CSerial::SoftwareHandshake);
    EXPECT_EQ(Port().Owner(), &frame);
    EXPECT_FALSE(frame.IsTimerSet(CMainFrame::kReplyTimeout));

    // The meter, now at 9600 too, answers on the reopened port.
    frame.SendCommand(16, "", "");
    ASSERT_TRUE(PumpUntil([&] { return app.m_InstrStatus.m_strMemorySize == "2048k"; }));
    EXPECT_EQ(meter.Lines(), (std::vector<std::string>{"SET:BAUD:9.6k", "SET:MEM_S:?"}));
}

TEST_F(FrameLinkTest, ListenerAlarmsBecomeMessagesOrSchedulerLines) {
    OpenLink();
    frame.m_bReceiveEnabled = TRUE;
    op.ExpectBox("ERROR:Serial Buffer full");
    meter.Send(std::string(1024, 'x'));
    ASSERT_TRUE(PumpUntil([&] { return op.Shown().size() == 1; }));

    op.ExpectBox("ERROR: NO CARRIER detect.\nPlease check line and modem configuration.");
    meter.Send("NO CARRIER");
    ASSERT_TRUE(PumpUntil([&] { return op.Shown().size() == 2; }));
    EXPECT_EQ(op.types, (std::vector<unsigned>{MB_ICONEXCLAMATION, MB_ICONSTOP}));
    ASSERT_TRUE(PumpUntil([&] { return !Port().ListenerRunning(); }));

    Port().Close();
    OpenLink();
    frame.m_bSchedulerMode = TRUE;
    frame.m_bReceiveEnabled = TRUE;
    meter.Send("NO CARRIER");
    ASSERT_TRUE(PumpUntil([&] { return monitoring.schedulerLog.size() == 1; }));
    EXPECT_EQ(monitoring.schedulerLog[0], "Comunication error: NO CARRIER.");
}

TEST_F(FrameLinkTest, PowerOffDisconnectsTheLink) {
    OpenLink();
    frame.m_bLinkActive = TRUE;
    frame.SetTimer(CMainFrame::kStatusPoll, 60000);
    ui.SetTitle("KX9Monitor QS4060 - A1                 -RECORDING-");
    app.m_InstrStatus.m_strModel = "QS4060";
    app.m_InstrStatus.m_strSerialNumber = "A1";
    ASSERT_TRUE(frame.m_RecFile.Create(folder.File("RecFile_x.rec")));
    frame.SendCommand(16, "", "");
    frame.SendCommand(122, "", "", -1, TRUE);
    ASSERT_TRUE(PumpUntil([&] { return !Port().IsOpen(); }));
    ASSERT_TRUE(meter.WaitForLines(1));
    EXPECT_EQ(meter.Received(), "KEY:OFF\r\n");
    EXPECT_TRUE(frame.m_CommandList.empty());
    EXPECT_EQ(frame.m_pCurrentCommand, nullptr);
    EXPECT_FALSE(frame.m_bLinkActive);
    EXPECT_FALSE(frame.m_bReceiveEnabled);
    EXPECT_FALSE(frame.IsTimerSet(CMainFrame::kStatusPoll));
    EXPECT_EQ(ui.panes[1].text, "Disconnected");
    EXPECT_EQ(ui.GetTitle(), "KX9Monitor QS4060 - A1");
    EXPECT_FALSE(frame.m_RecFile.IsOpen());
}
