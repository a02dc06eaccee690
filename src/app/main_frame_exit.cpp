// Closing the frame and leaving the program. Nothing is saved at exit.

#include "app/busy_meter_job.h"
#include "app/frame_bench.h"
#include "app/frame_boxes.h"
#include "app/frame_timers.h"
#include "app/frame_ui.h"
#include "app/kx9monitor_app.h"
#include "app/kx9monitor_view.h"
#include "app/main_frame.h"
#include "platform/event_loop.h"
#include "platform/operator.h"

void CMainFrame::OnClose() {
    Ui().SetTitle(kExitCaption);
    if (platform::MessageBox("Confirm Exit ?", kExitCaption, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    // Leaving now would leave the meter as the job has it and lose the job's data.
    if (const char* refusal = BusyMeterJobRefusal(Mode())) {
        if (Mode().IsSchedulerMode())
            m_notices.LogScheduler(false, refusal, true);
        platform::AfxMessageBox(refusal, MB_ICONSTOP);
        return;
    }
    if (m_bench->IsWindowCreated()) {
        if (m_bench->IsVerificationRunning()) {
            platform::AfxMessageBox(
                "ATTENZIONE: Verifica in corso.\nInterrompere la verifica e riprovare.",
                MB_ICONSTOP);
            return;
        }
        m_bench->Window().DestroyWindow();
    }
    OnAppExit();
}

void CMainFrame::OnAppExit() {
    CKX9MonitorApp& app = TheApp();
    CKX9MonitorView* view = View();
    // A listener must not deliver replies to a frame that is leaving.
    m_link.ClosePorts();
    if (view)
        view->DeleteGraphWindows();

    m_link.DeleteAllCommands();
    Mode().OnNoMeter();
    // The window's timers go with it.
    m_link.StopTimers();
    for (int id :
         {FrameTimers::kDownloadProgress, FrameTimers::kRecordingBlink,
          FrameTimers::kFirmwareUpgrade, FrameTimers::kStatusPoll, FrameTimers::kReportTrim,
          FrameTimers::kIntegrationEnd, FrameTimers::kInstrumentClock,
          FrameTimers::kCalibExpiryUpdate, FrameTimers::kReportValidation})
        m_timers.Kill(id);

    m_boxes->DestroyAll();

    // This may run inside an event of the window: it goes once that is over, and the view
    // with it. The frame object stays until the application lets it go.
    if (app.m_pView == view)
        app.m_pView = nullptr;
    m_window.Destroy();
    platform::EventLoop::RequestQuit(0);
}
