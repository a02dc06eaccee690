#pragma once
// The zoom tool's rectangle: shown with a handle at each corner and edge, moved by dragging
// its inside, resized by dragging a handle. It keeps the drag it is in; the panel hands it the
// mouse.

#include "ui/geometry.h"

namespace graph {

class RectTracker {
public:
    // Where a point lies on the rectangle.
    enum Hit : int {
        kOutside = -1,
        kTopLeft,
        kTopRight,
        kBottomRight,
        kBottomLeft,
        kTop,
        kRight,
        kBottom,
        kLeft,
        kInside,
    };
    static constexpr int kHandleSize = 7;
    static constexpr int kHandles = 8;

    // Stores the rectangle with its edges in order.
    void SetRect(const ui::Rect& rect);
    const ui::Rect& GetRect() const { return m_rect; }
    // The rectangle between two corners given in any order.
    static ui::Rect Normalized(int x0, int y0, int x1, int y1);

    Hit HitTest(int x, int y) const;
    // The square of handle `hit` (kTopLeft .. kLeft).
    ui::Rect Handle(Hit hit) const;

    // A drag of the rectangle from a point; false (and no drag) outside it.
    bool BeginDrag(int x, int y);
    bool IsDragging() const { return m_drag != kOutside; }
    // The mouse moved to (x, y): the inside moves the rectangle, a handle its edges.
    void DragTo(int x, int y);
    // Ends the drag; true when the rectangle changed.
    bool EndDrag();

private:
    ui::Rect m_rect;
    Hit m_drag = kOutside;
    int m_startX = 0;
    int m_startY = 0;
    ui::Rect m_startRect;
};

}  // namespace graph
