#pragma once
// The bar chart of a sound spectrum: one bar per octave or third-octave band and one for the
// overall level, on a dB scale with a grid, the band captions under the bars, tooltips with
// the level steps between neighbouring bands and, on a third-octave chart, the equal-loudness
// contour as a marker per band.
//
// CChartWnd is the chart without its window: the bars, the range, the layout as plain maths
// and what the pointer does. BarChartWindow (bar_chart_window.h) shows it.

#include <QFont>
#include <QImage>
#include <algorithm>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "charts/charts_host.h"
#include "platform/win_types.h"
#include "ui/geometry.h"

namespace charts {

// One bar.
struct CChartItemInfo {
    std::string label;  // the band's centre, or the name of the overall level
    float level = 0;    // dB
    int image = -1;
    COLORREF colour = 0;
};

class CChartWnd {
public:
    enum GridStyle { kGridTicks = 0, kGridEmbossedAfter = 1, kGridEmbossedBefore = 2 };
    enum Orientation { kVertical = 0, kHorizontal = 1 };

    static constexpr COLORREF kBackground = 0xD4FFFF;
    static constexpr COLORREF kGridColour = 0x008000;
    static constexpr COLORREF kEmbossShadow = 0xAAAAAA;
    static constexpr COLORREF kRed = 0x0000FF;
    static constexpr COLORREF kUnmeasuredBand = 0xC0C0C0;
    static constexpr COLORREF kChosenBand = 0x8C8CFF;
    // The tip stays for as long as the pointer rests on its bar.
    static constexpr int kTipShowMs = 32767;
    static constexpr int kTipDelayMs = 100;

    CChartWnd();
    ~CChartWnd();
    CChartWnd(const CChartWnd&) = delete;
    CChartWnd& operator=(const CChartWnd&) = delete;

    // Not owned; without one the chart paints as if no mode, edition or contour were set.
    void SetHost(ChartsHost* host) { m_host = host; }
    BarChartContext Context() const;

    // --- bars
    // Returns 1.
    int AddItem(const std::string& label, float level, int image, COLORREF colour);
    void RemoveAllItems();
    int GetItemCount() const { return static_cast<int>(m_items.size()); }
    // Out of range: an empty label, level 0, image -1, colour 0.
    std::string GetItemLabel(int index) const;
    float GetItemLevel(int index) const;
    int GetItemImage(int index) const;
    COLORREF GetItemColour(int index) const;
    int LongestLabelItem() const { return m_nLongestItem; }

    // --- range and layout
    // 0, and nothing stored, unless maximum > minimum and there is at least one division.
    int SetRange(float minimum, float maximum, int divisions);
    float Minimum() const { return m_fMin; }
    float Maximum() const { return m_fMax; }
    int Divisions() const { return m_nDivisions; }
    // 0..130 dB in 6 divisions, tooltips, layout; the range's result.
    int InitDefault();
    void EnableToolTips(int on);
    bool ToolTipsEnabled() const { return m_bToolTips != 0; }
    bool HasToolTipControl() const { return m_bTipCreated; }
    // Scales from the client area; returns 1.
    int RecalcLayout();
    void SetVerticalLayout() { m_nOrientation = kVertical; }
    int Orientation() const { return m_nOrientation; }
    void SetGridStyle(int style) { m_nGridStyle = style; }
    int GridStyle() const { return m_nGridStyle; }
    void SetLabelFrameStyle(int style) { m_nLabelFrameStyle = style; }
    int LabelFrameStyle() const { return m_nLabelFrameStyle; }
    void SetDrawEdge(int on) { m_bDrawEdge = on; }
    bool DrawsEdge() const { return m_bDrawEdge != 0; }
    void SetHeaderText(const std::string& text) { m_strHeader = text; }
    const std::string& HeaderText() const { return m_strHeader; }
    // Kept for the fillers; the chart does not draw them.
    void SetUnitText(const std::string& text) { m_strUnit = text; }
    const std::string& UnitText() const { return m_strUnit; }
    void SetCaptionText(const std::string& text) { m_strCaption = text; }
    const std::string& CaptionText() const { return m_strCaption; }
    // Images drawn in the label cells of the horizontal layout (not owned).
    void SetImageList(const std::vector<QImage>* images) { m_pImages = images; }
    const std::vector<QImage>* ImageList() const { return m_pImages; }

    // The window's client area, and how wide a text is in the chart's font (the font's
    // measure by default).
    void SetClientRect(const ui::Rect& rect) { m_client = rect; }
    const ui::Rect& ClientRect() const { return m_client; }
    void SetTextMeasure(std::function<int(const std::string&)> measure);
    const QFont& Font() const { return m_font; }

    double HorizontalScale() const { return m_dHorzScale; }
    double VerticalScale() const { return m_dVertScale; }
    int LeftMargin() const { return m_nLeftMargin; }
    int LabelColumnWidth() const { return m_nLabelWidth; }
    int TopMargin() const { return m_nTopMargin; }
    int BarPitch() const { return m_nBarPitch; }
    int LabelStep() const { return m_nLabelStep; }
    int BarInset() const { return m_nBarInset; }
    // The bar slots' width, which bands are captioned, the gap left of each bar.
    void SetBarPitch(int pitch) { m_nBarPitch = std::max(1, pitch); }
    void SetLabelStep(int step) { m_nLabelStep = std::max(1, step); }
    void SetBarInset(int inset) { m_nBarInset = inset; }
    bool PercentSuffix() const { return m_bPercent != 0; }
    bool DoubleBuffered() const { return m_bDoubleBuffer != 0; }
    bool FillsBackground() const { return m_bFillBackground != 0; }

    // --- the layout (client coordinates)
    // The bar of item i; the vertical layout's bar is at least 2 pixels wide.
    ui::Rect BarRect(int index) const;
    // Where the pointer finds the bar of item i (its right part, the vertical layout).
    ui::Rect BarHitRect(int index) const;
    // The label cell (header at -1) of the horizontal layout, and where the band caption of
    // item i is written in the vertical one.
    ui::Rect LabelCell(int index) const;
    ui::Rect BandLabelRect(int index) const;
    // Grid line k (0..divisions): its y (vertical layout) or x (horizontal).
    int GridLinePos(int k) const;
    // The value-axis label k and its text.
    ui::Rect ValueLabelRect(int k) const;
    std::string ValueLabelText(int k) const;
    // A level's y in the vertical layout (a level below the minimum lies on the base line).
    int LevelY(double level) const;
    // The 1 dB equal-loudness marker of item i at level c; nothing below the minimum.
    std::optional<ui::Rect> MarkerRect(int index, double level) const;

    // --- what the program's state makes of a bar
    COLORREF BarColour(int index, const BarChartContext& context) const;
    bool ShowsBandLabel(int index, const BarChartContext& context) const;
    // The contour level over item i (1..29) on a third-octave chart with an edition set.
    std::optional<double> MarkerLevel(int index, const BarChartContext& context) const;
    // The tip over item i, "%" appended when the percent suffix is on.
    std::string TooltipText(int index, const BarChartContext& context) const;

    // --- the pointer
    // Which label cell holds the point (-1 none).
    int HitTest(int x, int y) const;
    int HoveredItem() const { return m_nHovered; }
    int SelectedItem() const { return m_nSelected; }
    void SetSelectedItem(int index) { m_nSelected = index; }
    // The pointer moved. Returns true when the tip changed: TipText() is then the tip to show
    // at the pointer, or empty to hide it.
    bool OnMouseMove(int x, int y, bool leftButtonHeld);
    // The pointer left the window: a tip of this chart goes.
    bool OnMouseLeave();
    void OnLButtonDown(int x, int y);
    const std::string& TipText() const { return m_strTip; }
    // The bar that holds the tip, shared by all charts (-1 none).
    static int HoverLock() { return s_nHoverLock; }
    static void ClearHoverLock() { s_nHoverLock = -1; }

    // Called when the chart must be painted again.
    void SetRedrawHandler(std::function<void()> handler) { m_onRedraw = std::move(handler); }
    void Invalidate() const;

private:
    const CChartItemInfo* Item(int index) const;
    int BarHeight(int index) const;
    int BaseLineY() const;

    static int s_nHoverLock;

    ChartsHost* m_host = nullptr;
    std::vector<std::unique_ptr<CChartItemInfo>> m_items;
    int m_nHovered = -2;
    int m_nSelected = -2;
    std::string m_strUnit;
    std::string m_strCaption;
    int m_nDivisions = 4;
    float m_fMin = 0.0f;
    float m_fMax = 24.0f;
    double m_dHorzScale = 1.0;
    double m_dVertScale = 1.0;
    int m_nLongestItem = -1;
    int m_nLabelWidth = 30;
    int m_nTopMargin = 24;
    int m_nBarPitch = 10;
    int m_nLeftMargin = 40;
    int m_nLabelStep = 2;
    int m_nBarInset = 6;
    int m_nGridStyle = kGridEmbossedBefore;
    int m_nOrientation = kHorizontal;
    int m_nLabelFrameStyle = 0;
    int m_bDrawEdge = 0;
    std::string m_strHeader = " ?????    ";
    QFont m_font;
    const std::vector<QImage>* m_pImages = nullptr;
    int m_bFillBackground = 1;
    int m_bDoubleBuffer = 1;
    int m_bToolTips = 1;
    bool m_bTipCreated = false;
    int m_bToolTipTexts = 1;
    int m_bPercent = 1;
    std::string m_strTip;
    ui::Rect m_client;
    std::function<int(const std::string&)> m_measure;
    std::function<void()> m_onRedraw;
};

}  // namespace charts
