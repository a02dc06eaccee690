#pragma once
// The main frame: owner of the frame timers and of what every reply of the meter means. The
// conversation with the meter (queue, resends, time-outs, ports) is its link session's
// (m_link); the frame is the session's host and hands each reply to its handler. It is no
// widget: its window, when one exists, shows what FrameUi is told.

#include <cstdint>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "acquisition/data_file_reader.h"
#include "acquisition/dump_decoder.h"
#include "acquisition/live_recorder.h"
#include "acquisition/loose_data_dlg.h"
#include "acquisition/record_file.h"
#include "acquisition/record_layout.h"
#include "acquisition/recording.h"
#include "acquisition/scheduler_dlg.h"
#include "acquisition/scheduler_log.h"
#include "acquisition/scheduler_run.h"
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

class CInstrStatus;
// The window, the start-up job, the menus, the member dialogs and the web service.
#include "app/cmd_ui.h"
#include "app/dialogs/download_status_dlg.h"
#include "app/dialogs/notice_dlgs.h"
#include "app/dialogs/try_conn_dlg.h"
#include "app/dialogs/view_instr_status_dlg.h"
#include "app/dialogs/wait_get_status_dlg.h"
#include "app/frame_acquisition_host.h"
#include "app/frame_bench_host.h"
#include "app/frame_charts_host.h"
#include "app/frame_data_view_commands.h"
#include "app/frame_maintenance_host.h"
#include "app/frame_scheduler_host.h"
#include "app/frame_scheduler_run_host.h"
#include "app/frame_setup_host.h"
#include "app/frame_spectrum_host.h"
#include "app/frame_ui_adapter.h"
#include "app/kx9monitor_app.h"
#include "app/main_frame_window.h"
#include "app/run_leftovers.h"
#include "app/server_startup_host.h"
#include "app/workflow_guard.h"
#include "charts/demo_dlg.h"
#include "charts/equal_loudness.h"
#include "charts/graph_legend_dlg.h"
#include "charts/setup_3d_graph_dlg.h"
#include "maintenance/electric_calibration_dlg.h"
#include "maintenance/fono_config_dlg.h"
#include "maintenance/mic_calib_dlg.h"
#include "report/instr_log.h"
#include "sound/audio_file_list.h"
#include "sound/label_audio_dlg.h"
#include "ui/bc_menu.h"
#include "ui/x_status_bar.h"
#include "verification/sound_dlg.h"
#include "web/instrument_booking.h"
#include "web/server_databases.h"
#include "web/technician_account.h"
#include "web/web_client.h"

class CKX9MonitorView;
class ConnectEscapeWatch;
struct SerialPortInfo;
class QMenu;
struct PortRecord;

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

    // --- the web service and the logs
    // The calibration-expiry update of the connected meter (main_frame_calib_expiry.cpp).
    void OnUpdateCalibExpiry();
    std::string HttpSendMail(const std::string& address, const std::string& subject,
                             const std::string& text);
    void UploadLogFile(const std::string& path);
    void LogScheduler(BOOL restart, const std::string& text, BOOL stamp);

    // "KX9Monitor <model> - <serial number>" of the current setup.
    std::string NormalTitle() const;

    // --- the frame's state
    // What the program is doing with the meter: the link session's, shared with the scheduler,
    // the live recorder, the setup and the maintenance commands.
    MeterMode& Mode() { return m_link.Mode(); }

    // The meter's setup as the record files keep it (a data file's, once one is opened), and
    // its clock as last read.
    acquisition::SetupBlock m_SetupBlock;
    // The value table's replies, which fill the setup records and the block.
    SetupValueReplies m_setupValues{
        TheApp().m_InstrStatus, TheApp().m_EditStatus,
        [this](int field, const std::string& text) { m_SetupBlock.SetField(field, text); }};
    platform::DateTime m_dtInstrument;

    // The live recording: its page file, its records and the current page's start time.
    acquisition::RecordFile m_RecFile;
    int m_nRecordCount = 0;
    std::string m_strPageTime;
    // The recording the view's lists and graphs show, live or loaded: its pages, segments,
    // selection and timebase.
    acquisition::Recording m_recording;

    int m_nElapsedSeconds = 0;
    int m_nDownloadFile = 0;
    int m_nDownloadLine = 0;
    BOOL m_bTrimBlocked = FALSE;

    std::string m_strTargetSerial;
    std::string m_strRefSerial;
    // The rest of the identity of the instrument under test (its connect routine writes them).
    std::string m_strTargetModel;
    std::string m_strTargetFirmware;
    std::string m_strTargetMicModel;
    std::string m_strTargetMicSerial;

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
    void OnFirmwareUpgradeTimer();
    void FinishFirmwareUpgrade(const std::string& subject, const std::string& message);
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

    // A warning that goes to the scheduler log in scheduler mode, to a box otherwise.
    void Warn(const std::string& text, unsigned type, const std::string& schedulerText = {});
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
    // The frame's window, its start-up job, menus, hot keys, exit, member dialogs and web
    // service (main_frame_startup.cpp, main_frame_exit.cpp, main_frame_menu.cpp,
    // main_frame_commands.cpp).
public:
    static constexpr const char* kWindowTitle = "KX9Monitor";
    static constexpr const char* kExitCaption = "QS4060KRTN_VP";

    // What creating the frame does: builds its window (hidden) and runs OnCreate. FALSE when
    // the window could not be built.
    BOOL LoadFrame();
    // The frame's creation: builds the window with the status bar and the view, then runs
    // the start-up job. -1 when the window could not be built.
    int OnCreate();
    // The window with its status bar and the view, hidden (the first step of OnCreate).
    BOOL CreateFrameWindow();
    CMainFrameWindow* Window() const { return m_window.Get(); }
    CKX9MonitorView* View() const;
    void ShowMaximized();

    // WM_CLOSE: asks, refuses while a verification runs, then exits.
    void OnClose();
    // "&Esci": releases the ports and the command queue, destroys view and window, quits.
    void OnAppExit();
    // Alt+R, Alt+D and Alt+L (Qt key codes); true when the key was the frame's.
    bool PreTranslateHotKey(int key);

    // The image menu with the tool bar's images; the caller takes the Qt menu.
    QMenu* NewMenu();
    // The window shows the menu on its bar and keeps it.
    void SetMenu(QMenu* menu);
    // A menu or tool-bar command; false when the frame has none of that id.
    bool OnCommand(unsigned id);
    // The command's update handler; false when it has none.
    bool OnUpdateCommandUi(CCmdUI& cmdUi);
    // Runs every update handler into the image menu.
    void UpdateMenu();

    // --- commands of the menu
    void OnFileOpen();
    void OnUpdateFileOpen(CCmdUI& cmdUi);
    void OnEditReportHeader();
    void OnUpdateReportUI(CCmdUI& cmdUi);
    void OnUpdateExitUI(CCmdUI& cmdUi);
    void OnNewVerification();
    void OnContinueVerification();
    void OnConnectionSettings();
    void OnUpdateDatabases();
    void OnBookInstruments();
    void OnReplaceMicrophone();
    void OnSoftwareUpdate();
    void OnFirmwareUpgrade();
    void OnAudioCardSettings();
    void OnSave();
    void OnUpdateSaveUI(CCmdUI& cmdUi);
    void OnUpdateToolbar32964UI(CCmdUI& cmdUi);
    void On3DGraphProperties();
    void OnViewCrossReference();
    void OnView3DGraph();

    // --- the maintenance of the instrument under test (main_frame_maintenance.cpp)
    // Downloads the firmware the entry names and the writer, and starts the writer; its end
    // is timer 8's. FALSE, after a message, when the update stopped before the writer ran.
    BOOL RunFirmwareUpgrade(const std::string& entry);
    // The window of the meter's guided programs: created on first use, `routine` started
    // afresh, shown. The routine reads the meter's screens itself, so the display-state
    // check that answers a program's screens with key presses is switched off.
    void OpenElectricCalibrationDlg(int routine);

    // The frame's display-mode word: the view sets it to 0 when first shown, nothing to 3;
    // the 3-D properties command is enabled only at 3.
    int m_nDisplayMode = 0;

    // --- the bench window, the connect routines and the software update (main_frame_bench.cpp)
    // 0 when no program update was started.
    int CheckSoftwareUpdate(int askUser, int verbose);
    BOOL ConnectInstrumentUnderTest();
    BOOL ConnectReferenceInstrument();
    BOOL IsBenchWindowCreated() const;
    BOOL IsVerificationRunning() const;
    void DestroyBenchWindow();
    // Alt+D: the bench shows its debug control while the flag is set.
    void SwapBenchDebugControls(BOOL debug);

    // --- the verification workflow: starting and continuing a verification
    // (main_frame_verification.cpp), validating its report (main_frame_validation.cpp), and the
    // verification files (main_frame_report.cpp)
    // "Validazione Rapporto", also frame timer 17 after a complete run.
    void OnValidateReport();
    // Checks the file's seal and shows its report in the view's report list; sets the verdict
    // below and makes the file the current one. FALSE, after a message, when the file is
    // refused.
    BOOL LoadReport(const std::string& path);
    // The verification data sheet of the instrument whose serial number just arrived.
    void ShowInstrInfoDlg();

    // The current report's verdict; LoadReport sets them, and the bench as its tests end.
    int m_bReportComplete = 0;
    int m_bReportPositive = 0;
    // Set by LoadReport for a report of the associated calibrator alone; cleared only by
    // OnNewVerification.
    BYTE m_bCalibratorOnlyReport = 0;
    // The laboratory data of the technician check of a new verification.
    web::TechnicianLookup m_technicianData;

    BOOL HasReportRows() const;

    // The tool-bar commands on the loaded data.
    CFrameDataViewCommands m_dataViewCommands{*this};
    // What the "Setup Instrument" sheet needs of the program.
    FrameSetupHost m_setupHost{*this};

    // --- data files and the scheduler log (main_frame_data_files.cpp)
    // A data file chosen by the operator or named on the command line.
    void OpenSessionFile(const std::string& path);
    // Page `page` of the data file at `path` into the data buffer, with its labels.
    int OpenDataFile(const std::string& path, int first, int page);
    // The label table written beside the current data file.
    void SaveLabelFile();
    // "Save on File" (CSelFileToSaveDlg) on the current recording; the data are saved once
    // chosen pages were saved. False when the operator cancelled it.
    bool RunSaveDialog();
    // The audio-label window as a page click leaves it: made when missing, else its list
    // refreshed and shown while the labels hold audio labels.
    void UpdateAudioLabelWindow();
    // Makes the audio-label window when missing, refreshes it and shows it or hides it.
    void ShowAudioLabels(bool hasAudioLabels);
    // The spectrum navigator opened (made when missing), or hidden when it exists.
    void ShowNavigator(bool show);

    acquisition::SchedulerLog m_schedulerLog{TheApp().m_strProgramDir};
    FrameAcquisitionHost m_acquisitionHost{*this};
    acquisition::DataFileReader m_dataFiles{m_acquisitionHost, m_recording, m_SetupBlock};
    FrameLiveRecorderHost m_liveRecorderHost{*this};
    acquisition::LiveRecorder m_liveRecorder{m_liveRecorderHost, m_RecFile, m_recording,
                                             m_link.Mode(), m_SetupBlock};
    acquisition::CLooseDataDlg m_LooseDataDlg;
    acquisition::CNavigatorDlg m_NavigatorDlg{m_acquisitionHost};
    sound::CLabelAudioDlg m_LabelAudioDlg{m_acquisitionHost};

    // --- the scheduler's run (main_frame_scheduler_run.cpp)
    // The run's record index copied to "Scheduler.kr9", which the main view then shows.
    void ShowSchedulerResult();

    FrameSchedulerRunHost m_schedulerRunHost{*this};
    ProgramLinkClock m_ownSchedulerClock;
    LinkClock& m_schedulerClock;
    acquisition::SchedulerRun m_schedulerRun{m_schedulerRunHost, m_schedulerClock, m_link.Mode()};
    // Begun when a run ends; the link's next opening ends it.
    RunLeftovers m_runLeftovers;

    // --- charts (main_frame_charts.cpp)
    // The equal-loudness contour through the chosen band of spectrum record `record` of the
    // loaded data, or of a report row's level text ("heading\tlevel\r\n" per band), in the
    // view's edition; the half-band shift of the current setup picks the shifted thresholds.
    void ComputeIsophoneForBand(int record);
    void ComputeIsophoneForLevels(const std::string& text);
    // The same of a live spectrum's levels in dB.
    void ComputeIsophoneForLevels(std::span<const float> levels);
    // Shows the graph legend again when it was created.
    void ShowGraphLegend();
    // The "Spectrum" window of the loaded data: made on first use, given every spectrum of
    // the loaded page and shown (command ID_VIEW_3DGRAPH).
    void ShowLoadedSpectra();
    // A spectrum page was loaded: the window of the loaded data, when there is one, shows it.
    void ReloadLoadedSpectra();
    void HideDemoWindows();

    // The chosen band and the last equal-loudness contour.
    charts::IsophoneContour m_Isophone;
    // Before the dialogs that use it.
    FrameChartsHost m_chartsHost{*this};
    charts::CGraphLegendDlg m_GraphLegendDlg{m_chartsHost};
    charts::CSetup3DGraphDlg m_Setup3DGraphDlg{m_chartsHost};
    // The two "Spectrum" windows, fed by live monitoring and by the loaded data; the live one
    // replays into the other.
    FrameSpectrumHost m_spectrumHost{*this};
    charts::CDemoDlg m_LiveDemoDlg{m_spectrumHost, m_link.Mode(), &m_DemoDlg};
    charts::CDemoDlg m_DemoDlg{m_spectrumHost, m_link.Mode()};

    ui::XStatusBar m_wndStatusBar;

    // The web service, the local databases and the technician.
    web::WebClient m_web;
    web::ServerDatabases m_databases{m_web, TheApp().m_strProgramDir};
    web::TechnicianAccount m_technician{m_databases,
                                        {TheApp().m_strTechnicianId, TheApp().m_strTechnicianRecord,
                                         TheApp().m_bTechnicianChecked}};
    web::InstrumentBooking m_booking{m_databases};
    ServerStartupHost m_startupHost{m_databases};
    InstrLog m_instrLog{TheApp().m_strProgramDir, [this] { return m_strTargetSerial; },
                        [this](const std::string& path) { m_web.UploadLogFile(path); }};

    CDownloadStatusDlg m_DownloadStatusDlg;
    CWaitGetStatusDlg m_WaitGetStatusDlg;
    CWaitElabInfoDlg m_WaitElabInfoDlg;
    CWaitExportingToExcelDlg m_WaitExportingToExcelDlg;
    CWaitInstrRebootDlg m_WaitInstrRebootDlg;
    CTryConnDlg m_TryConnDlg;
    CExportToExcelDlg m_ExportToExcelDlg;
    CViewInstrStatusDlg m_ViewInstrStatusDlg;
    CViewSchedLoggingDlg m_ViewSchedLoggingDlg;
    CBattWarningDlg m_BattWarningDlg;
    // Before the dialogs that use it.
    FrameBenchHost m_benchHost{*this};
    CSoundDlg m_SoundDlg{m_benchHost};
    CFonoConfigDlg m_FonoConfigDlg{m_benchHost};
    FrameMaintenanceHost m_maintenanceHost{*this};
    CMicCalibDlg m_MicCalibDlg{m_maintenanceHost};
    CElectricCalibrationDlg m_ElectricCalibrationDlg{m_maintenanceHost, m_link.Mode()};

    // --- the acquisition scheduler (main_frame_scheduler.cpp)
    // Connects the monitoring link for a scheduled acquisition: the port of "port.ini",
    // directly or through the modem, verified by the identification probe. One of the
    // kScheduler... results.
    int ConnectForScheduler();
    static constexpr int kSchedulerConnected = 1;
    static constexpr int kSchedulerNotAnswering = 0;
    // The port could not be opened or the modem call not made: another try is no use now.
    static constexpr int kSchedulerLinkFailed = -1;
    // The main view emptied of the last run's data, and the run's file "Scheduler.kr9" opened.
    void ResetViewForScheduler();
    void OpenSchedulerFile();

    FrameSchedulerHost m_schedulerHost{*this};
    acquisition::CSchedulerDlg m_SchedulerDlg{m_schedulerHost, m_link.Mode()};

    // The login's authorised-technician flag.
    int m_nLoginResult = 0;

    ui::BCMenu m_menu;

private:
    friend class FrameAcquisitionHost;
    friend class FrameBenchHost;
    friend class FrameLiveRecorderHost;
    friend class FrameMaintenanceHost;

    // Connects the parts above to each other and to the frame (constructor).
    void WireFrameParts();
    void SetUpStatusBar();
    void RunStartupJob();
    void DestroyTryConnBox();
    void CloseTargetPort();
    // The black list holds the instrument under test or the connected reference meter.
    bool IsCalibExpiryBlocked();
    // The technician step of the workflow commands: the code form when no technician is known
    // yet, which sets the code and the title; false when it was not confirmed. With `lookup`, a
    // code entered there is also checked against the technician database into it.
    bool EnsureTechnician(web::TechnicianLookup* lookup);
    // Arms the queued link on the instrument under test's port: empty queue, send tick running.
    void ArmQueuedLink();
    // The bench window's key alignment of the instrument under test, the window created
    // hidden when it has none. False, after the log line and the box, when the keys could not
    // be aligned; the port of the instrument under test is closed then.
    bool AlignTargetKeysOnBench();
    // The technician step of the maintenance commands: the code form when no code is known,
    // then always the check against the technician database into `lookup`. False, after the
    // command's `refusal` for a technician the check did not find, when the command ends.
    bool CheckMaintenanceTechnician(const std::string& refusal, web::TechnicianLookup& lookup);
    // The technician code, the check's seven outputs and the serial number of the instrument
    // under test, joined by ";".
    std::string TechnicianRecord(const web::TechnicianLookup& lookup) const;
    // The report that validation sends, stored beside the file and opened (OnValidateReport).
    void UploadAndOpenReport(const std::string& vpgPath);
    // The customer keys of a continued verification's file into the bench window.
    void TakeResumeKeys(const std::string& path);

    WorkflowGuard m_workflow;

    FrameWindowUi m_windowUi{*this};
    TryConnFeedback m_tryConnFeedback{m_TryConnDlg};
    // Last: the window and the view in it go first.
    FrameWindowHolder m_window;

    // ===================================================================================
    // Connecting to a meter and the modem link (main_frame_connect.cpp, main_frame_modem.cpp).
    // Both connects make the view's reference port the link and open it; the mode's link flag
    // tells whether a meter answered on it.
public:
    // Searches the PC's serial ports, and the rates of the USB ones, for a meter.
    void ConnectInstrument();
    // The reference port record's port and rate.
    void ConnectInstrumentPort();
    // Checks the local modem on the open link port and dials CKX9MonitorApp::m_strModemNumber;
    // a modem_link::DialResult.
    int DialModem();
    // Ends the modem call on the link port when the link goes through a modem.
    void HangUpModem();

private:
    // Makes the reference port the link and opens it for a new conversation: an ended run's
    // leftovers are no longer drained. 0, or the port's error.
    int OpenReferenceLink(const std::string& device);
    enum class PortSearchStep { NextPort, Verified, Stop };
    PortSearchStep SearchPlainPort(const SerialPortInfo& info);
    PortSearchStep SearchUsbPort(const SerialPortInfo& info, ConnectEscapeWatch& escape);
    // The identification probe on the open link port.
    bool ProbeMeter(const std::string& deviceName, unsigned replyWait);
    void OnMeterVerified(const char* logText, const char* tooLowText);
    void ShowConnectingText(const std::string& text);
    void HideConnectingBox();
    // The baud-rate setting of the current and the edited setup.
    void SetBaudSetting(const std::string& text);
    void ShowConnectionError(const char* paneText);
    // A box, or a time-stamped scheduler log line in scheduler mode.
    void ConnectWarn(const std::string& text, unsigned type, const std::string& logText);
};
