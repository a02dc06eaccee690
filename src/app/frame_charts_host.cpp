#include "app/frame_charts_host.h"

#include <QWidget>

#include "app/chart_windows.h"
#include "app/frame_data_files.h"
#include "app/kx9monitor_app.h"
#include "app/kx9monitor_view.h"
#include "app/main_frame.h"

namespace {
CKX9MonitorView* View() {
    return TheApp().m_pView;
}
}  // namespace

charts::BarChartContext FrameChartsHost::BarChart() const {
    const CKX9MonitorApp& app = TheApp();
    charts::BarChartContext context;
    context.liveKind = m_frame.Mode().ChannelMode();
    context.contour = &m_frame.Charts().Isophone();
    context.model = app.m_InstrStatus.m_strModel;
    context.spectrumKind = app.m_strSpectrumKind;
    if (const CKX9MonitorView* view = View()) {
        context.edition = view->m_nIsophone;
        context.urLine = view->m_nURLine != 0;
        context.urLevel = view->m_nURLevel;
    }
    return context;
}

void FrameChartsHost::OnIsophoneBandChosen(int band) {
    m_frame.Charts().Isophone().SelectBand(band);
    if (CKX9MonitorView* view = View())
        view->RefreshGraphWindows();
}

std::array<std::string, charts::kLegendChannels> FrameChartsHost::ChannelParameters() const {
    const CInstrStatus& setup = TheApp().m_InstrStatus;
    return {setup.m_strSlm1Param, setup.m_strSlm2Param, setup.m_strSlm3Param, setup.m_strSlm4Param,
            setup.m_strSlm5Param};
}

std::array<COLORREF, charts::kLegendChannels> FrameChartsHost::ChannelColours() const {
    std::array<COLORREF, charts::kLegendChannels> colours{};
    const CKX9MonitorView* view = View();
    if (!view)
        return colours;
    // The recording's graph, or the data graph, whose first series are the channels.
    const graph::CGraphWnd* graph = view->GraphWindow(ViewGraph::Second);
    if (!graph)
        graph = view->GraphWindow(ViewGraph::Data);
    if (graph)
        for (int channel = 0; channel < charts::kLegendChannels; ++channel)
            if (const graph::CGraphProps* series = graph->GetGraph(channel))
                colours[channel] = series->GetColour();
    return colours;
}

std::string FrameChartsHost::ModelText() const {
    return TheApp().m_InstrStatus.m_strModel;
}

void FrameChartsHost::ReloadSelectedSegment() {
    const int segment = m_frame.m_recording.SelectedSegment();
    if (segment != -1)
        m_frame.DataFiles().Reader().OpenDataFile(TheApp().m_strCurrentFile, segment, segment);
}

void FrameChartsHost::ClearChannelCurve(int channel) {
    const CKX9MonitorView* view = View();
    if (graph::CGraphWnd* graph = view ? view->GraphWindow(ViewGraph::Second) : nullptr)
        graph->ClearPoints(channel, 1);
}

QRect FrameChartsHost::ReportListScreenRect() const {
    const CKX9MonitorView* view = View();
    QWidget* window = view ? view->Window() : nullptr;
    const CKX9MonitorView::Control* list =
        view ? view->FindControl(CKX9MonitorView::IDC_REPORT_LIST) : nullptr;
    if (!window || !list)
        return QRect();
    const ui::Rect& r = list->rect;
    return QRect(window->mapToGlobal(QPoint(r.left, r.top)), QSize(r.Width(), r.Height()));
}

charts::CChart3d& FrameChartsHost::Chart3D() {
    CKX9MonitorView* view = View();
    return view ? view->m_Chart3d : m_noViewChart;
}

std::string FrameChartsHost::SpectrumKind() const {
    return TheApp().m_strSpectrumKind;
}
