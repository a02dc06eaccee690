// Fitting, zooming and stretching the visible range (by a point and by a run of points);
// none of them leaves an axis whose two limits are equal.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "graph/view_range.h"

using graph::DataBounds;
using graph::FitRange;
using graph::VisibleRange;

namespace {
const VisibleRange kCurrent{0, 100, 0, 130};
}  // namespace

TEST(ViewRangeTest, FitWidthHeightAndPage) {
    const DataBounds bounds{10, 60, 40, 90};
    EXPECT_EQ(FitRange(graph::kFitWidth, bounds, kCurrent), (VisibleRange{10, 60, 0, 130}));
    EXPECT_EQ(FitRange(graph::kFitHeight, bounds, kCurrent), (VisibleRange{0, 100, 40, 90}));
    EXPECT_EQ(FitRange(graph::kFitPage, bounds, kCurrent), (VisibleRange{10, 60, 36, 99}));
    EXPECT_EQ(FitRange(graph::kFitPage, {0, 5, -20, -10}, kCurrent), (VisibleRange{0, 5, -22, -9}));
    EXPECT_EQ(FitRange(4103, bounds, kCurrent), kCurrent);
    // A page of zeros.
    EXPECT_EQ(FitRange(graph::kFitPage, {0, 9, 0, 0}, kCurrent), (VisibleRange{0, 9, -0.1, 0.1}));
}

TEST(ViewRangeTest, EqualDataBoundsStillGiveAnAxisWithTheDataInside) {
    // One point, or a flat line: the axis opens by a tenth of the value either side.
    EXPECT_EQ(FitRange(graph::kFitWidth, {20, 20, 50, 50}, kCurrent),
              (VisibleRange{18, 22, 0, 130}));
    EXPECT_EQ(FitRange(graph::kFitHeight, {20, 20, 50, 50}, kCurrent),
              (VisibleRange{0, 100, 45, 55}));
    EXPECT_EQ(FitRange(graph::kFitPage, {0, 0, 50, 50}, kCurrent),
              (VisibleRange{-0.1, 0.1, 45, 55}));
}

TEST(ViewRangeTest, ZoomTakesTheRectanglesValuesButNeverCollapsesAnAxis) {
    graph::CAxisScale x;
    graph::CAxisScale y;
    x.Init(0, 400, 0, 100);
    y.Init(200, 0, 0, 50);
    EXPECT_EQ(graph::ZoomRange(x, y, 100, 40, 200, 120, kCurrent), (VisibleRange{25, 50, 20, 40}));
    // A rectangle without height keeps the y limits.
    EXPECT_EQ(graph::ZoomRange(x, y, 100, 40, 200, 40, kCurrent), (VisibleRange{25, 50, 0, 130}));
}

TEST(ViewRangeTest, APointBeyondTheRangeStretchesItByATenth) {
    VisibleRange range{0, 100, 0, 100};
    EXPECT_TRUE(graph::ExtendToInclude(range, 50, 120));
    EXPECT_EQ(range, (VisibleRange{0, 100, 0, 132}));
    EXPECT_FALSE(graph::ExtendToInclude(range, 0, 132));
    EXPECT_TRUE(graph::ExtendToInclude(range, -10, 50));
    EXPECT_EQ(range.xFrom, -11);

    // On a reversed axis the smaller limit is the second.
    VisibleRange reversed{100, 0, 0, 10};
    EXPECT_TRUE(graph::ExtendToInclude(reversed, -20, 5));
    EXPECT_EQ(reversed, (VisibleRange{100, -22, 0, 10}));
}

TEST(ViewRangeTest, ARunStretchesTheRangeAsItsPointsOneAfterTheOtherWould) {
    std::mt19937 random(3);
    std::normal_distribution<double> step(0, 20);
    for (const VisibleRange start : {VisibleRange{0, 100, 0, 100}, VisibleRange{100, 0, 50, -50}}) {
        std::vector<graph::GraphPoint> run;
        double x = 0, y = 0;
        for (int i = 0; i < 2000; ++i)
            run.push_back({x += step(random), y += step(random)});
        VisibleRange oneByOne = start;
        bool moved = false;
        for (const graph::GraphPoint& p : run)
            moved = graph::ExtendToInclude(oneByOne, p.x, p.y) || moved;
        ASSERT_TRUE(moved);
        VisibleRange atOnce = start;
        EXPECT_TRUE(graph::ExtendToInclude(atOnce, run));
        EXPECT_EQ(atOnce, oneByOne);
    }
    VisibleRange range = kCurrent;
    const std::vector<graph::GraphPoint> inside = {{10, 10}, {90, 120}};
    EXPECT_FALSE(graph::ExtendToInclude(range, inside));
    EXPECT_EQ(range, kCurrent);
}
