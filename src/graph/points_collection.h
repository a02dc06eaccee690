#pragma once
// The points of one series with their bounds, kept in insertion order or ordered by x. Points
// with a coordinate that is not a finite number are refused: they have no place on an axis.
//
// Appending at the end of an ordered series (time going on) costs one comparison. Moving or
// replacing a point always leaves the bounds right; removing leaves them as they were unless
// the caller asks for a recomputation (callers that remove many points ask once at the end).

#include <span>
#include <vector>

#include "graph/min_max_pyramid.h"

namespace graph {

struct PointBounds {
    double xMax = 0;
    double yMax = 0;
    double xMin = 0;
    double yMin = 0;
    bool operator==(const PointBounds&) const = default;
};

class CPointsCollection {
public:
    explicit CPointsCollection(bool ordered = true, bool duplicates = false)
        : m_ordered(ordered), m_duplicates(duplicates) {}
    virtual ~CPointsCollection() = default;

    // The index at which the point now stands; -1 when refused.
    int AddPoint(double x, double y, bool recompute);
    // Appends the points from the start of `points` that go at the end as they come: every
    // one in insertion order; in an ordered collection each while its x lies beyond the last
    // one's. Points that are no numbers are refused on the way, as AddPoint refuses them.
    // Returns how many of `points` it went through; the first point it leaves would stand
    // elsewhere and is AddPoint's.
    size_t AppendPoints(std::span<const GraphPoint> points);
    // Room for `count` points, so that a known number of points is stored without regrowing.
    void Reserve(size_t count) { m_points.reserve(count); }
    // -1 when index < 0 or index > count. An ordered collection places the point by its x.
    int InsertPoint(int index, double x, double y, bool recompute);
    void RemovePoint(int index, bool recompute);
    // The point's new index, or -1 when index is out of range or the new point is refused.
    int MovePoint(int index, double x, double y, bool recompute);
    void ClearPoints();
    void RecalcBounds();

    int GetCount() const { return static_cast<int>(m_points.size()); }
    bool IsValidIndex(int index) const { return index >= 0 && index < GetCount(); }
    // Callers give 0 to count-1.
    const GraphPoint& GetPoint(int index) const { return m_points[index]; }
    const std::vector<GraphPoint>& Points() const { return m_points; }
    const PointBounds& GetBounds() const { return m_bounds; }
    // Bounds a caller widened beyond the points; the next change of the points that
    // recomputes them takes them back to the points.
    void SetBounds(const PointBounds& bounds) { m_bounds = bounds; }
    bool IsOrdered() const { return m_ordered; }
    bool AllowsDuplicates() const { return m_duplicates; }

    // The smallest and largest y of points first..last, for drawing one pixel column.
    MinMax YRange(int first, int last) const;

private:
    void Widen(double x, double y);
    bool OnBound(const GraphPoint& p) const;
    void Insert(int index, const GraphPoint& p);
    GraphPoint Erase(int index);

    std::vector<GraphPoint> m_points;
    PointBounds m_bounds;
    bool m_ordered;
    bool m_duplicates;
    mutable MinMaxPyramid m_envelope;
};

}  // namespace graph
