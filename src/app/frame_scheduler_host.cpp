#include "app/frame_scheduler_host.h"

#include "app/chart_windows.h"
#include "app/frame_bench.h"
#include "app/frame_boxes.h"
#include "app/frame_data_files.h"
#include "app/frame_ui.h"
#include "app/kx9monitor_app.h"
#include "app/kx9monitor_view.h"
#include "app/kx9monitor_view_widget.h"
#include "app/monitoring_session.h"
#include "app/view_lookup.h"
#include "link/link_session.h"

namespace {
constexpr const char* kSchedulerFile = "\\Scheduler.kr9";
}  // namespace

void FrameSchedulerHost::PrepareLiveSpectrumWindow() {
    charts::CDemoDlg& window = m_uses.charts.LiveSpectra();
    if (!window.HasWindow())
        window.Create();
    window.ClearRows();
    window.ShowWindow(false);
}

void FrameSchedulerHost::FollowLastReportRow() {
    if (CKX9MonitorView* view = m_uses.views.Current())
        view->m_bFollowLastRow = TRUE;
}

void FrameSchedulerHost::ShowBenchForSchedulerRecording() {
    m_uses.bench.Window().ShowForSchedulerRecording();
}

void FrameSchedulerHost::ResetViewForScheduler() {
    CKX9MonitorApp& app = TheApp();
    MeterMode& mode = m_uses.link.Mode();
    mode.EndDownload();
    app.m_strCurrentFile.clear();
    m_uses.session.EmptyViewForNewSession();
    if (CKX9MonitorView* view = m_uses.views.Current()) {
        view->m_DataChart.RemoveAllItems();
        view->ShowControl(CKX9MonitorView::IDC_DATA_CHART, false);
    }
    m_uses.boxes.m_ViewInstrStatusDlg.ShowWindow(false);
    m_uses.ui.SetTitle(mode.IsLinkActive() ? NormalFrameTitle(app.m_InstrStatus)
                                           : FrameUi::kWindowTitle);
}

void FrameSchedulerHost::OpenSchedulerFile() {
    m_uses.dataFiles.Reader().OpenSessionFile(TheApp().ProgramPath(kSchedulerFile));
}

std::vector<QImage> FrameSchedulerHost::LogImages() const {
    return ViewImages();
}

void FrameSchedulerHost::WaitWithMessages(unsigned ms) {
    TheApp().WaitWithMessages(ms);
}
