#include "graph/min_max_pyramid.h"

#include <algorithm>
#include <utility>

namespace graph {

namespace {

double Lower(double a, double b) {
    return b < a ? b : a;
}

double Higher(double a, double b) {
    return b > a ? b : a;
}

MinMax Join(const MinMax& a, const MinMax& b) {
    return {Lower(a.min, b.min), Higher(a.max, b.max)};
}

MinMax ToRange(const GraphPoint& point) {
    return {point.y, point.y};
}

MinMax ToRange(const MinMax& range) {
    return range;
}

MinMax PairRange(const GraphPoint* points) {
    return {Lower(points[0].y, points[1].y), Higher(points[0].y, points[1].y)};
}

MinMax PairRange(const MinMax* ranges) {
    return Join(ranges[0], ranges[1]);
}

// The range of a whole block of 16 items, in four parts kept apart until the end: no
// comparison waits for more than the few before it in its part, so that a block costs what
// reading it costs, not a chain of dependent steps.
template <typename Item>
MinMax WholeBlock(const Item* items) {
    static_assert(MinMaxPyramid::kFanOut == 16);
    MinMax a = PairRange(items);
    MinMax b = PairRange(items + 2);
    MinMax c = PairRange(items + 4);
    MinMax d = PairRange(items + 6);
    a = Join(a, PairRange(items + 8));
    b = Join(b, PairRange(items + 10));
    c = Join(c, PairRange(items + 12));
    d = Join(d, PairRange(items + 14));
    return Join(Join(a, b), Join(c, d));
}

// Widens `range` over items from..to-1 of one level.
template <typename Item>
void WidenOver(MinMax& range, const Item* items, size_t from, size_t to) {
    for (size_t i = from; i < to; ++i)
        range = Join(range, ToRange(items[i]));
}

template <typename Item>
MinMax PartBlock(const Item* items, size_t length) {
    MinMax range = ToRange(items[0]);
    WidenOver(range, items, 1, length);
    return range;
}

// The ranges of blocks of kFanOut items, the last one possibly shorter, into `blocks`. The
// items a page ahead are asked for on the way: the processor's own prefetching stops at the end
// of each page, and the stream would wait there for memory.
template <typename Item>
void Summarise(const Item* items, size_t count, std::vector<MinMax>& blocks) {
    constexpr size_t n = MinMaxPyramid::kFanOut;
    constexpr size_t ahead = 4096 / sizeof(Item);
    constexpr size_t line = 64 / sizeof(Item);
    blocks.clear();
    blocks.reserve((count + n - 1) / n);
    size_t start = 0;
    for (; start + n <= count; start += n) {
        for (size_t k = 0; k < n; k += line)
            __builtin_prefetch(items + std::min(start + ahead + k, count - 1));
        blocks.push_back(WholeBlock(items + start));
    }
    if (start < count)
        blocks.push_back(PartBlock(items + start, count - start));
}

}  // namespace

void MinMaxPyramid::Build(const std::vector<GraphPoint>& points) {
    m_count = points.size();
    m_valid = true;
    m_levels.resize(1);
    Summarise(points.data(), m_count, m_levels[0]);
    while (BlockSize(m_levels.size() - 1) * kFanOut <= m_count)
        AddLevel();
}

void MinMaxPyramid::AddLevel() {
    std::vector<MinMax> blocks;
    const std::vector<MinMax>& below = m_levels.back();
    Summarise(below.data(), below.size(), blocks);
    m_levels.push_back(std::move(blocks));
}

void MinMaxPyramid::Append(double y) {
    if (!m_valid)
        return;
    const size_t index = m_count++;
    for (size_t level = 0; level < m_levels.size(); ++level) {
        std::vector<MinMax>& blocks = m_levels[level];
        const size_t block = index >> (kFanOutBits * (level + 1));
        if (block == blocks.size())
            blocks.push_back({y, y});
        else
            blocks[block] = Join(blocks[block], {y, y});
    }
    if (BlockSize(m_levels.size() - 1) * kFanOut <= m_count)
        AddLevel();
}

MinMax MinMaxPyramid::Query(const std::vector<GraphPoint>& points, size_t first,
                            size_t last) const {
    MinMax range = ToRange(points[first]);
    size_t i = first + 1;
    const size_t end = last + 1;
    // Upwards: the items of each level (the points first) up to the next level's block
    // boundary, as long as a whole block of the next level still fits before the end.
    const size_t levels = m_levels.size();
    size_t reached = 0;  // 0: the points; L + 1: level L
    while (reached < levels) {
        const size_t size = BlockSize(reached);
        const size_t boundary = (i + size - 1) & ~(size - 1);
        if (boundary + size > end)
            break;
        if (reached == 0)
            WidenOver(range, points.data(), i, boundary);
        else
            WidenOver(range, m_levels[reached - 1].data(), i >> (kFanOutBits * reached),
                      boundary >> (kFanOutBits * reached));
        i = boundary;
        ++reached;
    }
    // Downwards: the whole blocks of each level that end within the run, then the points.
    for (; reached > 0; --reached) {
        const size_t size = BlockSize(reached - 1);
        const size_t boundary = end & ~(size - 1);
        if (boundary <= i)
            continue;
        WidenOver(range, m_levels[reached - 1].data(), i >> (kFanOutBits * reached),
                  boundary >> (kFanOutBits * reached));
        i = boundary;
    }
    WidenOver(range, points.data(), i, end);
    return range;
}

}  // namespace graph
