#include "graph/rect_tracker.h"

#include <algorithm>

namespace graph {

void RectTracker::SetRect(const ui::Rect& rect) {
    m_rect = Normalized(rect.left, rect.top, rect.right, rect.bottom);
}

ui::Rect RectTracker::Normalized(int x0, int y0, int x1, int y1) {
    return {std::min(x0, x1), std::min(y0, y1), std::max(x0, x1), std::max(y0, y1)};
}

ui::Rect RectTracker::Handle(Hit hit) const {
    const ui::Rect& r = m_rect;
    const int midX = (r.left + r.right - kHandleSize) / 2;
    const int midY = (r.top + r.bottom - kHandleSize) / 2;
    const int right = r.right - kHandleSize;
    const int bottom = r.bottom - kHandleSize;
    int x = r.left;
    int y = r.top;
    switch (hit) {
        case kTopRight:
            x = right;
            break;
        case kBottomRight:
            x = right;
            y = bottom;
            break;
        case kBottomLeft:
            y = bottom;
            break;
        case kTop:
            x = midX;
            break;
        case kRight:
            x = right;
            y = midY;
            break;
        case kBottom:
            x = midX;
            y = bottom;
            break;
        case kLeft:
            y = midY;
            break;
        default:
            break;
    }
    return {x, y, x + kHandleSize, y + kHandleSize};
}

RectTracker::Hit RectTracker::HitTest(int x, int y) const {
    const auto contains = [x, y](const ui::Rect& r) {
        return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
    };
    for (int hit = kTopLeft; hit < kHandles; ++hit)
        if (contains(Handle(static_cast<Hit>(hit))))
            return static_cast<Hit>(hit);
    return contains(m_rect) ? kInside : kOutside;
}

bool RectTracker::BeginDrag(int x, int y) {
    m_drag = HitTest(x, y);
    m_startX = x;
    m_startY = y;
    m_startRect = m_rect;
    return m_drag != kOutside;
}

void RectTracker::DragTo(int x, int y) {
    const int dx = x - m_startX;
    const int dy = y - m_startY;
    ui::Rect r = m_startRect;
    const bool left = m_drag == kTopLeft || m_drag == kBottomLeft || m_drag == kLeft;
    const bool right = m_drag == kTopRight || m_drag == kBottomRight || m_drag == kRight;
    const bool top = m_drag == kTopLeft || m_drag == kTopRight || m_drag == kTop;
    const bool bottom = m_drag == kBottomLeft || m_drag == kBottomRight || m_drag == kBottom;
    if (m_drag == kInside) {
        r = r.Offset(dx, dy);
    } else {
        r.left += left ? dx : 0;
        r.right += right ? dx : 0;
        r.top += top ? dy : 0;
        r.bottom += bottom ? dy : 0;
    }
    if (m_drag != kOutside)
        SetRect(r);
}

bool RectTracker::EndDrag() {
    if (m_drag == kOutside)
        return false;
    m_drag = kOutside;
    return !(m_rect == m_startRect);
}

}  // namespace graph
