// The envelope's answers over runs that begin or end on the edges of its blocks, at every
// level, whether it was built in one pass or grew by appends.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "graph/min_max_pyramid.h"

using graph::GraphPoint;
using graph::MinMax;
using graph::MinMaxPyramid;

namespace {

std::vector<GraphPoint> Levels(int count) {
    std::mt19937 random(count);
    std::uniform_real_distribution<double> level(0, 1000);
    std::vector<GraphPoint> points(count);
    for (int i = 0; i < count; ++i)
        points[i] = {static_cast<double>(i), level(random)};
    return points;
}

// Indices on and beside the edge of a block of every level, and the series' ends.
std::vector<int> Edges(int count) {
    std::vector<int> edges = {0, 1, count - 2, count - 1};
    for (int block = 16; block < count; block *= 16)
        for (int at : {block - 1, block, block + 1, 3 * block - 1, 3 * block})
            if (at < count)
                edges.push_back(at);
    return edges;
}

// Every run that starts or ends at one of `edges`, its extremes kept as it grows.
void ExpectExactOverRunsAtEdges(const MinMaxPyramid& pyramid,
                                const std::vector<GraphPoint>& points) {
    const int count = static_cast<int>(points.size());
    for (int edge : Edges(count)) {
        SCOPED_TRACE(edge);
        MinMax expected{points[edge].y, points[edge].y};
        for (int last = edge; last < count; ++last) {
            expected.min = std::min(expected.min, points[last].y);
            expected.max = std::max(expected.max, points[last].y);
            const MinMax range = pyramid.Query(points, edge, last);
            ASSERT_EQ(range.min, expected.min) << "run " << edge << ".." << last;
            ASSERT_EQ(range.max, expected.max) << "run " << edge << ".." << last;
        }
        expected = {points[edge].y, points[edge].y};
        for (int first = edge; first >= 0; --first) {
            expected.min = std::min(expected.min, points[first].y);
            expected.max = std::max(expected.max, points[first].y);
            const MinMax range = pyramid.Query(points, first, edge);
            ASSERT_EQ(range.min, expected.min) << "run " << first << ".." << edge;
            ASSERT_EQ(range.max, expected.max) << "run " << first << ".." << edge;
        }
    }
}

}  // namespace

TEST(MinMaxPyramidTest, RunsFromOrToTheEdgeOfAnyBlockTakeExactlyTheirOwnPoints) {
    // A whole number of top blocks, one point more, and four levels with a short last block.
    for (int count : {4096, 4097, 70001}) {
        SCOPED_TRACE(count);
        const std::vector<GraphPoint> points = Levels(count);
        MinMaxPyramid pyramid;
        pyramid.Build(points);
        ASSERT_TRUE(pyramid.IsCurrent(points.size()));
        ExpectExactOverRunsAtEdges(pyramid, points);
    }
}

TEST(MinMaxPyramidTest, APyramidGrownByAppendsAnswersAsOneBuiltInOnePass) {
    const std::vector<GraphPoint> all = Levels(70001);
    // Built over the first points, then grown point by point past a new top level (65,536).
    std::vector<GraphPoint> points(all.begin(), all.begin() + 5000);
    MinMaxPyramid pyramid;
    pyramid.Build(points);
    for (size_t i = points.size(); i < all.size(); ++i) {
        points.push_back(all[i]);
        pyramid.Append(all[i].y);
    }
    ASSERT_TRUE(pyramid.IsCurrent(points.size()));
    ExpectExactOverRunsAtEdges(pyramid, points);
}
