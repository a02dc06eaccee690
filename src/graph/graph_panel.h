#pragma once
// The plotting panel of a graph: it keeps the visible range and the option word, maps values
// to pixels through one scale per axis, renders the visible series into an off-screen image
// and copies it to the screen. It follows the graph's changes (GraphChange) and keeps both
// rulers on its range.

#include <QImage>
#include <QWidget>

#include "graph/axis_scale.h"
#include "graph/graph_base.h"
#include "graph/graph_change.h"
#include "platform/win_types.h"
#include "ui/geometry.h"

namespace graph {

class CGraphWnd;
class FHRuler;
class FVRuler;

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

    CGraphPanel(CGraphWnd& graph, FVRuler& vertical, FHRuler& horizontal, QWidget* parent);

    int OnGraphChange(const GraphChange& change) override;

    // Nothing happens when all four equal the current limits.
    void SetRange(double xFrom, double xTo, double yFrom, double yTo, bool repaint);
    const VisibleRange& Range() const { return m_range; }
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

    // Renders everything into the off-screen image and shows it.
    void PaintNow();
    // Background, curves and, with the axis option, the grid, over `rect` of `painter`.
    void RenderAll(QPainter& painter, const ui::Rect& rect) const;
    // Half the side of a point mark.
    int MarkSize() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void BuildScales();
    void OnPointAdded(const GraphChange& change);
    void DrawGraphs(QPainter& painter, const ui::Rect& rect) const;
    void DrawAxis(QPainter& painter, const ui::Rect& rect) const;
    void RedrawRulers();

    CGraphWnd& m_graph;
    FVRuler& m_vertical;
    FHRuler& m_horizontal;
    CAxisScale m_xScale;
    CAxisScale m_yScale;
    bool m_hasScales = false;
    VisibleRange m_range;
    unsigned m_options = kInitialOptions;
    QImage m_image;
    bool m_imageValid = false;
};

}  // namespace graph
