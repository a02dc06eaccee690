#pragma once
// The main frame: the owner of the link session, the frame timers and the parts of the program,
// which it builds in the order they use each other, each handed what it uses. The conversation
// with the meter (queue, resends, time-outs, ports) is the link session's (m_link); what the
// link's events mean is its host's (FrameLinkHost), and each reply goes to the part that
// registered for its code: the setup transfer, the state replies, the live monitoring, the
// memory download, the scheduler and the maintenance side. It is no widget: its window, when
// one exists, shows what FrameUi is told.

#include <memory>
#include <string>

#include "acquisition/dump_decoder.h"
#include "acquisition/record_file.h"
#include "acquisition/recording.h"
#include "app/frame_dump_host.h"
#include "app/frame_link_host.h"
#include "app/frame_notices.h"
#include "app/frame_timers.h"
#include "app/main_frame_window.h"
#include "app/view_lookup.h"
#include "app/view_page_list.h"
#include "app/view_uses.h"
#include "link/link_clock.h"
#include "link/link_session.h"
#include "platform/win_types.h"
#include "records/record_layout.h"

class CFrameDataViewCommands;
class CInstrStatus;
class CKX9MonitorView;
class ChartWindows;
class FrameBench;
class FrameBoxes;
class FrameCommands;
class FrameDataFiles;
class FrameScheduler;
class FrameUi;
class FrameWeb;
class FrameWindowUi;
class LiveMonitoring;
class LiveRecording;
class MaintenanceCommands;
class MemoryDownload;
class MeterStateReplies;
class MonitoringSession;
class SetupTransfer;
class VerificationWorkflow;
class WorkflowSteps;

class CMainFrame {
    // The link's clock: the program's own unless the frame was given one.
    ProgramLinkClock m_ownLinkClock;
    LinkClock& m_linkClock;
    // The small boxes and the please-wait box.
    std::unique_ptr<FrameBoxes> m_boxes;
    // What the frame shows: its window's title, status bar and boxes, or the one it was given.
    std::unique_ptr<FrameWindowUi> m_windowUi;
    FrameUi& m_ui;
    FrameTimers m_timers;
    // Before the session it serves; it reaches the session and the notices once they exist.
    FrameLinkHost m_linkHost;
    LinkSession m_link;
    FrameNotices m_notices;
    // The memory dump's decoder, run by the link port's listener during a download.
    FrameDumpHost m_dumpHost{m_link, m_notices, m_dumpDecoder};
    acquisition::DumpDecoder m_dumpDecoder{*m_link.SharedState(), m_dumpHost};

public:
    // `linkClock` (not owned; nullptr: the program's clock) times the link's waits and timers,
    // `schedulerClock` likewise the scheduler run's: tests pace them to a simulated meter. The
    // frame shows what it shows on `ui` (not owned; nullptr: its window's).
    explicit CMainFrame(LinkClock* linkClock = nullptr, LinkClock* schedulerClock = nullptr,
                        FrameUi* ui = nullptr);
    ~CMainFrame();
    CMainFrame(const CMainFrame&) = delete;
    CMainFrame& operator=(const CMainFrame&) = delete;

    FrameUi& Ui() const { return m_ui; }

    LinkSession& Link() { return m_link; }
    const LinkSession& Link() const { return m_link; }
    acquisition::DumpDecoder& DumpDecoder() { return m_dumpDecoder; }
    FrameDumpHost& DumpHost() { return m_dumpHost; }

    void SendCommand(int code, const std::string& arg1, const std::string& arg2, int param = -1,
                     BOOL bUrgent = FALSE) {
        m_link.SendCommand(code, arg1, arg2, param, bUrgent);
    }

    // The frame's window timers; the send tick and the reply time-out are the link session's.
    FrameTimers& Timers() { return m_timers; }
    const FrameTimers& Timers() const { return m_timers; }
    // The boxes, or the scheduler log in scheduler mode.
    FrameNotices& Notices() { return m_notices; }

    // What the program is doing with the meter: the link session's, shared with the scheduler,
    // the live recorder, the setup and the maintenance commands.
    MeterMode& Mode() { return m_link.Mode(); }

    // The meter's setup as the record files keep it (a data file's, once one is opened).
    records::SetupBlock m_SetupBlock;
    // The live recording's page file.
    acquisition::RecordFile m_RecFile;
    // The recording the view's lists and graphs show, live or loaded: its pages, segments,
    // selection and timebase.
    acquisition::Recording m_recording;

    // ===================================================================================
    // The frame's window and its start-up job (main_frame_startup.cpp), its exit
    // (main_frame_exit.cpp), and the parts of the program it owns and wires, each with the
    // state it alone uses.
    static constexpr const char* kExitCaption = "QS4060KRTN_VP";

    // The frame's creation: builds the window with the status bar and the view, then runs
    // the start-up job. -1 when the window could not be built.
    int OnCreate();
    // The window with its status bar and the view, hidden (the first step of OnCreate).
    BOOL CreateFrameWindow();
    CMainFrameWindow* Window() const { return m_window.Get(); }
    CKX9MonitorView* View() const { return m_views.Shown(); }
    const ViewLookup& Views() const { return m_views; }
    // What a view of this frame's is built with (its window's; a test's).
    const ::ViewUses& ViewUses() const { return m_viewUses; }

    // WM_CLOSE: asks, refuses while a verification or a long job with the meter runs (a
    // download, a firmware upgrade, a scheduled run), then exits.
    void OnClose();
    // "&Esci": releases the ports and the command queue, destroys view and window, quits.
    void OnAppExit();

    FrameBoxes& Boxes() { return *m_boxes; }
    FrameWeb& Web() { return *m_web; }
    FrameBench& Bench() { return *m_bench; }
    VerificationWorkflow& Verification() { return *m_verification; }
    MaintenanceCommands& Maintenance() { return *m_maintenance; }
    FrameCommands& Commands() { return *m_commands; }
    FrameDataFiles& DataFiles() { return *m_data; }
    ChartWindows& Charts() { return *m_charts; }
    LiveRecording& Live() { return *m_live; }
    MonitoringSession& Session() { return *m_session; }
    FrameScheduler& Scheduler() { return *m_scheduler; }
    SetupTransfer& Setup() { return *m_setup; }
    LiveMonitoring& Monitoring() { return *m_monitoring; }

private:
    // Connects the parts to the frame's boxes, decoder and link (constructor).
    void WireFrameParts();

    // Each part is built with what it uses, in this order (constructor): a part is handed only
    // what stands above it here. They go in the reverse order.
    ViewLookup m_views{m_window};
    // The view's page list, which the live recorder and the data files fill.
    ViewPageList m_pageList{m_views};
    // The web service, the local databases, the technician and the instrument log.
    std::unique_ptr<FrameWeb> m_web;
    // The bench window, the calibration-expiry dialog and the bench's two meters.
    std::unique_ptr<FrameBench> m_bench;
    // The workflow commands' shared steps, one command at a time, and the commands.
    std::unique_ptr<WorkflowSteps> m_workflow;
    std::unique_ptr<VerificationWorkflow> m_verification;
    std::unique_ptr<MaintenanceCommands> m_maintenance;
    // The legend, the 3-D settings, the "Spectrum" windows and the equal-loudness contour.
    std::unique_ptr<ChartWindows> m_charts;
    // The data files of the recording the view shows, the navigator and the audio labels.
    std::unique_ptr<FrameDataFiles> m_data;
    // The live records' recorder and the windows it draws on.
    std::unique_ptr<LiveRecording> m_live;
    // The tool-bar commands on the loaded data.
    std::unique_ptr<CFrameDataViewCommands> m_dataView;
    // The menu, the command table and the hot keys.
    std::unique_ptr<FrameCommands> m_commands;
    // What the views are built with.
    ::ViewUses m_viewUses;
    // The session operations on the monitoring link.
    std::unique_ptr<MonitoringSession> m_session;
    // The scheduler window, its run and its log.
    std::unique_ptr<FrameScheduler> m_scheduler;
    // The owners of the meter's replies that the parts above do not own: the setup read and
    // send, the meter's state, a live monitoring run and a download of the meter's memory.
    std::unique_ptr<SetupTransfer> m_setup;
    std::unique_ptr<MeterStateReplies> m_stateReplies;
    std::unique_ptr<LiveMonitoring> m_monitoring;
    std::unique_ptr<MemoryDownload> m_download;

    // Last: the window and the view in it go first.
    FrameWindowHolder m_window;
};
