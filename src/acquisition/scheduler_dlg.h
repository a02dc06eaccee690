#pragma once
// The acquisition scheduler ("KX9  SCHEDULER", dialog 378): a plan of unattended monitoring of
// the meter on the monitoring link, checked and activated by START and ended by STOP. One
// object, the application's scheduler's, whose modeless window comes and goes. The form and its
// rules are SchedulerForm's, the checks schedule_checks'; the object runs the handlers, asks
// the operator, queues and writes its commands on the link session, starts and stops the run
// of its plan, sets the session operations going and reaches the rest of the program through
// its SchedulerHost. The run's fields below are what the run of an activated plan works with.

#include <memory>
#include <optional>
#include <string>

#include "acquisition/record_file.h"
#include "acquisition/run_session.h"
#include "acquisition/run_window.h"
#include "acquisition/sample_timebase.h"
#include "acquisition/schedule_checks.h"
#include "acquisition/scheduler_form.h"
#include "acquisition/scheduler_host.h"
#include "acquisition/scheduler_run.h"
#include "platform/date_time.h"
#include "platform/win_types.h"
#include "platform/window_timers.h"
#include "records/record_layout.h"
#include "sound/disk_space_monitor.h"
#include "ui/modeless_window.h"
#include "ui/report_ctrl.h"

class CInstrStatus;
class LinkSession;
class MeterMode;
class QDialog;
struct PortRecord;

namespace acquisition {

class CSchedulerDlg : public ui::ModelessWindow, public RunWindow {
public:
    static constexpr int IDD = 378;
    static constexpr const char* kCaption = "KX9  SCHEDULER";
    // Main view images of the log list's rows.
    static constexpr int kWarningImage = 4;
    static constexpr int kStartImage = 5;
    static constexpr int kPauseImage = 6;

    // What the window uses, none of it owned; the link is built before the window, the run may
    // come after it.
    struct Uses {
        SchedulerHost& host;
        // The monitoring link, which the window's commands are queued on and written to, and
        // its meter mode: START puts it in scheduler mode and sets the channel, STOP and the
        // end of a run take it out.
        LinkSession& link;
        // The run of the plan START activates.
        SchedulerRun& run;
        RunSession& session;
        // The scheduler log, which a run's activation begins anew.
        OperatorNotices& notices;
        // The meter's setup, as last read and as the operator edits it.
        const CInstrStatus& current;
        CInstrStatus& edited;
        // The reference meter's port record and the link's connection type (1: the modem),
        // which the plan's connection lead and checks depend on.
        const PortRecord& referencePort;
        const int& modemLink;
        // The program folder: the record index, the run's file and the audio files.
        const std::string& programFolder;
        // The live recording's page file, which STOP closes, and its timebase, which START
        // gives the plan's schedule times.
        RecordFile& liveFile;
        Timebase& liveTimebase;
    };

    explicit CSchedulerDlg(const Uses& uses);
    ~CSchedulerDlg() override;

    // --- the window: Create builds it (hidden) and runs OnInitDialog
    const std::string& Caption() const override { return m_caption; }

    // --- the operator's handlers; each works on the settings as the controls left them
    // The setup queries, the defaults of the form, the model's rules, the leads.
    void OnInitDialog();
    void OnInstrSetup();
    void OnChannel(records::RecordKind kind);
    void OnContinuousAcquisition();
    void OnDataLogging();
    void OnStopAcqAtPause();
    void OnPowerOffAtPause();
    void OnDownloadLoggedData();
    void OnAudioRecording();
    void OnCalDisabled();
    void OnCalAtDate();
    void OnCalAlways();
    void OnCalIfErrorExceeds();
    // START: the checks, then the activation of a run.
    void OnOK();
    // STOP, and closing the window: a run stops after the operator confirms it.
    void OnCancel();
    void OnClose();

    SchedulerForm& Form() { return m_form; }
    const SchedulerForm& Form() const { return m_form; }
    ScheduleSettings& Settings() { return m_form.Settings(); }
    const ScheduleSettings& Settings() const { return m_form.Settings(); }

    // --- what the frame's reply handling and the run use
    // The log list: a line as the log wrote it, with its image.
    void AddLogRow(const std::string& line);
    const ui::CReportCtrl& LogList() const { return m_LogList; }
    // "Instr. Power Off at monitor pause": also at the end of the final download.
    bool IsPowerOffAfterDownload() const { return Settings().powerOffAtPause; }
    // The lengths of an acquisition and of a repetition of the activated plan; invalid before
    // a START and for continuous acquisitions.
    records::ScheduleTime AcquisitionTime() const;
    records::ScheduleTime RepetitionTime() const;
    // The start of the record file of the run's first acquisition.
    void SetStartTimeText(const std::string& text) { m_strStartTimeText = text; }
    const std::string& StartTimeText() const { return m_strStartTimeText; }
    // "Confirm Calibration" for the electric calibration of a run.
    int ConfirmMode() const { return Settings().confirmMode; }
    const std::string& CalibrationThreshold() const { return Settings().threshold; }
    // The settings enabled again as after STOP, START enabled and STOP disabled.
    void EnableScheduleControls();
    // Ends monitoring between acquisitions and closes the link (the run's state idle,
    // "Connection OFF").
    void StopMonitoring();
    // The finished or stopped run's file shown in the main view.
    void OpenSchedulerFile();
    // A run ended: its record index copied to "Scheduler.kr9", the main view emptied and that
    // file opened in it. A copy that fails is logged, told by EndRun, and opens nothing, so that
    // an earlier run's file is never shown as this one.
    void ShowRunResult() override;
    // The run's end: the settings enabled again, then EndRun.
    void OnRunEnded() override;
    // A run is over: the running flag and the run's timers gone, the caption plain, and the
    // frame out of scheduler mode, so that its questions are asked again.
    void EndRun();

    // The running caption, shown and hidden once a second while a run goes on.
    void SetCaption(const std::string& caption) override;

    // Audio is recorded during a run while set; minutes of audio the free disk space allowed
    // when it was last measured.
    BOOL m_bAudioRecordingSwitch = FALSE;
    int m_nAvailableRecMinutes = 0;

    // --- the plan of the run: what START composed, which SchedulerRun carries out
    SchedulePlan Plan() const;
    int m_nExpected = -1;
    platform::DateTime m_NextStart;
    platform::DateTime m_Stop;
    PickerSpan m_AcqSpan;
    PickerSpan m_RepSpan;
    long long m_ConnSpan = 60;
    platform::DateTime m_CalDate;
    PickerSpan m_CalInterval;
    long long m_CalSpan = kCalibrationLead;

private:
    StartSetup ReadStartSetup() const;
    StartLink ReadLink() const;
    void TakeTimes(const ScheduleTimes& times);
    void Activate();
    // The operator agreed to stop the run (STOP, or closing the window).
    bool ConfirmStop();
    // The meter stops acquiring (and datalogging) as a stopped run leaves it.
    void StopMeterAcquisition();
    // Removes the wave files that "AudioFileList.txt" names, and the list, once the operator
    // agreed; only "Audio_*.wav" files of the program folder go.
    void DeleteEarlierAudioFiles();
    // Copies a file of the program folder over another; why it could not, or none.
    std::optional<std::string> CopyProgramFile(const char* from, const char* to) const;

    // The window: built, shown from the form, read back into the settings.
    ui::HookedDialog::Hooks WindowHooks() override;
    void BuildWindow(QDialog& dialog) override;
    void ShowForm();
    void TakeControls();
    // A click: the controls into the settings, the handler, the form shown.
    void Handle(void (CSchedulerDlg::*handler)());

    // A command of the command table queued without arguments.
    void Queue(int code);

    Uses m_uses;
    SchedulerHost& m_host;
    MeterMode& m_mode;
    SchedulerForm m_form;
    ui::CReportCtrl m_LogList;
    sound::CNGDiskSpaceMonitor m_DiskSpaceMonitor;
    std::string m_strStartTimeText;
    std::string m_caption = kCaption;
    // The end of the run's copy to "Scheduler.kr9" that failed, until EndRun tells it.
    std::optional<std::string> m_resultNotCopied;
};

// The log list's image for a line as the log wrote it: 4 warnings, 5 starts ("Start
// Monitoring" on a time-stamped line, "Start" on a bare one), 6 pauses and stops (a later rule
// wins); -1 none.
int SchedulerLogImage(const std::string& line);

}  // namespace acquisition
