#include "graph/graph_panel.h"

#include <QPainter>
#include <QPen>

#include "graph/curve_geometry.h"
#include "graph/graph_metrics.h"
#include "graph/graph_wnd.h"
#include "graph/ruler_layout.h"
#include "graph/rulers.h"
#include "platform/colors.h"

namespace graph {

namespace {

constexpr int kMarkDivisor = 35;

// The scales over a rectangle: its first and last column, its last and first row, so that
// both ends of the range fall on the panel.
void ScalesFor(const ui::Rect& rect, const VisibleRange& range, CAxisScale& x, CAxisScale& y) {
    x.Init(rect.left, rect.right - 1, range.xFrom, range.xTo);
    y.Init(rect.bottom - 1, rect.top, range.yFrom, range.yTo);
}

}  // namespace

CGraphPanel::CGraphPanel(CGraphWnd& graph, FVRuler& vertical, FHRuler& horizontal, QWidget* parent)
    : QWidget(parent), m_graph(graph), m_vertical(vertical), m_horizontal(horizontal) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

int CGraphPanel::OnGraphChange(const GraphChange& change) {
    const bool repaint = change.notify != 0;
    switch (change.code) {
        case kPointAdded:
            OnPointAdded(change);
            break;
        case kPointRemoved:
        case kPointChanged:
        case kSeriesRemoved:
        case kPointsCleared:
            if (repaint)
                PaintNow();
            break;
        case kRangeSet:
            SetOptions(change.options, repaint);
            SetRange(change.range.xFrom, change.range.xTo, change.range.yFrom, change.range.yTo,
                     repaint);
            break;
        case kAxisChanged: {
            const CGraphAxisLabel& label = m_graph.GetAxis(change.axis);
            FRuler& ruler = change.axis == kXAxis ? static_cast<FRuler&>(m_horizontal)
                                                  : static_cast<FRuler&>(m_vertical);
            ruler.SetText(label.GetUnit(), label.GetCaption());
            break;
        }
        case kRedraw:
            if (change.flags & kRedrawCurves)
                PaintNow();
            if (change.flags & kRedrawRulers)
                RedrawRulers();
            break;
        default:
            break;
    }
    return 0;
}

void CGraphPanel::OnPointAdded(const GraphChange& change) {
    const CGraphProps* series = m_graph.GetGraph(change.series);
    if (!series || !series->IsVisible() || !series->IsValidIndex(change.point))
        return;
    if (m_options & kAutoExtend) {
        VisibleRange range = m_range;
        const GraphPoint& point = series->GetPoint(change.point);
        if (ExtendToInclude(range, point.x, point.y)) {
            SetRange(range.xFrom, range.xTo, range.yFrom, range.yTo, false);
            if (change.notify)
                PaintNow();
            return;
        }
    }
    if (change.notify)
        PaintNow();
}

void CGraphPanel::SetRange(double xFrom, double xTo, double yFrom, double yTo, bool repaint) {
    const VisibleRange range{xFrom, xTo, yFrom, yTo};
    if (m_hasScales && range == m_range)
        return;
    m_range = range;
    m_hasScales = true;
    BuildScales();
    m_vertical.SetRange(yFrom, yTo, repaint);
    m_horizontal.SetRange(xFrom, xTo, repaint);
    if (repaint)
        PaintNow();
    else
        m_imageValid = false;
}

unsigned CGraphPanel::SetOptions(unsigned options, bool repaint) {
    const unsigned previous = m_options;
    if (options != previous) {
        m_options = options;
        if (repaint)
            PaintNow();
        else
            m_imageValid = false;
    }
    return previous;
}

unsigned CGraphPanel::ToggleOption(unsigned bits, bool repaint) {
    return SetOptions((m_options & bits) == bits ? m_options & ~bits : m_options | bits, repaint);
}

void CGraphPanel::OnFit(int command) {
    DataBounds bounds;
    if (!m_graph.GetBoundRect(bounds.xMin, bounds.xMax, bounds.yMin, bounds.yMax))
        return;
    const VisibleRange range = FitRange(command, bounds, m_range);
    SetRange(range.xFrom, range.xTo, range.yFrom, range.yTo, true);
}

void CGraphPanel::BuildScales() {
    ScalesFor({0, 0, width(), height()}, m_range, m_xScale, m_yScale);
}

int CGraphPanel::MarkSize() const {
    return m_graph.Metrics().PixelsPerInchY() / kMarkDivisor;
}

// --- painting

void CGraphPanel::PaintNow() {
    m_imageValid = false;
    if (!isVisible())
        return;
    repaint();
}

void CGraphPanel::RenderAll(QPainter& painter, const ui::Rect& rect) const {
    const QColor background = platform::ToQColor(kBackground);
    painter.fillRect(QRect(rect.left - 1, rect.top - 1, rect.Width() + 2, rect.Height() + 2),
                     background);
    if (!m_hasScales)
        return;
    DrawGraphs(painter, rect);
    if (m_options & kAxis)
        DrawAxis(painter, rect);
}

void CGraphPanel::DrawGraphs(QPainter& painter, const ui::Rect& rect) const {
    CAxisScale x;
    CAxisScale y;
    ScalesFor(rect, m_range, x, y);
    painter.save();
    painter.setClipRect(QRect(rect.left, rect.top, rect.Width(), rect.Height()));
    painter.setRenderHint(QPainter::Antialiasing, false);

    CurveRequest request;
    request.clip = rect;
    request.lines = !(m_options & kPointsOnly);
    request.marks = (m_options & kPointMarks) != 0;
    request.markSize = MarkSize();
    const int side = 2 * request.markSize + 1;

    std::vector<QLine> lines;
    int position = -1;
    for (const CGraphProps* series = m_graph.GetFirstGraph(position); series;
         series = m_graph.GetNextGraph(position)) {
        if (!series->IsVisible() || series->GetCount() == 0)
            continue;
        const CurveGeometry geometry = TraceSeries(*series, x, y, request);
        const QColor colour = platform::ToQColor(series->GetColour());
        lines.clear();
        lines.reserve(geometry.lines.size());
        for (const PixelLine& line : geometry.lines)
            lines.emplace_back(line.x0, line.y0, line.x1, line.y1);
        painter.setPen(QPen(colour, 1));
        painter.drawLines(lines.data(), static_cast<int>(lines.size()));
        for (const PixelPoint& mark : geometry.marks)
            painter.fillRect(mark.x - request.markSize, mark.y - request.markSize, side, side,
                             colour);
    }
    painter.restore();
}

void CGraphPanel::DrawAxis(QPainter& painter, const ui::Rect& rect) const {
    CAxisScale x;
    CAxisScale y;
    ScalesFor(rect, m_range, x, y);
    painter.save();
    painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
    const AxisTicks columns = ComputeTicks(x, m_horizontal.CalcLayout(rect));
    for (double position : columns.positions) {
        const int px = static_cast<int>(position);
        painter.drawLine(px, rect.bottom, px, rect.top);
    }
    const AxisTicks rows = ComputeTicks(y, m_vertical.CalcLayout(rect));
    for (double position : rows.positions) {
        const int py = static_cast<int>(position);
        painter.drawLine(rect.right, py, rect.left, py);
    }
    painter.restore();
}

void CGraphPanel::RedrawRulers() {
    m_vertical.repaint();
    m_horizontal.repaint();
}

void CGraphPanel::paintEvent(QPaintEvent*) {
    if (m_image.size() != size())
        m_image = QImage(size(), QImage::Format_RGB32);
    if (!m_imageValid && !m_image.isNull()) {
        QPainter offscreen(&m_image);
        RenderAll(offscreen, {0, 0, width(), height()});
        m_imageValid = true;
    }
    QPainter painter(this);
    painter.drawImage(0, 0, m_image);
}

void CGraphPanel::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    BuildScales();
    m_imageValid = false;
}

}  // namespace graph
