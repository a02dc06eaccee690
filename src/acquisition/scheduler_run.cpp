#include "acquisition/scheduler_run.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "acquisition/meter_connector.h"
#include "acquisition/operator_notices.h"
#include "acquisition/run_calibration.h"
#include "acquisition/run_session.h"
#include "acquisition/run_window.h"
#include "acquisition/scheduler_run_host.h"
#include "link/command_codes.h"
#include "link/instr_status.h"
#include "link/link_clock.h"
#include "link/link_session.h"
#include "link/meter_mode.h"
#include "platform/date_time.h"
#include "platform/text.h"

namespace acquisition {

using namespace command_code;

namespace {

constexpr unsigned kMonitorOnWaitMs = 250;
// Long enough for an acknowledgement at 1200 baud, short of a live record's interval.
constexpr unsigned kAcknowledgementMs = 250;
constexpr size_t kReadLimit = 511;
constexpr unsigned kPauseWaitMs = 1000;
constexpr unsigned kKeyWaitMs = 500;
constexpr unsigned kConnectRetryMs = 100;
constexpr unsigned kCalibrationAnswerWaitMs = 1000;
// The idle gap that the missing-records timer halves: a minute less with calibration before,
// and this much when nothing is left of it.
constexpr long long kCalibrationBeforeGapSeconds = 60;
constexpr long long kShortestGapSeconds = 20;
constexpr long long kLongestGapSeconds = 2LL * 24 * 3600;

}  // namespace

SchedulerRun::SchedulerRun(const Uses& uses)
    : m_uses(uses),
      m_host(uses.host),
      m_clock(uses.clock),
      m_link(uses.link),
      m_mode(uses.link.Mode()) {
    m_clock.SetTimerHandler([this](int id) { OnTimer(id); });
}

void SchedulerRun::Start(const SchedulePlan& plan) {
    m_plan = plan;
    m_active = true;
    m_state = kIdle;
    m_firstAcquisition = true;
    m_calAfterPending = false;
    m_acqEndSeen = false;
    m_received = 0;
    m_calibration = Calibration::None;
    m_deferred.clear();
    m_clock.SetTimer(kTick, kTickMs);
    m_clock.SetTimer(kCaption, kCaptionMs);
}

void SchedulerRun::Stop() {
    m_active = false;
    m_mode.OnRunEnded();
    m_leftovers.Begin();
    // The calibration window goes with the run that opened it.
    if (m_calibration != Calibration::None)
        CloseElectricCalibration();
    for (int id : {kTick, kCalibrationWatchdog, kMissingRecords, kCaption})
        m_clock.KillTimer(id);
    m_deferred.clear();
    m_calibration = Calibration::None;
    m_calAfterPending = false;
}

void SchedulerRun::OnTimer(int id) {
    if (!m_active) {
        m_clock.KillTimer(id);
        return;
    }
    if (m_inTimer) {
        // A wait that handles messages let the timer through. The tick has its next turn
        // anyway; the others run once the handler under way returns.
        if (id != kTick)
            m_deferred.insert(id);
        return;
    }
    m_inTimer = true;
    RunTimer(id);
    // A deferred handler may wait in turn; each round runs only timers still armed.
    for (int round = 0; round < 4 && m_active && !m_deferred.empty(); ++round) {
        const std::set<int> due = std::exchange(m_deferred, {});
        for (int deferred : due)
            if (m_active && m_clock.IsTimerSet(deferred))
                RunTimer(deferred);
    }
    m_deferred.clear();
    m_inTimer = false;
}

void SchedulerRun::RunTimer(int id) {
    switch (id) {
        case kTick:
            Tick();
            break;
        case kCalibrationWatchdog:
            OnCalibrationWatchdog();
            break;
        case kMissingRecords:
            OnMissingRecords();
            break;
        case kCaption:
            OnCaption();
            break;
        default:
            break;
    }
}

void SchedulerRun::Tick() {
    m_mode.ChooseChannel(m_plan.channel);
    if (StepCalibrationEnded() || !m_active)
        return;
    if (StepDownload())
        return;
    if (StepEndOfSchedule() || !m_active)
        return;
    if (StepLeadTime() || !m_active)
        return;
    if (StepAcquisitionEnd() || !m_active)
        return;
    StepCalibrationAtDate();
}

bool SchedulerRun::StepCalibrationEnded() {
    if (m_state != kCalibrated || m_plan.calDisabled)
        return false;
    m_clock.KillTimer(kCalibrationWatchdog);
    const Calibration why = std::exchange(m_calibration, Calibration::None);
    if (why == Calibration::Final) {
        EndOfRun();
        return true;
    }
    if (why == Calibration::AtDate) {
        EndCalibrationAtDate();
        return true;
    }
    if (m_calAfterPending) {
        m_calAfterPending = false;
        PowerOff();
        StopMonitoring();
        m_firstAcquisition = false;
        return true;
    }
    if (m_plan.calBefore) {
        m_state = kPrepare;
        return true;
    }
    if (m_plan.calAfter) {
        PowerOff();
        StopMonitoring();
        m_firstAcquisition = false;
        return true;
    }
    return false;
}

bool SchedulerRun::StepDownload() {
    if (!m_plan.download)
        return false;
    if (m_state == kDownloading)
        return true;
    if (m_state == kDownloaded) {
        EndOfRun();
        return true;
    }
    return false;
}

bool SchedulerRun::StepEndOfSchedule() {
    if (m_host.Now() < m_plan.stop)
        return false;
    // The final calibration of a continuous run is under way: its end ends the run.
    if (m_calibration == Calibration::Final)
        return true;
    if (m_mode.IsAudioRecording())
        StopAudioRecording();
    m_clock.KillTimer(kTick);
    m_clock.KillTimer(kCaption);
    m_host.KillRecordWatchdog();
    m_uses.window.SetCaption("KX9 SCHEDULER");
    if (m_mode.IsMonitorOn()) {
        m_uses.notices.LogScheduler(m_plan.dataLogging ? "Stop Monitoring & Stop DataLogging"
                                                       : "Stop Monitoring");
        m_mode.OnMonitorStopped();
    }
    if (m_mode.IsLinkActive()) {
        m_link.ConfirmAcquisitionStop();
        if (!StillRunning())
            return true;
        m_link.ConfirmMonitorOff();
        if (!StillRunning())
            return true;
        m_clock.Sleep(kKeyWaitMs);
        if (m_plan.dataLogging) {
            Write(kEnterKey);
            m_clock.Sleep(kKeyWaitMs);
        }
    } else {
        ConnectInstrument();
        if (!StillRunning())
            return true;
    }
    m_mode.OnRunStopped();
    if (m_plan.continuous && m_plan.calAfter) {
        // The tick goes on, to see the calibration end.
        m_clock.SetTimer(kTick, kTickMs);
        m_mode.OnFinalJobStarted(RunFinalJob::kCalibration);
        StartCalibration(Calibration::Final);
        return true;
    }
    if (m_plan.download) {
        StartDownload();
        return true;
    }
    EndOfRun();
    return true;
}

void SchedulerRun::StartDownload() {
    // Only the download's end would end the run: a download that cannot begin ends it here,
    // with the reason in the log.
    if (!m_mode.IsLinkActive()) {
        m_uses.notices.LogScheduler(kDownloadNotConnected);
        EndOfRun();
        return;
    }
    m_state = kDownloading;
    m_mode.OnFinalJobStarted(RunFinalJob::kDownload);
    m_uses.notices.LogScheduler("Download Data");
    if (!m_uses.session.OpenDumpFile())
        EndOfRun();
}

bool SchedulerRun::StepLeadTime() {
    const std::time_t now = m_host.Now();
    const long long lead = m_plan.connSeconds + (m_plan.calBefore ? m_plan.calSeconds : 0);
    if (now < m_plan.nextStart - lead)
        return false;
    // Once an acquisition's time is over, only its end is handled.
    if (!m_plan.continuous && now >= m_plan.nextStart + m_plan.acqSeconds)
        return false;
    switch (m_state) {
        case kIdle:
            if (m_mode.IsLinkActive()) {
                m_state = kConnected;
            } else {
                m_state = kConnecting;
                ConnectInstrument();
            }
            return true;
        case kConnected:
            // The link answers the states queried on connecting first.
            if (!IsLinkIdle())
                return true;
            if (m_plan.calBefore) {
                StartCalibration(Calibration::Before);
                return true;
            }
            m_state = kPrepare;
            StepPrepare();
            return true;
        case kPrepare:
            StepPrepare();
            return true;
        case kStopMeterAcquisition:
            m_state = kSetMonitorMode;
            if (m_firstAcquisition)
                m_link.ConfirmAcquisitionStop();
            return true;
        case kSetMonitorMode:
            if (IsLinkIdle())
                Queue(kRecordFileStart, std::string(m_plan.channel->recordWord));
            return false;
        case kSwitchMonitorOn:
            StepSwitchMonitorOn();
            [[fallthrough]];
        case kWaitStart:
            if (now >= m_plan.nextStart)
                StartAcquisition();
            return false;
        default:
            return false;
    }
}

void SchedulerRun::StepPrepare() {
    m_host.KillStatusPoll();
    if (m_firstAcquisition) {
        // Set first: the monitor-state reply that moves the run on may come inside the wait.
        m_state = kAwaitMonitorState;
        m_uses.session.StartLiveSession();
        return;
    }
    if (m_plan.powerOffAtPause)
        Queue(kIntegrationModeWrite, "", m_uses.edited.m_strIntegrationMode);
    Queue(kAcquisitionQuery);
    m_state = kStopMeterAcquisition;
}

void SchedulerRun::StepSwitchMonitorOn() {
    // A meter that another job holds does not hear the switch; the run goes on without it.
    if (!m_mode.MayStartMonitor()) {
        LogMonitorStartRefusal();
        m_state = kWaitStart;
        return;
    }
    if (!m_mode.IsAcquiring()) {
        Write(kMonitorOn);
        m_clock.Sleep(kMonitorOnWaitMs);
        Write(kMonitorQuery);
        m_clock.Sleep(kMonitorOnWaitMs);
        for (int round = 0; round < kMaxMonitorOnRounds && !ReadArrived().empty(); ++round) {
            Write(kMonitorOn);
            m_clock.Sleep(kMonitorOnWaitMs);
            Write(kAcquisitionQuery);
            m_clock.Sleep(kMonitorOnWaitMs);
        }
    }
    if (!m_mode.OnMonitorStarted())
        LogMonitorStartRefusal();
    m_state = kWaitStart;
}

void SchedulerRun::LogMonitorStartRefusal() {
    m_uses.notices.LogScheduler(MonitorStartRefusal(m_mode.Activity()));
}

void SchedulerRun::StartAcquisition() {
    m_acqEndSeen = false;
    m_received = 0;
    m_state = kAcquiring;
    const std::string autoStore = platform::Trim(m_uses.current.m_strAutoStore);
    // Stale input goes before anything is written: a purge after a write would take the
    // command with it while it still waits to go out.
    m_link.PurgeLink();
    if (m_plan.dataLogging) {
        if (autoStore == "OFF")
            Write(kRecordOn);
        m_uses.notices.LogScheduler("Start Monitoring & DataLogging");
        m_mode.OnDataLoggingStarted();
        m_host.StartRecordingBlink();
    } else {
        m_uses.notices.LogScheduler("Start Monitoring");
    }
    if (m_mode.IsAcquiring()) {
        if (m_mode.MayStartMonitor())
            Write(kMonitorOn);
        else
            LogMonitorStartRefusal();
    } else if (!m_plan.dataLogging || autoStore == "ON") {
        Write(kRunAcquisition);
    }
    // The meter acknowledges before its first record: that answer is no record. It is read
    // away, not purged: a purge would also drop a command still waiting to go out.
    m_clock.Sleep(kAcknowledgementMs);
    ReadArrived();
    m_link.ListenForRecords();
    m_mode.OnAcquisitionStarted();
    m_host.OnAcquisitionStart(m_plan.channel);
}

bool SchedulerRun::StepAcquisitionEnd() {
    if (m_plan.continuous || m_host.Now() < m_plan.nextStart + m_plan.acqSeconds)
        return false;
    if (!m_acqEndSeen) {
        m_acqEndSeen = true;
        StartMissingRecordsTimer();
    }
    if (m_received >= m_plan.expected) {
        PauseAcquisition();
        return true;
    }
    switch (m_state) {
        case kAcquiring:
            if (m_received > 0)
                return false;  // the missing-records timer fills in
            m_clock.KillTimer(kMissingRecords);
            AdvanceNextStart();
            m_uses.notices.LogScheduler("WARNING: No data received.");
            StopMonitoring();
            m_firstAcquisition = false;
            return true;
        case kIdle:
        case kConnecting:
            // The connection did not come in time.
            m_clock.KillTimer(kMissingRecords);
            AdvanceNextStart();
            m_state = kIdle;
            return true;
        case kCalibrating:
        case kCalibrated:
            return false;  // the calibration's end moves the run on first
        default:
            // Connected, but the acquisition never started: nothing of it is stored, and the next
            // one sets monitoring up afresh.
            m_clock.KillTimer(kMissingRecords);
            AdvanceNextStart();
            m_uses.notices.LogScheduler("WARNING: No data received.");
            StopMonitoring();
            return true;
    }
}

void SchedulerRun::PauseAcquisition() {
    m_clock.KillTimer(kMissingRecords);
    m_host.KillRecordWatchdog();
    AdvanceNextStart();
    if (m_mode.IsAudioRecording())
        StopAudioRecording();
    if (m_plan.stopAcqAtPause) {
        m_link.ConfirmAcquisitionStop();
        if (!StillRunning())
            return;
        m_mode.EndLive();
    } else {
        m_link.ConfirmMonitorOff();
        if (!StillRunning())
            return;
        m_link.PurgeLink();
        m_mode.OnMonitorStopped();
    }
    m_clock.Sleep(kPauseWaitMs);
    if (m_plan.dataLogging) {
        Write(kEnterKey);
        m_clock.Sleep(kKeyWaitMs);
        m_uses.notices.LogScheduler("Pause Monitoring & Stop DataLogging");
    } else {
        m_uses.notices.LogScheduler("Pause Monitoring");
    }
    m_host.AddSpectrumGap(m_plan.channel);
    if (m_plan.calAfter) {
        m_calAfterPending = m_plan.calBefore;
        StartCalibration(Calibration::After);
        return;
    }
    PowerOff();
    StopMonitoring();
    m_firstAcquisition = false;
}

void SchedulerRun::StartMissingRecordsTimer() {
    long long gap = m_plan.repSeconds - m_plan.connSeconds - m_plan.acqSeconds -
                    (m_plan.calBefore ? kCalibrationBeforeGapSeconds : 0);
    if (gap <= 0)
        gap = kShortestGapSeconds;
    gap = std::min(gap, kLongestGapSeconds);
    m_clock.SetTimer(kMissingRecords, static_cast<unsigned>(gap * 1000 / 2));
}

void SchedulerRun::StepCalibrationAtDate() {
    if (!m_plan.calAtDate || m_host.Now() < m_plan.calDate - m_plan.connSeconds)
        return;
    switch (m_state) {
        case kCalibrating:
        case kCalibrated:
            if (m_calibration == Calibration::AtDate)
                return;  // its own calibration
            AdvanceCalibrationDate();
            m_uses.notices.LogScheduler(
                "WARNING: Calibration at date skipped becase another calibration already in "
                "execute");
            return;
        case kIdle:
            if (m_mode.IsLinkActive()) {
                m_state = kConnected;
            } else {
                m_state = kConnecting;
                ConnectInstrument();
            }
            return;
        case kConnected:
            if (m_host.Now() >= m_plan.calDate && IsLinkIdle())
                StartCalibration(Calibration::AtDate);
            return;
        default:
            return;
    }
}

void SchedulerRun::OnCalibrationWatchdog() {
    m_clock.KillTimer(kCalibrationWatchdog);
    // A calibration that has ended is the tick's.
    if (m_state != kCalibrating)
        return;
    m_uses.notices.LogScheduler(
        platform::Format("WARNING: Calibration interrupted by Timeout. (Delta Leq= %s)",
                         platform::Trim(m_mode.DeltaLeq()).c_str()));
    CloseElectricCalibration();
    m_clock.Sleep(kCalibrationAnswerWaitMs);
    Write(kRightKey);
    const Calibration why = std::exchange(m_calibration, Calibration::None);
    if (why == Calibration::Final) {
        EndOfRun();
    } else if (why == Calibration::AtDate) {
        EndCalibrationAtDate();
    } else if (m_calAfterPending) {
        m_calAfterPending = false;
        PowerOff();
        StopMonitoring();
    } else if (m_plan.calBefore) {
        m_state = kPrepare;
    } else if (m_plan.calAfter) {
        PowerOff();
        StopMonitoring();
    } else {
        // A calibration nobody asked for: the link stays, the next tick goes on.
        m_state = kConnected;
    }
}

void SchedulerRun::OnMissingRecords() {
    m_clock.KillTimer(kMissingRecords);
    if (m_state != kAcquiring || m_received >= m_plan.expected)
        return;
    m_uses.notices.LogScheduler(platform::Format("WARNING: Loss data detected.Received %d on % d",
                                                 m_received, m_plan.expected));
    for (int record = m_received; record < m_plan.expected; ++record)
        m_uses.records.ProcessRecord(m_plan.channel, std::string(kMissingRecord));
    m_received = m_plan.expected;
}

void SchedulerRun::OnCaption() {
    m_uses.window.SetCaption(
        RunningCaption(m_uses.window.Caption(), platform::DateTime(m_host.Now())));
}

std::string RunningCaption(const std::string& current, const platform::DateTime& now) {
    const std::string time = now.Format("%H:%M:%S ");
    return platform::Contains(current, "RUNNING")
               ? platform::Format("KX9  SCHEDULER (                  - %s - )", time.c_str())
               : platform::Format("KX9  SCHEDULER ( RUNNING - %s - )", time.c_str());
}

void SchedulerRun::StartCalibration(Calibration why) {
    m_uses.notices.LogScheduler("Start Calibration");
    m_state = kCalibrating;
    m_calibration = why;
    m_uses.calibration.StartElectricCalibration();
    m_clock.SetTimer(kCalibrationWatchdog, kCalibrationWatchdogMs);
}

void SchedulerRun::EndCalibrationAtDate() {
    AdvanceCalibrationDate();
    if (m_plan.powerOffAtPause) {
        m_mode.EndLive();
        Write(kPowerOff);
    }
    StopMonitoring();
}

void SchedulerRun::AdvanceCalibrationDate() {
    // Without an interval there is one calibration at that date, not one at every tick.
    if (m_plan.calIntervalSeconds <= 0)
        m_plan.calAtDate = false;
    else
        m_plan.calDate += m_plan.calIntervalSeconds;
}

void SchedulerRun::AdvanceNextStart() {
    if (m_plan.repSeconds > 0)
        m_plan.nextStart += m_plan.repSeconds;
    else
        m_plan.nextStart = m_plan.stop;
}

void SchedulerRun::CloseElectricCalibration() {
    m_uses.calibration.CloseElectricCalibration();
    m_mode.EndElectricCalibration();
}

void SchedulerRun::PowerOff() {
    // A meter out of reach is not switched off, and the log does not say it was.
    if (!m_plan.powerOffAtPause || !m_mode.IsLinkActive())
        return;
    Write(kPowerOff);
    m_uses.notices.LogScheduler("Instr. Power Off");
}

void SchedulerRun::ConnectInstrument() {
    // Bounded by program time too, so that a wall clock that stands still cannot hold the loop.
    const std::time_t start = m_host.Now();
    const long long spanMs =
        std::max<long long>(0, static_cast<long long>(m_plan.nextStart - start)) * 1000;
    const std::uint32_t begun = m_clock.Now();
    for (;;) {
        m_clock.Sleep(kConnectRetryMs);
        m_mode.ResetForConnect();
        m_uses.connector.PrepareConnectAttempt();
        if (m_uses.connector.IsAutoDetect()) {
            if (m_uses.connector.ConnectForScheduler() == MeterConnector::kSchedulerLinkFailed)
                return;
            if (!StillRunning())
                return;
            if (!m_mode.IsLinkActive())
                m_uses.connector.ConnectInstrument();
        } else {
            m_uses.connector.ConnectInstrumentPort();
        }
        if (!StillRunning())
            return;
        if (m_mode.IsLinkActive())
            break;
        m_uses.notices.LogScheduler("Connection failed: Retry.");
        if (m_host.Now() >= m_plan.nextStart ||
            static_cast<long long>(m_clock.Now() - begun) >= spanMs)
            return;
    }
    m_uses.connector.ArmLink();
}

void SchedulerRun::StopMonitoring() {
    m_state = kIdle;
    m_uses.notices.LogScheduler("Connection OFF");
    Write(kMonitorOff);
    m_uses.session.CloseMonitoringLink();
}

void SchedulerRun::EndOfRun() {
    m_mode.EndLive();
    PowerOff();
    if (m_mode.IsLinkActive())
        StopMonitoring();
    m_uses.liveFile.Close();
    m_uses.window.ShowRunResult();
    m_uses.notices.LogScheduler("End Scheduler");
    m_uses.window.OnRunEnded();
    Stop();
}

void SchedulerRun::StopAudioRecording() {
    m_mode.OnAudioRecordingStopped();
    m_uses.session.StopAudioRecordingLog();
}

void SchedulerRun::Write(int code) {
    m_link.WriteUnanswered(code);
}

std::string SchedulerRun::ReadArrived() {
    return m_link.ReadWaiting(kReadLimit);
}

bool SchedulerRun::IsLinkIdle() const {
    return m_link.IsReadyToSend() && m_link.IsQueueEmpty() && m_link.CurrentCommand() == nullptr;
}

void SchedulerRun::Queue(int code, const std::string& arg1, const std::string& arg2) {
    m_link.SendCommand(code, arg1, arg2);
}

}  // namespace acquisition
