#include "ui/x_pane_info.h"

#include "ui/system_colors.h"

namespace ui {

namespace {
COLORREF Halved(COLORREF c) {
    return RGB(GetRValue(c) / 2, GetGValue(c) / 2, GetBValue(c) / 2);
}

COLORREF OrMenu(COLORREF c) {
    return c == XSB_DEFAULT_COLOR ? GetSysColor(COLOR_MENU) : c;
}

void StepOffset(int& offset, int limit, int restart) {
    ++offset;
    if (offset > limit)
        offset = restart;
}
}  // namespace

XPaneInfo::XPaneInfo()
    : m_crTextOn(GetSysColor(COLOR_MENUTEXT)),
      m_crBkOff(GetSysColor(COLOR_MENU)),
      m_crBkOn(GetSysColor(COLOR_MENU)) {
    m_crTextOff = Halved(m_crBkOn);
}

void XPaneInfo::SetColors(COLORREF onBackground, COLORREF offBackground) {
    m_crBkOn = OrMenu(onBackground);
    m_crBkOff = OrMenu(offBackground);
}

void XPaneInfo::SetTextColors(COLORREF onText, COLORREF offText) {
    m_crTextOn = onText;
    m_crTextOff = offText;
}

void XPaneInfo::SetText(std::string onText, std::string offText) {
    m_strTextOn = std::move(onText);
    m_strTextOff = std::move(offText);
}

void XPaneInfo::StepScroll(int contentWidth, int contentHeight, const Rect& pane) {
    const bool tiled = (m_dwMode & XSB_TILE) != 0;
    if (m_dwMode & XSB_HSCROLL)
        StepOffset(m_nHScroll, contentWidth, tiled ? 1 : pane.left - pane.right);
    if (m_dwMode & XSB_VSCROLL)
        StepOffset(m_nVScroll, contentHeight, tiled ? 1 : pane.top - pane.bottom);
}

}  // namespace ui
