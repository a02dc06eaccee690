// The envelope's answers over runs that begin or end on the edges of its blocks, at every
// level, whether it was built in one pass, grew by appends or was built again over fewer points.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <random>
#include <vector>

#include "graph/min_max_pyramid.h"

using graph::GraphPoint;
using graph::MinMax;
using graph::MinMaxPyramid;

namespace {

std::vector<GraphPoint> Levels(int count, double from = 0) {
    std::mt19937 random(count);
    std::uniform_real_distribution<double> level(from, from + 1000);
    std::vector<GraphPoint> points(count);
    for (int i = 0; i < count; ++i)
        points[i] = {static_cast<double>(i), level(random)};
    return points;
}

// Every run of a short series.
void ExpectExactOverEveryRun(const MinMaxPyramid& pyramid, const std::vector<GraphPoint>& points) {
    const size_t count = points.size();
    for (size_t first = 0; first < count; ++first) {
        MinMax expected{points[first].y, points[first].y};
        for (size_t last = first; last < count; ++last) {
            expected.min = std::min(expected.min, points[last].y);
            expected.max = std::max(expected.max, points[last].y);
            const MinMax range = pyramid.Query(points, first, last);
            ASSERT_EQ(range.min, expected.min) << "run " << first << ".." << last;
            ASSERT_EQ(range.max, expected.max) << "run " << first << ".." << last;
        }
    }
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

TEST(MinMaxPyramidTest, EveryRunOfAShortSeriesIsExactWhetherBuiltInOnePassOrGrown) {
    // Around the first two block sizes, a series of one level throughout as well. A pyramid
    // grows from nothing, and from two thirds of the series, where a block was part-filled when
    // it was built and its last point is the series' highest.
    for (int count : {1, 15, 16, 17, 255, 256, 257, 300}) {
        for (bool oneLevel : {false, true}) {
            SCOPED_TRACE(testing::Message() << count << (oneLevel ? " of one level" : ""));
            std::vector<GraphPoint> points = Levels(count);
            const size_t twoThirds = points.size() * 2 / 3;
            if (oneLevel) {
                for (GraphPoint& p : points)
                    p.y = -42.5;
            } else if (twoThirds > 0) {
                points[twoThirds - 1].y = 5000;
            }
            MinMaxPyramid built;
            built.Build(points);
            ExpectExactOverEveryRun(built, points);

            for (size_t from : {size_t{0}, twoThirds}) {
                SCOPED_TRACE(testing::Message() << "grown from " << from);
                MinMaxPyramid grown;
                grown.Build({points.begin(), points.begin() + static_cast<std::ptrdiff_t>(from)});
                for (size_t i = from; i < points.size(); ++i)
                    grown.Append(points[i].y);
                ASSERT_TRUE(grown.IsCurrent(points.size()));
                ExpectExactOverEveryRun(grown, points);
            }
        }
    }
}

TEST(MinMaxPyramidTest, ARebuildOverFewerPointsAnswersForThemAlone) {
    // Each series lies apart from the one before, so a summary left over would show.
    MinMaxPyramid pyramid;
    pyramid.Build(Levels(70001));
    const std::vector<GraphPoint> few = Levels(17, 5000);
    pyramid.Build(few);
    ASSERT_TRUE(pyramid.IsCurrent(few.size()));
    ExpectExactOverEveryRun(pyramid, few);

    // Again fewer levels than at first, then grown back by appends past a block of 4096.
    const std::vector<GraphPoint> all = Levels(9000, -5000);
    std::vector<GraphPoint> points(all.begin(), all.begin() + 4000);
    pyramid.Build(Levels(70001));
    pyramid.Build(points);
    for (size_t i = points.size(); i < all.size(); ++i) {
        points.push_back(all[i]);
        pyramid.Append(all[i].y);
    }
    ASSERT_TRUE(pyramid.IsCurrent(points.size()));
    ExpectExactOverRunsAtEdges(pyramid, points);
}
