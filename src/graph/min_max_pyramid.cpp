#include "graph/min_max_pyramid.h"

#include <algorithm>

namespace graph {

namespace {

void Widen(MinMax& range, double y) {
    range.min = std::min(range.min, y);
    range.max = std::max(range.max, y);
}

void Widen(MinMax& range, const MinMax& other) {
    range.min = std::min(range.min, other.min);
    range.max = std::max(range.max, other.max);
}

}  // namespace

void MinMaxPyramid::Build(const std::vector<GraphPoint>& points) {
    m_levels.clear();
    m_blockSizes.clear();
    m_count = points.size();
    m_valid = true;
    std::vector<MinMax> blocks((m_count + kFanOut - 1) / kFanOut);
    for (size_t i = 0; i < m_count; ++i) {
        const double y = points[i].y;
        if (i % kFanOut == 0)
            blocks[i / kFanOut] = {y, y};
        else
            Widen(blocks[i / kFanOut], y);
    }
    m_levels.push_back(std::move(blocks));
    m_blockSizes.push_back(kFanOut);
    while (m_blockSizes.back() * kFanOut <= m_count)
        AddLevel();
}

void MinMaxPyramid::AddLevel() {
    const std::vector<MinMax>& below = m_levels.back();
    std::vector<MinMax> blocks((below.size() + kFanOut - 1) / kFanOut);
    for (size_t i = 0; i < below.size(); ++i) {
        if (i % kFanOut == 0)
            blocks[i / kFanOut] = below[i];
        else
            Widen(blocks[i / kFanOut], below[i]);
    }
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
