#pragma once
// The visible range of a graph and the rules that change it: fitting it to the data, zooming
// to a rectangle, and stretching it to take in a new point. No rule produces an axis whose two
// limits are equal, so the scales built on them always spread values over the panel.

#include <span>

#include "graph/axis_scale.h"
#include "graph/min_max_pyramid.h"

namespace graph {

struct VisibleRange {
    double xFrom = 0;
    double xTo = 0;
    double yFrom = 0;
    double yTo = 0;
    bool operator==(const VisibleRange&) const = default;
};

// The extent of the data of the visible series.
struct DataBounds {
    double xMin = 0;
    double xMax = 0;
    double yMin = 0;
    double yMax = 0;
    bool operator==(const DataBounds&) const = default;
};

// The panel's fit commands.
enum FitCommand : int {
    kFitWidth = 4104,
    kFitHeight = 4105,
    kFitPage = 4106,
};

// Width takes the x bounds, height the y bounds, page both with a tenth of each y bound as a
// margin (0 becomes -0.1 or 0.1). An axis whose data bounds are equal is opened by a tenth of
// the value on either side (0.1 around 0). Other commands leave the range as it is.
VisibleRange FitRange(int command, const DataBounds& bounds, const VisibleRange& current);

// The range of a panel rectangle (pixels) through the panel's scales: x from its left and right
// edges, y from its bottom and top edges. An axis the rectangle has no extent on keeps the
// current limits.
VisibleRange ZoomRange(const CAxisScale& x, const CAxisScale& y, int left, int top, int right,
                       int bottom, const VisibleRange& current);

// Stretches the range to take in a point beyond it: a limit passed by v moves to v - |v|/10
// (lower) or v + |v|/10 (upper); on a reversed axis the limits swap roles. True when a limit
// moved.
bool ExtendToInclude(VisibleRange& range, double x, double y);
// The same for each point in turn, as many calls would leave it.
bool ExtendToInclude(VisibleRange& range, std::span<const GraphPoint> points);

}  // namespace graph
