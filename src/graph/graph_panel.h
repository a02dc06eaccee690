#pragma once
// The plotting panel of a graph: it keeps the visible range and the option word, maps values
// to pixels through one scale per axis, renders the visible series into an off-screen image
// and copies it to the screen. It follows the graph's changes (GraphChange) and keeps both
// rulers on its range. Over the curves it draws what the program marks on the data (markers,
// labels, events, report intervals, "LAST" rows); under the mouse it reads the data out, lets
// the operator drag a zoom rectangle or pan with Shift held, and offers the graph's commands
// from its context menu (graph_panel_commands.cpp).

#include <QImage>
#include <QPoint>
#include <QWidget>
#include <memory>
#include <string>

#include "graph/axis_scale.h"
#include "graph/graph_base.h"
#include "graph/graph_change.h"
#include "graph/rect_tracker.h"
#include "platform/win_types.h"
#include "ui/geometry.h"

namespace graph {

class CGraphPropertyPage;
class CGraphProps;
class CGraphWnd;
class FHRuler;
class FVRuler;
class GraphHost;
struct GraphContext;

class CGraphPanel : public QWidget, public CGraphBaseClass, public GraphChangeReceiver {
public:
    // Option word bits.
    enum Option : unsigned {
        kAutoExtend = 1,  // an appended point beyond the range stretches it
        kPointMarks = 2,
        kReadout = 4,
        kAxis = 8,  // grid over the curves
        kPointsOnly = 16,
    };
    static constexpr unsigned kInitialOptions = kAutoExtend | kPointMarks | kAxis;
    static constexpr COLORREF kBackground = 0xFFFFFF;
    // Where the zoom tool first shows its rectangle.
    static constexpr ui::Rect kZoomToolRect{5, 5, 50, 50};

    CGraphPanel(CGraphWnd& graph, FVRuler& vertical, FHRuler& horizontal, QWidget* parent);
    ~CGraphPanel() override;

    int OnGraphChange(const GraphChange& change) override;

    // Nothing happens when all four equal the current limits.
    void SetRange(double xFrom, double xTo, double yFrom, double yTo, bool repaint);
    const VisibleRange& Range() const { return m_range; }
    // One limit of an axis, the smaller ("Min") or larger of its two, the others kept.
    void ExtendXMin(double value, bool repaint);
    void ExtendXMax(double value, bool repaint);
    void ExtendYMin(double value, bool repaint);
    void ExtendYMax(double value, bool repaint);
    // Returns the previous option word.
    unsigned SetOptions(unsigned options, bool repaint);
    // Clears the bits when all are set, else sets them.
    unsigned ToggleOption(unsigned bits, bool repaint);
    unsigned Options() const { return m_options; }
    // Width, height or page (FitCommand) from the bounds of the visible series with points.
    void OnFit(int command);

    // Both scales exist once a range was set.
    bool HasScales() const { return m_hasScales; }
    const CAxisScale& XScale() const { return m_xScale; }
    const CAxisScale& YScale() const { return m_yScale; }
    // "x=%s, y=%s" of a pixel, each value with its axis' unit.
    std::string CoordinateText(QPoint pixel) const;

    // --- the zoom rectangle
    bool IsZoomRectShown() const { return m_zoomRectShown; }
    const ui::Rect& ZoomRect() const { return m_tracker.GetRect(); }
    void ShowZoomRect(const ui::Rect& rect);
    void HideZoomRect();
    // "Zoom +": the range of the shown rectangle, which goes; false when none is shown.
    bool ZoomToTracker();

    // --- what the mouse left
    QPoint LastClick() const { return m_lastClick; }
    // The read-out of the last mouse position (empty while the read-out is off).
    const std::string& Readout() const { return m_readout; }
    bool StatusHighlight() const { return m_statusHighlight; }

    // --- CGraphBaseClass (graph_panel_commands.cpp)
    void AddContextMenuItems(QMenu& menu) override;
    void OnMenuCommand(int id) override;
    void AddPropertyPages(GraphPropertySheet& sheet) override;
    void ApplyProperties(int result) override;

    // Renders everything into the off-screen image and shows it.
    void PaintNow();
    // Background, curves, what is marked on them and, with the axis option, the grid, over
    // `rect` of `painter`.
    void RenderAll(QPainter& painter, const ui::Rect& rect) const;
    // Half the side of a point mark.
    int MarkSize() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    struct Drag {
        bool active = false;
        QPoint from;
        QPoint to;
    };

    GraphHost& Host() const;
    void BuildScales();
    void OnPointAdded(const GraphChange& change);
    void OnPointsAppended(const GraphChange& change);
    // Draws an appended point's segment into the off-screen image and shows that part.
    void DrawAppendedSegment(const CGraphProps& series, int slot, int point);
    void DrawGraphs(QPainter& painter, const ui::Rect& rect) const;
    void DrawMarks(QPainter& painter, const ui::Rect& rect, const CAxisScale& x,
                   const CAxisScale& y, const GraphContext& context, bool curvesDrawn) const;
    void DrawAxis(QPainter& painter, const ui::Rect& rect) const;
    void RedrawRulers();
    void UpdateReadout(QPoint pixel);
    void PanBetween(QPoint from, QPoint to);
    void InvalidateTracker(const ui::Rect& before);

    // --- commands (graph_panel_commands.cpp)
    void SetMarker(int which);
    void ClearMarkers();
    void InsertLabel();
    void ClearLabels();

    CGraphWnd& m_graph;
    FVRuler& m_vertical;
    FHRuler& m_horizontal;
    CAxisScale m_xScale;
    CAxisScale m_yScale;
    bool m_hasScales = false;
    VisibleRange m_range;
    unsigned m_options = kInitialOptions;
    bool m_statusHighlight = true;
    QImage m_image;
    bool m_imageValid = false;

    QPoint m_lastClick;
    bool m_zoomRectShown = false;
    RectTracker m_tracker;
    Drag m_zoomDrag;
    Drag m_panDrag;
    std::string m_readout;
    std::unique_ptr<CGraphPropertyPage> m_generalPage;
};

}  // namespace graph
