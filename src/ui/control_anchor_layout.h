#pragma once
// Keeps a form's child controls in place while the form is resized: each control is registered
// with its rectangle and an x and a y flag word, and every new form size gives each control its
// new rectangle.
//
// Per edge pair: 6 stretches with both edges fixed to the sides, 2 keeps the near edge and
// scales the far one, 4 scales the near edge and keeps the distance of the far one, 1 scales the
// position and keeps the size, 0 leaves the control alone.

#include <utility>
#include <vector>

#include "ui/geometry.h"

namespace ui {

constexpr unsigned ANCHOR_SCALE_POSITION = 1;
constexpr unsigned ANCHOR_NEAR = 2;
constexpr unsigned ANCHOR_FAR = 4;

class ControlAnchorLayout {
public:
    // The form's size that the registered rectangles belong to.
    void Attach(int width, int height);
    bool IsAttached() const { return m_attached; }
    void Register(int id, const Rect& rect, unsigned xFlags, unsigned yFlags);
    bool IsRegistered(int id) const;

    // Every registered control with its rectangle for a form of that size; nothing before
    // Attach.
    std::vector<std::pair<int, Rect>> Apply(int width, int height) const;

private:
    struct Entry {
        int id;
        Rect rect;
        unsigned xFlags;
        unsigned yFlags;
    };
    static void Edges(int nearEdge, int farEdge, unsigned flags, int delta, double scale,
                      int& newNear, int& newFar);

    bool m_attached = false;
    int m_width = 0;
    int m_height = 0;
    std::vector<Entry> m_entries;
};

}  // namespace ui
