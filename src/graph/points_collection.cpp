#include "graph/points_collection.h"

#include <algorithm>
#include <cmath>

namespace graph {

namespace {
// Runs shorter than this are scanned; longer ones are answered from the envelope.
constexpr int kScannedRun = 64;
}  // namespace

void CPointsCollection::Widen(double x, double y) {
    if (m_points.empty()) {
        m_bounds = {x, y, x, y};
        return;
    }
    m_bounds.xMax = std::max(m_bounds.xMax, x);
    m_bounds.yMax = std::max(m_bounds.yMax, y);
    m_bounds.xMin = std::min(m_bounds.xMin, x);
    m_bounds.yMin = std::min(m_bounds.yMin, y);
}

bool CPointsCollection::OnBound(const GraphPoint& p) const {
    return p.x == m_bounds.xMax || p.x == m_bounds.xMin || p.y == m_bounds.yMax ||
           p.y == m_bounds.yMin;
}

void CPointsCollection::Insert(int index, const GraphPoint& p) {
    if (index == GetCount())
        m_envelope.Append(p.y);
    else
        m_envelope.Invalidate();
    m_points.insert(m_points.begin() + index, p);
}

GraphPoint CPointsCollection::Erase(int index) {
    const GraphPoint removed = m_points[index];
    m_points.erase(m_points.begin() + index);
    m_envelope.Invalidate();
    return removed;
}

int CPointsCollection::AddPoint(double x, double y, bool recompute) {
    if (!std::isfinite(x) || !std::isfinite(y))
        return -1;
    const GraphPoint point{x, y};
    if (!m_ordered || m_points.empty() || m_points.back().x < x) {
        Widen(x, y);
        Insert(GetCount(), point);
        return GetCount() - 1;
    }
    Widen(x, y);
    if (m_points.front().x > x) {
        Insert(0, point);
        return 0;
    }
    const auto at = std::lower_bound(m_points.begin(), m_points.end(), x,
                                     [](const GraphPoint& p, double v) { return p.x < v; });
    const int index = static_cast<int>(at - m_points.begin());
    if (at->x == x && !m_duplicates) {
        const GraphPoint replaced = *at;
        *at = point;
        m_envelope.Invalidate();
        if (recompute || OnBound(replaced))
            RecalcBounds();
        return index;
    }
    Insert(index, point);
    return index;
}

size_t CPointsCollection::AppendPoints(std::span<const GraphPoint> points) {
    const size_t needed = m_points.size() + points.size();
    // A caller that appends in turns still grows the storage geometrically.
    if (m_points.capacity() < needed)
        m_points.reserve(std::max(needed, m_points.capacity() + m_points.capacity() / 2));
    const size_t before = m_points.size();
    PointBounds bounds = m_bounds;
    bool empty = m_points.empty();
    double lastX = empty ? 0 : m_points.back().x;
    size_t i = 0;
    for (; i < points.size(); ++i) {
        const GraphPoint& p = points[i];
        if (!std::isfinite(p.x) || !std::isfinite(p.y))
            continue;
        if (m_ordered && !empty && !(p.x > lastX))
            break;
        if (empty) {
            bounds = {p.x, p.y, p.x, p.y};
            empty = false;
        } else {
            bounds.xMax = std::max(bounds.xMax, p.x);
            bounds.yMax = std::max(bounds.yMax, p.y);
            bounds.xMin = std::min(bounds.xMin, p.x);
            bounds.yMin = std::min(bounds.yMin, p.y);
        }
        lastX = p.x;
        m_points.push_back(p);
    }
    m_bounds = bounds;
    // The envelope is built afresh at the next drawing: cheaper than keeping it per point.
    if (m_points.size() != before)
        m_envelope.Invalidate();
    return i;
}

int CPointsCollection::InsertPoint(int index, double x, double y, bool recompute) {
    if (index < 0 || index > GetCount())
        return -1;
    if (index == GetCount() || m_ordered)
        return AddPoint(x, y, recompute);
    if (!std::isfinite(x) || !std::isfinite(y))
        return -1;
    Widen(x, y);
    Insert(index, {x, y});
    if (recompute)
        RecalcBounds();
    return index;
}

void CPointsCollection::RemovePoint(int index, bool recompute) {
    if (!IsValidIndex(index))
        return;
    Erase(index);
    if (recompute)
        RecalcBounds();
}

int CPointsCollection::MovePoint(int index, double x, double y, bool recompute) {
    if (!IsValidIndex(index) || !std::isfinite(x) || !std::isfinite(y))
        return -1;
    const GraphPoint moved = Erase(index);
    const bool stale = OnBound(moved);
    const int result = m_ordered ? AddPoint(x, y, recompute) : InsertPoint(index, x, y, recompute);
    if (stale && !recompute)
        RecalcBounds();
    return m_ordered ? result : index;
}

void CPointsCollection::ClearPoints() {
    m_points.clear();
    m_bounds = {};
    m_envelope.Invalidate();
}

void CPointsCollection::RecalcBounds() {
    m_bounds = {};
    if (m_points.empty())
        return;
    const GraphPoint& first = m_points.front();
    m_bounds = {first.x, first.y, first.x, first.y};
    for (const GraphPoint& p : m_points) {
        m_bounds.xMax = std::max(m_bounds.xMax, p.x);
        m_bounds.yMax = std::max(m_bounds.yMax, p.y);
        m_bounds.xMin = std::min(m_bounds.xMin, p.x);
        m_bounds.yMin = std::min(m_bounds.yMin, p.y);
    }
}

MinMax CPointsCollection::YRange(int first, int last) const {
    if (last - first < kScannedRun) {
        MinMax range{m_points[first].y, m_points[first].y};
        for (int i = first + 1; i <= last; ++i) {
            range.min = std::min(range.min, m_points[i].y);
            range.max = std::max(range.max, m_points[i].y);
        }
        return range;
    }
    if (!m_envelope.IsCurrent(m_points.size()))
        m_envelope.Build(m_points);
    return m_envelope.Query(m_points, first, last);
}

}  // namespace graph
