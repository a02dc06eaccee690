#pragma once
// The smallest and largest y over any run of a series' points, answered from summaries of
// blocks of 16, 256, 4096... points, so that a pixel column that covers a million points
// costs a few dozen steps. Appending keeps the summaries current; any other change asks for a
// rebuild, which the series does the next time it is drawn.

#include <cstddef>
#include <vector>

namespace graph {

struct GraphPoint {
    double x = 0;
    double y = 0;
    bool operator==(const GraphPoint&) const = default;
};

struct MinMax {
    double min = 0;
    double max = 0;
};

class MinMaxPyramid {
public:
    static constexpr size_t kFanOutBits = 4;
    static constexpr size_t kFanOut = size_t{1} << kFanOutBits;

    // One pass over the points, as fast as reading them; the levels above from those below.
    void Build(const std::vector<GraphPoint>& points);
    // The point just appended to the points this pyramid summarises.
    void Append(double y);
    void Invalidate() { m_valid = false; }
    // True when it summarises exactly these many points as they are now.
    bool IsCurrent(size_t count) const { return m_valid && m_count == count; }

    // Over points first..last (inclusive, first <= last < the points' count).
    MinMax Query(const std::vector<GraphPoint>& points, size_t first, size_t last) const;

private:
    // The number of points a block of `level` summarises.
    static size_t BlockSize(size_t level) { return size_t{1} << (kFanOutBits * (level + 1)); }
    void AddLevel();

    // m_levels[L][i] summarises points i * 16^(L+1) up to the next block.
    std::vector<std::vector<MinMax>> m_levels;
    size_t m_count = 0;
    bool m_valid = false;
};

}  // namespace graph
