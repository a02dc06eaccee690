#pragma once
// A rectangle as Windows code measures it: right and bottom lie just outside.

namespace ui {

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    Rect Inflated(int d) const { return {left - d, top - d, right + d, bottom + d}; }
    Rect Offset(int dx, int dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
    bool operator==(const Rect&) const = default;
};

}  // namespace ui
