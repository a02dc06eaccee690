// The frame's link against the simulated meter on a pseudo-terminal: the bytes that go out and
// what the frame makes of refusals, time-outs, alarms and the end of the link. The queue's own
// rules are the link session's unit tests.
#include <gtest/gtest.h>

#include <utility>

#include "app/frame_timers.h"
#include "frame_test_support.h"
#include "platform/shell.h"

using namespace frametest;

TEST_F(FrameLinkTest, ATimeOutEndsADownloadAndInASetupReadAbortsTheQueue) {
    platform::SetShellRecorder([](const platform::ShellRequest&) { return true; });
    OpenLink();
    // A command that went out as the download began: the queue sends nothing more meanwhile,
    // and the time-out ends the download. (The decoder is left out: silence is its own.)
    frame.Link().SharedState()->SetDumpDecoder(nullptr);
    meter.SilenceNext("DMP:NE", -1);
    frame.SendCommand(112, "", "");
    ASSERT_TRUE(PumpUntil([&] { return meter.LineCount() == 1; }));
    ASSERT_TRUE(frame.Mode().BeginDownload());
    frame.Timers().Set(FrameTimers::kDownloadProgress, 500);
    ui.downloadBoxShown = true;
    op.ExpectBox("Download Interrupted").ExpectBox("Download Complete");  // the reply to DMP:OFF
    ASSERT_TRUE(PumpUntil([&] { return op.Shown().size() == 2; }));
    platform::SetShellRecorder(nullptr);
    EXPECT_EQ(meter.Lines(), (std::vector<std::string>{"DMP:NE", "DMP:OFF"}));
    EXPECT_FALSE(frame.Mode().IsDownloading());
    EXPECT_FALSE(frame.Timers().IsSet(FrameTimers::kDownloadProgress));
    EXPECT_FALSE(ui.downloadBoxShown);

    // In a setup read the whole queue goes.
    ui.setupBoxShown = true;
    frame.Mode().BeginSetupTransfer();
    frame.SendCommand(112, "", "");
    frame.SendCommand(25, "", "");
    op.ExpectBox("Comunication error: setup abort").ExpectBox("Command 112 : Timeout Expired");
    ASSERT_TRUE(PumpUntil([&] { return op.Shown().size() == 4 && QueueIdle(); }));
    EXPECT_EQ(op.types,
              (std::vector<unsigned>{MB_OK, MB_ICONINFORMATION, MB_ICONEXCLAMATION, MB_OK}));
    EXPECT_EQ(meter.LineCount(), 2u + 11u);
    EXPECT_EQ(frame.Mode().PendingOp(), -1);
    EXPECT_EQ(ui.setupBoxProgress, 100);
    EXPECT_EQ(ui.setupBoxDestroyed, 1);
    EXPECT_EQ(ui.setupBoxTimerKills, 1);
}

// A read cut short is over before the operator hears of it: a query that a part lets go out
// while the box is up (a live run's watchdog lets the queue go on) finds none of the read
// queued, and a last reply arriving then opens no setup sheet.
TEST_F(FrameLinkTest, ASetupReadIsOverBeforeItsTimeOutBoxSoNoReplyDuringTheBoxEndsIt) {
    OpenLink();
    int sheets = 0;
    op.AlwaysRunDialog("CSetupPropSheet", [&](platform::ModalDialog&) {
        ++sheets;
        return IDCANCEL;
    });
    ui.setupBoxShown = true;
    frame.Mode().BeginSetupTransfer();
    meter.SilenceNext("SET:INPUT_G:?", -1);
    frame.SendCommand(21, "", "");
    frame.SendCommand(83, "", "");  // the read's last query
    op.SetShownHandler([&](const std::string& text) {
        if (text != "Comunication error: setup abort")
            return;
        frame.Link().SetReadyToSend(TRUE);
        PumpUntil([&] { return !Link().IsTimerSet(LinkSession::kLineQuiet) && QueueIdle(); });
    });
    op.ExpectBox("Comunication error: setup abort").ExpectBox("Command 21 : Timeout Expired");
    ASSERT_TRUE(PumpUntil([&] { return op.Shown().size() >= 2 && QueueIdle(); }));
    EXPECT_EQ(sheets, 0);
    EXPECT_EQ(meter.Lines(), std::vector<std::string>(11, "SET:INPUT_G:?"));
    EXPECT_EQ(frame.Mode().PendingOp(), -1);
    EXPECT_EQ(ui.setupBoxDestroyed, 1);
}

// A query that goes out while the box is up and times out too finds no read to abort: no second
// abort opens over the first.
TEST_F(FrameLinkTest, ASecondTimeOutDuringASetupReadsAbortBoxAbortsNothingMore) {
    OpenLink();
    ui.setupBoxShown = true;
    frame.Mode().BeginSetupTransfer();
    meter.SilenceNext("SET:INPUT_G:?", -1);
    frame.SendCommand(21, "", "");
    bool sent = false;
    op.SetShownHandler([&](const std::string& text) {
        if (text != "Comunication error: setup abort" || std::exchange(sent, true))
            return;
        frame.SendCommand(21, "", "");
        PumpUntil([&] { return meter.LineCount() == 22 && QueueIdle(); });
    });
    op.ExpectBox("Comunication error: setup abort").ExpectBox("Command 21 : Timeout Expired");
    ASSERT_TRUE(PumpUntil([&] { return op.Shown().size() >= 2 && QueueIdle(); }));
    EXPECT_EQ(meter.LineCount(), 22u);
    EXPECT_EQ(frame.Mode().PendingOp(), -1);
    EXPECT_EQ(ui.setupBoxDestroyed, 1);
}

// The setup read's owner and the download's each end what a time-out cuts short: the read
// first, then the download.
TEST_F(FrameLinkTest, ASetupReadThatTimesOutWhileADownloadRunsEndsBoth) {
    platform::SetShellRecorder([](const platform::ShellRequest&) { return true; });
    OpenLink();
    frame.Link().SharedState()->SetDumpDecoder(nullptr);
    meter.SilenceNext("DMP:NE", -1);
    ui.setupBoxShown = true;
    frame.Mode().BeginSetupTransfer();
    frame.SendCommand(112, "", "");
    ASSERT_TRUE(PumpUntil([&] { return meter.LineCount() == 1; }));
    ASSERT_TRUE(frame.Mode().BeginDownload());
    frame.Timers().Set(FrameTimers::kDownloadProgress, 500);
    ui.downloadBoxShown = true;
    std::vector<bool> progressWhenAsked;
    op.SetShownHandler([&](const std::string&) {
        progressWhenAsked.push_back(frame.Timers().IsSet(FrameTimers::kDownloadProgress));
    });
    op.ExpectBox("Comunication error: setup abort")
        .ExpectBox("Command 112 : Timeout Expired")
        .ExpectBox("Download Interrupted")
        .ExpectBox("Download Complete");
    ASSERT_TRUE(PumpUntil([&] { return op.Shown().size() == 4; }));
    platform::SetShellRecorder(nullptr);
    EXPECT_EQ(meter.Lines(), (std::vector<std::string>{"DMP:NE", "DMP:OFF"}));
    // The download's progress stops before the operator hears of the time-out.
    EXPECT_EQ(progressWhenAsked, (std::vector<bool>{true, false, false, false}));
    EXPECT_EQ(frame.Mode().PendingOp(), -1);
    EXPECT_FALSE(frame.Mode().IsDownloading());
    EXPECT_EQ(ui.setupBoxDestroyed, 1);
    EXPECT_FALSE(ui.downloadBoxShown);
}

TEST_F(FrameLinkTest, BaudChangeReopensTheLinkPortAtTheNewRate) {
    OpenLink();
    app.m_EditStatus.m_strBaudRate = "115.2k";
    frame.SendCommand(53, "BAUD", "115.2k");
    ASSERT_TRUE(PumpUntil([&] { return ui.panes[1].text == "Connected to COM3 115200 8,N,1"; }));
    EXPECT_EQ(Port().GetBaudrate(), 115200);
    EXPECT_EQ(Port().GetHandshaking(), CSerial::SoftwareHandshake);
    EXPECT_EQ(Port().Owner(), &Link());

    // The meter, now at 115200 too, answers on the reopened port.
    frame.SendCommand(16, "", "");
    ASSERT_TRUE(PumpUntil([&] { return app.m_InstrStatus.m_strMemorySize == "2048k"; }));
    EXPECT_EQ(meter.Lines(), (std::vector<std::string>{"SET:BAUD:115.2k", "SET:MEM_S:?"}));
}

TEST_F(FrameLinkTest, ListenerAlarmsBecomeMessagesOrSchedulerLines) {
    // What the listener raises and posts (its own tests make it do so).
    const auto raise = [&](LinkAlarm alarm) {
        Link().SharedState()->PushAlarm(std::move(alarm));
        Link().OnMessage(CSerialWnd::AlarmMessage(), 0, 0);
    };
    op.ExpectBox("ERROR:Serial Buffer full")
        .ExpectBox("ERROR: NO CARRIER detect.\nPlease check line and modem configuration.");
    raise({LinkAlarm::Kind::BufferFull, {}});
    raise({LinkAlarm::Kind::NoCarrier, "NO CARRIER"});
    EXPECT_EQ(op.types, (std::vector<unsigned>{MB_ICONEXCLAMATION, MB_ICONSTOP}));

    frame.Mode().EnterSchedulerMode();
    raise({LinkAlarm::Kind::NoCarrier, "NO CARRIER"});
    EXPECT_EQ(SchedulerLog(), std::vector<std::string>{"Comunication error: NO CARRIER."});
}
