// The frame's part in the acquisition scheduler: connecting for a scheduled acquisition over
// pseudo-terminals, on a cable and through the modem, connected and failing; and the
// scheduler window as the frame's member.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "app/chart_windows.h"
#include "app/frame_boxes.h"
#include "app/frame_scheduler.h"
#include "app/frame_ui.h"
#include "app/meter_connection.h"
#include "frame_test_support.h"
#include "link/command_codes.h"
#include "modem_responder.h"
#include "support/record_kinds.h"

using namespace frametest;
using simmeter::ModemResponder;

namespace {

class FrameSchedulerTest : public FrameLinkTest {
protected:
    FrameSchedulerTest() {
        folder.Write("port.ini", "REF_INSTR_COM=3\r\n");
        frame.Mode().EnterSchedulerMode();
        frame.Scheduler().Run().SetState(2);
    }

    long Probes() const {
        const auto lines = meter.Lines();
        return std::count(lines.begin(), lines.end(), "SET:INS:?");
    }
    std::shared_ptr<ModemResponder> UseModem(ModemResponder::Dial outcome) {
        auto modem = ModemResponder::Create();
        modem->SetDialOutcome(outcome, "CONNECT 9600", 2000);
        modem->InstallOn(meter);
        app.m_bModemLink = 1;
        app.m_strModemNumber = "0123456";
        return modem;
    }

    // The modem's replies are read half a second of program time after each command.
    platform::ScopedClockSpeed probeSpeed{10.0};
};

}  // namespace

TEST_F(FrameSchedulerTest, TheCableOfPortIniConnectsAndIsLogged) {
    app.m_RefPort.m_nComPort = 9;  // what "port.ini" says wins

    EXPECT_EQ(frame.Scheduler().Connection().ConnectForScheduler(),
              MeterConnection::kSchedulerConnected);

    EXPECT_TRUE(frame.Mode().IsLinkActive());
    EXPECT_EQ(app.m_RefPort.m_nComPort, 3);
    EXPECT_EQ(frame.Link().Side(), LinkSide::Reference);
    EXPECT_TRUE(frame.Link().IsPortOpen(LinkSide::Reference));
    EXPECT_EQ(meter.Lines(), (std::vector<std::string>{"STT:MON:OFF", "SET:INS:?"}));
    EXPECT_EQ(frame.Boxes().m_TryConnDlg.m_strText,
              "Connecting to...\r\rPort = COM3\rBaudrate = 38400");
    EXPECT_EQ(frame.Scheduler().Run().State(), 0);
    EXPECT_EQ(SchedulerLog(), (std::vector<std::string>{"Connection ON"}));
    EXPECT_EQ(ui.panes[FrameUi::kStatusPane].text, "Connected to COM3 38400 8,N,1");
}

TEST_F(FrameSchedulerTest, ASilentMeterOrAPortThatWillNotOpenFailsIntoTheLog) {
    meter.SilenceNext("SET:INS:?", -1);
    EXPECT_EQ(frame.Scheduler().Connection().ConnectForScheduler(),
              MeterConnection::kSchedulerNotAnswering);
    EXPECT_FALSE(frame.Mode().IsLinkActive());
    EXPECT_FALSE(frame.Link().IsPortOpen(LinkSide::Reference));
    EXPECT_EQ(Probes(), 1);
    EXPECT_EQ(frame.Scheduler().Run().State(), 2);

    folder.Write("port.ini", "REF_INSTR_COM=7\r\n");
    platform::SetComDevice(7, folder.File("gone"));
    EXPECT_EQ(frame.Scheduler().Connection().ConnectForScheduler(),
              MeterConnection::kSchedulerLinkFailed);
    EXPECT_FALSE(frame.Mode().IsLinkActive());
    EXPECT_EQ(SchedulerLog(),
              (std::vector<std::string>{"WARNING: CONNECTION FAILURE", "Fail opening com port"}));
}

TEST_F(FrameSchedulerTest, TheModemCarriesTheScheduledLinkAndItsFailuresSkipTheAcquisition) {
    auto modem = UseModem(ModemResponder::Dial::Connect);
    EXPECT_EQ(frame.Scheduler().Connection().ConnectForScheduler(),
              MeterConnection::kSchedulerConnected);
    EXPECT_EQ(modem->DialledNumbers(), (std::vector<std::string>{"0123456"}));
    EXPECT_EQ(ui.panes[FrameUi::kStatusPane].text, "Connected: MODEM (Num: 0123456)");
    EXPECT_EQ(Probes(), 1);
    EXPECT_EQ(frame.Scheduler().Run().State(), 0);

    // Between acquisitions the scheduler ends the call.
    frame.Scheduler().Window().StopMonitoring();
    EXPECT_EQ(modem->HangUps(), 1);
    EXPECT_FALSE(frame.Link().IsPortOpen(LinkSide::Reference));
    EXPECT_FALSE(frame.Mode().IsLinkActive());
    EXPECT_EQ(frame.Scheduler().Run().State(), acquisition::SchedulerRun::kIdle);

    modem->SetDialOutcome(ModemResponder::Dial::Busy, "BUSY", 2000);
    meter.ClearLog();
    EXPECT_EQ(frame.Scheduler().Connection().ConnectForScheduler(),
              MeterConnection::kSchedulerLinkFailed);
    EXPECT_EQ(Probes(), 0);
    EXPECT_FALSE(frame.Link().IsPortOpen(LinkSide::Reference));
    // The modem's answer keeps its line ends in the log.
    const std::string log = folder.Read(acquisition::SchedulerLog::kLogName);
    EXPECT_TRUE(platform::EndsWith(
        log, ": CONNECTION FAILURE (Line: \r\nBUSY\r\n) - Monitoring skipped.\r\r\n"));
}

TEST_F(FrameSchedulerTest, NoLocalModemIsLogged) {
    app.m_bModemLink = 1;
    app.m_strModemNumber = "0123456";
    EXPECT_EQ(frame.Scheduler().Connection().ConnectForScheduler(),
              MeterConnection::kSchedulerLinkFailed);
    EXPECT_EQ(meter.Lines(), (std::vector<std::string>{"AT"}));
    EXPECT_EQ(SchedulerLog(), (std::vector<std::string>{"Modem not responding."}));
}

TEST_F(FrameSchedulerTest, TheRunPreparesEachAttemptAndArmsTheLinkThatCameUp) {
    MeterConnection& connection = frame.Scheduler().Connection();
    app.m_bAutoDetectPort = 0;
    EXPECT_FALSE(connection.IsAutoDetect());
    app.m_bAutoDetectPort = 1;
    EXPECT_TRUE(connection.IsAutoDetect());

    ASSERT_TRUE(frame.Boxes().m_TryConnDlg.Create());
    frame.Boxes().m_TryConnDlg.SetText("Connecting to...");
    connection.PrepareConnectAttempt();
    EXPECT_EQ(frame.Boxes().m_TryConnDlg.m_strText, "");
    EXPECT_TRUE(frame.Boxes().m_TryConnDlg.IsWindowVisible());
    frame.Boxes().m_TryConnDlg.DestroyWindow();

    // Whatever waited for the old link goes: the new one is asked for its states first, and
    // for its model while none is known.
    frame.SendCommand(command_code::kDateQuery, "", "");
    frame.Link().SetReadyToSend(FALSE);
    connection.ArmLink();
    EXPECT_EQ(QueuedCodes(frame),
              (std::vector<int>{command_code::kModelQuery, command_code::kDisplayQuery,
                                command_code::kAcquisitionQuery}));
    EXPECT_TRUE(frame.Link().IsReadyToSend());
    EXPECT_TRUE(frame.Link().IsTimerSet(LinkSession::kSendTick));
    app.m_InstrStatus.m_strModel = "QS4160_00$1";
    connection.ArmLink();
    EXPECT_EQ(QueuedCodes(frame),
              (std::vector<int>{command_code::kDisplayQuery, command_code::kAcquisitionQuery}));
}

TEST_F(FrameSchedulerTest, TheFramesSchedulerWindowRunsAPlanOnTheFrame) {
    frame.Mode().LeaveSchedulerMode();
    app.m_RefPort.m_nBaudRate = 38400;
    acquisition::CSchedulerDlg& scheduler = frame.Scheduler().Window();
    ASSERT_TRUE(scheduler.Create());
    scheduler.OnChannel(testkinds::kOctave);
    EXPECT_EQ(frame.Mode().ChannelMode(), testkinds::kOctave);
    scheduler.Settings().start = platform::DateTime::Now().AddSeconds(600);
    scheduler.Settings().stop = platform::DateTime::Now().AddSeconds(3600);
    app.m_InstrStatus.m_strProfileSpectrumTime = "1s";

    scheduler.OnOK();

    EXPECT_TRUE(frame.Mode().IsSchedulerMode());
    EXPECT_TRUE(frame.Mode().IsSchedulerRunning());
    EXPECT_TRUE(view.m_bFollowLastRow);
    EXPECT_EQ(SchedulerLog(), (std::vector<std::string>{"Scheduler Activated"}));
    EXPECT_EQ(app.m_EditStatus.m_strProfileSpectrumTime, "0.5");
    // An octave run fills the live 3-D window, made now and kept hidden.
    EXPECT_TRUE(frame.Charts().LiveSpectra().HasWindow());
    EXPECT_FALSE(frame.Charts().LiveSpectra().IsWindowVisible());
    EXPECT_EQ(frame.Charts().LiveSpectra().Row(), 0);

    op.ExpectBox("WARNING: Confirm stop scheduler ?", IDYES);
    scheduler.OnCancel();
    EXPECT_FALSE(frame.Mode().IsSchedulerRunning());
    EXPECT_FALSE(frame.Mode().IsSchedulerMode());
    EXPECT_EQ(app.m_strCurrentFile, app.ProgramPath("\\Scheduler.kr9"));
    scheduler.DestroyWindow();
}

TEST_F(FrameSchedulerTest, WhatTheMeterStillSendsAfterStopIsDroppedWithOneLogLine) {
    using Lines = std::vector<std::string>;
    frame.Mode().LeaveSchedulerMode();
    app.m_RefPort.m_nBaudRate = 38400;
    acquisition::CSchedulerDlg& scheduler = frame.Scheduler().Window();
    ASSERT_TRUE(scheduler.Create());
    scheduler.OnChannel(testkinds::kSoundLevelMeter);
    scheduler.Settings().start = platform::DateTime::Now().AddSeconds(600);
    scheduler.Settings().stop = platform::DateTime::Now().AddSeconds(3600);
    scheduler.OnOK();
    op.ExpectBox("WARNING: Confirm stop scheduler ?", IDYES);
    scheduler.OnCancel();
    ClearSchedulerLog();

    // A record and the answer to the stop, delivered after the link closed.
    frame.Link().OnReply("00:00:01\t45.0\t46.0\t47.1\t48.2\t49.3\x03");
    frame.Link().OnReply("STT:ACQUISITION:STOP\x03");
    EXPECT_EQ(op.Shown(), Lines{"WARNING: Confirm stop scheduler ?"});
    const Lines dropped = {"Data received after the end of the run discarded."};
    EXPECT_EQ(SchedulerLog(), dropped);

    // A new connection is a new conversation: a reply to nothing is told again.
    op.AlwaysAnswer("none command active", IDOK);
    ASSERT_EQ(frame.Scheduler().Connection().ConnectForScheduler(),
              MeterConnection::kSchedulerConnected);
    frame.Link().OnReply("?\x03");
    EXPECT_EQ(op.Shown().size(), 2u);
    scheduler.DestroyWindow();
}
