#pragma once
// One pane of the rich status bar: two texts and two colour pairs for the pane's on and off
// states, a font, a drawing mode and the scrolling offsets.

#include <cstdint>
#include <string>

#include "platform/win_types.h"
#include "ui/draw_text_format.h"
#include "ui/geometry.h"

namespace ui {

// The pane kinds and flags of the mode word.
constexpr std::uint32_t XSB_FORMAT_MASK = 0x000FFFFF;
constexpr std::uint32_t XSB_TEXT = 0x00100000;
constexpr std::uint32_t XSB_TEXT2 = 0x00200000;
constexpr std::uint32_t XSB_BITMAP = 0x00400000;
constexpr std::uint32_t XSB_WINDOW = 0x00800000;
constexpr std::uint32_t XSB_KIND_MASK = 0x00F00000;
constexpr std::uint32_t XSB_HSCROLL = 0x01000000;
constexpr std::uint32_t XSB_VSCROLL = 0x02000000;
constexpr std::uint32_t XSB_SCROLL_MASK = 0x0F000000;
constexpr std::uint32_t XSB_TILE = 0x10000000;
constexpr std::uint32_t XSB_STRETCH = 0x20000000;

// A colour argument that means "the menu colour".
constexpr COLORREF XSB_DEFAULT_COLOR = 0xFFFFFFFF;

// The pane's font; an empty face and size 0 mean the bar's own font.
struct PaneFont {
    std::string face;
    int pointSize = 0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool operator==(const PaneFont&) const = default;
};

class XPaneInfo {
public:
    XPaneInfo();

    // On and off backgrounds; XSB_DEFAULT_COLOR stands for COLOR_MENU.
    void SetColors(COLORREF onBackground, COLORREF offBackground);
    void SetTextColors(COLORREF onText, COLORREF offText);
    void SetText(std::string onText, std::string offText);

    std::uint32_t Kind() const { return m_dwMode & XSB_KIND_MASK; }
    std::uint32_t Format() const { return m_dwMode & XSB_FORMAT_MASK; }
    bool IsText() const { return Kind() == XSB_TEXT || Kind() == XSB_TEXT2; }
    bool IsScrolling() const { return (m_dwMode & XSB_SCROLL_MASK) != 0; }

    // Moves the scrolling offsets on by one step for content of the given size in the pane.
    // An offset that passes its limit restarts: tiled content at 1, other content from the far
    // side of the pane, so that it enters again from the right (or the bottom).
    void StepScroll(int contentWidth, int contentHeight, const Rect& pane);

    COLORREF m_crTextOff;
    COLORREF m_crTextOn;
    COLORREF m_crBkOff;
    COLORREF m_crBkOn;
    std::string m_strTextOff;
    std::string m_strTextOn;  // for a bitmap pane: the image file of each state
    PaneFont m_font;
    std::uint32_t m_dwMode = XSB_TEXT;
    int m_nHScroll = 0;
    int m_nVScroll = 0;
};

}  // namespace ui
