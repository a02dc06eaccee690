#include "graph/min_max_pyramid.h"

#include <algorithm>
#include <utility>

namespace graph {

namespace {

MinMax ToRange(const GraphPoint& point) {
    return {point.y, point.y};
}

MinMax ToRange(const MinMax& range) {
    return range;
}

void Widen(MinMax& range, double y) {
    range.min = std::min(range.min, y);
    range.max = std::max(range.max, y);
}

void Widen(MinMax& range, const MinMax& other) {
    range.min = std::min(range.min, other.min);
    range.max = std::max(range.max, other.max);
}

// Widens [low, high] to a point's level or to a range, in registers.
void Widen(double& low, double& high, const GraphPoint& point) {
    low = point.y < low ? point.y : low;
    high = point.y > high ? point.y : high;
}

void Widen(double& low, double& high, const MinMax& range) {
    low = range.min < low ? range.min : low;
    high = range.max > high ? range.max : high;
}

// The range of a block of `length` items.
template <typename Item>
MinMax PartBlock(const Item* items, size_t length) {
    MinMax range = ToRange(items[0]);
    for (size_t i = 1; i < length; ++i)
        Widen(range.min, range.max, items[i]);
    return range;
}

// The range of a whole block, its items spelt out one by one (the fold over `Next`), so that
// each costs its load and two comparisons, with no loop around them.
template <typename Item, size_t... Next>
MinMax WholeBlock(const Item* items, std::index_sequence<Next...>) {
    const MinMax first = ToRange(items[0]);
    double low = first.min;
    double high = first.max;
    (Widen(low, high, items[Next + 1]), ...);
    return {low, high};
}

// The ranges of blocks of kFanOut items, the last one possibly shorter.
template <typename Item>
std::vector<MinMax> Summarise(const Item* items, size_t count) {
    constexpr size_t n = MinMaxPyramid::kFanOut;
    std::vector<MinMax> blocks;
    blocks.reserve((count + n - 1) / n);
    size_t start = 0;
    for (; start + n <= count; start += n)
        blocks.push_back(WholeBlock(items + start, std::make_index_sequence<n - 1>()));
    if (start < count)
        blocks.push_back(PartBlock(items + start, count - start));
    return blocks;
}

}  // namespace

void MinMaxPyramid::Build(const std::vector<GraphPoint>& points) {
    m_levels.clear();
    m_blockSizes.clear();
    m_count = points.size();
    m_valid = true;
    m_levels.push_back(Summarise(points.data(), m_count));
    m_blockSizes.push_back(kFanOut);
    while (m_blockSizes.back() * kFanOut <= m_count)
        AddLevel();
}

void MinMaxPyramid::AddLevel() {
    const std::vector<MinMax>& below = m_levels.back();
    std::vector<MinMax> blocks = Summarise(below.data(), below.size());
    m_blockSizes.push_back(m_blockSizes.back() * kFanOut);
    m_levels.push_back(std::move(blocks));
}

void MinMaxPyramid::Append(double y) {
    if (!m_valid)
        return;
    const size_t index = m_count++;
    for (size_t level = 0; level < m_levels.size(); ++level) {
        std::vector<MinMax>& blocks = m_levels[level];
        const size_t block = index / m_blockSizes[level];
        if (block == blocks.size())
            blocks.push_back({y, y});
        else
            Widen(blocks[block], y);
    }
    if (m_blockSizes.back() * kFanOut <= m_count)
        AddLevel();
}

MinMax MinMaxPyramid::Query(const std::vector<GraphPoint>& points, size_t first,
                            size_t last) const {
    MinMax range{points[first].y, points[first].y};
    size_t i = first + 1;
    const size_t end = last + 1;
    while (i < end) {
        // The largest whole block that starts here and ends within the run.
        int level = static_cast<int>(m_levels.size()) - 1;
        while (level >= 0 && (i % m_blockSizes[level] != 0 || i + m_blockSizes[level] > end))
            --level;
        if (level < 0) {
            Widen(range, points[i].y);
            ++i;
        } else {
            Widen(range, m_levels[level][i / m_blockSizes[level]]);
            i += m_blockSizes[level];
        }
    }
    return range;
}

}  // namespace graph
