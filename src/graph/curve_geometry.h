#pragma once
// The lines and point marks that draw one series through a panel's two scales, in whole
// pixels (truncated toward zero, as the scales place them).
//
// An ordered series is drawn from the point before the visible x range to the point after
// it, one run of points per pixel column: the line into the column's first point, then one
// vertical line from the column's lowest to its highest point, which covers every line
// between the points inside the column. A column's lowest and highest values come from the
// series' min/max envelope, so the work follows the panel's width, not the point count.
// A series in insertion order is drawn point by point.

#include <vector>

#include "graph/axis_scale.h"
#include "graph/points_collection.h"
#include "ui/geometry.h"

namespace graph {

struct PixelLine {
    int x0 = 0;
    int y0 = 0;
    int x1 = 0;
    int y1 = 0;
    bool operator==(const PixelLine&) const = default;
};

struct PixelPoint {
    int x = 0;
    int y = 0;
    bool operator==(const PixelPoint&) const = default;
};

struct CurveGeometry {
    std::vector<PixelLine> lines;
    std::vector<PixelPoint> marks;
};

struct CurveRequest {
    ui::Rect clip;       // the panel's rectangle; nothing is placed far outside it
    bool lines = true;   // connect the points
    bool marks = false;  // mark the points
    int markSize = 0;    // half the mark's side, to keep marks just outside the clip
};

CurveGeometry TraceSeries(const CPointsCollection& points, const CAxisScale& x, const CAxisScale& y,
                          const CurveRequest& request);

// Cuts the segment to the rectangle (inclusive edges); false when none of it lies inside.
bool ClipSegment(double& x0, double& y0, double& x1, double& y1, double left, double top,
                 double right, double bottom);

}  // namespace graph
