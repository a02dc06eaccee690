#include "app/view_live_displays.h"

#include "app/kx9monitor_view.h"
#include "app/view_lookup.h"
#include "graph/graph_change.h"

void ViewLiveDisplays::AddLiveRecord(int record, const std::vector<std::string>& levels) {
    if (CKX9MonitorView* view = m_views.Current())
        view->AddLiveRecord(record, levels);
}

void ViewLiveDisplays::AddLiveGraphPoint(int sample, const std::string& level) {
    if (CKX9MonitorView* view = m_views.Current())
        view->AddLiveGraphPoint(sample, level);
}

bool ViewLiveDisplays::ShowsLiveSpectrum() const {
    const CKX9MonitorView* view = m_views.Current();
    return view && view->IsControlVisible(CKX9MonitorView::IDC_LIVE_CHART);
}

void ViewLiveDisplays::RearrangeGraphWindows(const std::string& reply) {
    if (CKX9MonitorView* view = m_views.Current())
        view->RearrangeGraphWindows(reply);
}

void ViewLiveDisplays::ClearLiveChart() {
    if (CKX9MonitorView* view = m_views.Current())
        view->m_LiveChart.RemoveAllItems();
}

void ViewLiveDisplays::RepaintLiveGraph() {
    if (CKX9MonitorView* view = m_views.Current())
        if (graph::CGraphWnd* graph = view->GraphWindow(ViewGraph::Data))
            graph->RedrawParts(graph::kRedrawCurves | graph::kRedrawRulers);
}
