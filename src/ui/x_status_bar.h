#pragma once
// The frame's status bar with rich panes, as data: pane layout, texts, colours, modes and
// scrolling offsets. XStatusBarWidget paints it; the link and the frame write it from anywhere
// on the user-interface thread, also before any widget shows it.

#include <functional>
#include <string>
#include <vector>

#include "platform/win_types.h"
#include "ui/geometry.h"
#include "ui/x_pane_info.h"

namespace ui {

// Pane styles, with the framework's values.
constexpr unsigned SBPS_NORMAL = 0x0000;
constexpr unsigned SBPS_NOBORDERS = 0x0100;
constexpr unsigned SBPS_POPOUT = 0x0200;
constexpr unsigned SBPS_DISABLED = 0x04000000;
constexpr unsigned SBPS_STRETCH = 0x08000000;
constexpr unsigned ID_SEPARATOR = 0;

class XStatusBar {
public:
    static constexpr int kDefaultPaneWidth = 100;

    // Replaces the panes: one per indicator, each reset to the pane defaults. A separator as
    // the first indicator becomes the stretching message pane without borders.
    BOOL SetIndicators(const unsigned* ids, int count);
    BOOL SetIndicators(const std::vector<unsigned>& ids) {
        return SetIndicators(ids.data(), static_cast<int>(ids.size()));
    }
    int GetCount() const { return static_cast<int>(m_panes.size()); }

    void SetPaneInfo(int index, unsigned id, unsigned style, int width);
    void GetPaneInfo(int index, unsigned& id, unsigned& style, int& width) const;
    unsigned GetPaneStyle(int index) const;
    void SetPaneStyle(int index, unsigned style);

    // The pane's own texts and backgrounds. An index outside the panes changes nothing and
    // gives FALSE.
    BOOL SetPaneText(int index, std::string onText, std::string offText = {});
    BOOL SetPaneColors(int index, COLORREF onBackground, COLORREF offBackground);
    // The framework's pane text, shown while the pane has neither text of its own.
    BOOL SetBasePaneText(int index, std::string text);
    std::string GetBasePaneText(int index) const;

    // The pane record, for changes through XPaneInfo (then Invalidate); nullptr outside.
    XPaneInfo* GetPaneInfoEx(int index);
    const XPaneInfo* GetPaneInfoEx(int index) const;

    // A pane is on unless its style has SBPS_DISABLED.
    bool IsPaneOn(int index) const;
    // What a text pane shows now: its on or off text, else the framework's text.
    std::string TextToShow(int index) const;
    COLORREF BackgroundNow(int index) const;
    COLORREF TextColorNow(int index) const;
    bool AnyScrolling() const;

    // Pane rectangles in a bar of the given size; `rightReserve` pixels at the right stay free
    // (the size grip). Stretching panes share what the others leave.
    std::vector<Rect> PaneRects(int barWidth, int barHeight, int rightReserve = 0) const;

    // Asks the widget that shows the bar to repaint; every change above does it itself.
    void Invalidate() const;
    void SetChangedHandler(std::function<void()> handler) { m_onChanged = std::move(handler); }

private:
    struct Pane {
        unsigned id = ID_SEPARATOR;
        unsigned style = SBPS_NORMAL;
        int width = kDefaultPaneWidth;
        std::string baseText;
        XPaneInfo info;
    };
    bool Valid(int index) const { return index >= 0 && index < GetCount(); }

    std::vector<Pane> m_panes;
    std::function<void()> m_onChanged;
};

}  // namespace ui
