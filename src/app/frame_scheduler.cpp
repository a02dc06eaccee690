#include "app/frame_scheduler.h"

#include "app/frame_boxes.h"
#include "app/frame_data_files.h"
#include "app/frame_notices.h"
#include "app/frame_ui.h"
#include "app/kx9monitor_app.h"
#include "app/kx9monitor_view.h"
#include "app/live_recording.h"
#include "app/main_frame.h"
#include "app/monitoring_session.h"
#include "link/command_codes.h"

namespace {
constexpr const char* kSchedulerFile = "\\Scheduler.kr9";
constexpr int kElectricCalibrationRoutine = 0;
}  // namespace

FrameScheduler::FrameScheduler(CMainFrame& frame, LinkClock* clock)
    : m_frame(frame),
      m_host(frame),
      m_window(m_host, frame.Mode(), frame.m_RecFile, frame.m_recording.Time()),
      m_runHost(frame),
      m_run(m_runHost, clock ? *clock : m_ownClock, frame.Mode(), frame.Live().Recorder(),
            frame.m_RecFile),
      m_connection({
          .link = frame.Link(),
          .boxes = frame.Boxes(),
          .ui = frame.Ui(),
          .notices = frame.Notices(),
          .run = m_run,
          .leftovers = m_leftovers,
          .views = frame.Views(),
      }),
      m_calibrationHost(frame.Link(), frame.Notices(), m_window, m_run),
      m_electricCalibration(m_calibrationHost, frame.Mode()) {
    // Each line of the scheduler log is also one of the window's log list.
    frame.Notices().SetLogLineListener(
        [this](const std::string& line) { m_window.AddLogRow(line); });
}

FrameScheduler::~FrameScheduler() {
    m_frame.Notices().SetLogLineListener(nullptr);
}

void FrameScheduler::ResetView() {
    CKX9MonitorApp& app = TheApp();
    m_frame.Mode().EndDownload();
    app.m_strCurrentFile.clear();
    m_frame.Session().EmptyViewForNewSession();
    if (CKX9MonitorView* view = app.m_pView) {
        view->m_DataChart.RemoveAllItems();
        view->ShowControl(CKX9MonitorView::IDC_DATA_CHART, false);
    }
    m_frame.Boxes().m_ViewInstrStatusDlg.ShowWindow(false);
    m_frame.Ui().SetTitle(m_frame.Mode().IsLinkActive() ? NormalFrameTitle(app.m_InstrStatus)
                                                        : FrameUi::kWindowTitle);
}

void FrameScheduler::OpenFile() {
    m_frame.DataFiles().Reader().OpenSessionFile(TheApp().ProgramPath(kSchedulerFile));
}

void FrameScheduler::ShowResult() {
    m_window.ShowRunResult();
}

void FrameScheduler::OpenElectricCalibration(int routine) {
    m_frame.Mode().EndDisplayCheck();
    m_electricCalibration.Open(routine);
}

void FrameScheduler::StartElectricCalibration() {
    // Refused while the meter is held otherwise: the run's watchdog then ends the calibration
    // as one that never answered.
    if (!m_frame.Mode().BeginElectricCalibration())
        return;
    OpenElectricCalibration(kElectricCalibrationRoutine);
    m_frame.SendCommand(command_code::kAcquisitionQuery, "", "");
    m_frame.SendCommand(command_code::kDisplayQuery, "", "");
}
