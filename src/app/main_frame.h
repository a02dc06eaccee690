#pragma once
// The main frame: owner of the frame timers and of what every reply of the meter means. The
// conversation with the meter (queue, resends, time-outs, ports) is its link session's
// (m_link); the frame is the session's host and hands each reply to its handler. The rest of
// the program hangs on parts the frame owns and wires, each with its own state: the bench, the
// workflow and maintenance commands, the data files, the scheduler, the chart windows, the web
// service, the boxes and the commands. It is no widget: its window, when one exists, shows
// what FrameUi is told.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "acquisition/dump_decoder.h"
#include "acquisition/live_recorder.h"
#include "acquisition/record_file.h"
#include "acquisition/recording.h"
#include "app/frame_dump_host.h"
#include "app/frame_link_host.h"
#include "app/frame_live_recorder_host.h"
#include "app/frame_ui.h"
#include "link/command.h"
#include "link/follow_up.h"
#include "link/link_clock.h"
#include "link/link_session.h"
#include "link/setup_value_replies.h"
#include "platform/date_time.h"
#include "platform/win_types.h"
#include "platform/window_timers.h"
#include "records/record_layout.h"

#include "app/chart_windows.h"
#include "app/frame_bench.h"
#include "app/frame_boxes.h"
#include "app/frame_commands.h"
#include "app/frame_data_files.h"
#include "app/frame_scheduler.h"
#include "app/frame_setup_host.h"
#include "app/frame_ui_adapter.h"
#include "app/frame_web.h"
#include "app/kx9monitor_app.h"
#include "app/main_frame_window.h"
#include "app/maintenance_commands.h"
#include "app/verification_workflow.h"
#include "app/workflow_steps.h"
#include "sound/audio_file_list.h"

class CInstrStatus;
class CKX9MonitorView;

class CMainFrame {
    // First: the frame's link fields below refer into the session.
    FrameLinkHost m_linkHost{*this};
    // The link's clock: the program's own unless the frame was given one.
    ProgramLinkClock m_ownLinkClock{&TheApp().m_bAbortWait};
    LinkClock& m_linkClock;
    LinkSession m_link{m_linkHost, m_linkClock};
    // The memory dump's decoder, run by the link port's listener during a download.
    FrameDumpHost m_dumpHost{*this};
    acquisition::DumpDecoder m_dumpDecoder{*m_link.SharedState(), m_dumpHost};

public:
    // Timers 0 and 1, the send tick and the reply time-out, are the link session's.
    enum TimerId {
        kDownloadProgress = 4,
        kRecordingBlink = 6,
        kFirmwareUpgrade = 8,
        kStatusPoll = 9,
        kReportTrim = 12,
        kIntegrationEnd = 13,
        kInstrumentClock = 14,
        kCalibExpiryUpdate = 16,
        kReportValidation = 17,
    };
    // The status poll's interval (timer 9) while nothing faster is needed, the recording
    // mark's blink (timer 6) and the pause before a request to the web service.
    static constexpr unsigned kStatusPollMs = 60000;
    static constexpr unsigned kRecordingBlinkMs = 1000;
    static constexpr unsigned kServerPauseMs = 1000;
    // A page ended: timer 12 cuts the report list back to the new page's rows in small steps,
    // so that the records that go on arriving are never held up for long.
    static constexpr unsigned kReportTrimTickMs = 20;
    static constexpr int kStatusPane = 1;
    // Screen-state replies answered with key presses in a row before the frame stops trying
    // to reach the measurement screen: a meter stuck on one screen would keep the link busy.
    static constexpr int kMaxDisplayRounds = 50;

    // `linkClock` (not owned; nullptr: the program's clock) times the link's waits and timers,
    // `schedulerClock` likewise the scheduler run's: tests pace them to a simulated meter.
    explicit CMainFrame(LinkClock* linkClock = nullptr, LinkClock* schedulerClock = nullptr);
    ~CMainFrame();
    CMainFrame(const CMainFrame&) = delete;
    CMainFrame& operator=(const CMainFrame&) = delete;

    // Not owned; nullptr restores the frame's own do-nothing ones.
    void SetUi(FrameUi* ui) { m_pUi = ui ? ui : &m_ownUi; }
    FrameUi& Ui() const { return *m_pUi; }

    LinkSession& Link() { return m_link; }
    const LinkSession& Link() const { return m_link; }
    acquisition::DumpDecoder& DumpDecoder() { return m_dumpDecoder; }

    // --- the link (the session's; callers all over the program reach it through the frame)
    void SendCommand(int code, const std::string& arg1, const std::string& arg2, int param = -1,
                     BOOL bUrgent = FALSE) {
        m_link.SendCommand(code, arg1, arg2, param, bUrgent);
    }
    // The end of a monitoring run: the run's timers and flags, the link closed, the title.
    void Disconnect();
    // Disconnect without closing the live page file: between two acquisitions of a scheduler
    // run, whose records go on in the same file.
    void CloseMonitoringLink();

    // --- window timers (program milliseconds); the send tick and the reply time-out are the
    // link session's
    void SetTimer(int id, unsigned ms) {
        m_timers.Set(id, ms);
        m_timerIntervals[id] = ms;
    }
    void KillTimer(int id) { m_timers.Kill(id); }
    bool IsTimerSet(int id) const { return m_timers.IsSet(id); }
    // The interval the timer was last armed with; 0 when never.
    unsigned TimerInterval(int id) const;
    void OnTimer(int id);

    // --- the instrument setup: the sheet after a whole read, and sending the changed values
    void OnSetupInstrument();
    void QueueSetupCommands();

    // --- live records go to m_liveRecorder
    // The monitoring options (CSelCHMonitorDlg): the channel mode, and the page size chosen.
    void ShowMonitoringOptions();

    // --- the session operations on the monitoring link (main_frame_session.cpp)
    // Switches the meter's monitoring off and ends the run (Disconnect).
    void StopMonitoring();
    // Queues the read of the whole setup of the current model; the last reply opens the sheet.
    void QueueSetupQueries();
    // Ends a live run when one runs; otherwise empties the current data (asking whether to save
    // them first) and queues the identification and setup queries of a new session.
    void StartNewSession();
    // Opens the guided electric calibration and queues the states it starts from.
    void StartElectricCalibration();
    // Creates the dump file with its header and starts a download of the meter's memory; false
    // when the file could not be made (said in a box, or in the log in scheduler mode).
    bool OpenDumpFile();
    // Ends the audio recording of a session: its line goes to "AudioFileList.txt".
    void StopAudioRecordingLog();

    // The running audio recording, as its list line will tell it.
    sound::AudioRecordingEntry m_AudioRecording;

    // --- the logs
    void LogScheduler(BOOL restart, const std::string& text, BOOL stamp) {
        m_scheduler.Log(restart, text, stamp);
    }
    // A warning that goes to the scheduler log in scheduler mode, to a box otherwise.
    void Warn(const std::string& text, unsigned type, const std::string& schedulerText = {});

    // "KX9Monitor <model> - <serial number>" of the current setup.
    std::string NormalTitle() const;

    // --- the frame's state
    // What the program is doing with the meter: the link session's, shared with the scheduler,
    // the live recorder, the setup and the maintenance commands.
    MeterMode& Mode() { return m_link.Mode(); }

    // The meter's setup as the record files keep it (a data file's, once one is opened), and
    // its clock as last read.
    records::SetupBlock m_SetupBlock;
    platform::DateTime m_dtInstrument;

    // The live recording: its page file, its records and the current page's start time.
    acquisition::RecordFile m_RecFile;
    int m_nRecordCount = 0;
    std::string m_strPageTime;
    // The recording the view's lists and graphs show, live or loaded: its pages, segments,
    // selection and timebase.
    acquisition::Recording m_recording;
    // The value table's replies, which fill the setup records and the block.
    SetupValueReplies m_setupValues{
        TheApp().m_InstrStatus, TheApp().m_EditStatus,
        [this](int field, const std::string& text) { m_SetupBlock.SetField(field, text); }};

    int m_nElapsedSeconds = 0;
    int m_nDownloadFile = 0;
    int m_nDownloadLine = 0;
    BOOL m_bTrimBlocked = FALSE;

private:
    friend class FrameLinkHost;
    friend class FrameDumpHost;
    // What the link session hands over (FrameLinkHost).
    void OnQueueEmpty();
    bool OnLiveRecord(const std::string& record);
    // A reply that no command awaits after a run ended: dropped, the first one logged.
    bool TakeRunLeftover();
    void OnWrongState(const CCommand& command);
    void OnRefusedOrEmptyReply(const CCommand& command, bool refused);
    void OnCommandTimedOut(const CCommand& command);
    void OnSerialAlarm(const LinkAlarm& alarm);

    void AbortSetupRead(int code);
    // A download whose command went unanswered: the dump marked incomplete, the meter told.
    void EndInterruptedDownload();
    void OnDownloadProgressTimer();
    void OnRecordingBlinkTimer();
    void OnStatusPollTimer();
    void OnReportTrimTimer();
    void OnIntegrationEndTimer();
    void OnInstrumentClockTimer();
    void OnReportValidationTimer();

    // The replies' owners registered with the link's router (constructor): the frame's
    // handlers, by kind of reply, and the value table's and the maintenance side's.
    void RegisterReplies();
    void RegisterIdentityReplies(ReplyRouter& router);
    void RegisterStateReplies(ReplyRouter& router);
    void RegisterRecordingReplies(ReplyRouter& router);
    void OnAcquisitionStateReply(const std::string& reply);
    void OnDisplayStateReply(const std::string& reply);
    void OnMonitorStateReply(const std::string& reply);
    void OnDisplayReply(const std::string& reply);
    void StartRecordFile(const std::string& reply);
    void OnDumpOnReply(const std::string& reply);
    void OnDumpOffReply();
    void EndScheduledDownload();
    // The setup wait box's end: its timer stopped, its bar full for a moment, then gone.
    void CloseSetupWaitBox();
    void AppendInstrStatusText(const std::string& text);
    bool Confirm(const std::string& question);
    CInstrStatus& Current() const;
    CInstrStatus& Edited() const;

    // A plain wait: nothing else runs meanwhile, so no handler is entered again.
    void Wait(unsigned ms);
    // The application's message-pumping wait.
    void WaitWithMessages(unsigned ms);
    // A live run ends: its file closed, monitoring confirmed off, the audio recording ended.
    void EndLiveRun();
    // The main view, its graphs and charts and the frame's floating windows lose the data of
    // the last session.
    void EmptyViewForNewSession();

    platform::WindowTimers m_timers{[this](int id) { OnTimer(id); }};
    FrameUi m_ownUi;
    FrameUi* m_pUi = &m_ownUi;
    std::map<int, unsigned> m_timerIntervals;

    // ===================================================================================
    // The frame's window and its start-up job (main_frame_startup.cpp), its exit
    // (main_frame_exit.cpp), and the parts of the program it owns and wires, each with the
    // state it alone uses.
public:
    static constexpr const char* kWindowTitle = "KX9Monitor";
    static constexpr const char* kExitCaption = "QS4060KRTN_VP";

    // The frame's creation: builds the window with the status bar and the view, then runs
    // the start-up job. -1 when the window could not be built.
    int OnCreate();
    // The window with its status bar and the view, hidden (the first step of OnCreate).
    BOOL CreateFrameWindow();
    CMainFrameWindow* Window() const { return m_window.Get(); }
    CKX9MonitorView* View() const;

    // WM_CLOSE: asks, refuses while a verification runs, then exits.
    void OnClose();
    // "&Esci": releases the ports and the command queue, destroys view and window, quits.
    void OnAppExit();

    FrameBoxes& Boxes() { return m_boxes; }
    FrameWeb& Web() { return m_web; }
    FrameBench& Bench() { return m_bench; }
    VerificationWorkflow& Verification() { return m_verification; }
    MaintenanceCommands& Maintenance() { return m_maintenance; }
    FrameCommands& Commands() { return m_commands; }
    FrameDataFiles& DataFiles() { return m_data; }
    FrameScheduler& Scheduler() { return m_scheduler; }
    ChartWindows& Charts() { return m_charts; }

    // What the "Setup Instrument" sheet needs of the program.
    FrameSetupHost m_setupHost{*this};
    FrameLiveRecorderHost m_liveRecorderHost{*this};
    acquisition::LiveRecorder m_liveRecorder{m_liveRecorderHost, m_RecFile, m_recording,
                                             m_link.Mode(), m_SetupBlock};

private:
    friend class FrameAcquisitionHost;
    friend class FrameScheduler;
    friend class FrameLiveRecorderHost;

    // Connects the parts above to each other and to the frame (constructor).
    void WireFrameParts();

    // The small boxes and the please-wait box.
    FrameBoxes m_boxes;
    // The web service, the local databases, the technician and the instrument log.
    FrameWeb m_web{m_boxes.PleaseWait(), [this] { return m_bench.Instruments().target.serial; }};
    // The bench window, the calibration-expiry dialog and the bench's two meters.
    FrameBench m_bench{*this, {m_link.Direct(), m_web.Databases(), m_boxes.PleaseWait()}};
    // The workflow commands' shared steps, one command at a time, and the commands.
    WorkflowSteps m_workflow{*this};
    VerificationWorkflow m_verification{*this, m_workflow};
    MaintenanceCommands m_maintenance{*this, m_workflow};
    // The menu, the command table and the hot keys.
    FrameCommands m_commands{*this};
    // The data files of the recording the view shows, the navigator and the audio labels.
    FrameDataFiles m_data{*this, m_recording, m_SetupBlock};
    // The scheduler window, its run and its log.
    FrameScheduler m_scheduler;
    // The legend, the 3-D settings, the "Spectrum" windows and the equal-loudness contour.
    ChartWindows m_charts{*this, m_recording};

    FrameWindowUi m_windowUi{*this, m_boxes};
    // Last: the window and the view in it go first.
    FrameWindowHolder m_window;
};
