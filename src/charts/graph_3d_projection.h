#pragma once
// Where the 3-D graph puts a point: an oblique view of a box whose front face holds the band
// (across) and the level (up) and whose depth, drawn up and to the right, holds the spectrum
// number. The front face takes most of the area so that the levels stay readable however many
// spectra lie behind it.

#include <QPointF>
#include <QRect>

#include "charts/graph_3d.h"

namespace charts {

class Graph3DProjection {
public:
    // Room left around the box for the captions and the tick labels.
    static constexpr int kLeftMargin = 48;
    static constexpr int kRightMargin = 36;
    static constexpr int kTopMargin = 26;
    static constexpr int kBottomMargin = 40;
    // The share of the box's width and height that the front face takes.
    static constexpr double kFrontShare = 0.72;

    Graph3DProjection(const QRect& area, const CGraph3D::Range& range);

    QPointF Map(double x, double y, double z) const;
    // 0 at the front, 1 at the back; outside for depths outside the range.
    double Depth(double z) const;
    // The depth in whole pixels along the depth axis: rows that share one are drawn as one.
    int DepthPixel(double z) const;
    bool InRangeX(double x) const { return x >= m_range.xMin && x <= m_range.xMax; }
    bool InRangeZ(double z) const { return z >= m_range.zMin && z <= m_range.zMax; }
    const CGraph3D::Range& Range() const { return m_range; }
    // The front face's bottom-left corner, its width and height, and the depth offset.
    QPointF Origin() const { return m_origin; }
    double FrontWidth() const { return m_frontWidth; }
    double FrontHeight() const { return m_frontHeight; }
    QPointF DepthOffset() const { return m_depth; }

private:
    CGraph3D::Range m_range;
    QPointF m_origin;
    double m_frontWidth = 0;
    double m_frontHeight = 0;
    QPointF m_depth;
};

}  // namespace charts
