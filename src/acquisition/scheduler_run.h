#pragma once
// The run of an activated schedule: the 100 ms tick that connects the meter before each
// acquisition, calibrates it, sets monitoring up, starts and pauses each acquisition, powers it
// off, and at the stop time ends the run or downloads the meter's memory first; the
// calibration watchdog, the timer that fills in records that never came, and the running
// caption. One handler per step of the tick; the replies that move a run on come from the
// owners of the meter's replies through SetState.
//
// Sound where a plain reading would not be: a tick never runs inside another (the confirming
// exchanges and the connect routines handle messages); STOP, or STOP pressed inside such a
// wait, ends every timer and the tick at once; every calibration knows why it runs, so that the
// end of an at-date calibration moves the next date on (also after a time-out) and a
// continuous run's final calibration ends the run; placeholder records are stored only for an
// acquisition that ran and lost some; no loop waits on the meter without a bound; a download
// that cannot begin (no link, no dump file) ends the run instead of waiting for its end; the
// final calibration or download holds the meter, for the program's close, from its start until
// the run ends, though the stop time has cleared the run's flag; a meter that another job holds
// is not sent "STT:MON:ON"; a meter out of reach is not logged as switched off.

#include <ctime>
#include <set>
#include <string>

#include "acquisition/live_record_sink.h"
#include "acquisition/record_file.h"
#include "acquisition/run_leftovers.h"
#include "platform/date_time.h"
#include "records/record_kind.h"

class CInstrStatus;
class LinkClock;
class LinkSession;
class MeterMode;

namespace acquisition {

class MeterConnector;
class OperatorNotices;
class RunCalibration;
class RunSession;
class RunWindow;
class SchedulerRunHost;

// A schedule as START activates it. Times are local seconds; the spans whole seconds.
struct SchedulePlan {
    records::RecordKind channel = records::RecordKind::All().front();
    bool continuous = true;
    bool dataLogging = false;  // "Monitor && DataLogging"
    bool stopAcqAtPause = true;
    bool powerOffAtPause = false;
    bool download = false;  // "Download logged data"
    bool calDisabled = true;
    bool calBefore = false;
    bool calAfter = false;
    bool calAtDate = false;
    std::time_t nextStart = 0;
    std::time_t stop = 0;
    long long acqSeconds = 0;  // unused when continuous
    long long repSeconds = 0;
    long long connSeconds = 60;
    std::time_t calDate = 0;
    long long calIntervalSeconds = 0;
    long long calSeconds = 120;
    // Live records per acquisition; -1 when continuous.
    int expected = -1;
};

class SchedulerRun {
public:
    enum State {
        kConnected = 0,
        kIdle = 1,
        kConnecting = 2,
        kPrepare = 3,
        kAwaitMonitorState = 4,
        kStopMeterAcquisition = 5,
        kSetMonitorMode = 6,
        kSwitchMonitorOn = 7,
        kWaitStart = 8,
        kAcquiring = 9,
        kCalibrating = 10,
        kCalibrated = 11,
        kDownloading = 12,
        kDownloaded = 13,
    };
    enum TimerId { kTick = 1, kCalibrationWatchdog = 2, kMissingRecords = 3, kCaption = 14 };
    static constexpr unsigned kTickMs = 100;
    static constexpr unsigned kCaptionMs = 1000;
    static constexpr unsigned kCalibrationWatchdogMs = 120000;
    // Rounds of "switch monitoring on" while the meter keeps answering.
    static constexpr int kMaxMonitorOnRounds = 3;
    static constexpr const char* kIdleCaption = "KX9  SCHEDULER";
    static constexpr const char* kDownloadNotConnected =
        "WARNING: Download skipped, instrument not connected.";

    // What the run uses, none of it owned, all of it built before the run.
    struct Uses {
        SchedulerRunHost& host;
        // Its timers are the run's alone: its handler is set here.
        LinkClock& clock;
        // The monitoring link: its port, queue and confirming exchanges, and its meter mode,
        // which the run moves as it connects, monitors and ends.
        LinkSession& link;
        MeterConnector& connector;
        RunSession& session;
        // The window of the electric calibrations the run starts.
        RunCalibration& calibration;
        RunWindow& window;
        // The scheduler log, which the run's steps are told in.
        OperatorNotices& notices;
        // Takes a placeholder for each record an acquisition missed.
        LiveRecordSink& records;
        // The live recording's page file, closed when the run ends.
        RecordFile& liveFile;
        // The meter's setup as last read (its automatic storing) and as edited (the
        // integration mode a meter switched off at the pause is given again).
        const CInstrStatus& current;
        const CInstrStatus& edited;
    };

    explicit SchedulerRun(const Uses& uses);
    SchedulerRun(const SchedulerRun&) = delete;
    SchedulerRun& operator=(const SchedulerRun&) = delete;

    // START's last step: the tick and the caption run, the first acquisition is ahead.
    void Start(const SchedulePlan& plan);
    // STOP or closing the window: every timer of the run ends, a tick under way included, and
    // the window of a calibration under way closes. What the meter still sends is a leftover.
    void Stop();
    bool IsActive() const { return m_active; }
    const SchedulePlan& Plan() const { return m_plan; }
    std::time_t NextStart() const { return m_plan.nextStart; }
    std::time_t CalibrationDate() const { return m_plan.calDate; }

    int State() const { return m_state; }
    // The replies' handlers, the connect routines and the calibration move the state.
    void SetState(int state) { m_state = state; }
    // Set by START; the reply that sets the monitor mode clears it when it has created the
    // run's record file set, and every acquisition's end clears it.
    bool IsFirstAcquisition() const { return m_firstAcquisition; }
    void ClearFirstAcquisition() { m_firstAcquisition = false; }
    // A live record of the current acquisition arrived.
    void CountReceivedRecord() { ++m_received; }
    int Received() const { return m_received; }

    void OnTimer(int id);
    // Begun by every stop of a run.
    RunLeftovers& Leftovers() { return m_leftovers; }

    // Connects the link before an acquisition: attempts until a meter answers or the next
    // start has come.
    void ConnectInstrument();
    // Ends monitoring and closes the link between acquisitions.
    void StopMonitoring();

private:
    // Why the running electric calibration was started.
    enum class Calibration { None, Before, After, AtDate, Final };

    void RunTimer(int id);
    void Tick();
    // Each returns true when it ended the tick.
    bool StepCalibrationEnded();
    bool StepDownload();
    bool StepEndOfSchedule();
    bool StepLeadTime();
    bool StepAcquisitionEnd();
    void StepCalibrationAtDate();
    void StepPrepare();
    void StepSwitchMonitorOn();
    // "STT:MON:ON" not sent: the log says which job holds the meter.
    void LogMonitorStartRefusal();
    void StartAcquisition();
    void PauseAcquisition();
    void StartMissingRecordsTimer();
    // The memory download of the stop time, or the end of the run when it cannot begin.
    void StartDownload();

    void OnCalibrationWatchdog();
    void OnMissingRecords();
    void OnCaption();

    void StartCalibration(Calibration why);
    // An at-date calibration ended, in time or not: the next date, the meter off, the link
    // closed.
    void EndCalibrationAtDate();
    void AdvanceCalibrationDate();
    void AdvanceNextStart();
    void PowerOff();
    void EndOfRun();
    // The session's audio recording ends, its line written to the audio file list.
    void StopAudioRecording();
    // The command of `code` (command_code) to the link port, past the queue; no reply is
    // awaited, and the meter's acknowledgement is not taken for one.
    void Write(int code);
    // What has arrived on the link port, at most 511 bytes.
    std::string ReadArrived();
    // The queue is idle and may send.
    bool IsLinkIdle() const;
    // The command table's `code` queued on the link with its arguments.
    void Queue(int code, const std::string& arg1 = std::string(),
               const std::string& arg2 = std::string());
    // After a wait that handles messages: false when STOP came meanwhile.
    bool StillRunning() const { return m_active; }

    // Closes the calibration's window; no more screens go to it.
    void CloseElectricCalibration();

    Uses m_uses;
    SchedulerRunHost& m_host;
    LinkClock& m_clock;
    LinkSession& m_link;
    MeterMode& m_mode;
    RunLeftovers m_leftovers;
    SchedulePlan m_plan;
    bool m_active = false;
    int m_state = kIdle;
    bool m_firstAcquisition = false;
    bool m_calAfterPending = false;
    bool m_acqEndSeen = false;
    int m_received = 0;
    Calibration m_calibration = Calibration::None;
    bool m_inTimer = false;
    // Timers that fell due while a handler waited; they run when it returns.
    std::set<int> m_deferred;
};

// The caption while a run goes on: RUNNING shown and hidden every second.
std::string RunningCaption(const std::string& current, const platform::DateTime& now);

}  // namespace acquisition
