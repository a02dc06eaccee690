// The frame's link against the simulated meter on a pseudo-terminal: the bytes that go out and
// what the frame makes of refusals, time-outs, alarms and the end of the link. The queue's own
// rules are the link session's unit tests.
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
    EXPECT_FALSE(Link().IsTimerSet(LinkSession::kReplyTimeout));
    EXPECT_TRUE(Link().IsListening());
}

TEST_F(FrameLinkTest, RefusedEmptyAndWrongStateRepliesAreReported) {
    OpenLink();
    app.m_InstrStatus.m_strFirmwareVersion = "kept";
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

    frame.m_bSchedulerMode = FALSE;
    meter.AnswerNext("STT:DISPL", "#WRONG\x03");
    op.ExpectBox("WARNING : WRONG INSTR STATUS Received.\n\n(Command = 100 ,param = screen)");
    frame.SendCommand(100, "screen", "");
    frame.SendCommand(16, "", "");
    ASSERT_TRUE(PumpUntil([&] { return app.m_InstrStatus.m_strMemorySize == "2048k"; }));
    EXPECT_TRUE(PumpUntil([&] { return QueueIdle(); }));
}

TEST_F(FrameLinkTest, EndOfAQueuedSetupClosesTheWaitBox) {
    OpenLink();
    ui.setupBoxShown = true;
    frame.m_nPendingOp = 5;
    frame.SendCommand(57, "", "MM:05");
    frame.SendCommand(84, "", "3");
    frame.m_bSetupReadPending = TRUE;
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
    EXPECT_TRUE(Link().IsQueueEmpty());
    EXPECT_EQ(frame.m_nPendingOp, -1);
    EXPECT_TRUE(Link().IsReadyToSend());
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

TEST_F(FrameLinkTest, BaudChangeReopensTheLinkPortAtTheNewRate) {
    OpenLink();
    app.m_EditStatus.m_strBaudRate = "9.6k";
    frame.SendCommand(53, "BAUD", "9.6k");
    ASSERT_TRUE(PumpUntil([&] { return ui.panes[1].text == "Connected to COM3 9600 8,N,1"; }));
    EXPECT_EQ(app.m_TargetPort.m_nBaudRate, 9600);
    EXPECT_EQ(Port().GetBaudrate(), 9600);
    EXPECT_EQ(Port().GetHandshaking(), CSerial::SoftwareHandshake);
    EXPECT_EQ(Port().Owner(), &Link());
    EXPECT_FALSE(Link().IsTimerSet(LinkSession::kReplyTimeout));

    // The meter, now at 9600 too, answers on the reopened port.
    frame.SendCommand(16, "", "");
    ASSERT_TRUE(PumpUntil([&] { return app.m_InstrStatus.m_strMemorySize == "2048k"; }));
    EXPECT_EQ(meter.Lines(), (std::vector<std::string>{"SET:BAUD:9.6k", "SET:MEM_S:?"}));
}

TEST_F(FrameLinkTest, ListenerAlarmsBecomeMessagesOrSchedulerLines) {
    // A query the meter does not answer keeps the listener listening.
    meter.SilenceNext("SET:MEM_S", -1);
    const auto listen = [&] {
        OpenLink();
        frame.SendCommand(16, "", "");
        ASSERT_TRUE(PumpUntil([&] { return Link().IsListening(); }));
    };
    listen();
    op.ExpectBox("ERROR:Serial Buffer full");
    meter.Send(std::string(1024, 'x'));
    ASSERT_TRUE(PumpUntil([&] { return op.Shown().size() == 1; }));

    op.ExpectBox("ERROR: NO CARRIER detect.\nPlease check line and modem configuration.");
    meter.Send("NO CARRIER");
    ASSERT_TRUE(PumpUntil([&] { return op.Shown().size() == 2; }));
    EXPECT_EQ(op.types, (std::vector<unsigned>{MB_ICONEXCLAMATION, MB_ICONSTOP}));
    ASSERT_TRUE(PumpUntil([&] { return !Port().ListenerRunning(); }));

    Port().Close();
    Link().DeleteAllCommands();
    frame.m_bSchedulerMode = TRUE;
    listen();
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
    EXPECT_TRUE(Link().IsQueueEmpty());
    EXPECT_EQ(Link().CurrentCommand(), nullptr);
    EXPECT_FALSE(frame.m_bLinkActive);
    EXPECT_FALSE(Link().IsListening());
    EXPECT_FALSE(frame.IsTimerSet(CMainFrame::kStatusPoll));
    EXPECT_EQ(ui.panes[1].text, "Disconnected");
    EXPECT_EQ(ui.GetTitle(), "KX9Monitor QS4060 - A1");
    EXPECT_FALSE(frame.m_RecFile.IsOpen());
}
