#pragma once
// A program and a meter in memory for the scheduler's run. The run talks through a link session
// on an in-memory port, whose meter mode (connected, monitoring, acquiring) is left as the
// frame's handlers would leave it; the rest of the program answers as the frame would (the
// connect routines set state 0, the reply to "STT:MON:%s" state 7, the new session's
// monitor-state reply state 5, a calibration's end state 11). The meter on the port answers
// each command of the link's queue and confirms the states it is told to take, and streams live
// records while monitoring runs; every log line, command the queue sent and line written is
// kept. The wall clock is the manual clock's milliseconds on top of a fixed date, so a day of
// schedule runs in the time its ticks take.

#include <algorithm>
#include <ctime>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "acquisition/meter_connector.h"
#include "acquisition/operator_notices.h"
#include "acquisition/run_calibration.h"
#include "acquisition/run_session.h"
#include "acquisition/run_window.h"
#include "acquisition/scheduler_run.h"
#include "acquisition/scheduler_run_host.h"
#include "link/command.h"
#include "link/command_codes.h"
#include "link/instr_status.h"
#include "link/link_fakes.h"
#include "link/link_session.h"
#include "link/meter_mode.h"
#include "link/quiet_link_host.h"
#include "platform/date_time.h"
#include "platform/text.h"

namespace schedtest {

using acquisition::SchedulerRun;
using records::RecordKind;

// One of the two users of the test's manual clock, the run and the link session: each has its
// timers under ids of its own, and its own handler. `onSleep`, when given, is the user's plain
// wait.
class ClockLane : public LinkClock {
public:
    ClockLane(linktest::ManualClock& clock, int firstId,
              std::function<void(unsigned)> onSleep = nullptr)
        : m_clock(clock), m_firstId(firstId), m_onSleep(std::move(onSleep)) {}

    std::uint32_t Now() override { return m_clock.Now(); }
    void Sleep(unsigned ms) override {
        if (m_onSleep)
            m_onSleep(ms);
        else
            m_clock.Sleep(ms);
    }
    bool WaitForInput(LinkPort& port, unsigned ms, bool pumping) override {
        return m_clock.WaitForInput(port, ms, pumping);
    }
    void SetTimerHandler(std::function<void(int)> handler) override {
        m_handler = std::move(handler);
    }
    void SetTimer(int id, unsigned ms) override { m_clock.SetTimer(m_firstId + id, ms); }
    void KillTimer(int id) override { m_clock.KillTimer(m_firstId + id); }
    bool IsTimerSet(int id) const override { return m_clock.IsTimerSet(m_firstId + id); }

    // The manual clock's expiry of this lane's `id`; dropped while the lane is held (the
    // timer, which repeats, comes again).
    void Fire(int id) {
        if (m_handler && !held)
            m_handler(id - m_firstId);
    }
    bool held = false;

private:
    linktest::ManualClock& m_clock;
    int m_firstId;
    std::function<void(unsigned)> m_onSleep;
    std::function<void(int)> m_handler;
};

// The meter on the link's port. While it answers at all and the link is up, it answers each
// command of the link's queue with the command's line, and the state query after
// "STT:ACQ:STOP" or "STT:MON:OFF" with that state; other lines get only the replies the test
// expects.
class MeterPort : public linktest::FakePort {
public:
    MeterPort(linktest::ManualClock& clock, std::function<bool()> answers)
        : FakePort(clock), m_answers(std::move(answers)) {}

    // The link whose queue's commands are answered.
    void Serve(const LinkSession& link) { m_link = &link; }

protected:
    int WriteBytes(const std::string& text, size_t* written) override {
        const int result = FakePort::WriteBytes(text, written);
        const std::string line = text.substr(0, text.find('\r'));
        const CCommand* awaited = m_link ? m_link->CurrentCommand() : nullptr;
        if (IsOpen() && m_answers()) {
            if (awaited && awaited->GetText() == text)
                Arrive(line + "\x03");
            else if (line == "STT:ACQ:?" && m_last == "STT:ACQ:STOP")
                Arrive("STT:ACQUISITION:STOP\x03");
            else if (line == "STT:MON:?" && m_last == "STT:MON:OFF")
                Arrive("STT:MONITOR:OFF\x03");
        }
        m_last = line;
        return result;
    }

private:
    std::function<bool()> m_answers;
    const LinkSession* m_link = nullptr;
    std::string m_last;
};

// Keeps each command the link's queue is done with, as it went out without its CR LF.
class QueueLinkHost : public linktest::QuietLinkHost {
public:
    void OnAnswered(const CCommand& command) override { Keep(command); }
    void OnWrongState(const CCommand& command) override { Keep(command); }
    void OnGivenUp(const CCommand& command, bool) override { Keep(command); }
    void OnTimedOut(const CCommand& command) override { Keep(command); }

    std::vector<std::string> sent;

private:
    void Keep(const CCommand& command) {
        const std::string text = command.GetText();
        sent.push_back(text.substr(0, text.find('\r')));
    }
};

class FakeRunHost : public acquisition::SchedulerRunHost,
                    public acquisition::MeterConnector,
                    public acquisition::RunSession,
                    public acquisition::RunCalibration,
                    public acquisition::RunWindow,
                    public acquisition::OperatorNotices,
                    public acquisition::LiveRecordSink {
    // First: the lanes and the ports are built on it.
    linktest::ManualClock& m_clock;

public:
    // The link's timers go under these ids of the manual clock, the run's under their own.
    static constexpr int kLinkTimerIds = 100;

    explicit FakeRunHost(linktest::ManualClock& clock)
        : m_clock(clock), base(platform::DateTime::FromParts(2024, 5, 6, 8, 0, 0)) {
        m_clock.SetTimerHandler([this](int id) {
            if (id >= kLinkTimerIds)
                linkClock.Fire(id);
            else
                runClock.Fire(id);
        });
        port.Serve(link);
        link.Router().RegisterFamily([](int) { return true; },
                                     [this](const CCommand& command, const std::string&) {
                                         OnQueuedReply(command.GetCode());
                                     });
        current.m_strAutoStore = "OFF";
        edited.m_strIntegrationMode = "SINGLE";
    }

    void Attach(SchedulerRun& run) { m_run = &run; }
    // What the run is built with: this host, the lanes, the link and the records here.
    SchedulerRun::Uses RunUses() {
        return {.host = *this,
                .clock = runClock,
                .link = link,
                .connector = *this,
                .session = *this,
                .calibration = *this,
                .window = *this,
                .notices = *this,
                .records = *this,
                .liveFile = liveFile,
                .current = current,
                .edited = edited};
    }

    // --- what the test sets
    bool meterAnswers = true;
    bool autoDetect = false;
    int connectForSchedulerResult = 0;
    // Records a second while monitoring runs, and how many of each acquisition never come.
    double recordsPerSecond = 2.0;
    int recordsLost = 0;
    // Seconds an electric calibration takes; negative: it never ends.
    int calibrationSeconds = 30;
    // Whether the memory download can begin (its dump file made).
    bool downloadStarts = true;
    // Called inside every wait of a confirming exchange, as the program's messages are then
    // handled.
    std::function<void()> duringExchange;

    // --- what the run did
    std::vector<std::string> log;
    std::vector<std::string> events;
    int placeholders = 0;
    int connectAttempts = 0;
    int nestedTicks = 0;
    acquisition::RecordFile liveFile;
    std::string caption = "KX9  SCHEDULER";
    platform::DateTime base;

    // --- the link: the run's timers and the link's on the manual clock, the meter on its
    // port (the target side; the reference side's port only listens), what the queue sent
    ClockLane runClock{m_clock, 0};
    ClockLane linkClock{m_clock, kLinkTimerIds, [this](unsigned ms) { ExchangeWait(ms); }};
    MeterPort port{m_clock, [this] { return meterAnswers && mode.IsLinkActive(); }};
    linktest::FakePort referencePort{m_clock};
    QueueLinkHost linkHost;
    LinkSession link{linkHost, linkClock, linkHost.Settings(), port, referencePort};
    MeterMode& mode = link.Mode();
    std::vector<std::string>& queued = linkHost.sent;
    CInstrStatus current;
    CInstrStatus edited;

    // Runs the program for `ms`: the clock in 100 ms steps, the meter's replies and records
    // delivered between them as the frame's handlers would.
    void Run(long long ms) {
        const std::uint32_t end = m_clock.Now() + static_cast<std::uint32_t>(ms);
        while (m_clock.Now() < end) {
            m_clock.AdvanceTo(std::min<std::uint32_t>(end, m_clock.Now() + 100));
            Deliver();
        }
    }
    // Runs until the run is over or `ms` have passed.
    void RunToEnd(long long ms) {
        const std::uint32_t end = m_clock.Now() + static_cast<std::uint32_t>(ms);
        while (m_run->IsActive() && m_clock.Now() < end) {
            m_clock.AdvanceTo(std::min<std::uint32_t>(end, m_clock.Now() + 100));
            Deliver();
        }
    }
    std::time_t At(int hour, int minute, int second = 0) const {
        return platform::DateTime::FromParts(2024, 5, 6, hour, minute, second).Seconds();
    }
    std::time_t BaseDayEnd() const { return At(23, 59, 59); }
    // Program milliseconds from now until the local time `at`.
    long long Until(std::time_t at) { return (at - Now()) * 1000LL; }
    // Log lines holding `text`.
    int Count(const std::string& text) const {
        int n = 0;
        for (const std::string& line : log)
            n += line == text ? 1 : 0;
        return n;
    }

    // --- SchedulerRunHost
    std::time_t Now() override { return base.Seconds() + m_clock.Now() / 1000; }
    void KillRecordWatchdog() override {}
    void KillStatusPoll() override {}
    void OnAcquisitionStart(RecordKind) override {
        m_streamed = 0.0;
        m_toLose = recordsLost;
    }
    void StartRecordingBlink() override {}
    void AddSpectrumGap(RecordKind) override {}

    // --- MeterConnector
    bool IsAutoDetect() const override { return autoDetect; }
    void PrepareConnectAttempt() override { ++connectAttempts; }
    int ConnectForScheduler() override {
        if (connectForSchedulerResult == kSchedulerLinkFailed)
            return kSchedulerLinkFailed;
        return Answer("Connection ON") ? kSchedulerConnected : kSchedulerNotAnswering;
    }
    void ConnectInstrument() override { Answer("Connection established "); }
    void ConnectInstrumentPort() override { Answer("Connection established"); }
    // The queue emptied and sending allowed, as the connect routines arm the link; the states
    // they query first are left out.
    void ArmLink() override {
        link.DeleteAllCommands();
        link.StartSendTick();
        link.SetReadyToSend(TRUE);
        events.push_back("link armed");
    }

    // --- RunSession
    void StopMonitoring() override { events.push_back("StopFrameMonitoring"); }
    void QueueSetupQueries() override { events.push_back("QueueSetupQueries"); }
    void StartLiveSession() override {
        events.push_back("new session");
        m_replies.push_back([this] {
            mode.OnMonitorStopped();
            if (m_run->State() != SchedulerRun::kAcquiring)
                m_run->SetState(SchedulerRun::kStopMeterAcquisition);
        });
    }
    // The port stays open: the meter in memory never leaves the line.
    void CloseMonitoringLink() override {
        mode.OnLinkClosed();
        events.push_back("link closed");
    }
    bool OpenDumpFile() override {
        events.push_back(mode.Activity() == MeterActivity::kIdle ? "download" : "download refused");
        return downloadStarts;
    }
    void StopAudioRecordingLog() override {}

    // --- RunCalibration
    // The run frees the meter before it calibrates or downloads: the mode would refuse both
    // beside monitoring, and the events would say so.
    void StartElectricCalibration() override {
        if (!mode.BeginElectricCalibration()) {
            events.push_back("calibration refused");
            return;
        }
        events.push_back("calibration");
        if (calibrationSeconds < 0)
            return;
        m_calibrationEnd = m_clock.Now() + calibrationSeconds * 1000u;
        m_calibrating = true;
    }
    void CloseElectricCalibration() override {
        m_calibrating = false;
        events.push_back("calibration closed");
    }

    // --- RunWindow
    const std::string& Caption() const override { return caption; }
    void SetCaption(const std::string& text) override { caption = text; }
    void ShowRunResult() override { events.push_back("result shown"); }
    void OnRunEnded() override { events.push_back("run ended"); }

    // --- OperatorNotices: the scheduler log; the run shows no box.
    void Warn(const std::string& text, unsigned) override { log.push_back(text); }
    void LogScheduler(const std::string& text) override { log.push_back(text); }
    void BeginSchedulerLog(const std::string& text) override {
        log.clear();
        log.push_back(text);
    }

    // --- LiveRecordSink: the placeholders of missed records; the run sends no other record.
    void ProcessRecord(RecordKind, const std::string& reply) override {
        placeholders += reply == acquisition::kMissingRecord;
    }

private:
    bool Answer(const char* logText) {
        if (!meterAnswers)
            return false;
        mode.OnMeterAnswered();
        m_run->SetState(SchedulerRun::kConnected);
        log.push_back(logText);
        return true;
    }
    // The monitor mode's reply creates the run's record files first.
    void OnQueuedReply(int code) {
        if (code != command_code::kRecordFileStart)
            return;
        if (m_run->IsFirstAcquisition()) {
            m_run->ClearFirstAcquisition();
            events.push_back("record files created");
        }
        m_run->SetState(SchedulerRun::kSwitchMonitorOn);
    }
    // A wait of the link's confirming exchange. The program's messages are handled meanwhile:
    // the run's timers come (a tick that ran inside sets the channel, which is cleared for the
    // wait), the link's own wait for the exchange's end.
    void ExchangeWait(unsigned ms) {
        const std::optional<RecordKind> channel = mode.ChannelMode();
        mode.OnRecordingLoaded(std::nullopt);
        linkClock.held = true;
        m_clock.AdvanceTo(m_clock.Now() + ms);
        linkClock.held = false;
        if (duringExchange)
            duringExchange();
        if (mode.ChannelMode())
            ++nestedTicks;
        mode.OnRecordingLoaded(channel);
    }
    void Deliver() {
        // The link port's listener: each reply that came while the link listens.
        while (link.IsListening()) {
            const std::optional<std::string> reply = port.TakeReply();
            if (!reply)
                break;
            link.SharedState()->CompleteReply();
            link.OnReply(*reply);
        }
        std::deque<std::function<void()>> replies;
        replies.swap(m_replies);
        for (auto& reply : replies)
            reply();
        if (m_calibrating && m_clock.Now() >= m_calibrationEnd) {
            m_calibrating = false;
            mode.EndElectricCalibration();
            log.push_back("Calibration end successfully (Delta Leq = 0.1 dB)");
            m_run->SetState(SchedulerRun::kCalibrated);
        }
        if (mode.IsLive() && m_run->State() == SchedulerRun::kAcquiring) {
            m_streamed += recordsPerSecond / 10.0;
            for (; m_streamed >= 1.0; m_streamed -= 1.0) {
                if (m_toLose > 0)
                    --m_toLose;
                else
                    m_run->CountReceivedRecord();
            }
        }
    }

    SchedulerRun* m_run = nullptr;
    // The new session's reply, delivered between two steps.
    std::deque<std::function<void()>> m_replies;
    double m_streamed = 0.0;
    int m_toLose = 0;
    bool m_calibrating = false;
    std::uint32_t m_calibrationEnd = 0;
};

}  // namespace schedtest
