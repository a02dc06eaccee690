// The link session's rules on an in-memory port and a manual clock: the order of the queue, the
// resends on silence and refusal, the time-outs and the slow link, the commands that await no
// reply, the baud change and what the host and the replies' owners are told. Each test reads as
// a transcript.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "link/command.h"
#include "link/instr_status.h"
#include "link/link_fakes.h"
#include "link/link_session.h"
#include "link/link_session_host.h"
#include "link/meter_mode.h"
#include "link/port_record.h"
#include "link/serial.h"
#include "link/serial_line_settings.h"
#include "support/test_env.h"

using namespace linktest;

namespace {

// Keeps what the session told it, as lines: "reply 16 SET:MEM_SIZE:2048k", "timed out 1", ...
class RecordingHost : public LinkSessionHost {
public:
    explicit RecordingHost(ManualClock& clock) : m_clock(clock) {
        record.m_nComPort = 3;
        record.m_nBaudRate = 38400;
    }

    void WaitWithMessages(unsigned ms) override {
        Tell("wait " + std::to_string(ms));
        m_clock.AdvanceTo(m_clock.Now() + ms);
    }
    void PumpWaitingMessages() override { Tell("pump"); }
    void ShowLinkPane(const std::string& text, COLORREF, COLORREF) override { pane = text; }
    void OnQueueEmpty() override { Tell("queue empty"); }
    void OnAnswered(const CCommand&) override { ++answered; }
    // The owner of every code and of the live records.
    void Register(ReplyRouter& router) {
        router.RegisterFamily([](int) { return true; },
                              [this](const CCommand& command, const std::string& reply) {
                                  Tell("reply", command, " " + reply);
                                  if (onReply)
                                      onReply(command.GetCode());
                              });
        router.SetRecordTaker(
            [this](const std::string& text) { return live && Tell("record " + text); });
    }
    void OnWrongState(const CCommand& command) override { Tell("wrong state", command); }
    void OnGivenUp(const CCommand& command, bool refused) override {
        Tell(refused ? "refused" : "empty", command);
    }
    void OnTimedOut(const CCommand& command) override {
        Tell("timed out", command);
        if (onTimedOut)
            onTimedOut();
    }
    void OnMonitorStartRefused(MeterActivity holder) override { Tell(MonitorStartRefusal(holder)); }
    void OnPowerOffSent() override { Tell("power off"); }
    void OnAlarm(const LinkAlarm&) override { Tell("alarm"); }

    // What a session built with this host reads: one record for both sides.
    LinkSettings Settings() {
        return {.targetPort = record,
                .referencePort = record,
                .modemLink = modemLink,
                .edited = edited};
    }

    PortRecord record;
    int modemLink = 0;
    CInstrStatus edited;
    bool live = false;
    int answered = 0;
    std::string pane;
    Lines events;
    std::function<void(int code)> onReply;
    std::function<void()> onTimedOut;

private:
    bool Tell(const std::string& what, const CCommand& command, const std::string& text = "") {
        return Tell(what + " " + std::to_string(command.GetCode()) + text);
    }
    bool Tell(const std::string& line) {
        events.push_back(line);
        return true;
    }

    ManualClock& m_clock;
};

class LinkSessionTest : public ::testing::Test {
protected:
    LinkSessionTest() {
        host.Register(session.Router());
        session.StartSendTick();
        session.SetReadyToSend(TRUE);
    }

    // Time passes: timers fire, and while the listener listens it takes each reply that has
    // arrived and posts it to the session, as the listener thread does.
    void Elapse(unsigned ms) {
        const std::uint32_t end = clock.Now() + ms;
        for (;;) {
            while (session.IsListening()) {
                const auto reply = port.TakeReply();
                if (!reply)
                    break;
                session.SharedState()->CompleteReply();
                session.OnReply(*reply);
            }
            auto next = clock.NextDue();
            if (const auto arrival = port.NextArrival(); arrival && session.IsListening())
                next = std::min(next.value_or(*arrival), *arrival);
            if (!next || *next > end)
                break;
            clock.AdvanceTo(*next);
        }
        clock.AdvanceTo(end);
    }

    testenv::TestOperator op;
    ManualClock clock;
    FakePort port{clock};
    RecordingHost host{clock};
    LinkSession session{host, clock, host.Settings(), port, port};
};

}  // namespace

TEST_F(LinkSessionTest, UrgentCommandGoesNextAndNormalOnesKeepTheirOrder) {
    port.Expect("SET:DA_O:?", "SET:DATA_OUT:1\x03")
        .Expect("SET:MEM_S:?", "SET:MEM_SIZE:2048k\x03")
        .Expect("SET:AUTO_P:?", "SET:AUTO_POWEROFF:ON\x03", 5)
        .Expect("SET:IN_CH:?", "SET:INPUT_CH:1\x03");
    for (int code : {16, 17, 18})
        session.SendCommand(code, "", "");
    session.SendCommand(19, "", "", -1, TRUE);
    EXPECT_EQ(session.QueuedCodes(), (std::vector<int>{19, 16, 17, 18}));
    Elapse(100);
    // Each goes out on the tick after the reply before it.
    EXPECT_EQ(port.Transcript(),
              (Lines{"1 >> SET:DA_O:?", "1 << SET:DATA_OUT:1", "2 >> SET:MEM_S:?",
                     "2 << SET:MEM_SIZE:2048k", "3 >> SET:AUTO_P:?", "8 << SET:AUTO_POWEROFF:ON",
                     "9 >> SET:IN_CH:?", "9 << SET:INPUT_CH:1"}));
    EXPECT_EQ(host.events,
              (Lines{"reply 19 SET:DATA_OUT:1", "reply 16 SET:MEM_SIZE:2048k",
                     "reply 17 SET:AUTO_POWEROFF:ON", "reply 18 SET:INPUT_CH:1", "queue empty"}));
    EXPECT_EQ(host.answered, 4);
    EXPECT_EQ(session.CurrentCommand(), nullptr);
    EXPECT_FALSE(session.IsTimerSet(LinkSession::kReplyTimeout));
    // Idle, the tick rests; a queued command wakes it.
    EXPECT_FALSE(session.IsTimerSet(LinkSession::kSendTick));
    session.SendCommand(16, "", "");
    EXPECT_TRUE(session.IsTimerSet(LinkSession::kSendTick));
}

TEST_F(LinkSessionTest, NothingGoesOutBeforeTheTickStartsOrWhileSendingIsHeld) {
    ManualClock otherClock;
    LinkSession unarmed{host, otherClock, host.Settings()};
    unarmed.SetReadyToSend(TRUE);
    unarmed.SendCommand(16, "", "");
    otherClock.AdvanceTo(1000);

    // The mode holds the queue while a firmware upgrade or a download has the meter.
    ASSERT_TRUE(session.Mode().BeginFirmwareUpgrade());
    session.SendCommand(16, "", "");
    Elapse(1000);
    session.Mode().EndFirmwareUpgrade();
    ASSERT_TRUE(session.Mode().BeginDownload());
    Elapse(1000);
    EXPECT_TRUE(port.Written().empty());
    session.Mode().EndDownload();
    Elapse(1);
    EXPECT_EQ(port.Written(), Lines{"SET:MEM_S:?"});

    // A code the table does not know is refused before it is queued.
    op.ExpectBox("Syntax message incorrect");
    session.SendCommand(8, "", "");
    EXPECT_EQ(session.QueuedCodes(), std::vector<int>{16});
}

TEST_F(LinkSessionTest, SilentMeterGetsTenResendsThenOnlyThatCommandIsDropped) {
    port.Expect("SET:MEM_S:?", "SET:MEM_SIZE:2048k\x03");
    session.SendCommand(1, "", "");
    Elapse(1);
    session.SendCommand(16, "", "");  // queued meanwhile: goes out afterwards
    Elapse(20000);
    // SET:INSTR_N:? has a second to answer; each resend goes on the tick after its time-out,
    // and the next command once the line was quiet for one more.
    Lines expected;
    for (int send = 0; send <= LinkSession::kMaxTimeoutResends; ++send)
        expected.push_back(std::to_string(1 + 1001 * send) + " >> SET:INSTR_N:?");
    expected.insert(expected.end(), {"12012 >> SET:MEM_S:?", "12012 << SET:MEM_SIZE:2048k"});
    EXPECT_EQ(port.Transcript(), expected);
    EXPECT_EQ(host.events, (Lines{"timed out 1", "reply 16 SET:MEM_SIZE:2048k", "queue empty"}));
    EXPECT_EQ(session.RetryCount(), 0);
}

TEST_F(LinkSessionTest, TimeOutIsFourTimesAsLongOnTheModemLinkOrBelow1200Baud) {
    auto gapBeforeFirstResend = [&] {
        port.ClearTranscript();
        session.SendCommand(16, "", "");  // 2000 ms to answer
        Elapse(9000);
        session.DeleteAllCommands();
        Elapse(10000);
        const Lines sent = port.Transcript();
        return sent.size() < 2 ? 0 : std::stoul(sent[1]) - std::stoul(sent[0]);
    };
    EXPECT_EQ(gapBeforeFirstResend(), 2001u);
    // The modem carries the monitoring link only: the instrument under test keeps its cable,
    // its time-outs and no hang-up.
    host.modemLink = 1;
    EXPECT_EQ(gapBeforeFirstResend(), 2001u);
    port.ClearTranscript();
    session.Close();
    EXPECT_TRUE(port.Written().empty());
    session.SetLinkPort(LinkSide::Reference);
    port.OpenFor(3, nullptr);
    EXPECT_EQ(gapBeforeFirstResend(), 8001u);
    host.modemLink = 0;
    host.record.m_nBaudRate = 600;
    EXPECT_EQ(gapBeforeFirstResend(), 8001u);
    host.record.m_nBaudRate = 1200;
    EXPECT_EQ(gapBeforeFirstResend(), 2001u);
}

namespace {

// A session over two in-memory ports, for what it does with the ports themselves.
class LinkSessionPorts : public ::testing::Test {
protected:
    testenv::TestOperator op;
    ManualClock clock;
    FakePort target{clock};
    FakePort reference{clock};
    RecordingHost host{clock};
    LinkSession session{host, clock, host.Settings(), target, reference};
};

}  // namespace

// The golden transcripts hold the bytes the meter hears, not the line they went on: each use's
// settings are pinned here, on the side it names.
TEST_F(LinkSessionPorts, EachUseOpensItsSidesPortWithItsOwnSettings) {
    PortRecord& record = host.record;
    record = {};
    record.m_nComPort = 12;
    record.m_nBaudRate = 9600;

    // The bench and the maintenance commands: opened afresh, 8N1 at the record's rate or at
    // port.ini's rate, no handshaking asked for. A port that refuses its line is closed again.
    ASSERT_EQ(session.OpenPort(LinkSide::Target, PortSettings::Instrument(record)), 0);
    record.m_nBaudRate = 0;
    ASSERT_EQ(session.OpenPort(LinkSide::Target, PortSettings::Instrument(record)), 0);
    target.refuseSetUp = true;
    EXPECT_NE(session.OpenPort(LinkSide::Target, PortSettings::Instrument(record)), 0);
    EXPECT_FALSE(session.IsPortOpen(LinkSide::Target));
    EXPECT_EQ(target.opened, (std::vector<int>{12, 12, 12}));
    EXPECT_EQ(target.closes, 4);
    const PortSettings instrument9600{12, {9600, 8, 0, 0}, std::nullopt};
    const PortSettings instrument38400{12, {38400, 8, 0, 0}, std::nullopt};
    EXPECT_EQ(target.setUps,
              (std::vector<PortSettings>{instrument9600, instrument38400, instrument38400}));
    EXPECT_TRUE(reference.opened.empty());

    // Connecting: the link's port opened as ports open, then the record's framing with one
    // stop bit and hardware handshaking.
    record.m_nBaudRate = 115200;
    record.m_nDataBits = 7;
    record.m_nParity = CSerial::EvenParity;
    record.m_nStopBits = CSerial::TwoStopBits;
    ASSERT_EQ(session.OpenLinkPort(LinkSide::Reference, 12), 0);
    EXPECT_EQ(session.Side(), LinkSide::Reference);
    EXPECT_TRUE(reference.setUps.empty());
    ASSERT_EQ(session.SetUpPort(LinkSide::Reference, PortSettings::Connecting(record)), 0);
    EXPECT_EQ(reference.setUps.back(),
              (PortSettings{12, {115200, 7, 2, 0}, CSerial::HardwareHandshake}));

    // The speed change: the record's framing, its stop bits too, software handshaking.
    host.edited.m_strBaudRate = "19.2k";
    session.StartSendTick();
    session.SetReadyToSend(TRUE);
    session.SendCommand(53, "BAUD", "19.2k");
    clock.AdvanceTo(2000);
    EXPECT_EQ(reference.opened, (std::vector<int>{12, 12}));
    EXPECT_EQ(reference.setUps.back(),
              (PortSettings{12, {19200, 7, 2, 2}, CSerial::SoftwareHandshake}));

    session.ClosePort(LinkSide::Reference);
    EXPECT_FALSE(session.IsPortOpen(LinkSide::Reference));
    EXPECT_EQ(target.opened.size(), 3u);
}

TEST_F(LinkSessionTest, RefusedEmptyAndWrongStateRepliesAreSentThreeTimesAtMost) {
    port.Expect("SET:INSTR_V:?", "\x15\x03", 0, 2)
        .Expect("SET:INSTR_V:?", "SET:INSTR_VERSION:2.05\x03")
        .Expect("SET:INSTR_V:?", "\x15\x03", 0, 3)
        .Expect("KEY:RUN", "\x03", 0, 3)
        .Expect("STT:DISPL:?", "#WRONG\x03");
    for (int code : {2, 2, 12, 100})
        session.SendCommand(code, "", "");
    Elapse(100);
    // A reply of its ETX alone says nothing: the key is asked again twice, then given up.
    Lines sent(6, "SET:INSTR_V:?");
    sent.insert(sent.end(), {"KEY:RUN", "KEY:RUN", "KEY:RUN", "STT:DISPL:?"});
    EXPECT_EQ(port.Written(), sent);
    EXPECT_EQ(host.events, (Lines{"reply 2 SET:INSTR_VERSION:2.05", "refused 2", "empty 12",
                                  "wrong state 100", "queue empty"}));
    EXPECT_EQ(session.RetryCount(), 0);

    // An empty reply is asked again twice, then given up.
    session.SendCommand(16, "", "");
    for (int reply = 0; reply < 3; ++reply) {
        Elapse(1);
        session.OnReply("");
    }
    EXPECT_EQ(host.events.back(), "empty 16");

    // A reply that no command awaits is reported and changes no flag.
    session.SetReadyToSend(FALSE);
    op.ExpectBox("none command active. Receive : late");
    session.OnReply("late\x03");
    EXPECT_FALSE(session.IsReadyToSend());
    EXPECT_EQ(host.events.size(), 6u);
}

TEST_F(LinkSessionTest, AnAnswerOfItsEtxAloneIsAskedAgainAndTheWordAfterItTaken) {
    port.Expect("FAB:4321", "\x03", 0, 2).Expect("FAB:4321", "FAB:OK\x03");
    session.SendCommand(137, "4321", "");
    Elapse(100);
    EXPECT_EQ(port.Written(), Lines(3, "FAB:4321"));
    EXPECT_EQ(host.events, (Lines{"reply 137 FAB:OK", "queue empty"}));
    EXPECT_EQ(host.answered, 1);
}

TEST_F(LinkSessionTest, WhatCameWithAnAnswerGivenUpIsNoReplyToTheNextCommandNorToNone) {
    // An ETX alone sent twice, a refusal with a stray ETX after it: the bytes after the first
    // ETX wait in the port while the session takes the reply.
    struct Case {
        const char* answer;
        const char* givenUp;
    };
    for (const Case& c : {Case{"\x03\x03", "empty 12"}, Case{"\x15\x03\x03", "refused 12"}}) {
        SCOPED_TRACE(c.givenUp);
        host.events.clear();
        port.Expect("KEY:RUN", c.answer, 0, 3).Expect("STT:DISPL:?", "Title\x03");
        session.SendCommand(12, "", "");
        session.SendCommand(100, "", "");
        Elapse(100);
        // The last of them, given up, leaves nothing for the queue's next command, nor for none.
        port.Expect("KEY:RUN", c.answer, 0, 3);
        session.SendCommand(12, "", "");
        Elapse(100);
        EXPECT_EQ(host.events,
                  (Lines{c.givenUp, "reply 100 Title", "queue empty", c.givenUp, "queue empty"}));
    }
}

TEST_F(LinkSessionTest, AWithdrawnCommandNeverGoesOutButTheAwaitedOneStaysAwaited) {
    port.Expect("CAL:GAIN:CH:0:1.7", "CAL:GAIN:1.7\x03", 10)
        .Expect("CAL:GAIN:CH:1:-0.3", "CAL:GAIN:-0.3\x03");
    session.SendCommand(132, "CH:0", "1.7");
    session.SendCommand(132, "CH:1", "-0.3");
    session.SendCommand(139, "4321", "M9001");
    session.SendCommand(137, "4321", "");
    Elapse(1);
    ASSERT_EQ(port.Written(), Lines{"CAL:GAIN:CH:0:1.7"});
    // The awaited command has gone out; a command built otherwise is not the queued one.
    EXPECT_FALSE(session.WithdrawUnsent(132, "CH:0", "1.7"));
    EXPECT_FALSE(session.WithdrawUnsent(139, "4321", "M9002"));
    EXPECT_TRUE(session.Withdrawer()(139, "4321", "M9001"));
    EXPECT_FALSE(session.WithdrawUnsent(139, "4321", "M9001"));
    EXPECT_TRUE(session.WithdrawUnsent(137, "4321", ""));
    EXPECT_EQ(session.QueuedCodes(), (std::vector<int>{132, 132}));
    Elapse(100);
    EXPECT_EQ(port.Written(), (Lines{"CAL:GAIN:CH:0:1.7", "CAL:GAIN:CH:1:-0.3"}));
    EXPECT_EQ(host.events,
              (Lines{"reply 132 CAL:GAIN:1.7", "reply 132 CAL:GAIN:-0.3", "queue empty"}));
}

TEST_F(LinkSessionTest, OfTwoCommandsQueuedAlikeOnlyOneIsWithdrawnAndNeverTheAwaitedOne) {
    // The awaited command refused and about to be sent again, a copy of it and another command
    // queued alike twice.
    port.Expect("FAB:4321", "\x15\x03").Expect("FAB:4321", "FAB:OK\x03", 0, 2);
    port.Expect("SET:MIC_NUMBER:4321:M9001", "SET:MIC_NUMBER:M9001\x03");
    session.SendCommand(137, "4321", "");
    session.SendCommand(139, "4321", "M9001");
    session.SendCommand(139, "4321", "M9001");
    session.SendCommand(137, "4321", "");
    Elapse(1);
    ASSERT_EQ(port.Written(), Lines{"FAB:4321"});
    ASSERT_EQ(session.RetryCount(), 1);
    EXPECT_TRUE(session.WithdrawUnsent(137, "4321", ""));
    EXPECT_FALSE(session.WithdrawUnsent(137, "4321", ""));
    EXPECT_TRUE(session.WithdrawUnsent(139, "4321", "M9001"));
    EXPECT_EQ(session.QueuedCodes(), (std::vector<int>{137, 139}));
    Elapse(100);
    EXPECT_EQ(port.Written(), (Lines{"FAB:4321", "FAB:4321", "SET:MIC_NUMBER:4321:M9001"}));
    EXPECT_EQ(host.events,
              (Lines{"reply 137 FAB:OK", "reply 139 SET:MIC_NUMBER:M9001", "queue empty"}));
}

TEST_F(LinkSessionTest, AReplyThatNoCommandAwaitsGoesToOnePlaceInItsOrder) {
    std::vector<std::string> strays;
    session.Router().SetStrayTaker([&strays](const std::string& reply) {
        strays.push_back(reply);
        return reply == "leftover\x03";
    });
    // Nothing awaited: a stray one is dropped without a word, anything else is reported.
    session.OnReply("leftover\x03");
    op.ExpectBox("none command active. Receive : other");
    session.OnReply("other\x03");
    EXPECT_EQ(strays, (Lines{"leftover\x03", "other\x03"}));

    // Awaited, a reply is the command's: the stray taker is not asked, but a live record
    // is taken first whatever is awaited.
    port.Expect("SET:MEM_S:?", "leftover\x03", 5);
    session.SendCommand(16, "", "");
    Elapse(1);
    host.live = true;
    session.OnReply("REC1\x03");
    host.live = false;
    Elapse(10);
    EXPECT_EQ(strays.size(), 2u);
    EXPECT_EQ(host.events, (Lines{"record REC1\x03", "reply 16 leftover", "queue empty"}));
}

TEST_F(LinkSessionTest, CommandsThatAwaitNoReplyAndTheLiveRecordsAfterThem) {
    session.SendCommand(96, "", "");  // STT:MON:ON
    Elapse(1);
    EXPECT_FALSE(session.IsTimerSet(LinkSession::kReplyTimeout));
    EXPECT_TRUE(session.IsListening());
    // The meter streams from now on: the mode says monitoring is on.
    EXPECT_TRUE(session.Mode().IsMonitorOn());
    host.live = true;
    port.Arrive("REC1\x03REC2\x03");
    Elapse(100);
    host.live = false;
    // Its wait blocks: nothing else runs in the middle of it.
    EXPECT_EQ(host.events, (Lines{"record REC1\x03", "record REC2\x03", "queue empty"}));
    EXPECT_EQ(clock.sleeps, std::vector<unsigned>{300});
    EXPECT_TRUE(session.IsListening());

    // STT:ACQ:RUN leaves sending stopped until a handled reply lets the queue go on.
    session.SendCommand(99, "", "");
    session.SendCommand(16, "", "");
    Elapse(5000);
    EXPECT_FALSE(session.IsTimerSet(LinkSession::kReplyTimeout));
    EXPECT_FALSE(session.IsReadyToSend());
    EXPECT_EQ(session.QueuedCodes(), std::vector<int>{16});

    // KEY:OFF: the host ends the link.
    session.SendCommand(122, "", "", -1, TRUE);
    session.SetReadyToSend(TRUE);
    Elapse(1);
    EXPECT_EQ(port.Written(), (Lines{"STT:MON:ON", "STT:ACQ:RUN", "KEY:OFF"}));
    EXPECT_EQ(host.events.back(), "power off");
}

TEST_F(LinkSessionTest, MonitoringSwitchedOnWhileTheMeterIsHeldLeavesItsHolderAndTellsTheHost) {
    ASSERT_TRUE(session.Mode().BeginElectricCalibration());
    session.SendCommand(96, "", "");  // STT:MON:ON
    Elapse(1);
    // The meter does not hear it.
    EXPECT_EQ(port.Written(), Lines{});
    EXPECT_TRUE(session.Mode().IsElectricCalRunning());
    EXPECT_EQ(host.events,
              Lines{"WARNING: Monitoring not started, the instrument is busy with the electric "
                    "calibration."});
    // The queue goes on.
    EXPECT_TRUE(session.IsReadyToSend());
}

TEST_F(LinkSessionTest, BaudChangeMovesThePortToEveryRateOfTheSettingsListAndNoOther) {
    for (const char* text : {"9.6k", "115.2k", "230.4k", "460.8k"}) {
        host.edited.m_strBaudRate = text;
        session.SendCommand(53, "BAUD", text);
        Elapse(2000);
    }
    // The acknowledgement comes at the old rate: nothing awaits it. The waits block, so no
    // disconnection can slip in before the port is opened again. A text outside the list is
    // not sent: the meter and the port stay as they were.
    EXPECT_EQ(port.Transcript(),
              (Lines{"1 >> SET:BAUD:9.6k", "2001 >> SET:BAUD:115.2k", "4001 >> SET:BAUD:230.4k"}));
    EXPECT_EQ(clock.sleeps, (std::vector<unsigned>{1000, 1000, 1000}));
    EXPECT_EQ(port.opened, (std::vector<int>{3, 3, 3}));
    EXPECT_EQ(port.setUps.back(), (PortSettings{3, {230400, 8, 0, 0}, CSerial::SoftwareHandshake}));
    EXPECT_EQ(host.record.m_nBaudRate, 230400);
    EXPECT_EQ(host.pane, "Connected to COM3 230400 8,N,1");
    EXPECT_EQ(host.events, Lines(4, "queue empty"));

    // A port that does not open again stops the queue.
    host.edited.m_strBaudRate = "9.6k";
    port.refuseReopen = true;
    op.ExpectBox("ERROR: Unable to open serial port after changing port baudrate");
    session.SendCommand(53, "BAUD", "9.6k");
    session.SendCommand(16, "", "");
    Elapse(3000);
    EXPECT_FALSE(session.IsReadyToSend());
    EXPECT_EQ(session.QueuedCodes(), std::vector<int>{16});
}

TEST_F(LinkSessionTest, ExchangeAndWaitConfirmsAStateInThreeRoundsAtMost) {
    port.Expect("STT:MON:?", "STT:MONITOR:OFF\x03");
    EXPECT_TRUE(session.ExchangeAndWait("STT:MON:OFF\r\n", "STT:MON:?\r\n", "OFF"));
    EXPECT_EQ(port.Transcript(),
              (Lines{"0 >> STT:MON:OFF", "500 >> STT:MON:?", "1000 << STT:MONITOR:OFF"}));
    EXPECT_TRUE(session.IsListening());

    // Never confirmed: three rounds of a second, the waiting messages handled between them,
    // the port purged after the later reads, and the listener left paused.
    port.Expect("STT:ACQ:?", "\x15\x03", 0, 3);
    EXPECT_FALSE(session.ExchangeAndWait("STT:ACQ:STOP\r\n", "STT:ACQ:?\r\n", "STOP"));
    EXPECT_EQ(port.Written().size(), 8u);
    EXPECT_EQ(port.purges, 2);
    EXPECT_EQ(clock.Now(), 4000u);
    EXPECT_EQ(host.events, Lines(2, "pump"));
    EXPECT_FALSE(session.IsListening());
}

TEST_F(LinkSessionTest, TheNamedConfirmationsSendTheirRowsAndWaitForTheirState) {
    port.Expect("STT:ACQ:?", "STT:ACQUISITION:RUN\x03")
        .Expect("STT:ACQ:?", "STT:ACQUISITION:STOP\x03");
    EXPECT_TRUE(session.ConfirmAcquisitionStop());
    port.Expect("STT:MON:?", "STT:MONITOR:OFF\x03");
    EXPECT_TRUE(session.ConfirmMonitorOff());
    EXPECT_EQ(port.Written(), (Lines{"STT:ACQ:STOP", "STT:ACQ:?", "STT:ACQ:STOP", "STT:ACQ:?",
                                     "STT:MON:OFF", "STT:MON:?"}));
}

TEST_F(LinkSessionTest, LinesPastTheQueueGoToTheirSideAndTheDownloadAsksForItsFirstRecord) {
    FakePort reference{clock};
    LinkSession both{host, clock, host.Settings(), port, reference};
    both.WriteCommand(LinkSide::Reference, 122);
    both.SetLinkPort(LinkSide::Reference);
    both.WriteUnanswered(87);
    EXPECT_FALSE(both.IsListening());
    reference.Arrive("stale");
    both.StartDumpDownload();
    EXPECT_TRUE(both.SharedState()->dumpMode != FALSE);
    EXPECT_EQ(reference.Written(), (Lines{"KEY:OFF", "KEY:ENTER", "DMP:NE"}));
    EXPECT_EQ(reference.purges, 1);
    EXPECT_TRUE(port.Written().empty());

    // A closed port hears nothing, and has nothing to read.
    reference.Close();
    both.WriteCommand(97);
    EXPECT_EQ(both.ReadWaiting(511), "");
    EXPECT_EQ(reference.Written().size(), 3u);
}

TEST_F(LinkSessionTest, AHandlerThatLetTheQueueGoOnKeepsTheLinkForTheCommandItSent) {
    // The setup sheet is open while its reply is handled, and a status query goes meanwhile.
    port.Expect("SET:DISP_C:?", "SET:DISP_CONTRAST:5\x03")
        .Expect("SET:MEM_S:?", "SET:MEM_SIZE:4096k\x03", 500);
    host.onReply = [this](int code) {
        if (code != 83)
            return;
        session.SetReadyToSend(TRUE);
        session.SendCommand(16, "", "");
        Elapse(10);
    };
    session.SendCommand(83, "", "");
    Elapse(1000);
    EXPECT_EQ(port.Transcript(), (Lines{"1 >> SET:DISP_C:?", "1 << SET:DISP_CONTRAST:5",
                                        "2 >> SET:MEM_S:?", "502 << SET:MEM_SIZE:4096k"}));
    EXPECT_EQ(host.events, (Lines{"reply 83 SET:DISP_CONTRAST:5", "reply 16 SET:MEM_SIZE:4096k",
                                  "queue empty"}));
}

TEST_F(LinkSessionTest, TimeOutsOfACancelledCommandOrOfOneTheHostFollowsUp) {
    // Cancelled (the setup wait box's Cancel): its time-out lets the queue go on.
    session.SendCommand(1, "", "");
    Elapse(1);
    session.DeleteAllCommands();
    port.Expect("SET:MEM_S:?", "SET:MEM_SIZE:2048k\x03");
    session.SendCommand(16, "", "");
    Elapse(2000);
    EXPECT_EQ(port.Written(), (Lines{"SET:INSTR_N:?", "SET:MEM_S:?"}));
    EXPECT_EQ(host.events.front(), "reply 16 SET:MEM_SIZE:2048k");

    // Given up in a setup read: the host empties the queue and asks the meter to end a
    // download, and its box lets the tick send that as soon as the line's quiet ends.
    host.onTimedOut = [this] {
        session.DeleteAllCommands();
        session.SetReadyToSend(TRUE);
        session.SendCommand(115, "", "");
        Elapse(1);
    };
    port.ClearTranscript();
    session.SendCommand(24, "", "");
    session.SendCommand(25, "", "");
    Elapse(24100);
    EXPECT_EQ(port.Written().size(), 12u);
    EXPECT_EQ(port.Written().back(), "DMP:OFF");
    ASSERT_NE(session.CurrentCommand(), nullptr);
    EXPECT_EQ(session.CurrentCommand()->GetCode(), 115);
    EXPECT_FALSE(session.IsReadyToSend());  // no second DMP:OFF before its reply
}

TEST_F(LinkSessionTest, AnAnswerToAGivenUpCommandIsNeverTakenAsAnotherOnesReply) {
    // The meter answers the serial number query just after the session gave it up.
    port.Expect("SET:INSTR_N:?", "SET:INSTR_NUMBER:A1\x03", 11012)
        .Expect("SET:MEM_S:?", "SET:MEM_SIZE:2048k\x03", 5);
    session.SendCommand(1, "", "");
    session.SendCommand(16, "", "");
    Elapse(13000);
    // Given up at 11011, the line stays quiet for the query's time-out: the answer falls in
    // it and is dropped, the port is purged, and only then the memory query goes out.
    const Lines& sent = port.Transcript();
    ASSERT_GE(sent.size(), 3u);
    EXPECT_EQ(Lines(sent.end() - 3, sent.end()),
              (Lines{"11013 << SET:INSTR_NUMBER:A1", "12012 >> SET:MEM_S:?",
                     "12017 << SET:MEM_SIZE:2048k"}));
    EXPECT_EQ(host.events, (Lines{"timed out 1", "reply 16 SET:MEM_SIZE:2048k", "queue empty"}));

    // Later still, a copy that names the given-up query is dropped whenever it comes: while
    // nothing is awaited, and while a query it does not answer is. A reply that names no
    // given-up command is the awaited one's, whatever its name.
    port.Arrive("SET:INSTR_NUMBER:A1\x03", 10);
    Elapse(100);
    port.Expect("SET:AUTO_P:?", "SET:AUTO_POWEROFF:ON\x03", 500)
        .Expect("SET:WND:?", "SET:WIND_CORRECT:OFF\x03");
    session.SendCommand(17, "", "");
    session.SendCommand(88, "", "");
    Elapse(1);
    port.Arrive("SET:INSTR_NUMBER:A1\x03", 100);
    Elapse(1000);
    EXPECT_EQ(
        Lines(host.events.begin() + 3, host.events.end()),
        (Lines{"reply 17 SET:AUTO_POWEROFF:ON", "reply 88 SET:WIND_CORRECT:OFF", "queue empty"}));
}

TEST_F(LinkSessionTest, AMeterSlowerThanTheTimeOutHasTheAnswerToTheResendDropped) {
    // Each answer comes 100 ms after the time-out: one to the query and one to its resend.
    port.Expect("SET:INSTR_N:?", "SET:INSTR_NUMBER:A1\x03", 1100, 2)
        .Expect("SET:MEM_S:?", "SET:MEM_SIZE:2048k\x03", 1500);
    session.SendCommand(1, "", "");
    session.SendCommand(16, "", "");
    Elapse(6000);
    // The first answer is the query's. The line then stays quiet for as long again as the
    // resends took, and a time-out more, so the second answer is dropped.
    EXPECT_EQ(port.Transcript(),
              (Lines{"1 >> SET:INSTR_N:?", "1002 >> SET:INSTR_N:?", "1101 << SET:INSTR_NUMBER:A1",
                     "2102 << SET:INSTR_NUMBER:A1", "3103 >> SET:MEM_S:?",
                     "4603 << SET:MEM_SIZE:2048k"}));
    EXPECT_EQ(host.events,
              (Lines{"reply 1 SET:INSTR_NUMBER:A1", "reply 16 SET:MEM_SIZE:2048k", "queue empty"}));

    // Printed values echo nothing: the quiet alone keeps the second one off the next command.
    port.ClearTranscript();
    host.events.clear();
    port.Expect("KEY:PRN_VAL", " 94.0 dB\x03", 2100, 2).Expect("STT:DISPL:?", "Title\x03", 2500);
    session.SendCommand(123, "", "");
    session.SendCommand(100, "", "");
    Elapse(15000);
    EXPECT_EQ(host.events, (Lines{"reply 123  94.0 dB", "reply 100 Title", "queue empty"}));
}

TEST_F(LinkSessionTest, ACopyOfAnAnswerIsNeverTakenForAnIdentityQueryThatAwaitsItsKey) {
    // The meter sends every answer twice: the model's copy comes after the firmware query
    // went out, just before that query's answer.
    port.Expect("SET:INSTR_M:?", "SET:INSTR_MODEL:QS4060\x03", 5)
        .Expect("SET:INSTR_V:?", "SET:INSTR_MODEL:QS4060\x03SET:INSTR_VERSION:V1.05\x03", 5);
    session.SendCommand(0, "", "");
    session.SendCommand(2, "", "");
    Elapse(100);
    EXPECT_EQ(host.events, (Lines{"reply 0 SET:INSTR_MODEL:QS4060",
                                  "reply 2 SET:INSTR_VERSION:V1.05", "queue empty"}));
}

// A late answer can only come through the port that was open when its query went unanswered:
// once the side's port is closed, its next exchange neither waits for one nor leaves one out.
TEST_F(LinkSessionPorts, AClosedPortLeavesNoLateAnswerToWaitFor) {
    const auto ask = [&](const char* query) {
        return session.Exchange(session.PortOf(LinkSide::Target),
                                ExchangeRequest::Query(query, 1000, 1));
    };
    target.Expect("SET:INSTR_V:?", "", 0).Expect("SET:INSTR_N:?", "SET:INSTR_NUMBER:A1\x03", 10);
    ASSERT_EQ(ask("SET:INSTR_V:?"), std::nullopt);
    session.ClosePort(LinkSide::Target);
    target.OpenFor(4, nullptr);
    EXPECT_EQ(ask("SET:INSTR_N:?"), "SET:INSTR_NUMBER:A1\x03");
    EXPECT_EQ(target.Transcript(), (Lines{"0 >> SET:INSTR_V:?", "1000 >> SET:INSTR_N:?",
                                          "1010 << SET:INSTR_NUMBER:A1"}));
}
