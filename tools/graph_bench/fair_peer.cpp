#include "fair_peer.h"

#include <QPainter>
#include <QPolygon>
#include <algorithm>

namespace bench {

namespace {

using graph::GraphPoint;

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

// The last point from `first` on that still falls in `column`. The search gallops from where
// the column is expected to end (the width of the column before): strides of 1, 2, 4... away
// from that point while they stay on its side, then halves between the last point inside and
// the first outside. Evenly spaced points take two looks at neighbouring points; a gallop
// from the column's first point would look at as many places as the width has bits, each
// far from the others and a miss of the caches.
int ColumnEnd(const std::vector<GraphPoint>& points, int first, int last, int column, int expected,
              const graph::CAxisScale& x) {
    const auto inColumn = [&](int i) { return PixelOf(x, points[i].x) == column; };
    const int guess = std::min(last, first + std::max(1, expected) - 1);
    int inside = guess;
    int outside = guess;
    int step = 1;
    if (inColumn(guess)) {
        while (inside + step <= last && inColumn(inside + step)) {
            inside += step;
            step *= 2;
        }
        outside = std::min(inside + step, last + 1);
    } else {
        while (outside - step > first && !inColumn(outside - step)) {
            outside -= step;
            step *= 2;
        }
        inside = std::max(first, outside - step);
    }
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

graph::MinMax PlainPass(const GraphPoint* points, size_t count) {
    // Four lowest and four highest, each compared only with its own points.
    double low0 = points[0].y, low1 = low0, low2 = low0, low3 = low0;
    double high0 = low0, high1 = low0, high2 = low0, high3 = low0;
    size_t i = 1;
    for (; i + 4 <= count; i += 4) {
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
    int width = 1;
    for (int i = first; i <= last;) {
        const int column = PixelOf(x, points[i].x);
        const int end = ColumnEnd(points, i, last, column, width, x);
        width = end - i + 1;
        // Where the next column's search will look, fetched while this column is reduced.
        __builtin_prefetch(&points[std::min(last, end + width)]);
        columns.push_back({column, i, end, PlainPass(points.data() + i, width)});
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
