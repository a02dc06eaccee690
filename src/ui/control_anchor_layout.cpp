#include "ui/control_anchor_layout.h"

#include <algorithm>

namespace ui {

void ControlAnchorLayout::Attach(int width, int height) {
    m_attached = true;
    m_width = width;
    m_height = height;
}

void ControlAnchorLayout::Register(int id, const Rect& rect, unsigned xFlags, unsigned yFlags) {
    std::erase_if(m_entries, [id](const Entry& e) { return e.id == id; });
    m_entries.push_back({id, rect, xFlags, yFlags});
}

bool ControlAnchorLayout::IsRegistered(int id) const {
    return std::ranges::any_of(m_entries, [id](const Entry& e) { return e.id == id; });
}

void ControlAnchorLayout::Edges(int nearEdge, int farEdge, unsigned flags, int delta, double scale,
                                int& newNear, int& newFar) {
    if (flags & ANCHOR_NEAR)
        newNear = nearEdge;
    else if (flags == 0)
        newNear = nearEdge;
    else if ((flags & ANCHOR_SCALE_POSITION) && (flags & ANCHOR_FAR))
        newNear = nearEdge + delta;
    else
        newNear = static_cast<int>(nearEdge * scale);

    if (flags & ANCHOR_FAR)
        newFar = farEdge + delta;
    else if (flags == 0)
        newFar = farEdge;
    else if (flags & ANCHOR_SCALE_POSITION)
        newFar = newNear + (farEdge - nearEdge);
    else
        newFar = static_cast<int>(farEdge * scale);
}

std::vector<std::pair<int, Rect>> ControlAnchorLayout::Apply(int width, int height) const {
    std::vector<std::pair<int, Rect>> placed;
    if (!m_attached)
        return placed;
    const double sx = m_width > 0 ? static_cast<double>(width) / m_width : 1.0;
    const double sy = m_height > 0 ? static_cast<double>(height) / m_height : 1.0;
    for (const Entry& e : m_entries) {
        Rect r;
        Edges(e.rect.left, e.rect.right, e.xFlags, width - m_width, sx, r.left, r.right);
        Edges(e.rect.top, e.rect.bottom, e.yFlags, height - m_height, sy, r.top, r.bottom);
        placed.emplace_back(e.id, r);
    }
    return placed;
}

}  // namespace ui
