// A series' points and bounds: ordering, replacing and duplicates, and bounds that stay right
// after points move, are replaced or are refused; the envelope agrees with the points.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>

#include "graph/points_collection.h"

using graph::CPointsCollection;
using graph::GraphPoint;
using graph::PointBounds;

namespace {

std::vector<double> Xs(const CPointsCollection& points) {
    std::vector<double> xs;
    for (const GraphPoint& p : points.Points())
        xs.push_back(p.x);
    return xs;
}

// xMax, yMax, xMin, yMin.
PointBounds Bounds(double xMax, double yMax, double xMin, double yMin) {
    return {xMax, yMax, xMin, yMin};
}

}  // namespace

TEST(PointsCollectionTest, TheFirstPointSetsEveryBoundAndClearingResetsThem) {
    CPointsCollection points;
    EXPECT_EQ(points.GetBounds(), PointBounds{});
    EXPECT_EQ(points.AddPoint(5, -3, true), 0);
    EXPECT_EQ(points.GetBounds(), Bounds(5, -3, 5, -3));
    points.AddPoint(7, 10, true);
    points.ClearPoints();
    EXPECT_EQ(points.GetCount(), 0);
    EXPECT_EQ(points.GetBounds(), PointBounds{});
}

TEST(PointsCollectionTest, AnOrderedSeriesPlacesPointsByXAndReplacesAnEqualX) {
    CPointsCollection points(true, false);
    EXPECT_EQ(points.AddPoint(10, 1, true), 0);
    EXPECT_EQ(points.AddPoint(30, 3, true), 1);
    EXPECT_EQ(points.AddPoint(0, 0, true), 0);
    EXPECT_EQ(points.AddPoint(20, 2, true), 2);
    EXPECT_EQ(Xs(points), (std::vector<double>{0, 10, 20, 30}));

    EXPECT_EQ(points.AddPoint(20, 9, true), 2);
    EXPECT_EQ(points.GetCount(), 4);
    EXPECT_EQ(points.GetPoint(2).y, 9);

    CPointsCollection duplicates(true, true);
    duplicates.AddPoint(10, 1, true);
    duplicates.AddPoint(20, 2, true);
    EXPECT_EQ(duplicates.AddPoint(20, 5, true), 1);
    EXPECT_EQ(duplicates.GetPoint(1).y, 5);
    EXPECT_EQ(duplicates.GetPoint(2).y, 2);
}

TEST(PointsCollectionTest, ReplacingTheHighestPointLowersTheBoundWithoutBeingAsked) {
    CPointsCollection points;
    points.AddPoint(1, 50, false);
    points.AddPoint(2, 90, false);
    points.AddPoint(3, 60, false);
    points.AddPoint(2, 70, false);
    EXPECT_EQ(points.GetBounds(), Bounds(3, 70, 1, 50));
}

TEST(PointsCollectionTest, RemovingLowersTheBoundOnlyWhenAsked) {
    CPointsCollection points;
    for (double y : {50.0, 90.0, 60.0})
        points.AddPoint(points.GetCount(), y, true);
    points.RemovePoint(1, false);
    EXPECT_EQ(points.GetBounds().yMax, 90);
    points.RecalcBounds();
    EXPECT_EQ(points.GetBounds().yMax, 60);

    points.AddPoint(5, 95, true);
    points.RemovePoint(2, true);
    EXPECT_EQ(points.GetBounds(), Bounds(2, 60, 0, 50));
    points.RemovePoint(2, true);  // out of range
    points.RemovePoint(-1, true);
    EXPECT_EQ(points.GetCount(), 2);
}

TEST(PointsCollectionTest, MovingAPointReturnsItsNewPlaceAndKeepsTheBoundsRight) {
    CPointsCollection ordered;
    for (double x : {0.0, 10.0, 20.0, 30.0})
        ordered.AddPoint(x, x, true);
    EXPECT_EQ(ordered.MovePoint(0, 25, 5, false), 2);
    EXPECT_EQ(Xs(ordered), (std::vector<double>{10, 20, 25, 30}));
    EXPECT_EQ(ordered.GetBounds(), Bounds(30, 30, 10, 5));
    EXPECT_EQ(ordered.MovePoint(4, 1, 1, true), -1);

    CPointsCollection unordered(false, false);
    for (double x : {3.0, 1.0, 2.0})
        unordered.AddPoint(x, x * 10, true);
    EXPECT_EQ(unordered.MovePoint(0, 9, 0, false), 0);
    EXPECT_EQ(Xs(unordered), (std::vector<double>{9, 1, 2}));
    EXPECT_EQ(unordered.GetBounds(), Bounds(9, 20, 1, 0));
}

TEST(PointsCollectionTest, InsertingByIndexChecksTheIndexAndWidensTheBounds) {
    CPointsCollection unordered(false, false);
    unordered.AddPoint(0, 0, true);
    unordered.AddPoint(1, 1, true);
    EXPECT_EQ(unordered.InsertPoint(3, 5, 5, true), -1);
    EXPECT_EQ(unordered.InsertPoint(-1, 5, 5, true), -1);
    EXPECT_EQ(unordered.InsertPoint(1, 7, -7, false), 1);
    EXPECT_EQ(unordered.GetBounds(), Bounds(7, 1, 0, -7));
    EXPECT_EQ(unordered.InsertPoint(3, 8, 8, true), 3);  // at the end
}

TEST(PointsCollectionTest, AnAppendedRunStopsAtThePointThatGoesElsewhere) {
    const double inf = std::numeric_limits<double>::infinity();
    CPointsCollection points;
    const std::vector<GraphPoint> run = {{1, 5}, {2, -3}, {2, 9}, {3, 1}};
    EXPECT_EQ(points.AppendPoints(run), 2u);  // x = 2 again: an equal x replaces, not appends
    EXPECT_EQ(Xs(points), (std::vector<double>{1, 2}));
    EXPECT_EQ(points.GetBounds(), Bounds(2, 5, 1, -3));
    const std::vector<GraphPoint> more = {{inf, 1}, {4, 8}, {0.5, 0}};
    EXPECT_EQ(points.AppendPoints(more), 2u);
    EXPECT_EQ(points.GetBounds(), Bounds(4, 8, 1, -3));

    // The column extremes take a run in after they were asked for.
    std::vector<GraphPoint> many;
    for (int i = 5; i < 5000; ++i)
        many.push_back({i * 1.0, 0.0});
    EXPECT_EQ(points.AppendPoints(many), many.size());
    EXPECT_EQ(points.YRange(100, 4000).max, 0);
    for (GraphPoint& p : many)
        p = {p.x + 5000, p.x == 3000 ? 99.0 : -1.0};
    EXPECT_EQ(points.AppendPoints(many), many.size());
    EXPECT_EQ(points.YRange(100, 9000).max, 99);
    EXPECT_EQ(points.YRange(100, 9000).min, -1);
}

TEST(PointsCollectionTest, PointsThatAreNoNumbersAreRefused) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    CPointsCollection points;
    points.AddPoint(1, 1, true);
    EXPECT_EQ(points.AddPoint(nan, 1, true), -1);
    EXPECT_EQ(points.AddPoint(2, inf, true), -1);
    EXPECT_EQ(points.MovePoint(0, 1, nan, true), -1);
    EXPECT_EQ(points.GetCount(), 1);
    EXPECT_EQ(points.GetBounds(), Bounds(1, 1, 1, 1));
}

TEST(PointsCollectionTest, ColumnExtremesAgreeWithThePointsThroughAppendsAndEdits) {
    std::mt19937 random(7);
    std::uniform_real_distribution<double> level(20, 120);
    CPointsCollection points;
    auto check = [&](int runs) {
        const int n = points.GetCount();
        std::uniform_int_distribution<int> index(0, n - 1);
        for (int run = 0; run < runs; ++run) {
            int first = index(random);
            int last = index(random);
            if (first > last)
                std::swap(first, last);
            double low = points.GetPoint(first).y;
            double high = low;
            for (int i = first; i <= last; ++i) {
                low = std::min(low, points.GetPoint(i).y);
                high = std::max(high, points.GetPoint(i).y);
            }
            const graph::MinMax range = points.YRange(first, last);
            ASSERT_EQ(range.min, low) << first << ".." << last;
            ASSERT_EQ(range.max, high) << first << ".." << last;
        }
    };
    for (int i = 0; i < 60000; ++i)
        points.AddPoint(i, level(random), true);
    check(300);
    // Appends after a query extend the summaries in place, past a new block size (65536).
    for (int i = 60000; i < 75000; ++i)
        points.AddPoint(i, level(random) * 2, true);
    check(300);
    points.MovePoint(123, 123, 500, true);
    points.AddPoint(40000, -50, true);
    points.RemovePoint(10, true);
    check(300);
}
