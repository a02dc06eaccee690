#pragma once
// A program and a meter in memory for the scheduler's run, with the meter mode the run shares
// (connected, monitoring, acquiring as the frame's handlers would leave it): the host answers as
// the frame would
// (the connect routines set state 0, the reply to "STT:MON:%s" state 7, the new session's
// monitor-state reply state 5, a calibration's end state 11), the meter streams live records
// while monitoring runs, and every log line, queued command and written line is kept. The
// wall clock is the manual clock's milliseconds on top of a fixed date, so a day of schedule
// runs in the time its ticks take.

#include <ctime>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "acquisition/scheduler_run.h"
#include "acquisition/scheduler_run_host.h"
#include "link/command.h"
#include "link/link_fakes.h"
#include "link/link_reply_state.h"
#include "link/meter_mode.h"
#include "platform/date_time.h"
#include "platform/text.h"

namespace schedtest {

using acquisition::SchedulerRun;
using records::RecordKind;

class FakeRunHost : public acquisition::SchedulerRunHost, public acquisition::LiveRecordSink {
    // First: the port is built on it.
    linktest::ManualClock& m_clock;

public:
    explicit FakeRunHost(linktest::ManualClock& clock)
        : m_clock(clock), port(clock), base(platform::DateTime::FromParts(2024, 5, 6, 8, 0, 0)) {
        mode.OnRunStarted();
        mode.OnDeltaLeqRead(" 0.3 ");
    }

    void Attach(SchedulerRun& run) { m_run = &run; }

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
    // Called inside every confirming exchange, as the program's messages are then handled.
    std::function<void()> duringExchange;

    // --- what the run did
    std::vector<std::string> log;
    std::vector<std::string> queued;
    std::vector<std::string> events;
    int placeholders = 0;
    int connectAttempts = 0;
    int nestedTicks = 0;
    LinkReplyState listeners;
    MeterMode mode{listeners};
    acquisition::RecordFile liveFile;
    std::string caption = "KX9  SCHEDULER";
    linktest::FakePort port;
    platform::DateTime base;

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
    void WriteLink(int code) override { port.WriteString(CommandLine(code)); }
    std::string ReadLink(size_t limit) override {
        std::string bytes(limit, '\0');
        size_t count = 0;
        port.Read(bytes.data(), bytes.size(), &count);
        bytes.resize(count);
        return bytes;
    }
    void PurgeLink() override { port.Purge(); }
    void ListenForRecords() override { events.push_back("listening"); }
    bool ConfirmAcquisitionStop() override { return Confirm("STT:ACQ:STOP\r\n", "STT:ACQ:?\r\n"); }
    bool ConfirmMonitorOff() override { return Confirm("STT:MON:OFF\r\n", "STT:MON:?\r\n"); }
    bool Confirm(const std::string& command, const std::string& query) {
        ++m_exchangeDepth;
        // Every tick sets the channel: one that runs inside the exchange leaves it set.
        const std::optional<RecordKind> channel = mode.ChannelMode();
        mode.OnRecordingLoaded(std::nullopt);
        bool confirmed = false;
        for (int round = 0; round < 3 && !confirmed; ++round) {
            port.WriteString(command);
            m_clock.Sleep(500);
            port.WriteString(query);
            // The program's timers run while the exchange waits.
            m_clock.AdvanceTo(m_clock.Now() + 500);
            if (duringExchange)
                duringExchange();
            char reply[512] = {};
            size_t count = 0;
            port.Read(reply, 511, &count);
            confirmed = meterAnswers && mode.IsLinkActive();
        }
        if (mode.ChannelMode())
            ++nestedTicks;
        mode.OnRecordingLoaded(channel);
        --m_exchangeDepth;
        return confirmed;
    }
    // The command as it would go out, without its CR LF.
    void QueueCommand(int code, const std::string& arg1, const std::string& arg2) override {
        const std::string text = CCommand(code, arg1, arg2).GetText();
        queued.push_back(text.substr(0, text.find('\r')));
        if (code == 95 && meterAnswers && mode.IsLinkActive())
            m_replies.push_back([this] {
                if (m_run->IsFirstAcquisition()) {
                    m_run->ClearFirstAcquisition();
                    events.push_back("record files created");
                }
                m_run->SetState(SchedulerRun::kSwitchMonitorOn);
            });
    }
    bool IsReadyToSend() override { return m_replies.empty(); }
    bool IsAutoDetect() override { return autoDetect; }
    void PrepareConnectAttempt() override { ++connectAttempts; }
    int ConnectForScheduler() override {
        if (connectForSchedulerResult == -1)
            return -1;
        return Answer("Connection ON") ? 1 : 0;
    }
    void ConnectInstrument() override { Answer("Connection established "); }
    void ConnectInstrumentPort() override { Answer("Connection established"); }
    void ArmLink() override { events.push_back("link armed"); }
    void CloseLink() override {
        mode.OnLinkClosed();
        events.push_back("link closed");
    }
    void KillRecordWatchdog() override {}
    void KillStatusPoll() override {}
    std::string AutoStoreValue() override { return "OFF"; }
    std::string EditedIntegrationMode() override { return "SINGLE"; }
    void StartNewSession() override {
        events.push_back("new session");
        m_replies.push_back([this] {
            mode.OnMonitorStopped();
            if (m_run->State() != SchedulerRun::kAcquiring)
                m_run->SetState(SchedulerRun::kStopMeterAcquisition);
        });
    }
    void OnAcquisitionStart(RecordKind) override {
        m_streamed = 0.0;
        m_toLose = recordsLost;
    }
    void StartRecordingBlink() override {}
    void AddSpectrumGap(RecordKind) override {}
    // The placeholders of missed records; the run sends no other record.
    void ProcessRecord(RecordKind, const std::string& reply) override {
        placeholders += reply == acquisition::kMissingRecord;
    }
    void StopAudioRecording() override {}
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
    void CloseElectricCalibrationWindow() override {
        m_calibrating = false;
        events.push_back("calibration closed");
    }
    bool StartDownload() override {
        events.push_back(mode.Activity() == MeterActivity::kIdle ? "download" : "download refused");
        return downloadStarts;
    }
    void ShowRunResult() override { events.push_back("result shown"); }
    void OnRunEnded() override { events.push_back("run ended"); }
    void Log(const std::string& text) override { log.push_back(text); }
    std::string Caption() override { return caption; }
    void SetCaption(const std::string& text) override { caption = text; }

private:
    bool Answer(const char* logText) {
        if (!meterAnswers)
            return false;
        mode.OnMeterAnswered();
        m_run->SetState(SchedulerRun::kConnected);
        log.push_back(logText);
        return true;
    }
    void Deliver() {
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
    std::deque<std::function<void()>> m_replies;
    int m_exchangeDepth = 0;
    double m_streamed = 0.0;
    int m_toLose = 0;
    bool m_calibrating = false;
    std::uint32_t m_calibrationEnd = 0;
};

}  // namespace schedtest
