#include "graph/graph_wnd.h"

#include <algorithm>

#include "graph/graph_metrics.h"

namespace graph {

CGraphWnd::CGraphWnd(int capacity) : m_series(std::max(0, capacity)), m_metrics(&ScreenMetrics()) {}

CGraphWnd::~CGraphWnd() {
    DestroyWindow();
}

void CGraphWnd::SetMetrics(const GraphMetrics* metrics) {
    m_metrics = metrics ? metrics : &ScreenMetrics();
}

void CGraphWnd::Notify(GraphChange change) {
    if (!m_frame)
        return;
    change.graph = this;
    m_frame->NotifyGraph(change);
}

// --- series

int CGraphWnd::AddGraph(COLORREF colour, const std::string& name, unsigned notify, bool ordered,
                        bool duplicates) {
    const auto free = std::find(m_series.begin(), m_series.end(), nullptr);
    if (free == m_series.end())
        return -1;
    *free = std::make_unique<CGraphProps>(colour, name, true, true, -1, ordered, duplicates);
    ++m_count;
    const int index = static_cast<int>(free - m_series.begin());
    Notify(GraphChange::Points(kSeriesAdded, index, -1, notify));
    return index;
}

int CGraphWnd::RemoveGraph(int index, unsigned notify) {
    if (!GetGraph(index))
        return -1;
    m_series[index].reset();
    --m_count;
    Notify(GraphChange::Points(kSeriesRemoved, index, -1, notify));
    return index;
}

CGraphProps* CGraphWnd::GetGraph(int index) const {
    return index >= 0 && index < Capacity() ? m_series[index].get() : nullptr;
}

CGraphProps* CGraphWnd::GetFirstGraph(int& position) const {
    position = -1;
    return GetNextGraph(position);
}

CGraphProps* CGraphWnd::GetNextGraph(int& position) const {
    for (int i = std::max(0, position + 1); i < Capacity(); ++i) {
        if (m_series[i]) {
            position = i;
            return m_series[i].get();
        }
    }
    position = -1;
    return nullptr;
}

// --- points

int CGraphWnd::AddPoint(int series, double x, double y, unsigned notify, int insertIndex) {
    CGraphProps* props = GetGraph(series);
    if (!props)
        return -1;
    const int at = insertIndex == -1 ? props->AddPoint(x, y, true)
                                     : props->InsertPoint(insertIndex, x, y, true);
    if (at >= 0)
        Notify(GraphChange::Points(kPointAdded, series, at, notify));
    return insertIndex;
}

int CGraphWnd::AddPoints(int series, std::span<const GraphPoint> points, unsigned notify) {
    CGraphProps* props = GetGraph(series);
    if (!props)
        return -1;
    const int before = props->GetCount();
    size_t done = 0;
    while (done < points.size()) {
        const int first = props->GetCount();
        done += props->AppendPoints(points.subspan(done));
        if (props->GetCount() > first)
            Notify(GraphChange::Appended(series, first, props->GetCount() - first, notify));
        if (done < points.size()) {
            const GraphPoint& p = points[done++];
            AddPoint(series, p.x, p.y, notify);
        }
    }
    return props->GetCount() - before;
}

void CGraphWnd::ReservePoints(int series, int count) {
    if (CGraphProps* props = GetGraph(series); props && count > 0)
        props->Reserve(static_cast<size_t>(props->GetCount()) + static_cast<size_t>(count));
}

int CGraphWnd::EditPoint(int series, int point, double x, double y, unsigned notify) {
    CGraphProps* props = GetGraph(series);
    if (!props)
        return -1;
    const int result = props->MovePoint(point, x, y, true);
    if (result >= 0)
        Notify(GraphChange::Points(kPointChanged, series, point, notify));
    return result;
}

int CGraphWnd::RemovePoint(int series, int point, unsigned notify) {
    CGraphProps* props = GetGraph(series);
    if (!props || !props->IsValidIndex(point))
        return -1;
    props->RemovePoint(point, true);
    Notify(GraphChange::Points(kPointRemoved, series, point, notify));
    return point;
}

void CGraphWnd::ClearPoints(int series, unsigned notify) {
    if (series == -1) {
        for (const auto& props : m_series)
            if (props)
                props->ClearPoints();
    } else if (CGraphProps* props = GetGraph(series)) {
        props->ClearPoints();
    } else {
        return;
    }
    Notify(GraphChange::Points(kPointsCleared, series, -1, notify));
}

// --- range, options and bounds

void CGraphWnd::UpdateVisibleRange(unsigned options, unsigned notify) {
    VisibleRange range;
    if (!m_frame || !m_frame->PanelRange(range))
        return;
    Notify(GraphChange::Range(range, options, notify));
}

unsigned CGraphWnd::GetPanelValue() const {
    return m_frame ? m_frame->PanelOptions() : 0;
}

void CGraphWnd::SetVisibleRange(double xFrom, double xTo, double yFrom, double yTo,
                                unsigned notify) {
    Notify(GraphChange::Range({xFrom, xTo, yFrom, yTo}, GetPanelValue(), notify));
}

void CGraphWnd::GetVisibleRange(double& xFrom, double& xTo, double& yFrom, double& yTo) const {
    VisibleRange range;
    if (!m_frame || !m_frame->PanelRange(range))
        return;
    xFrom = range.xFrom;
    xTo = range.xTo;
    yFrom = range.yFrom;
    yTo = range.yTo;
}

bool CGraphWnd::GetBoundRect(double& xMin, double& xMax, double& yMin, double& yMax) const {
    bool found = false;
    DataBounds all;
    for (const auto& props : m_series) {
        if (!props || !props->IsVisible() || props->GetCount() == 0)
            continue;
        const PointBounds& b = props->GetBounds();
        if (!found) {
            all = {b.xMin, b.xMax, b.yMin, b.yMax};
            found = true;
        } else {
            all = {std::min(all.xMin, b.xMin), std::max(all.xMax, b.xMax),
                   std::min(all.yMin, b.yMin), std::max(all.yMax, b.yMax)};
        }
    }
    if (found) {
        xMin = all.xMin;
        xMax = all.xMax;
        yMin = all.yMin;
        yMax = all.yMax;
    }
    return found;
}

bool CGraphWnd::ApplyBoundsToGraphs(double xMin, double xMax, double yMin, double yMax) {
    bool found = false;
    for (const auto& props : m_series) {
        if (!props || !props->IsVisible() || props->GetCount() == 0)
            continue;
        if (!found) {
            props->SetBounds({xMax, yMax, xMin, yMin});
            found = true;
        } else {
            const PointBounds& b = props->GetBounds();
            props->SetBounds({std::max(b.xMax, xMax), std::max(b.yMax, yMax),
                              std::min(b.xMin, xMin), std::min(b.yMin, yMin)});
        }
    }
    return found;
}

void CGraphWnd::FitPanel(int command) {
    if (m_frame)
        m_frame->FitPanel(command);
}

// --- axes

const CGraphAxisLabel& CGraphWnd::GetAxis(int axis) const {
    return axis == kXAxis ? m_xAxis : m_yAxis;
}

void CGraphWnd::SetAxisTexts(const std::string& name, const std::string& unit, int decimals,
                             int axis, unsigned notify) {
    CGraphAxisLabel& label = Axis(axis);
    label.SetName(name);
    label.SetUnit(unit);
    label.SetDecimals(decimals);
    Notify(GraphChange::Axis(axis, notify));
}

std::string CGraphWnd::FormatAxisValue(double value, int axis, int style) const {
    return GetAxis(axis).FormatValue(value, style);
}

// --- the frame

void CGraphWnd::RedrawParts(unsigned flags) {
    Notify(GraphChange::Flags(kRedraw, flags));
}

void CGraphWnd::ForwardToFrame(unsigned flags) {
    if (m_frame)
        m_frame->ShowBars(flags);
}

void CGraphWnd::ApplySeriesCopies(const std::vector<CGraphProps>& copies) {
    for (const CGraphProps& copy : copies) {
        CGraphProps* props = GetGraph(copy.GetIndex());
        if (!props)
            continue;
        props->SetColour(copy.GetColour());
        props->SetName(copy.GetName());
        props->SetVisible(copy.IsVisible());
    }
}

}  // namespace graph
