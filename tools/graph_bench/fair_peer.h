#pragma once
// The fair peer of a graph's drawing, written apart from the graph as a performance engineer
// would write it for the same 16-byte points: each pixel column's points reduced as they
// stream in, its end then checked on their stored x, galloping on from where the previous
// column's width puts it; each column's lowest and highest level taken with accumulators that
// never wait for one another; then the lines the graph draws (into a column's first point,
// and a column's lowest to its highest point) as one polyline on a white image.

#include <QImage>
#include <vector>

#include "graph/axis_scale.h"
#include "graph/min_max_pyramid.h"
#include "graph/view_range.h"

namespace bench {

struct PeerColumn {
    int column = 0;
    int first = 0;  // the column's first and last point
    int last = 0;
    graph::MinMax levels;
};

// The panel's two scales over an image, as the graph sets them up for the same range.
struct PeerScales {
    graph::CAxisScale x;
    graph::CAxisScale y;
    PeerScales(const QImage& image, const graph::VisibleRange& range);
};

// The lowest and highest y of `count` points from `points` (count >= 1).
graph::MinMax PlainPass(const graph::GraphPoint* points, size_t count);

// The columns of the points in the x scale's range, with the point on either side of it.
std::vector<PeerColumn> ReduceColumns(const std::vector<graph::GraphPoint>& points,
                                      const graph::CAxisScale& x);

// The columns' lines on a white image.
void DrawColumns(QImage& image, const std::vector<PeerColumn>& columns,
                 const std::vector<graph::GraphPoint>& points, const graph::CAxisScale& y);

// The whole peer: the columns reduced afresh, then drawn.
void FairPeer(QImage& image, const std::vector<graph::GraphPoint>& points,
              const graph::VisibleRange& range);

}  // namespace bench
