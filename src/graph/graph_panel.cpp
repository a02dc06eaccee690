#include "graph/graph_panel.h"

#include <QGuiApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QPen>
#include <algorithm>

#include "graph/curve_geometry.h"
#include "graph/graph_dialogs.h"
#include "graph/graph_host.h"
#include "graph/graph_marks.h"
#include "graph/graph_metrics.h"
#include "graph/graph_property_pages.h"
#include "graph/graph_wnd.h"
#include "graph/panel_overlays.h"
#include "graph/ruler_layout.h"
#include "graph/rulers.h"
#include "platform/colors.h"
#include "platform/text.h"

namespace graph {

namespace {

constexpr int kMarkDivisor = 35;
// The sixth series is the under-range line.
constexpr int kUrSlot = 5;
constexpr COLORREF kMagenta = 0xFF00FF;
constexpr COLORREF kGrey = 0x808080;
constexpr COLORREF kSilver = 0xC0C0C0;
constexpr COLORREF kRed = 0x0000FF;
constexpr COLORREF kGreen = 0x00FF00;
constexpr int kWideLine = 3;
constexpr const char* kLastStatus = "LAST";

// The answers of a graph that belongs to no part of the program.
class NoHost : public GraphHost {
public:
    std::string TimeLabel(int) override { return {}; }
};

// The scales over a rectangle: its first and last column, its last and first row, so that
// both ends of the range fall on the panel.
void ScalesFor(const ui::Rect& rect, const VisibleRange& range, CAxisScale& x, CAxisScale& y) {
    x.Init(rect.left, rect.right - 1, range.xFrom, range.xTo);
    y.Init(rect.bottom - 1, rect.top, range.yFrom, range.yTo);
}

QColor Colour(COLORREF colour) {
    return platform::ToQColor(colour);
}

QRect ToQRect(const ui::Rect& r) {
    return QRect(r.left, r.top, r.Width(), r.Height());
}

// Text with its top left corner at (x, y), as the program places its texts.
QRect TextAt(QPainter& painter, int x, int y, const std::string& text) {
    const QString shown = ToQt(text);
    const QRect box =
        painter.fontMetrics().boundingRect(shown).translated(x, y + painter.fontMetrics().ascent());
    painter.drawText(x, y + painter.fontMetrics().ascent(), shown);
    return box;
}

void TextCentredAt(QPainter& painter, int centre, int y, const std::string& text) {
    const int width = painter.fontMetrics().horizontalAdvance(ToQt(text));
    TextAt(painter, centre - width / 2, y, text);
}

void MarkAt(QPainter& painter, int x, int y, int m) {
    painter.drawRect(x - m, y - m, 2 * m, 2 * m);
}

std::string UnderRangeText(int level) {
    return platform::Format("UR: %d dB", level);
}

// The points of an ordered series whose x lies in the visible x range, with one more on each
// side; every point of a series in insertion order.
std::pair<int, int> VisiblePoints(const CGraphProps& series, const CAxisScale& x) {
    const std::vector<GraphPoint>& p = series.Points();
    const int n = series.GetCount();
    if (!series.IsOrdered())
        return {0, n - 1};
    const double low = std::min(x.ValueStart(), x.ValueEnd());
    const double high = std::max(x.ValueStart(), x.ValueEnd());
    const auto first = std::lower_bound(
        p.begin(), p.end(), low, [](const GraphPoint& point, double v) { return point.x < v; });
    const auto last = std::upper_bound(
        p.begin(), p.end(), high, [](double v, const GraphPoint& point) { return v < point.x; });
    return {std::max(0, static_cast<int>(first - p.begin()) - 1),
            std::min(n - 1, static_cast<int>(last - p.begin()))};
}

// The wait cursor while a long paint runs; live monitoring paints too often to show it.
class WaitCursor {
public:
    explicit WaitCursor(bool show) : m_shown(show) {
        if (m_shown)
            QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    }
    ~WaitCursor() {
        if (m_shown)
            QGuiApplication::restoreOverrideCursor();
    }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    bool m_shown;
};

bool Within(int v, int a, int b) {
    return v >= std::min(a, b) && v <= std::max(a, b);
}

// A step within one pixel column from `from` to `to` that the vertical line covers already.
bool CoveredBy(QPoint from, QPoint to, const PixelLine& vertical) {
    return vertical.x0 == vertical.x1 && from.x() == vertical.x0 && to.x() == vertical.x0 &&
           Within(from.y(), vertical.y0, vertical.y1) && Within(to.y(), vertical.y0, vertical.y1);
}

// A curve's lines drawn as few polylines as they allow (Qt draws a polyline's segments for
// less than the same segments one by one): a line that goes on from where the one before
// ended joins it, and so does one that starts elsewhere in the same column when a column's
// vertical line covers the step between them (a trace's column is its way in, the vertical
// line of its lowest to its highest point, and its way out, all in that column).
void DrawJoined(QPainter& painter, const std::vector<PixelLine>& lines, QPolygon& chain) {
    chain.clear();
    const PixelLine* previous = nullptr;
    for (const PixelLine& line : lines) {
        const QPoint start(line.x0, line.y0);
        const bool goesOn =
            !chain.isEmpty() && (chain.back() == start || CoveredBy(chain.back(), start, line) ||
                                 (previous && CoveredBy(chain.back(), start, *previous)));
        if (!goesOn) {
            if (chain.size() > 1)
                painter.drawPolyline(chain);
            chain.clear();
        }
        if (chain.isEmpty() || chain.back() != start)
            chain.append(start);
        chain.append(QPoint(line.x1, line.y1));
        previous = &line;
    }
    if (chain.size() > 1)
        painter.drawPolyline(chain);
}

}  // namespace

CGraphPanel::CGraphPanel(CGraphWnd& graph, FVRuler& vertical, FHRuler& horizontal, QWidget* parent)
    : QWidget(parent), m_graph(graph), m_vertical(vertical), m_horizontal(horizontal) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
}

CGraphPanel::~CGraphPanel() = default;

GraphHost& CGraphPanel::Host() const {
    static NoHost none;
    return m_graph.Host() ? *m_graph.Host() : none;
}

int CGraphPanel::OnGraphChange(const GraphChange& change) {
    const bool repaint = change.notify != 0;
    switch (change.code) {
        case kPointAdded:
            OnPointAdded(change);
            break;
        case kPointsAppended:
            OnPointsAppended(change);
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
    if (!change.notify)
        return;
    const int last = series->GetCount() - 1;
    // Only a point at either end adds a segment of its own; the image must hold the rest.
    if ((change.point != 0 && change.point != last) || !m_imageValid || !m_hasScales ||
        m_image.size() != size()) {
        PaintNow();
        return;
    }
    DrawAppendedSegment(*series, change.series, change.point);
}

// What the points' own additions would have done, once: the range stretched for each point in
// turn, and one repaint when asked.
void CGraphPanel::OnPointsAppended(const GraphChange& change) {
    const CGraphProps* series = m_graph.GetGraph(change.series);
    if (!series || !series->IsVisible() || change.count <= 0 ||
        !series->IsValidIndex(change.point) ||
        !series->IsValidIndex(change.point + change.count - 1))
        return;
    if (m_options & kAutoExtend) {
        VisibleRange range = m_range;
        const std::span<const GraphPoint> run(series->Points().data() + change.point,
                                              static_cast<size_t>(change.count));
        if (ExtendToInclude(range, run))
            SetRange(range.xFrom, range.xTo, range.yFrom, range.yTo, false);
    }
    if (change.notify)
        PaintNow();
}

void CGraphPanel::DrawAppendedSegment(const CGraphProps& series, int slot, int point) {
    const int m = MarkSize();
    const GraphPoint& p = series.GetPoint(point);
    const int px = PixelOf(m_xScale, p.x);
    const int py = PixelOf(m_yScale, p.y);
    QPainter painter(&m_image);
    painter.setClipRect(m_image.rect());
    const QColor colour = Colour(series.GetColour());
    painter.setPen(QPen(colour, 1));
    painter.setBrush(colour);
    QRect dirty;
    if (series.GetCount() >= 2) {
        const GraphPoint& n = series.GetPoint(point == 0 ? 1 : point - 1);
        const int nx = PixelOf(m_xScale, n.x);
        const int ny = PixelOf(m_yScale, n.y);
        if (nx == px && ny == py)
            return;
        dirty = QRect(QPoint(std::min(px, nx), std::min(py, ny)),
                      QPoint(std::max(px, nx), std::max(py, ny)))
                    .adjusted(-(m + 2), -(m + 2), m + 2, m + 2);
        if (slot == kUrSlot && n.x == 1.0) {
            painter.setPen(Colour(kMagenta));
            dirty |= TextAt(painter, nx, ny, UnderRangeText(Host().Context().underRangeLevel));
        }
        if (!(m_options & kPointsOnly)) {
            painter.setPen(slot == kUrSlot ? QPen(Colour(kMagenta), kWideLine, Qt::DotLine)
                                           : QPen(colour, 1));
            painter.drawLine(nx, ny, px, py);
        }
    } else if (m_options & kPointMarks) {
        dirty = QRect(px, py, 1, 1).adjusted(-(m + 2), -(m + 2), m + 2, m + 2);
    }
    if (m_options & kPointMarks) {
        painter.setPen(QPen(colour, 1));
        MarkAt(painter, px, py, m);
    }
    painter.end();
    if (!dirty.isEmpty() && isVisible())
        repaint(dirty & rect());
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

void CGraphPanel::ExtendXMin(double value, bool repaint) {
    VisibleRange r = m_range;
    (r.xFrom <= r.xTo ? r.xFrom : r.xTo) = value;
    SetRange(r.xFrom, r.xTo, r.yFrom, r.yTo, repaint);
}

void CGraphPanel::ExtendXMax(double value, bool repaint) {
    VisibleRange r = m_range;
    (r.xFrom <= r.xTo ? r.xTo : r.xFrom) = value;
    SetRange(r.xFrom, r.xTo, r.yFrom, r.yTo, repaint);
}

void CGraphPanel::ExtendYMin(double value, bool repaint) {
    VisibleRange r = m_range;
    (r.yFrom <= r.yTo ? r.yFrom : r.yTo) = value;
    SetRange(r.xFrom, r.xTo, r.yFrom, r.yTo, repaint);
}

void CGraphPanel::ExtendYMax(double value, bool repaint) {
    VisibleRange r = m_range;
    (r.yFrom <= r.yTo ? r.yTo : r.yFrom) = value;
    SetRange(r.xFrom, r.xTo, r.yFrom, r.yTo, repaint);
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

std::string CGraphPanel::CoordinateText(QPoint pixel) const {
    return graph::CoordinateText(m_graph.FormatAxisValue(m_xScale.PixelToValue(pixel.x()), kXAxis,
                                                         CGraphAxisLabel::kValueAndUnit),
                                 m_graph.FormatAxisValue(m_yScale.PixelToValue(pixel.y()), kYAxis,
                                                         CGraphAxisLabel::kValueAndUnit));
}

// --- painting

void CGraphPanel::PaintNow() {
    m_imageValid = false;
    if (!isVisible())
        return;
    repaint();
}

void CGraphPanel::RenderAll(QPainter& painter, const ui::Rect& rect) const {
    painter.fillRect(ToQRect(rect.Inflated(1)), Colour(kBackground));
    if (!m_hasScales)
        return;
    DrawGraphs(painter, rect);
    if (m_options & kAxis)
        DrawAxis(painter, rect);
}

void CGraphPanel::DrawGraphs(QPainter& painter, const ui::Rect& rect) const {
    const GraphContext context = Host().Context();
    const WaitCursor wait(!context.liveMonitoring);
    CAxisScale x;
    CAxisScale y;
    ScalesFor(rect, m_range, x, y);
    painter.save();
    painter.setClipRect(ToQRect(rect));
    painter.setRenderHint(QPainter::Antialiasing, false);

    CurveRequest request;
    request.clip = rect;
    request.lines = !(m_options & kPointsOnly);
    request.marks = (m_options & kPointMarks) != 0;
    request.markSize = MarkSize();
    const int m = request.markSize;
    const int side = 2 * m + 1;
    const int statusColumn = context.statusColumn;

    QPolygon chain;
    bool curvesDrawn = false;
    int position = -1;
    // Markers go by a series' place among the present ones, hidden and empty ones counted.
    int present = -1;
    for (const CGraphProps* series = m_graph.GetFirstGraph(position); series;
         series = m_graph.GetNextGraph(position)) {
        ++present;
        if (!series->IsVisible() || series->GetCount() == 0)
            continue;
        const int slot = position;
        const QColor colour = Colour(series->GetColour());
        const auto [first, last] = VisiblePoints(*series, x);
        const auto pixel = [&](int i) {
            const GraphPoint& p = series->GetPoint(i);
            return QPoint(PixelOf(x, p.x), PixelOf(y, p.y));
        };

        if (m_statusHighlight) {
            painter.setPen(QPen(colour, 1));
            painter.setBrush(Colour(kGrey));
            for (int row : Host().RowsWithStatus(statusColumn, kLastStatus, first, last))
                if (series->IsValidIndex(row))
                    MarkAt(painter, pixel(row).x(), pixel(row).y(), m + 1);
        }

        const CurveGeometry geometry = TraceSeries(*series, x, y, request);
        const bool wide = slot == kUrSlot && context.wideLine;
        painter.setPen(wide ? QPen(colour, kWideLine, Qt::DotLine) : QPen(colour, 1));
        DrawJoined(painter, geometry.lines, chain);
        for (const PixelPoint& mark : geometry.marks)
            painter.fillRect(mark.x - m, mark.y - m, side, side, colour);
        curvesDrawn = curvesDrawn || series->GetCount() >= 2;

        if (series->GetName() == "UR" && series->GetCount() >= 2) {
            painter.setPen(Colour(kMagenta));
            TextAt(painter, pixel(1).x(), pixel(1).y(), UnderRangeText(context.underRangeLevel));
        }

        // Report intervals: one silver line per column however many boundaries fall in it.
        painter.setPen(QPen(Colour(kSilver), 1));
        int lastColumn = rect.left - 1;
        for (int sample : Host().ReportIntervalSamples(first, last)) {
            if (!series->IsValidIndex(sample))
                continue;
            const int column = pixel(sample).x();
            if (column == lastColumn)
                continue;
            lastColumn = column;
            painter.drawLine(column, rect.bottom, column, rect.top);
        }

        // The markers of this series.
        if (const GraphMarks* marks = Host().Marks()) {
            for (int which : {kMarkerA, kMarkerB}) {
                if (static_cast<int>(marks->markers.size()) <= which)
                    continue;
                const std::optional<Marker> marker = ParseMarker(marks->markers[which]);
                if (!marker || !MarkerBelongsTo(*marker, context.channelLevels, present, slot))
                    continue;
                const int at = FindPointAtX(*series, static_cast<double>(marker->sample) + 1);
                if (at < 0)
                    continue;
                const QPoint p = pixel(at);
                painter.setPen(QPen(Colour(kRed), 1));
                painter.setBrush(Colour(kGreen));
                MarkAt(painter, p.x(), p.y(), m);
                painter.setPen(Qt::black);
                TextAt(painter, p.x(), p.y(),
                       platform::Format("%s (%s - %s dB)", which == kMarkerA ? "A" : "B",
                                        marker->Time().c_str(), marker->Level().c_str()));
            }
        }
    }
    DrawMarks(painter, rect, x, y, context, curvesDrawn);
    painter.restore();
}

void CGraphPanel::DrawMarks(QPainter& painter, const ui::Rect& rect, const CAxisScale& x,
                            const CAxisScale& y, const GraphContext& context,
                            bool curvesDrawn) const {
    const GraphMarks* marks = Host().Marks();
    if (!marks)
        return;
    const int m = MarkSize();
    if (curvesDrawn) {
        painter.setPen(Qt::black);
        painter.setBrush(Qt::black);
        for (const std::string& record : marks->labels) {
            const std::optional<GraphLabel> label = ParseLabelRecord(record);
            if (!label || label->record != marks->currentRecord ||
                label->kind != context.recordKind)
                continue;
            const LabelPlan plan = PlanLabel(*label, x, y);
            MarkAt(painter, plan.anchor.x, plan.anchor.y, m);
            for (const PixelLine& line : {plan.leader, plan.underline})
                painter.drawLine(line.x0, line.y0, line.x1, line.y1);
            TextAt(painter, plan.textAt.x, plan.textAt.y, plan.text);
        }
    }
    const size_t events = std::min(marks->eventStarts.size(), marks->eventEnds.size());
    for (size_t i = 0; i < events; ++i) {
        const std::optional<EventSpan> span =
            ParseEventSpan(marks->eventStarts[i], marks->eventEnds[i]);
        if (!span)
            continue;
        const std::optional<EventPlan> plan = PlanEvent(
            *span, context.selectedSegment, PixelOf(x, static_cast<double>(span->startSample)),
            PixelOf(x, static_cast<double>(span->endSample)), rect);
        if (!plan)
            continue;
        painter.setPen(QPen(Colour(kSilver), 1, Qt::DotLine));
        for (const PixelLine& line : plan->lines)
            painter.drawLine(line.x0, line.y0, line.x1, line.y1);
        painter.setPen(Qt::black);
        TextCentredAt(painter, plan->textCentre, plan->textTop,
                      platform::Format("Ev.%d", static_cast<int>(i) + 1));
    }
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

void CGraphPanel::paintEvent(QPaintEvent* event) {
    if (m_image.size() != size()) {
        m_image = QImage(size(), QImage::Format_RGB32);
        m_imageValid = false;
    }
    if (!m_imageValid && !m_image.isNull()) {
        QPainter offscreen(&m_image);
        RenderAll(offscreen, {0, 0, width(), height()});
        m_imageValid = true;
    }
    QPainter painter(this);
    painter.drawImage(event->rect(), m_image, event->rect());
    if (m_zoomRectShown || m_zoomDrag.active) {
        const ui::Rect& r = m_tracker.GetRect();
        painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(r.left, r.top, r.Width() - 1, r.Height() - 1);
        if (m_zoomRectShown && !m_zoomDrag.active)
            for (int hit = RectTracker::kTopLeft; hit < RectTracker::kHandles; ++hit)
                painter.fillRect(ToQRect(m_tracker.Handle(static_cast<RectTracker::Hit>(hit))),
                                 Qt::black);
    }
}

void CGraphPanel::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    BuildScales();
    m_imageValid = false;
}

}  // namespace graph
