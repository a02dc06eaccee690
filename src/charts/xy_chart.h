#pragma once
// The x/y line chart and its 3-D variant. CChart keeps a table of series, the value ranges,
// the grid and the titles, maps values to pixels and draws itself in steps that CChart3d
// replaces: the series become a shaded surface seen under two rotation angles, with a depth
// axis for the series' order. The static parts are drawn once into a cached layer until a
// change marks the chart dirty.
//
// The objects hold no window: XYChartWindow (xy_chart_window.h) paints one.

#include <QFont>
#include <QImage>
#include <QPainter>
#include <array>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/win_types.h"
#include "ui/geometry.h"

namespace charts {

class CChart {
public:
    static constexpr int kMaxSeries = 12000;
    static constexpr COLORREF kBackground = 0xFFFF00;
    static constexpr COLORREF kGridColour = 0xC0C0C0;
    enum Style { kAxesAtEdges = 0, kAxisAtMidHeight = 1, kAxesThroughCentre = 2 };

    CChart();
    virtual ~CChart();
    CChart(const CChart&) = delete;
    CChart& operator=(const CChart&) = delete;

    // --- settings; each marks the chart dirty
    // A style of 3 or more is no placement and is ignored.
    void SetStyle(int style);
    int Style() const { return m_nStyle; }
    void SetTitle(const std::string& title);
    const std::string& Title() const { return m_strTitle; }
    // At least one division each way.
    void SetGridDivisions(int x, int y);
    int GridDivisionsX() const { return m_nDivX; }
    int GridDivisionsY() const { return m_nDivY; }
    void SetAxisTitles(const std::string& x, const std::string& y);
    const std::string& AxisTitleX() const { return m_strTitleX; }
    const std::string& AxisTitleY() const { return m_strTitleY; }
    void SetLogarithmicGrid(bool on);
    // 1; 0 and nothing changed unless both ranges hold more than one value.
    int SetRanges(double xMin, double xMax, double yMin, double yMax);
    double XMin() const { return m_xMin; }
    double XMax() const { return m_xMax; }
    double YMin() const { return m_yMin; }
    double YMax() const { return m_yMax; }

    // --- series: every series has the chart's point count
    void SetSeriesCount(int count);
    int SeriesCount() const { return m_nSeries; }
    void SetPointCount(int count);
    int PointCount() const { return m_nPoints; }
    // Allocates the series and copies up to the point count of values; false for an index
    // out of the table.
    bool SetSeries(int index, std::span<const float> x, std::span<const float> y, COLORREF colour);
    void ReleaseSeries(int index);
    bool IsSeriesAllocated(int index) const;

    // --- where it draws
    // The window's client area; the plot area lies inside it, with room for labels.
    void SetClientRect(const ui::Rect& client);
    const ui::Rect& PlotRect() const { return m_plot; }
    // Value units per pixel.
    double XScale() const { return m_xScale; }
    double YScale() const { return m_yScale; }
    QPoint ValueToPixel(double x, double y) const;

    // Step 1: marks the chart dirty when asked and has it painted again.
    virtual void Redraw(bool dirty);
    bool IsDirty() const { return m_bDirty; }
    void SetRedrawHandler(std::function<void()> handler) { m_onRedraw = std::move(handler); }
    // The whole chart over its client area.
    void Paint(QPainter& painter);

protected:
    struct Series {
        std::vector<float> x;
        std::vector<float> y;
        COLORREF colour = 0;
    };
    const Series* SeriesAt(int index) const;
    void MarkDirty() { m_bDirty = true; }

    // The drawing steps, in their order of the virtual table.
    virtual void DrawSeries(QPainter& painter) const;
    virtual void DrawBackground(QPainter& painter) const;
    virtual void DrawTitles(QPainter& painter) const;
    virtual void DrawGrid(QPainter& painter) const;
    virtual void DrawAxes(QPainter& painter) const;
    virtual void DrawTickLabels(QPainter& painter) const;
    virtual void CreateFonts();

    QFont m_titleFont;
    QFont m_labelFont;

private:
    void RecalcScales();
    void DrawLogarithmicGrid(QPainter& painter);

    std::vector<std::unique_ptr<Series>> m_series;
    int m_nSeries = 1;
    int m_nPoints = 0;
    double m_xMin = -10;
    double m_xMax = 10;
    double m_yMin = -10;
    double m_yMax = 10;
    int m_nDivX = 10;
    int m_nDivY = 10;
    std::string m_strTitle = "Untitled Chart";
    std::string m_strTitleX = "x";
    std::string m_strTitleY = "y";
    int m_nStyle = kAxesThroughCentre;
    bool m_bLogGrid = false;
    COLORREF m_crAxis = 0;
    ui::Rect m_client;
    ui::Rect m_plot;
    double m_xScale = 1;
    double m_yScale = 1;
    bool m_bDirty = true;
    bool m_bFontsMade = false;
    QImage m_cache;
    std::function<void()> m_onRedraw;
};

class CChart3d : public CChart {
public:
    // The rotation never reaches a right angle, where the depth would divide by zero.
    static constexpr int kMaxAngle = 89;

    CChart3d();

    // 0, and nothing changed, unless x2 > x1, y2 > y1 and z2 > z1; else the ranges' result.
    int SetViewGeometry(double x1, double x2, double y1, double y2, double z1, double z2);
    // Degrees, each held within +-kMaxAngle.
    void SetViewAngles(double first, double second);
    double FirstAngle() const { return m_angles[0]; }
    double SecondAngle() const { return m_angles[1]; }
    // The six extents last given to SetViewGeometry.
    std::array<double, 6> GetViewSettings() const { return m_extents; }
    double DepthFactor() const { return m_depthFactor; }

    void SetOriginOffsets(double vertical, double horizontal);
    double VerticalOrigin() const { return m_originY; }
    double HorizontalOrigin() const { return m_originX; }
    // Added to the numbers of the level and spectrum tick labels.
    void SetLevelOffset(double offset);
    void SetSpectrumOffset(double offset);
    double LevelOffset() const { return m_levelOffset; }
    double SpectrumOffset() const { return m_spectrumOffset; }

    // Point (x, y) at depth z on the screen.
    QPoint Project(double x, double y, double z) const;

protected:
    void DrawSeries(QPainter& painter) const override;
    void DrawGrid(QPainter& painter) const override;
    void DrawAxes(QPainter& painter) const override;
    void DrawTickLabels(QPainter& painter) const override;
    void CreateFonts() override;

private:
    std::array<double, 2> m_angles{-30, 30};
    std::array<double, 6> m_extents{0, 100, 0, 20, 0, 100};
    double m_depthFactor = 1;
    double m_originY = 0;
    double m_originX = 0;
    double m_levelOffset = 0;
    double m_spectrumOffset = 0;
    QFont m_smallFont;
    QFont m_boldFont;
};

}  // namespace charts
