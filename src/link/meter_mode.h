#pragma once
// What the program is doing with the meter, kept in one place. One activity at a time: idle,
// monitoring, downloading its memory, upgrading its firmware or running the guided electric
// calibration; each begins and ends by a named transition, and a transition that the current
// activity does not allow changes nothing and answers false. Beside the activity stand facts
// of their own: whether a meter answers on the link, what the meter reports of its acquisition
// and datalogging, the channel mode, the operation the queued commands are for, a setup being
// sent, scheduler mode, a run going on and its final job, the screen check and the session's
// data. The link session owns it; the frame's reply handlers, the scheduler window and run, the
// live recorder, the setup sheet and the maintenance commands read it and tell it what
// happened.
//
// The user-interface thread's, all but the download: that one is the listeners' dump mode
// (LinkReplyState::dumpMode), which the dump decoder reads and clears on its thread; a
// download it ends is over for the mode too.

#include <optional>
#include <string>

#include "records/record_kind.h"

class LinkFlag;
class LinkReplyState;
struct AcquisitionReplyOutcome;

// What the queued commands are for (PendingOp). The acquisition-state reply carries out the
// first three.
enum PendingOperation {
    kNoPendingOp = -1,
    kStartDataLoggingOp = 1,
    kStopDataLoggingOp = 2,
    kStartDownloadOp = 3,
    // The whole setup is being read or sent.
    kSetupOp = 5,
    // A monitoring session is being started.
    kNewSessionOp = 9,
};

// What the link is doing with the meter.
enum class MeterActivity {
    kIdle,
    // "STT:MON:ON" went out, or the meter's state reply said its monitoring is on.
    kMonitoring,
    // A memory download: the dump decoder alone talks to the meter.
    kDownloading,
    // The maker's writer holds the meter.
    kUpgradingFirmware,
    // The guided programs' window reads the meter's screens and printed values.
    kCalibrating,
};

// What a scheduled run still does with the meter once its stop time has come and its flag is
// cleared: the final electric calibration or the memory download.
enum class RunFinalJob { kNone, kCalibration, kDownload };

// The log line of a monitoring start refused while `holder` holds the meter.
std::string MonitorStartRefusal(MeterActivity holder);

class MeterMode {
public:
    explicit MeterMode(LinkReplyState& listeners);
    MeterMode(const MeterMode&) = delete;
    MeterMode& operator=(const MeterMode&) = delete;

    // --- the activity
    MeterActivity Activity() const;
    bool IsMonitorOn() const { return Activity() == MeterActivity::kMonitoring; }
    bool IsDownloading() const;
    bool IsFirmwareUpgrading() const { return Activity() == MeterActivity::kUpgradingFirmware; }
    bool IsElectricCalRunning() const { return Activity() == MeterActivity::kCalibrating; }
    // Monitoring while the meter acquires: every reply is a live record.
    bool IsLive() const { return IsMonitorOn() && m_acquiring; }
    // While true the queue sends nothing: a firmware upgrade holds the meter, or a download's
    // decoder alone talks to it.
    bool IsSendingHeld() const;

    // From idle, or monitoring already; refused while the meter downloads, upgrades or
    // calibrates. A refusal changes nothing: whoever learnt of the start says what holds the
    // meter (MonitorStartRefusal).
    [[nodiscard]] bool OnMonitorStarted() {
        return IsMonitorOn() || Begin(MeterActivity::kMonitoring);
    }
    // Whether OnMonitorStarted would be taken now: asked before "STT:MON:ON" goes out, so that
    // a meter another job holds never hears it.
    bool MayStartMonitor() const { return IsMonitorOn() || Activity() == MeterActivity::kIdle; }
    // Ends monitoring; any other activity goes on.
    void OnMonitorStopped() { End(MeterActivity::kMonitoring); }
    // Monitoring with the meter acquiring, both at once (a live run); refused as
    // OnMonitorStarted is.
    [[nodiscard]] bool BeginLive();
    // Monitoring and the meter's acquisition over.
    void EndLive();
    // The rest begin from idle only: a download, for instance, is refused while monitoring.
    [[nodiscard]] bool BeginDownload();
    void EndDownload();
    [[nodiscard]] bool BeginFirmwareUpgrade() { return Begin(MeterActivity::kUpgradingFirmware); }
    void EndFirmwareUpgrade() { End(MeterActivity::kUpgradingFirmware); }
    [[nodiscard]] bool BeginElectricCalibration() { return Begin(MeterActivity::kCalibrating); }
    void EndElectricCalibration() { End(MeterActivity::kCalibrating); }

    // --- the link
    // A meter answered on the link, or none does.
    bool IsLinkActive() const { return m_linkActive; }
    void OnMeterAnswered() { m_linkActive = true; }
    void OnNoMeter() { m_linkActive = false; }
    // The monitoring link closed: no meter on it, monitoring and acquisition over.
    void OnLinkClosed();
    // Before each connect attempt of a scheduled run: nothing live, no datalogging, no
    // download, the status window's flag and the channel mode cleared.
    void ResetForConnect();

    // --- what the meter reports
    bool IsAcquiring() const { return m_acquiring; }
    void OnAcquisitionStarted() { m_acquiring = true; }
    void OnAcquisitionStopped() { m_acquiring = false; }
    // The meter stores what it measures.
    bool IsDataLogging() const { return m_dataLogging; }
    void OnDataLoggingStarted() { m_dataLogging = true; }
    void OnDataLoggingStopped() { m_dataLogging = false; }
    // What the acquisition-state reply told: whether the meter acquires and logs.
    void OnAcquisitionReported(const AcquisitionReplyOutcome& outcome);
    // A live record is being processed.
    bool IsProcessingRecord() const { return m_processingRecord; }
    void BeginRecordProcessing() { m_processingRecord = true; }
    void EndRecordProcessing() { m_processingRecord = false; }
    // The kind of the recording monitored or loaded (the channel mode); none before either.
    std::optional<records::RecordKind> ChannelMode() const { return m_channelMode; }
    // The scheduler's channel, as the operator chose it or the run monitors it.
    void ChooseChannel(records::RecordKind kind) { m_channelMode = kind; }
    void OnRecordingLoaded(std::optional<records::RecordKind> kind) { m_channelMode = kind; }

    // --- what the queued commands are for
    int PendingOp() const { return m_pendingOp; }
    void RequestDataLoggingStart() { m_pendingOp = kStartDataLoggingOp; }
    void RequestDataLoggingStop() { m_pendingOp = kStopDataLoggingOp; }
    void RequestDownload() { m_pendingOp = kStartDownloadOp; }
    void BeginSetupTransfer() { m_pendingOp = kSetupOp; }
    void BeginNewSession() { m_pendingOp = kNewSessionOp; }
    void EndPendingOp() { m_pendingOp = kNoPendingOp; }
    // The operation the acquisition-state reply carries out, taken once: a datalogging or
    // download request ends here, whatever the operator answers; any other stays.
    int TakeAcquisitionRequest();
    // Once the changed setup is queued, the queue running empty closes the setup wait box:
    // EndSetupSend says whether a setup was queued, and ends it and the pending operation.
    bool IsSetupQueued() const { return m_setupQueued; }
    void OnSetupQueued() { m_setupQueued = true; }
    bool EndSetupSend();

    // --- the memory download's outcome
    // Refused, or cut short by the meter's screen or by a dump file that could not be
    // written: its end is then not announced as a complete download.
    bool IsDumpRefused() const { return m_dumpRefused; }
    // The dump file failed a write in this download; what comes after is not written.
    bool HasDumpWriteFailed() const { return m_dumpWriteFailed; }
    // A new dump file: nothing refused or failed yet.
    void OnDumpFileOpened();
    // The download is refused (or has nothing to fetch) and ends.
    void OnDumpRefused();
    void OnDumpWriteFailed();
    // The end of dump mode: whether the download was refused; a refusal is cleared with the
    // download.
    bool TakeDumpRefusal();

    // --- the scheduler
    // Warnings go to the scheduler log instead of boxes, nobody is asked.
    bool IsSchedulerMode() const { return m_schedulerMode; }
    void EnterSchedulerMode() { m_schedulerMode = true; }
    // Scheduler mode and any run over.
    void LeaveSchedulerMode();
    // A run goes on: the program cannot be left, nothing saved meanwhile.
    bool IsSchedulerRunning() const { return m_schedulerRunning; }
    void OnRunStarted() { m_schedulerRunning = true; }
    void OnRunStopped() { m_schedulerRunning = false; }
    // The run's final job, from its start until the run ends; it outlasts the run's flag,
    // which the stop time clears.
    RunFinalJob FinalJob() const { return m_finalJob; }
    void OnFinalJobStarted(RunFinalJob job) { m_finalJob = job; }
    void OnRunEnded() { m_finalJob = RunFinalJob::kNone; }

    // --- the electric calibration's result: its Delta Leq text
    const std::string& DeltaLeq() const { return m_deltaLeq; }
    void OnDeltaLeqRead(const std::string& text) { m_deltaLeq = text; }

    // --- the screen check: while on, the screen-state reply is answered with key presses
    bool IsCheckingDisplay() const { return m_checkingDisplay; }
    void BeginDisplayCheck() { m_checkingDisplay = true; }
    void EndDisplayCheck();
    // The screen-state replies answered in this check; CountDisplayRound counts one more.
    int CountDisplayRound() { return ++m_displayRounds; }
    // The instrument status window was opened by a state reply and is still open.
    bool IsStatusDlgShown() const { return m_statusDlgShown; }
    void OnStatusDlgOpened() { m_statusDlgShown = true; }
    void OnStatusDlgClosed() { m_statusDlgShown = false; }

    // --- the session's data
    // Set when the current data were saved; while clear a new session asks before discarding.
    bool IsDataSaved() const { return m_dataSaved; }
    void MarkDataSaved() { m_dataSaved = true; }
    void MarkDataUnsaved() { m_dataSaved = false; }
    // An audio recording of the session runs, and its wave file is being written.
    bool IsAudioRecording() const { return m_audioRecording; }
    bool IsAudioFileOpen() const { return m_audioFileOpen; }
    void OnAudioRecordingStarted();
    void OnAudioRecordingStopped();

private:
    // From idle only; an end ends only its own activity.
    bool Begin(MeterActivity activity);
    void End(MeterActivity activity);

    // Every activity but the download, which is the listeners' flag; while that is set this
    // stays idle.
    MeterActivity m_activity = MeterActivity::kIdle;
    LinkFlag& m_downloading;
    bool m_linkActive = false;
    bool m_acquiring = false;
    bool m_dataLogging = false;
    bool m_processingRecord = false;
    std::optional<records::RecordKind> m_channelMode;
    int m_pendingOp = kNoPendingOp;
    bool m_setupQueued = false;
    bool m_dumpRefused = false;
    bool m_dumpWriteFailed = false;
    bool m_schedulerMode = false;
    bool m_schedulerRunning = false;
    RunFinalJob m_finalJob = RunFinalJob::kNone;
    std::string m_deltaLeq;
    bool m_checkingDisplay = false;
    int m_displayRounds = 0;
    bool m_statusDlgShown = false;
    bool m_dataSaved = false;
    bool m_audioRecording = false;
    bool m_audioFileOpen = false;
};
