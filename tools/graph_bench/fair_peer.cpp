#include "fair_peer.h"

#include <QPainter>
#include <QPolygon>
#include <algorithm>

namespace bench {

namespace {

using graph::GraphPoint;
using graph::MinMax;

double Lower(double a, double b) {
    return b < a ? b : a;
}

double Higher(double a, double b) {
    return b > a ? b : a;
}

// A value's whole pixel, as the panel truncates it.
int PixelOf(const graph::CAxisScale& scale, double value) {
    return static_cast<int>(std::clamp(scale.ValueToPixel(value), -1e9, 1e9));
}

// The lowest and highest level of `count` points (count >= 1): four lowest and four highest,
// each compared only with its own points. With `kAhead`, the point that many places on (short
// of `end`, the end of all the points) is asked for while these are compared.
template <size_t kAhead>
MinMax LevelsOf(const GraphPoint* points, size_t count, const GraphPoint* end = nullptr) {
    const size_t room = kAhead > 0 ? static_cast<size_t>(end - points) : 0;
    double low0 = points[0].y, low1 = low0, low2 = low0, low3 = low0;
    double high0 = low0, high1 = low0, high2 = low0, high3 = low0;
    size_t i = 1;
    for (; i + 4 <= count; i += 4) {
        if constexpr (kAhead > 0)
            __builtin_prefetch(points + std::min(i + kAhead, room - 1));
        low0 = Lower(low0, points[i].y);
        high0 = Higher(high0, points[i].y);
        low1 = Lower(low1, points[i + 1].y);
        high1 = Higher(high1, points[i + 1].y);
        low2 = Lower(low2, points[i + 2].y);
        high2 = Higher(high2, points[i + 2].y);
        low3 = Lower(low3, points[i + 3].y);
        high3 = Higher(high3, points[i + 3].y);
    }
    for (; i < count; ++i) {
        low0 = Lower(low0, points[i].y);
        high0 = Higher(high0, points[i].y);
    }
    return {Lower(Lower(low0, low1), Lower(low2, low3)),
            Higher(Higher(high0, high1), Higher(high2, high3))};
}

// The peer's pass over a column's points asks for the points a page ahead: a column's end is a
// branch no predictor learns (the widths differ by a point here and there), and without the
// lines already on their way the stream would start again after each one.
MinMax ColumnLevels(const std::vector<GraphPoint>& points, int first, int last) {
    return LevelsOf<4096 / sizeof(GraphPoint)>(points.data() + first,
                                               static_cast<size_t>(last - first + 1),
                                               points.data() + points.size());
}

MinMax Joined(const MinMax& a, const MinMax& b) {
    return {Lower(a.min, b.min), Higher(a.max, b.max)};
}

// The last point of `column` in [inside, outside), `inside` in it and `outside` past it (or the
// end of the run): halving, on points that were just read.
int LastInColumn(const std::vector<GraphPoint>& points, int inside, int outside, int column,
                 const graph::CAxisScale& x) {
    while (outside - inside > 1) {
        const int middle = inside + (outside - inside) / 2;
        (PixelOf(x, points[middle].x) == column ? inside : outside) = middle;
    }
    return inside;
}

}  // namespace

PeerScales::PeerScales(const QImage& image, const graph::VisibleRange& range) {
    x.Init(0, image.width() - 1, range.xFrom, range.xTo);
    y.Init(image.height() - 1, 0, range.yFrom, range.yTo);
}

MinMax PlainPass(const GraphPoint* points, size_t count) {
    return LevelsOf<0>(points, count);
}

std::vector<PeerColumn> ReduceColumns(const std::vector<GraphPoint>& points,
                                      const graph::CAxisScale& x) {
    std::vector<PeerColumn> columns;
    if (points.empty())
        return columns;
    const double low = std::min(x.ValueStart(), x.ValueEnd());
    const double high = std::max(x.ValueStart(), x.ValueEnd());
    const auto before = [](const GraphPoint& p, double v) { return p.x < v; };
    const auto after = [](double v, const GraphPoint& p) { return v < p.x; };
    const int count = static_cast<int>(points.size());
    const int first =
        std::max(0, static_cast<int>(std::lower_bound(points.begin(), points.end(), low, before) -
                                     points.begin()) -
                        1);
    const int last = std::min(
        count - 1, static_cast<int>(std::upper_bound(points.begin(), points.end(), high, after) -
                                    points.begin()));
    columns.reserve(static_cast<size_t>(std::abs(x.PixelEnd() - x.PixelStart())) + 3);
    // A column is taken to be one point narrower than the one before (evenly spaced points give
    // columns whose widths differ by one at most): its points are reduced as they stream in, and
    // only then is its end checked, on points already read. A guess too short goes on in strides
    // of 1, 2, 4... from its end; one too long is cut back by halving on the points just read
    // and reduced again from the cache. Evenly spaced points so cost one pass over memory in
    // order, as a plain pass does, and a few looks at x a column.
    int width = 1;
    for (int i = first; i <= last;) {
        const int column = PixelOf(x, points[i].x);
        const auto inColumn = [&](int at) { return PixelOf(x, points[at].x) == column; };
        int end = std::min(last, i + std::max(1, width - 1) - 1);
        MinMax levels = ColumnLevels(points, i, end);
        if (!inColumn(end)) {
            end = LastInColumn(points, i, end, column, x);
            levels = ColumnLevels(points, i, end);
        } else {
            for (int step = 1; end < last && inColumn(end + 1); step *= 2) {
                int next = std::min(last, end + step);
                if (!inColumn(next))
                    next = LastInColumn(points, end + 1, next, column, x);
                levels = Joined(levels, ColumnLevels(points, end + 1, next));
                end = next;
            }
        }
        columns.push_back({column, i, end, levels});
        width = end - i + 1;
        i = end + 1;
    }
    return columns;
}

void DrawColumns(QImage& image, const std::vector<PeerColumn>& columns,
                 const std::vector<GraphPoint>& points, const graph::CAxisScale& y) {
    QPolygon line;
    line.reserve(4 * static_cast<int>(columns.size()));
    const auto add = [&](int column, double level) {
        const QPoint point(column, PixelOf(y, level));
        if (line.isEmpty() || line.back() != point)
            line.append(point);
    };
    for (const PeerColumn& c : columns) {
        add(c.column, points[c.first].y);
        if (c.last > c.first) {
            add(c.column, c.levels.max);
            add(c.column, c.levels.min);
            add(c.column, points[c.last].y);
        }
    }
    QPainter painter(&image);
    painter.fillRect(image.rect(), Qt::white);
    painter.setPen(QPen(Qt::blue, 1));
    // Qt draws a long polyline of a one-pixel pen several times faster with a clip set (the
    // graph sets one too) than without.
    painter.setClipRect(image.rect());
    painter.drawPolyline(line);
}

void FairPeer(QImage& image, const std::vector<GraphPoint>& points,
              const graph::VisibleRange& range) {
    const PeerScales scales(image, range);
    DrawColumns(image, ReduceColumns(points, scales.x), points, scales.y);
}

}  // namespace bench
