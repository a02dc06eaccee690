#include "ui/x_status_bar.h"

#include <algorithm>

namespace ui {

namespace {
constexpr int kLeftBorder = 2;
constexpr int kTopBorder = 2;
constexpr int kGap = 2;
constexpr int kPanePadding = 4;
}  // namespace

BOOL XStatusBar::SetIndicators(const unsigned* ids, int count) {
    if (count < 0 || (count > 0 && !ids))
        return FALSE;
    m_panes.assign(static_cast<size_t>(count), Pane{});
    for (int i = 0; i < count; ++i)
        m_panes[static_cast<size_t>(i)].id = ids[i];
    if (count > 0 && ids[0] == ID_SEPARATOR) {
        m_panes[0].style = SBPS_NOBORDERS | SBPS_STRETCH;
        m_panes[0].width = 0;
    }
    Invalidate();
    return TRUE;
}

void XStatusBar::SetPaneInfo(int index, unsigned id, unsigned style, int width) {
    if (!Valid(index))
        return;
    Pane& pane = m_panes[static_cast<size_t>(index)];
    pane.id = id;
    pane.style = style;
    pane.width = std::max(0, width);
    Invalidate();
}

void XStatusBar::GetPaneInfo(int index, unsigned& id, unsigned& style, int& width) const {
    if (!Valid(index)) {
        id = ID_SEPARATOR;
        style = SBPS_NORMAL;
        width = 0;
        return;
    }
    const Pane& pane = m_panes[static_cast<size_t>(index)];
    id = pane.id;
    style = pane.style;
    width = pane.width;
}

unsigned XStatusBar::GetPaneStyle(int index) const {
    return Valid(index) ? m_panes[static_cast<size_t>(index)].style : SBPS_NORMAL;
}

void XStatusBar::SetPaneStyle(int index, unsigned style) {
    if (!Valid(index))
        return;
    m_panes[static_cast<size_t>(index)].style = style;
    Invalidate();
}

BOOL XStatusBar::SetPaneText(int index, std::string onText, std::string offText) {
    if (!Valid(index))
        return FALSE;
    m_panes[static_cast<size_t>(index)].info.SetText(std::move(onText), std::move(offText));
    Invalidate();
    return TRUE;
}

BOOL XStatusBar::SetPaneColors(int index, COLORREF onBackground, COLORREF offBackground) {
    if (!Valid(index))
        return FALSE;
    m_panes[static_cast<size_t>(index)].info.SetColors(onBackground, offBackground);
    Invalidate();
    return TRUE;
}

BOOL XStatusBar::SetBasePaneText(int index, std::string text) {
    if (!Valid(index))
        return FALSE;
    m_panes[static_cast<size_t>(index)].baseText = std::move(text);
    Invalidate();
    return TRUE;
}

std::string XStatusBar::GetBasePaneText(int index) const {
    return Valid(index) ? m_panes[static_cast<size_t>(index)].baseText : std::string();
}

XPaneInfo* XStatusBar::GetPaneInfoEx(int index) {
    return Valid(index) ? &m_panes[static_cast<size_t>(index)].info : nullptr;
}

const XPaneInfo* XStatusBar::GetPaneInfoEx(int index) const {
    return Valid(index) ? &m_panes[static_cast<size_t>(index)].info : nullptr;
}

bool XStatusBar::IsPaneOn(int index) const {
    return (GetPaneStyle(index) & SBPS_DISABLED) == 0;
}

std::string XStatusBar::TextToShow(int index) const {
    if (!Valid(index))
        return {};
    const Pane& pane = m_panes[static_cast<size_t>(index)];
    const std::string& own = IsPaneOn(index) ? pane.info.m_strTextOn : pane.info.m_strTextOff;
    return own.empty() ? pane.baseText : own;
}

COLORREF XStatusBar::BackgroundNow(int index) const {
    const XPaneInfo* info = GetPaneInfoEx(index);
    if (!info)
        return 0;
    return IsPaneOn(index) ? info->m_crBkOn : info->m_crBkOff;
}

COLORREF XStatusBar::TextColorNow(int index) const {
    const XPaneInfo* info = GetPaneInfoEx(index);
    if (!info)
        return 0;
    return IsPaneOn(index) ? info->m_crTextOn : info->m_crTextOff;
}

bool XStatusBar::AnyScrolling() const {
    return std::any_of(m_panes.begin(), m_panes.end(),
                       [](const Pane& pane) { return pane.info.IsScrolling(); });
}

std::vector<Rect> XStatusBar::PaneRects(int barWidth, int barHeight, int rightReserve) const {
    std::vector<Rect> rects;
    const int count = GetCount();
    if (count == 0)
        return rects;
    int fixed = 0;
    int stretching = 0;
    for (const Pane& pane : m_panes) {
        if (pane.style & SBPS_STRETCH)
            ++stretching;
        else
            fixed += pane.width + kPanePadding;
    }
    const int free =
        std::max(0, barWidth - rightReserve - kLeftBorder - kGap * (count - 1) - fixed);
    int stretchLeft = free;
    int x = kLeftBorder;
    for (const Pane& pane : m_panes) {
        int width = pane.width + kPanePadding;
        if (pane.style & SBPS_STRETCH) {
            width = stretching > 1 ? free / stretching : stretchLeft;
            stretchLeft -= width;
            --stretching;
        }
        rects.push_back({x, kTopBorder, x + width, std::max(kTopBorder, barHeight - 1)});
        x += width + kGap;
    }
    return rects;
}

void XStatusBar::Invalidate() const {
    if (m_onChanged)
        m_onChanged();
}

}  // namespace ui
