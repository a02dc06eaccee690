#include "app/main_frame.h"

#include "app/chart_windows.h"
#include "app/frame_bench.h"
#include "app/frame_boxes.h"
#include "app/frame_commands.h"
#include "app/frame_data_files.h"
#include "app/frame_data_view_commands.h"
#include "app/frame_scheduler.h"
#include "app/frame_ui.h"
#include "app/frame_ui_adapter.h"
#include "app/frame_web.h"
#include "app/kx9monitor_app.h"
#include "app/kx9monitor_view.h"
#include "app/live_recording.h"
#include "app/maintenance_commands.h"
#include "app/monitoring_session.h"
#include "app/verification_workflow.h"
#include "app/workflow_steps.h"
#include "link/instr_status.h"
#include "link/serial_wnd.h"
#include "platform/clock.h"
#include "platform/operator.h"
#include "platform/text.h"

CMainFrame::CMainFrame(LinkClock* linkClock, LinkClock* schedulerClock, FrameUi* ui)
    : m_ownLinkClock(&TheApp().m_bAbortWait),
      m_linkClock(linkClock ? *linkClock : m_ownLinkClock),
      m_notices(m_link.Mode(), TheApp().m_strProgramDir),
      m_setupValues(
          TheApp().m_InstrStatus, TheApp().m_EditStatus,
          [this](int field, const std::string& text) { m_SetupBlock.SetField(field, text); }),
      m_boxes(std::make_unique<FrameBoxes>()),
      m_windowUi(std::make_unique<FrameWindowUi>(m_window, *m_boxes)),
      m_ui(ui ? *ui : *m_windowUi),
      m_web(std::make_unique<FrameWeb>(m_boxes->PleaseWait(),
                                       [this] { return m_bench->Instruments().target.serial; })),
      m_bench(std::make_unique<FrameBench>(FrameBench::Uses{
          .tools =
              verification::BenchTools{
                  .link = m_link,
                  .databases = m_web->Databases(),
                  .pleaseWait = m_boxes->PleaseWait(),
                  .log = m_web->Log(),
                  .programDir = TheApp().m_strProgramDir,
                  .refRecord = TheApp().m_RefPort,
                  .targetRecord = TheApp().m_TargetPort,
              },
          .boxes = *m_boxes,
          .views = m_views,
          .technicianId = TheApp().m_strTechnicianId,
      })),
      m_workflow(std::make_unique<WorkflowSteps>(WorkflowSteps::Uses{
          .ui = m_ui,
          .technician = m_web->Technician(),
          .databases = m_web->Databases(),
          .boxes = *m_boxes,
          .instruments = m_bench->Instruments(),
          .link = m_link,
      })),
      m_verification(std::make_unique<VerificationWorkflow>(VerificationWorkflow::Uses{
          .steps = *m_workflow,
          .web = *m_web,
          .bench = *m_bench,
          .boxes = *m_boxes,
          .timers = m_timers,
          .views = m_views,
      })),
      m_maintenance(std::make_unique<MaintenanceCommands>(MaintenanceCommands::Uses{
          .steps = *m_workflow,
          .web = *m_web,
          .bench = *m_bench,
          .boxes = *m_boxes,
          .timers = m_timers,
          .link = m_link,
          .views = m_views,
          .programDir = TheApp().m_strProgramDir,
      })),
      m_charts(std::make_unique<ChartWindows>(ChartWindows::Uses{
          .recording = m_recording,
          .mode = m_link.Mode(),
          .views = m_views,
          .setup = TheApp().m_InstrStatus,
          .spectrumKind = TheApp().m_strSpectrumKind,
          .dataBuffer = TheApp().m_DataBuffer,
          .openSegment =
              [this](int segment) {
                  m_data->Reader().OpenDataFile(TheApp().m_strCurrentFile, segment, segment);
              },
      })),
      m_data(std::make_unique<FrameDataFiles>(FrameDataFiles::Uses{
          .pages = m_pageList,
          .recording = m_recording,
          .setupBlock = m_SetupBlock,
          .ui = m_ui,
          .notices = m_notices,
          .mode = m_link.Mode(),
          .charts = *m_charts,
          .schedulerLogViewer = m_boxes->SchedulerLogViewer(),
          .views = m_views,
      })),
      m_live(std::make_unique<LiveRecording>(LiveRecording::Uses{
          .pages = m_pageList,
          .recordFile = m_RecFile,
          .recording = m_recording,
          .mode = m_link.Mode(),
          .setupBlock = m_SetupBlock,
          .timers = m_timers,
          .ui = m_ui,
          .notices = m_notices,
          .lossNotice = m_boxes->DataLossNotice(),
          .liveSpectra = m_charts->LiveSpectra(),
          .views = m_views,
          .recordFolder = TheApp().m_strProgramDir,
      })),
      m_dataView(std::make_unique<CFrameDataViewCommands>(CFrameDataViewCommands::Uses{
          .dataFiles = *m_data,
          .charts = *m_charts,
          .mode = m_link.Mode(),
          .updateView =
              [this] {
                  if (CKX9MonitorView* view = m_views.Current())
                      view->OnUpdate();
              },
      })),
      m_commands(std::make_unique<FrameCommands>(
          FrameCommands::Parts{
              .verification = *m_verification,
              .maintenance = *m_maintenance,
              .databases = m_web->Databases(),
              .booking = m_web->Booking(),
              .bench = *m_bench,
              .dataView = *m_dataView,
              .mode = m_link.Mode(),
              .views = m_views,
              .exit = [this] { OnAppExit(); },
          },
          m_window)),
      m_viewUses{
          .recording = m_recording,
          .mode = m_link.Mode(),
          .charts = *m_charts,
          .dataFiles = *m_data,
          .dataView = *m_dataView,
          .ui = m_ui,
          .setupBlock = m_SetupBlock,
      },
      m_session(std::make_unique<MonitoringSession>(MonitoringSession::Uses{
          .link = m_link,
          .timers = m_timers,
          .ui = m_ui,
          .notices = m_notices,
          .liveRecorder = m_live->Recorder(),
          .recordFile = m_RecFile,
          .recording = m_recording,
          .setupBlock = m_SetupBlock,
          .dumpDecoder = m_dumpDecoder,
          .download = m_dumpHost.Progress(),
          .dataFiles = *m_data,
          .charts = *m_charts,
          .views = m_views,
      })),
      m_scheduler(std::make_unique<FrameScheduler>(FrameScheduler::Uses{
          .link = m_link,
          .timers = m_timers,
          .ui = m_ui,
          .notices = m_notices,
          .boxes = *m_boxes,
          .views = m_views,
          .session = *m_session,
          .bench = *m_bench,
          .charts = *m_charts,
          .dataFiles = *m_data,
          .liveRecords = m_live->Recorder(),
          .recordFile = m_RecFile,
          .liveTimebase = m_recording.Time(),
          .clock = schedulerClock,
      })) {
    WireFrameParts();
    RegisterTimers();
    RegisterReplies();
}

CMainFrame::~CMainFrame() {
    m_timers.KillAll();
    m_link.StopTimers();
    m_link.SharedState()->SetDumpDecoder(nullptr);
    // No listener runs the decoder or posts to the session once they are gone.
    m_link.ClosePorts();
}

void CMainFrame::OnSerialAlarm(const LinkAlarm& alarm) {
    switch (alarm.kind) {
        case LinkAlarm::Kind::BufferFull:
            platform::AfxMessageBox("ERROR:Serial Buffer full", MB_ICONEXCLAMATION);
            break;
        case LinkAlarm::Kind::NoCarrier:
            if (Mode().IsSchedulerMode())
                m_notices.LogScheduler(
                    false, platform::Format("Comunication error: %s.", alarm.text.c_str()), false);
            else
                platform::AfxMessageBox(
                    "ERROR: NO CARRIER detect.\nPlease check line and modem configuration.",
                    MB_ICONSTOP);
            break;
    }
}

void CMainFrame::Wait(unsigned ms) {
    platform::Clock::Sleep(ms);
}

void CMainFrame::WaitWithMessages(unsigned ms) {
    TheApp().WaitWithMessages(ms);
}

bool CMainFrame::Confirm(const std::string& question) {
    return platform::AfxMessageBox(question, MB_YESNO | MB_ICONEXCLAMATION) == IDYES;
}

CInstrStatus& CMainFrame::Current() const {
    return TheApp().m_InstrStatus;
}

CInstrStatus& CMainFrame::Edited() const {
    return TheApp().m_EditStatus;
}

std::string CMainFrame::NormalTitle() const {
    return NormalFrameTitle(Current());
}
