#include "app/frame_charts_host.h"

#include <QWidget>

#include "acquisition/recording.h"
#include "app/kx9monitor_view.h"
#include "app/view_lookup.h"
#include "charts/equal_loudness.h"
#include "link/instr_status.h"
#include "link/meter_mode.h"

charts::BarChartContext FrameChartsHost::BarChart() const {
    charts::BarChartContext context;
    context.liveKind = m_uses.mode.ChannelMode();
    context.contour = &m_uses.isophone;
    context.model = m_uses.setup.m_strModel;
    context.spectrumKind = m_uses.spectrumKind;
    if (const CKX9MonitorView* view = m_uses.views.Current()) {
        context.edition = view->m_nIsophone;
        context.urLine = view->m_nURLine != 0;
        context.urLevel = view->m_nURLevel;
    }
    return context;
}

void FrameChartsHost::OnIsophoneBandChosen(int band) {
    m_uses.isophone.SelectBand(band);
    if (CKX9MonitorView* view = m_uses.views.Current())
        view->RefreshGraphWindows();
}

std::array<COLORREF, charts::kLegendChannels> FrameChartsHost::ChannelColours() const {
    std::array<COLORREF, charts::kLegendChannels> colours{};
    const CKX9MonitorView* view = m_uses.views.Current();
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

void FrameChartsHost::ReloadSelectedSegment() {
    const int segment = m_uses.recording.SelectedSegment();
    if (segment != -1)
        m_uses.openSegment(segment);
}

void FrameChartsHost::ClearChannelCurve(int channel) {
    const CKX9MonitorView* view = m_uses.views.Current();
    if (graph::CGraphWnd* graph = view ? view->GraphWindow(ViewGraph::Second) : nullptr)
        graph->ClearPoints(channel, 1);
}

QRect FrameChartsHost::ReportListScreenRect() const {
    const CKX9MonitorView* view = m_uses.views.Current();
    QWidget* window = view ? view->Window() : nullptr;
    const CKX9MonitorView::Control* list =
        view ? view->FindControl(CKX9MonitorView::IDC_REPORT_LIST) : nullptr;
    if (!window || !list)
        return QRect();
    const ui::Rect& r = list->rect;
    return QRect(window->mapToGlobal(QPoint(r.left, r.top)), QSize(r.Width(), r.Height()));
}

charts::CChart3d& FrameChartsHost::Chart3D() {
    CKX9MonitorView* view = m_uses.views.Current();
    return view ? view->m_Chart3d : m_noViewChart;
}
