#include "graph/view_range.h"

#include <cmath>

namespace graph {

namespace {

constexpr double kMarginFraction = 10;
constexpr double kMarginAtZero = 0.1;

// Data bounds that coincide give no axis; they are opened around their value.
void OpenEqualBounds(double& low, double& high) {
    if (low != high)
        return;
    const double margin = low == 0 ? kMarginAtZero : std::fabs(low) / kMarginFraction;
    low -= margin;
    high += margin;
}

double LowerWithMargin(double v) {
    return v == 0 ? -kMarginAtZero : v - std::fabs(v) / kMarginFraction;
}

double UpperWithMargin(double v) {
    return v == 0 ? kMarginAtZero : v + std::fabs(v) / kMarginFraction;
}

// Moves the smaller or larger of two limits out to v when v lies beyond it.
bool ExtendAxis(double& from, double& to, double v) {
    double& lower = from <= to ? from : to;
    double& upper = from <= to ? to : from;
    if (v < lower) {
        lower = v - std::fabs(v) / kMarginFraction;
        return true;
    }
    if (v > upper) {
        upper = v + std::fabs(v) / kMarginFraction;
        return true;
    }
    return false;
}

}  // namespace

VisibleRange FitRange(int command, const DataBounds& bounds, const VisibleRange& current) {
    DataBounds open = bounds;
    OpenEqualBounds(open.xMin, open.xMax);
    OpenEqualBounds(open.yMin, open.yMax);
    VisibleRange range = current;
    switch (command) {
        case kFitWidth:
            range.xFrom = open.xMin;
            range.xTo = open.xMax;
            break;
        case kFitHeight:
            range.yFrom = open.yMin;
            range.yTo = open.yMax;
            break;
        case kFitPage:
            // The margins alone keep equal y bounds apart.
            range = {open.xMin, open.xMax, LowerWithMargin(bounds.yMin),
                     UpperWithMargin(bounds.yMax)};
            break;
        default:
            break;
    }
    return range;
}

VisibleRange ZoomRange(const CAxisScale& x, const CAxisScale& y, int left, int top, int right,
                       int bottom, const VisibleRange& current) {
    VisibleRange range = current;
    const double xFrom = x.PixelToValue(left);
    const double xTo = x.PixelToValue(right);
    if (xFrom != xTo && std::isfinite(xFrom) && std::isfinite(xTo)) {
        range.xFrom = xFrom;
        range.xTo = xTo;
    }
    const double yFrom = y.PixelToValue(bottom);
    const double yTo = y.PixelToValue(top);
    if (yFrom != yTo && std::isfinite(yFrom) && std::isfinite(yTo)) {
        range.yFrom = yFrom;
        range.yTo = yTo;
    }
    return range;
}

bool ExtendToInclude(VisibleRange& range, double x, double y) {
    const bool xMoved = ExtendAxis(range.xFrom, range.xTo, x);
    const bool yMoved = ExtendAxis(range.yFrom, range.yTo, y);
    return xMoved || yMoved;
}

bool ExtendToInclude(VisibleRange& range, std::span<const GraphPoint> points) {
    // A limit only ever moves outwards, so each keeps its role over the whole run.
    double& xLowRef = range.xFrom <= range.xTo ? range.xFrom : range.xTo;
    double& xHighRef = range.xFrom <= range.xTo ? range.xTo : range.xFrom;
    double& yLowRef = range.yFrom <= range.yTo ? range.yFrom : range.yTo;
    double& yHighRef = range.yFrom <= range.yTo ? range.yTo : range.yFrom;
    double xLow = xLowRef, xHigh = xHighRef, yLow = yLowRef, yHigh = yHighRef;
    bool moved = false;
    for (const GraphPoint& p : points) {
        if (p.x < xLow) {
            xLow = p.x - std::fabs(p.x) / kMarginFraction;
            moved = true;
        } else if (p.x > xHigh) {
            xHigh = p.x + std::fabs(p.x) / kMarginFraction;
            moved = true;
        }
        if (p.y < yLow) {
            yLow = p.y - std::fabs(p.y) / kMarginFraction;
            moved = true;
        } else if (p.y > yHigh) {
            yHigh = p.y + std::fabs(p.y) / kMarginFraction;
            moved = true;
        }
    }
    xLowRef = xLow;
    xHighRef = xHigh;
    yLowRef = yLow;
    yHighRef = yHigh;
    return moved;
}

}  // namespace graph
