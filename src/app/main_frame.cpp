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
#include "app/live_monitoring.h"
#include "app/live_recording.h"
#include "app/maintenance_commands.h"
#include "app/memory_download.h"
#include "app/meter_state_replies.h"
#include "app/monitoring_session.h"
#include "app/setup_transfer.h"
#include "app/verification_workflow.h"
#include "app/workflow_steps.h"
#include "link/instr_status.h"
#include "link/listener_input.h"
#include "maintenance/calibration_replies.h"

CMainFrame::CMainFrame(LinkClock* linkClock, LinkClock* schedulerClock, FrameUi* ui)
    : m_ownLinkClock(&TheApp().m_bAbortWait),
      m_linkClock(linkClock ? *linkClock : m_ownLinkClock),
      m_boxes(std::make_unique<FrameBoxes>()),
      m_windowUi(std::make_unique<FrameWindowUi>(m_window, *m_boxes)),
      m_ui(ui ? *ui : *m_windowUi),
      m_linkHost({
          .link = m_link,
          .notices = m_notices,
          .ui = m_ui,
          .timers = m_timers,
          .wait = [](unsigned ms) { TheApp().WaitWithMessages(ms); },
      }),
      m_link(m_linkHost, m_linkClock,
             LinkSettings{
                 .targetPort = TheApp().m_TargetPort,
                 .referencePort = TheApp().m_RefPort,
                 .modemLink = TheApp().m_bModemLink,
                 .edited = TheApp().m_EditStatus,
             }),
      m_notices(m_link.Mode(), TheApp().m_strProgramDir,
                [this](const std::string& text) {
                    if (m_web)
                        m_web->Log().WriteInstrLog(text);
                }),
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
          .abortWait = TheApp().m_bAbortWait,
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
          .linkHost = m_linkHost,
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
          .linkHost = m_linkHost,
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
      })),
      m_setup(std::make_unique<SetupTransfer>(SetupTransfer::Uses{
          .link = m_link,
          .linkHost = m_linkHost,
          .timers = m_timers,
          .ui = m_ui,
          .current = TheApp().m_InstrStatus,
          .edited = TheApp().m_EditStatus,
          .setupBlock = m_SetupBlock,
          .verification = *m_verification,
          .views = m_views,
          .pagingSize = TheApp().m_nPagingSize,
          .programFolder = TheApp().m_strProgramDir,
      })),
      m_stateReplies(std::make_unique<MeterStateReplies>(MeterStateReplies::Uses{
          .link = m_link,
          .timers = m_timers,
          .ui = m_ui,
          .notices = m_notices,
          .current = TheApp().m_InstrStatus,
          .edited = TheApp().m_EditStatus,
          .pagingSize = TheApp().m_nPagingSize,
          .setupBlock = m_SetupBlock,
          .run = m_scheduler->Run(),
          .guidedPrograms = m_scheduler->ElectricCalibration(),
      })),
      m_monitoring(std::make_unique<LiveMonitoring>(LiveMonitoring::Uses{
          .link = m_link,
          .timers = m_timers,
          .ui = m_ui,
          .notices = m_notices,
          .current = TheApp().m_InstrStatus,
          .setupBlock = m_SetupBlock,
          .recorder = m_live->Recorder(),
          .recordFile = m_RecFile,
          .recording = m_recording,
          .run = m_scheduler->Run(),
          .schedulerWindow = m_scheduler->Window(),
          .session = *m_session,
          .views = m_views,
          .recordFolder = TheApp().m_strProgramDir,
      })),
      m_download(std::make_unique<MemoryDownload>(MemoryDownload::Uses{
          .link = m_link,
          .linkHost = m_linkHost,
          .timers = m_timers,
          .ui = m_ui,
          .notices = m_notices,
          .current = TheApp().m_InstrStatus,
          .decoder = m_dumpDecoder,
          .progress = m_dumpHost.Progress(),
          .dumpFile = TheApp().m_DumpFile,
          .currentFile = TheApp().m_strCurrentFile,
          .selectedGraph = TheApp().m_nSelectedGraph,
          .programFolder = TheApp().m_strProgramDir,
          .scheduler = *m_scheduler,
      })) {
    WireFrameParts();
}

CMainFrame::~CMainFrame() {
    m_timers.KillAll();
    m_link.StopTimers();
    m_link.SharedState()->SetDumpDecoder(nullptr);
    // No listener runs the decoder or posts to the session once they are gone.
    m_link.ClosePorts();
}

void CMainFrame::WireFrameParts() {
    maintenance::RegisterCalibrationReplies(m_link.Router(), m_maintenance->MicCalibration(),
                                            m_scheduler->ElectricCalibration());
    m_linkHost.SetPowerOffHandler([this] { m_session->Disconnect(); });
    FrameBoxes& boxes = *m_boxes;
    boxes.m_WaitGetStatusDlg.SetCancelHandler([this] { m_link.DeleteAllCommands(); });
    boxes.m_DownloadStatusDlg.SetCancelDownloadHandler([this] { m_dumpDecoder.RequestCancel(); });
    m_link.SharedState()->SetDumpDecoder(
        [this](ListenerInput& input) { m_dumpDecoder.Decode(input); });
    boxes.m_ViewInstrStatusDlg.SetHooks({
        .modelText = [] { return TheApp().m_InstrStatus.m_strModel; },
        .isDownloading = [this] { return Mode().IsDownloading(); },
        .sendCommand = [this](int code) { SendCommand(code, "", ""); },
        .onClosed = [this] { Mode().OnStatusDlgClosed(); },
    });
}
