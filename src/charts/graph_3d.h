#pragma once
// The 3-D graph of the "Spectrum" window: a waterfall of spectra, band across, level up and
// spectrum number into the depth. The program talks to it as to a plotting control: it sets
// up axes and ranges, gives each element (one spectrum row) its colours and line width, and
// plots the row point by point. Graph3DWindow (graph_3d_window.h) paints it with QPainter.
//
// The calls the program makes, by the number the callers know them by:
//   -501 SetBackColor      -518 SetCaption       2 SetRange        3 AutoRange
//      5 SetViewStyle         6 SetShowGrid   7, 8, 9 axis captions
//     10 SetXTicks        11, 12 SetYTicks, SetZTicks  16 BeginPoint  18 ClearGraph
//     19 Set/GetElementLineColor  20 SetElementPointColor  22 SetElementLineWidth
//     23 SetElementType      24 PlotXYZ           38 SetBandScale

#include <QRect>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/win_types.h"

class QPainter;

namespace charts {

class CGraph3D {
public:
    // Elements beyond this are refused: a full data buffer of spectra and its gap rows fit.
    static constexpr int kMaxElements = 1 << 20;
    // 5: rows in front hide what lies behind them.
    static constexpr short kHiddenLines = 2;

    struct Range {
        double xMin = 0, xMax = 1, yMin = 0, yMax = 1, zMin = 0, zMax = 1;
    };

    // One plotted point with the colours and width its element had when it was plotted.
    struct Point {
        float x = 0, y = 0, z = 0;
        COLORREF line = 0;
        COLORREF mark = 0;
        float width = 1;
    };

    // --- set-up
    void SetBackColor(COLORREF colour) {
        m_back = colour;
        Changed();
    }
    COLORREF BackColor() const { return m_back; }
    void SetCaption(const std::string& caption) {
        m_caption = caption;
        Changed();
    }
    const std::string& Caption() const { return m_caption; }
    void SetXCaption(const std::string& text) {
        m_axisCaptions[0] = text;
        Changed();
    }
    void SetYCaption(const std::string& text) {
        m_axisCaptions[1] = text;
        Changed();
    }
    void SetZCaption(const std::string& text) {
        m_axisCaptions[2] = text;
        Changed();
    }
    const std::string& AxisCaption(int axis) const { return m_axisCaptions[axis]; }
    // Fixed ranges; a range whose ends are equal or reversed is taken from the data instead.
    void SetRange(double xMin, double xMax, double yMin, double yMax, double zMin, double zMax);
    // The ranges follow the data.
    void AutoRange();
    bool IsAutoRange() const { return m_bAuto; }
    // The ranges the picture uses: the fixed ones, or the data's (one unit wide at least).
    Range EffectiveRange() const;
    // 2: hidden lines; anything else draws every row as a wire.
    void SetViewStyle(short style) {
        m_viewStyle = style;
        Changed();
    }
    short ViewStyle() const { return m_viewStyle; }
    void SetShowGrid(short on) {
        m_showGrid = on;
        Changed();
    }
    bool ShowsGrid() const { return m_showGrid != 0; }
    // How many band positions the X axis labels, and the level and depth divisions.
    void SetXTicks(short count) {
        m_xTicks = count;
        Changed();
    }
    void SetYTicks(short count) {
        m_yTicks = count;
        Changed();
    }
    void SetZTicks(short count) {
        m_zTicks = count;
        Changed();
    }
    short XTicks() const { return m_xTicks; }
    short YTicks() const { return m_yTicks; }
    short ZTicks() const { return m_zTicks; }
    // The X positions' captions: 0 octave bands, 1 third-octave bands (position 1 is the
    // lowest band, the last the overall level).
    void SetBandScale(short scale) {
        m_bandScale = scale;
        Changed();
    }
    short BandScale() const { return m_bandScale; }
    // The caption of X position `position`; empty where the scale has none.
    std::string BandCaption(int position) const;

    // --- elements and points
    // Taken before each point; it has nothing to prepare.
    void BeginPoint() {}
    // Every element and point goes.
    void ClearGraph();
    void SetElementLineColor(long element, COLORREF colour);
    // The colour last put for the element; 0 for one never given a colour.
    COLORREF GetElementLineColor(long element) const;
    void SetElementPointColor(long element, COLORREF colour);
    void SetElementLineWidth(long element, float width);
    float ElementLineWidth(long element) const;
    // Kept; every element is drawn as a line through its points.
    void SetElementType(long element, short type);
    void PlotXYZ(double x, double y, double z, long element);

    int ElementCount() const { return static_cast<int>(m_elements.size()); }
    const std::vector<Point>& ElementPoints(long element) const;
    long long PointCount() const { return m_nPoints; }
    // An element whose colour or width was put after its last point (the program's emphasis
    // of one row) is drawn whole in that colour and width; putting back what it was plotted
    // with shows its points' own colours again.
    bool IsEmphasised(long element) const;

    // --- the picture
    // Grows with every change; a window repaints when it moved.
    unsigned long long Version() const { return m_version; }
    // Called after every change, so that a window showing the graph repaints.
    void SetChangedHandler(std::function<void()> handler) { m_onChanged = std::move(handler); }
    // The whole graph over `area`.
    void Paint(QPainter& painter, const QRect& area) const;

private:
    struct Element {
        COLORREF line = 0;
        COLORREF mark = 0;
        float width = 1;
        short type = 0;
        std::vector<Point> points;
    };
    Element* Find(long element, bool create);
    const Element* Find(long element) const;
    void Changed() {
        ++m_version;
        if (m_onChanged)
            m_onChanged();
    }

    COLORREF m_back = 0;
    std::string m_caption;
    std::string m_axisCaptions[3];
    bool m_bAuto = true;
    Range m_range;
    short m_viewStyle = kHiddenLines;
    short m_showGrid = 1;
    short m_xTicks = 12;
    short m_yTicks = 5;
    short m_zTicks = 5;
    short m_bandScale = 0;
    std::vector<Element> m_elements;
    long long m_nPoints = 0;
    unsigned long long m_version = 0;
    std::function<void()> m_onChanged;
};

}  // namespace charts
