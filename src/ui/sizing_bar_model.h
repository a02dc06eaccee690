#pragma once
// What a resizable docking bar keeps apart from its window: its three sizes (docked
// horizontally, docked vertically, floating) with their minimum, the edge that can be dragged on
// each dock side, the hit-testing of that edge, an edge drag clamped between the minimum and
// the room the frame has, and the sizes' place in the user's settings file.

#include <string>

namespace ui {

struct BarSize {
    int cx = 200;
    int cy = 200;
    bool operator==(const BarSize&) const = default;
};

enum class BarDock { Top, Bottom, Left, Right, Floating };

class SizingBarModel {
public:
    static constexpr int kMinCX = 33;
    static constexpr int kMinCY = 32;
    static constexpr int kEdgeWidth = 5;
    static constexpr int kGripperSize = 12;
    // Edge bits.
    static constexpr unsigned SCBS_EDGELEFT = 1;
    static constexpr unsigned SCBS_EDGERIGHT = 2;
    static constexpr unsigned SCBS_EDGETOP = 4;
    static constexpr unsigned SCBS_EDGEBOTTOM = 8;
    // Hit-test codes.
    static constexpr int HTCLIENT = 1;
    static constexpr int HTLEFT = 10;
    static constexpr int HTRIGHT = 11;
    static constexpr int HTTOP = 12;
    static constexpr int HTBOTTOM = 15;

    void SetAllSizes(int cx, int cy);
    const BarSize& Horz() const { return m_szHorz; }
    const BarSize& Vert() const { return m_szVert; }
    const BarSize& Float() const { return m_szFloat; }
    // The size the bar takes on that side, raised to the minimum.
    BarSize SizeFor(BarDock dock) const;
    // The window's size on that side, as the operator or the frame left it.
    void SetSizeFor(BarDock dock, BarSize size);

    // The inner edge of a docked bar: the bottom edge on the top side, and so on.
    static unsigned EdgeStyle(BarDock dock);
    // The dragged edge under a point of a bar of that size, or HTCLIENT.
    static int HitTest(BarDock dock, int width, int height, int x, int y);

    // --- dragging an edge; `room` is how much the frame's free area could still give
    bool BeginResize(BarDock dock, int edge, int room);
    // The mouse moved by (dx, dy) since the drag began; true when the size changed.
    bool ResizeTo(int dx, int dy);
    void EndResize() { m_bTracking = false; }
    bool IsTracking() const { return m_bTracking; }
    int TrackMinimum() const { return m_nTrackMin; }
    int TrackMaximum() const { return m_nTrackMax; }

    // Section "<profile>-SCBar-<id>" of the user's settings file (kx9monitor/kx9monitor.ini in
    // the configuration folder). Loading keeps the current sizes where the file has none and
    // raises every size to the minimum.
    void LoadState(const std::string& profile, int id);
    void SaveState(const std::string& profile, int id) const;

private:
    BarSize m_szHorz;
    BarSize m_szVert;
    BarSize m_szFloat;
    bool m_bTracking = false;
    BarDock m_trackDock = BarDock::Top;
    int m_nTrackEdge = 0;
    int m_nTrackStart = 0;
    int m_nTrackMin = 0;
    int m_nTrackMax = 0;
};

}  // namespace ui
