#include "graph/curve_geometry.h"

#include <algorithm>
#include <cmath>

namespace graph {

namespace {

// Runs shorter than this get a mark at every point; longer ones at their ends and extremes.
constexpr int kMarkedRun = 8;
// Pixel positions are kept within this distance of the panel before they become ints; a
// line to a point further out keeps its direction to well within a pixel on the panel.
constexpr double kFarPixel = 1e9;

double Near(double p) {
    return std::clamp(p, -kFarPixel, kFarPixel);
}

int Whole(double p) {
    return static_cast<int>(Near(p));
}

class Tracer {
public:
    Tracer(const CAxisScale& x, const CAxisScale& y, const CurveRequest& request,
           CurveGeometry& out)
        : m_x(x), m_y(y), m_request(request), m_out(out) {
        const ui::Rect& clip = request.clip;
        const double margin = 1 + std::max(0, request.markSize);
        m_left = clip.left - margin;
        m_top = clip.top - margin;
        m_right = clip.right + margin;
        m_bottom = clip.bottom + margin;
    }

    double X(double value) const { return Near(m_x.ValueToPixel(value)); }
    double Y(double value) const { return Near(m_y.ValueToPixel(value)); }

    bool Marks() const { return m_request.marks; }

    void Line(double x0, double y0, double x1, double y1) {
        if (!m_request.lines)
            return;
        // Most lines lie within the panel and need no cutting.
        if (!(Inside(x0, y0) && Inside(x1, y1)) &&
            !ClipSegment(x0, y0, x1, y1, m_left, m_top, m_right, m_bottom))
            return;
        const PixelLine line{Whole(x0), Whole(y0), Whole(x1), Whole(y1)};
        if (line.x0 != line.x1 || line.y0 != line.y1)
            m_out.lines.push_back(line);
    }

    void Mark(double px, double py) {
        if (!m_request.marks || px < m_left || px > m_right || py < m_top || py > m_bottom)
            return;
        m_out.marks.push_back({Whole(px), Whole(py)});
    }

private:
    bool Inside(double px, double py) const {
        return px >= m_left && px <= m_right && py >= m_top && py <= m_bottom;
    }

    const CAxisScale& m_x;
    const CAxisScale& m_y;
    const CurveRequest& m_request;
    CurveGeometry& m_out;
    double m_left;
    double m_top;
    double m_right;
    double m_bottom;
};

// The last index from `first` (whose column is `column`) up to `last` whose column is still
// `column`; columns never go back. The search starts where the run is expected to end and
// gallops away from there (strides 1, 2, 4... on the side the guess fell), then halves: a
// good guess costs two looks at neighbouring points, where a gallop from `first` would look
// at as many far-apart points as the run's length has bits, each a likely miss of the caches.
template <typename ColumnOf>
int RunEnd(int first, int last, int column, int guess, const ColumnOf& columnOf) {
    guess = std::clamp(guess, first, last);
    int inside = first;
    int outside = last + 1;
    if (columnOf(guess) == column) {
        inside = guess;
        for (long long step = 1; step <= last - inside; step *= 2) {
            if (columnOf(inside + static_cast<int>(step)) != column) {
                outside = inside + static_cast<int>(step);
                break;
            }
            inside += static_cast<int>(step);
        }
    } else {
        outside = guess;
        for (long long step = 1; step < outside - first; step *= 2) {
            if (columnOf(outside - static_cast<int>(step)) == column) {
                inside = outside - static_cast<int>(step);
                break;
            }
            outside -= static_cast<int>(step);
        }
    }
    while (outside - inside > 1) {
        const int middle = inside + (outside - inside) / 2;
        (columnOf(middle) == column ? inside : outside) = middle;
    }
    return inside;
}

void TraceOrdered(const CPointsCollection& points, Tracer& tracer, const CAxisScale& x) {
    const std::vector<GraphPoint>& p = points.Points();
    const int n = points.GetCount();
    const double low = std::min(x.ValueStart(), x.ValueEnd());
    const double high = std::max(x.ValueStart(), x.ValueEnd());
    const auto before = [](const GraphPoint& point, double v) { return point.x < v; };
    const auto after = [](double v, const GraphPoint& point) { return v < point.x; };
    int first = static_cast<int>(std::lower_bound(p.begin(), p.end(), low, before) - p.begin());
    int last = static_cast<int>(std::upper_bound(p.begin(), p.end(), high, after) - p.begin());
    first = std::max(0, first - 1);
    last = std::min(n - 1, last);

    const auto columnOf = [&](int i) { return Whole(tracer.X(p[i].x)); };
    bool havePrevious = false;
    double previousX = 0;
    double previousY = 0;
    // The x pixel of the point after a run is known once the run's end is found.
    double nextX = tracer.X(p[first].x);
    // Runs are expected as long as the one before: points mostly come evenly spaced.
    int length = 1;
    for (int i = first; i <= last;) {
        const double firstX = nextX;
        const int column = Whole(firstX);
        int end = i;
        if (i < last) {
            nextX = tracer.X(p[i + 1].x);
            if (Whole(nextX) == column) {
                end = RunEnd(i + 1, last, column, i + std::min(length - 1, last - i), columnOf);
                if (end < last)
                    nextX = tracer.X(p[end + 1].x);
            }
        }
        length = end - i + 1;
        const double firstY = tracer.Y(p[i].y);
        if (havePrevious)
            tracer.Line(previousX, previousY, firstX, firstY);
        if (end > i) {
            const MinMax range = points.YRange(i, end);
            tracer.Line(column, tracer.Y(range.max), column, tracer.Y(range.min));
            if (end - i >= kMarkedRun && tracer.Marks()) {
                tracer.Mark(column, tracer.Y(range.max));
                tracer.Mark(column, tracer.Y(range.min));
            }
        }
        if (tracer.Marks() && end - i < kMarkedRun) {
            for (int k = i; k <= end; ++k)
                tracer.Mark(tracer.X(p[k].x), tracer.Y(p[k].y));
        } else if (tracer.Marks()) {
            tracer.Mark(firstX, firstY);
            tracer.Mark(tracer.X(p[end].x), tracer.Y(p[end].y));
        }
        havePrevious = true;
        previousX = end == i ? firstX : tracer.X(p[end].x);
        previousY = end == i ? firstY : tracer.Y(p[end].y);
        i = end + 1;
    }
}

void TraceInOrder(const CPointsCollection& points, Tracer& tracer) {
    bool havePrevious = false;
    double previousX = 0;
    double previousY = 0;
    for (const GraphPoint& point : points.Points()) {
        const double px = tracer.X(point.x);
        const double py = tracer.Y(point.y);
        if (havePrevious && Whole(px) == Whole(previousX) && Whole(py) == Whole(previousY))
            continue;
        if (havePrevious)
            tracer.Line(previousX, previousY, px, py);
        tracer.Mark(px, py);
        havePrevious = true;
        previousX = px;
        previousY = py;
    }
}

}  // namespace

CurveGeometry TraceSeries(const CPointsCollection& points, const CAxisScale& x, const CAxisScale& y,
                          const CurveRequest& request) {
    CurveGeometry out;
    if (points.GetCount() == 0 || (!request.lines && !request.marks))
        return out;
    Tracer tracer(x, y, request, out);
    if (points.IsOrdered())
        TraceOrdered(points, tracer, x);
    else
        TraceInOrder(points, tracer);
    return out;
}

bool ClipSegment(double& x0, double& y0, double& x1, double& y1, double left, double top,
                 double right, double bottom) {
    const double dx = x1 - x0;
    const double dy = y1 - y0;
    double enter = 0;
    double leave = 1;
    // Each edge as (distance towards it along the segment, room on the inner side).
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {x0 - left, right - x0, y0 - top, bottom - y0};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0)
                return false;
            continue;
        }
        const double r = q[i] / p[i];
        if (p[i] < 0)
            enter = std::max(enter, r);
        else
            leave = std::min(leave, r);
        if (enter > leave)
            return false;
    }
    const double startX = x0;
    const double startY = y0;
    if (enter > 0) {
        x0 = startX + enter * dx;
        y0 = startY + enter * dy;
    }
    if (leave < 1) {
        x1 = startX + leave * dx;
        y1 = startY + leave * dy;
    }
    return true;
}

}  // namespace graph
