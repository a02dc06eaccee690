// The panel under the mouse: the read-out, the zoom rectangle and panning with Shift held.
#include <QMouseEvent>
#include <QToolTip>
#include <limits>

#include "graph/graph_commands.h"
#include "graph/graph_dialogs.h"
#include "graph/graph_host.h"
#include "graph/graph_marks.h"
#include "graph/graph_panel.h"
#include "graph/graph_wnd.h"
#include "platform/text.h"

namespace graph {

namespace {

// Each side of the rectangle's outline and handles, and a little more.
constexpr int kTrackerMargin = 2;
constexpr const char* kLevelRecordKind = "SLM5";

Qt::CursorShape CursorOver(RectTracker::Hit hit) {
    switch (hit) {
        case RectTracker::kTopLeft:
        case RectTracker::kBottomRight:
            return Qt::SizeFDiagCursor;
        case RectTracker::kTopRight:
        case RectTracker::kBottomLeft:
            return Qt::SizeBDiagCursor;
        case RectTracker::kTop:
        case RectTracker::kBottom:
            return Qt::SizeVerCursor;
        case RectTracker::kLeft:
        case RectTracker::kRight:
            return Qt::SizeHorCursor;
        case RectTracker::kInside:
            return Qt::SizeAllCursor;
        default:
            return Qt::ArrowCursor;
    }
}

int RowOf(long long sample) {
    return sample <= std::numeric_limits<int>::max() ? static_cast<int>(sample) : -1;
}

}  // namespace

void CGraphPanel::UpdateReadout(QPoint pixel) {
    if (!(m_options & kReadout)) {
        if (!m_readout.empty())
            QToolTip::hideText();
        m_readout.clear();
        return;
    }
    GraphHost& host = Host();
    std::string text = host.FormatPointReadout(pixel.x(), pixel.y(), CoordinateText(pixel));
    const GraphContext context = host.Context();
    const GraphMarks* marks = host.Marks();
    if (marks && HasBothMarkers(marks->markers)) {
        const Marker a = *ParseMarker(marks->markers[kMarkerA]);
        const Marker b = *ParseMarker(marks->markers[kMarkerB]);
        text =
            MarkerComparison(a, host.TimeLabel(RowOf(a.sample)), b, host.TimeLabel(RowOf(b.sample)),
                             text, context.channelLevels, context.absoluteTimes);
    } else if (context.recordKind == kLevelRecordKind) {
        text.clear();
    }
    m_readout = text;
    if (m_readout.empty())
        QToolTip::hideText();
    else
        QToolTip::showText(mapToGlobal(pixel), ToQt(platform::ReplaceAll(m_readout, "\r", "\n")),
                           this);
}

void CGraphPanel::PanBetween(QPoint from, QPoint to) {
    if (from == to || !m_hasScales)
        return;
    const double dx = m_xScale.PixelToValue(from.x()) - m_xScale.PixelToValue(to.x());
    const double dy = m_yScale.PixelToValue(from.y()) - m_yScale.PixelToValue(to.y());
    SetRange(m_range.xFrom + dx, m_range.xTo + dx, m_range.yFrom + dy, m_range.yTo + dy, true);
}

void CGraphPanel::InvalidateTracker(const ui::Rect& before) {
    const ui::Rect& after = m_tracker.GetRect();
    const ui::Rect both{std::min(before.left, after.left), std::min(before.top, after.top),
                        std::max(before.right, after.right), std::max(before.bottom, after.bottom)};
    const ui::Rect dirty = both.Inflated(kTrackerMargin);
    update(dirty.left, dirty.top, dirty.Width(), dirty.Height());
}

void CGraphPanel::ShowZoomRect(const ui::Rect& rect) {
    const ui::Rect before = m_tracker.GetRect();
    m_tracker.SetRect(rect);
    m_zoomRectShown = true;
    InvalidateTracker(before);
}

void CGraphPanel::HideZoomRect() {
    m_zoomRectShown = false;
    InvalidateTracker(m_tracker.GetRect());
}

bool CGraphPanel::ZoomToTracker() {
    if (!m_zoomRectShown)
        return false;
    HideZoomRect();
    const ui::Rect& r = m_tracker.GetRect();
    const VisibleRange range =
        ZoomRange(m_xScale, m_yScale, r.left, r.top, r.right, r.bottom, m_range);
    SetRange(range.xFrom, range.xTo, range.yFrom, range.yTo, true);
    return true;
}

void CGraphPanel::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    const QPoint at = event->position().toPoint();
    m_lastClick = at;
    if (event->modifiers() & Qt::ShiftModifier) {
        m_panDrag = {true, at, at};
    } else if (!m_zoomRectShown) {
        m_zoomDrag = {true, at, at};
        m_tracker.SetRect({at.x(), at.y(), at.x(), at.y()});
    } else if (!m_tracker.BeginDrag(at.x(), at.y())) {
        HideZoomRect();
    }
    event->accept();
}

void CGraphPanel::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    UpdateReadout(at);
    if (m_panDrag.active) {
        const QPoint previous = m_panDrag.to;
        m_panDrag.to = at;
        PanBetween(previous, at);
    }
    const ui::Rect before = m_tracker.GetRect();
    if (m_zoomDrag.active) {
        m_zoomDrag.to = at;
        m_tracker.SetRect(
            RectTracker::Normalized(m_zoomDrag.from.x(), m_zoomDrag.from.y(), at.x(), at.y()));
        InvalidateTracker(before);
    } else if (m_tracker.IsDragging()) {
        m_tracker.DragTo(at.x(), at.y());
        InvalidateTracker(before);
    } else {
        setCursor(m_zoomRectShown ? CursorOver(m_tracker.HitTest(at.x(), at.y()))
                                  : Qt::ArrowCursor);
    }
    event->accept();
}

void CGraphPanel::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (event->button() == Qt::RightButton) {
        event->accept();
        ShowGraphContextMenu(this, mapToGlobal(at));
        return;
    }
    if (event->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    if (m_panDrag.active) {
        m_panDrag.active = false;
        PanBetween(m_panDrag.to, at);
    }
    const ui::Rect before = m_tracker.GetRect();
    if (m_zoomDrag.active) {
        m_zoomDrag.active = false;
        m_tracker.SetRect(
            RectTracker::Normalized(m_zoomDrag.from.x(), m_zoomDrag.from.y(), at.x(), at.y()));
        m_zoomRectShown = m_zoomDrag.from != at;
        InvalidateTracker(before);
    } else if (m_tracker.IsDragging()) {
        m_tracker.DragTo(at.x(), at.y());
        m_tracker.EndDrag();
        InvalidateTracker(before);
    }
    event->accept();
}

void CGraphPanel::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !m_hasScales) {
        QWidget::mouseDoubleClickEvent(event);
        return;
    }
    Host().OnPanelDoubleClick();
    m_graph.RedrawParts(kRedrawCurves);
    event->accept();
}

}  // namespace graph
