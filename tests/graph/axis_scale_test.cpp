// Values to pixels and back, and the ticks of the 1-2-5 series, including the spans that must
// neither divide by zero nor keep the tick loop going.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "graph/axis_scale.h"

using graph::AxisTicks;
using graph::CAxisScale;
using graph::ComputeTicks;

namespace {

CAxisScale Scale(double p0, double p1, double vs, double ve) {
    CAxisScale scale;
    scale.Init(p0, p1, vs, ve);
    return scale;
}

std::vector<double> TickValues(double vs, double ve, int wanted) {
    return ComputeTicks(Scale(0, 500, vs, ve), wanted).values;
}

}  // namespace

TEST(AxisScaleTest, AnAxisWithEqualEndsMapsEverythingToItsStart) {
    const CAxisScale values = Scale(10, 410, 50, 50);
    EXPECT_EQ(values.ValuePerPixel(), 0);
    EXPECT_EQ(values.ValueToPixel(50), 10);
    EXPECT_EQ(values.ValueToPixel(1e9), 10);
    EXPECT_EQ(values.PixelToValue(300), 50);

    const CAxisScale pixels = Scale(10, 10, 0, 100);
    EXPECT_EQ(pixels.ValueToPixel(70), 10);
    EXPECT_EQ(pixels.PixelToValue(99), 0);

    // So does one whose ends lie too close for a pixel per value to be a number.
    const CAxisScale denormal = Scale(10, 410, 0, 1e-320);
    EXPECT_EQ(denormal.ValueToPixel(0), 10);
    EXPECT_EQ(denormal.ValueToPixel(1e-320), 10);
}

TEST(AxisScaleTest, DecimalExponentAndStepFollowTheSeries) {
    EXPECT_EQ(graph::DecimalExponent(130), 2);
    EXPECT_EQ(graph::DecimalExponent(0.5), -1);
    EXPECT_EQ(graph::DecimalExponent(0.01), -3);

    EXPECT_EQ(graph::TickStep(10, 0, 1), static_cast<double>(0.1f));
    EXPECT_EQ(graph::TickStep(6, 0, 1), static_cast<double>(0.2f));
    EXPECT_EQ(graph::TickStep(4, 0, 1), 0.5);
    EXPECT_EQ(graph::TickStep(3, 0, 1), 0.5);
    EXPECT_EQ(graph::TickStep(3, 0, 20), 10);
    EXPECT_EQ(graph::TickStep(2, 0, 900), 500);
}

TEST(AxisScaleTest, TicksFallOnRoundValuesAtTheirPixels) {
    EXPECT_EQ(TickValues(0, 10, 3), (std::vector<double>{0, 5, 10}));
    EXPECT_EQ(TickValues(0, 100, 4), (std::vector<double>{0, 50, 100}));

    const AxisTicks ticks = ComputeTicks(Scale(0, 500, 0, 10), 3);
    EXPECT_EQ(ticks.decimals, 1);
    EXPECT_EQ(ticks.step, 0.5);
    EXPECT_EQ(ticks.positions, (std::vector<double>{0, 250, 500}));

    // Downwards on a reversed range.
    EXPECT_EQ(TickValues(10, 0, 3), (std::vector<double>{10, 5, 0}));
    // The first tick is the round value nearest the start within the span.
    EXPECT_EQ(TickValues(3, 97, 10), (std::vector<double>{10, 20, 30, 40, 50, 60, 70, 80, 90}));
}

TEST(AxisScaleTest, ALastTickThatRoundingCarriesPastTheEndIsLeftOut) {
    // Thirty single-precision tenths add up to a little more than 3.
    const AxisTicks ticks = ComputeTicks(Scale(0, 500, 0, 0.03), 30);
    EXPECT_EQ(ticks.Count(), 30);
    EXPECT_NEAR(ticks.values.back(), 0.029, 1e-9);
}

TEST(AxisScaleTest, NarrowSpansAreScaledByDecadesBeforeTheStepIsChosen) {
    const AxisTicks small = ComputeTicks(Scale(0, 500, 0.001, 0.002), 5);
    EXPECT_EQ(small.decimals, -3);
    ASSERT_FALSE(small.values.empty());
    EXPECT_NEAR(small.values.front(), 0.001, 1e-10);

    // The scaled start reaches 100 at exponent 0: a span of 0.1 has no room for a step.
    const AxisTicks hundred = ComputeTicks(Scale(0, 500, 100, 100.1), 5);
    EXPECT_EQ(hundred.decimals, 0);
    EXPECT_TRUE(hundred.values.empty());
}

TEST(AxisScaleTest, AnEmptySpanGivesTheWantedTicksAtItsStart) {
    const AxisTicks ticks = ComputeTicks(Scale(7, 500, 42, 42), 3);
    EXPECT_EQ(ticks.values, (std::vector<double>(3, 42)));
    EXPECT_EQ(ticks.positions, (std::vector<double>(3, 7)));
}

TEST(AxisScaleTest, ZoomingIntoAnySpanEndsWithFewTicks) {
    // Spans as repeated zooming leaves them: ever narrower, around large and negative values
    // where the step falls below the spacing of doubles.
    for (double centre : {0.0, 1.0, -1.0, 12345.678, -1e15, 1e300, -1e-300}) {
        for (double width = 100; width > std::fabs(centre) * 1e-17 && width > 1e-300; width /= 7) {
            SCOPED_TRACE(testing::Message() << centre << " +- " << width);
            const AxisTicks ticks = ComputeTicks(Scale(0, 1000, centre, centre + width), 60);
            EXPECT_LE(ticks.Count(), 62);
        }
        const double next = std::nextafter(centre, std::numeric_limits<double>::infinity());
        EXPECT_LE(ComputeTicks(Scale(0, 1000, centre, next), 60).Count(), 62);
    }
}
