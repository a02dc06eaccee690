#include "app/frame_live_recorder_host.h"

#include "app/chart_windows.h"
#include "app/frame_boxes.h"
#include "app/frame_notices.h"
#include "app/frame_timers.h"
#include "app/kx9monitor_app.h"
#include "app/kx9monitor_view.h"
#include "app/main_frame.h"
#include "graph/graph_change.h"

namespace {

CKX9MonitorView* View() {
    return TheApp().m_pView;
}

}  // namespace

acquisition::LiveSetup FrameLiveRecorderHost::Setup() const {
    const CKX9MonitorApp& app = TheApp();
    const CInstrStatus& current = app.m_InstrStatus;
    acquisition::LiveSetup setup;
    setup.model = current.m_strModel;
    setup.date = current.m_strDate;
    setup.time = current.m_strTime;
    setup.profileTime = current.m_strProfileTime;
    setup.spectrumTime = current.m_strProfileSpectrumTime;
    setup.pageSize = app.m_nPagingSize;
    setup.acquisitionTime = m_frame.m_recording.Time().AcquisitionTime();
    setup.repetitionTime = m_frame.m_recording.Time().RepetitionTime();
    return setup;
}

std::string FrameLiveRecorderHost::RecordFolder() const {
    return TheApp().m_strProgramDir;
}

// --- the report list

int FrameLiveRecorderHost::ReportRowCount() const {
    const CKX9MonitorView* view = View();
    return view ? view->m_ReportList.GetItemCount() : 0;
}

void FrameLiveRecorderHost::InsertReportRow(int row, const std::string& time) {
    if (CKX9MonitorView* view = View())
        view->m_ReportList.InsertItem(row, time);
}

void FrameLiveRecorderHost::SetReportText(int row, int column, const std::string& text) {
    if (CKX9MonitorView* view = View())
        view->m_ReportList.SetItemText(row, column, text);
}

bool FrameLiveRecorderHost::FollowsLastRow() const {
    const CKX9MonitorView* view = View();
    return view && view->m_bReportListClicked;
}

void FrameLiveRecorderHost::SetFollowsLastRow() {
    if (CKX9MonitorView* view = View())
        view->m_bReportListClicked = TRUE;
}

void FrameLiveRecorderHost::ShowReportRow(int row) {
    if (CKX9MonitorView* view = View())
        view->m_ReportList.EnsureVisible(row);
}

void FrameLiveRecorderHost::InsertEmptyReportRows(int count) {
    if (CKX9MonitorView* view = View())
        for (int row = 0; row < count; ++row)
            view->m_ReportList.InsertItem(0, "");
}

void FrameLiveRecorderHost::StartReportTrim() {
    m_frame.Timers().Set(FrameTimers::kReportTrim, FrameTimers::kReportTrimTickMs);
}

// --- the live displays

void FrameLiveRecorderHost::AddLiveRecord(int record, const std::vector<std::string>& levels) {
    if (CKX9MonitorView* view = View())
        view->AddLiveRecord(record, levels);
}

void FrameLiveRecorderHost::AddLiveGraphPoint(int sample, const std::string& level) {
    if (CKX9MonitorView* view = View())
        view->AddLiveGraphPoint(sample, level);
}

bool FrameLiveRecorderHost::ShowsLiveSpectrum() const {
    const CKX9MonitorView* view = View();
    return view && view->IsControlVisible(CKX9MonitorView::IDC_LIVE_CHART);
}

void FrameLiveRecorderHost::RearrangeGraphWindows(const std::string& reply) {
    if (CKX9MonitorView* view = View())
        view->RearrangeGraphWindows(reply);
}

void FrameLiveRecorderHost::ClearLiveChart() {
    if (CKX9MonitorView* view = View())
        view->m_LiveChart.RemoveAllItems();
}

void FrameLiveRecorderHost::RepaintLiveGraph() {
    if (CKX9MonitorView* view = View())
        if (graph::CGraphWnd* graph = view->GraphWindow(ViewGraph::Data))
            graph->RedrawParts(graph::kRedrawCurves | graph::kRedrawRulers);
}

bool FrameLiveRecorderHost::HasLiveSpectrumWindow() const {
    return m_frame.Charts().LiveSpectra().HasWindow();
}

void FrameLiveRecorderHost::HideLiveSpectrumWindow() {
    m_frame.Charts().LiveSpectra().ShowWindow(false);
}

void FrameLiveRecorderHost::AddLiveSpectrum(std::span<const std::uint16_t> bands) {
    m_frame.Charts().LiveSpectra().AddSpectrumRow(bands);
}

void FrameLiveRecorderHost::ClearLiveSpectrum() {
    m_frame.Charts().LiveSpectra().ClearRows();
}

// --- the frame

void FrameLiveRecorderHost::ShowDataLoss() {
    m_frame.Boxes().DataLossNotice().ShowLoss();
}

void FrameLiveRecorderHost::LogScheduler(const std::string& text) {
    m_frame.Notices().LogScheduler(false, text, true);
}

void FrameLiveRecorderHost::Warn(const std::string& text) {
    m_frame.Notices().Warn(text, MB_ICONSTOP);
}
