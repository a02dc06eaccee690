// Where the rulers put their ticks and labels, with fixed screen measures.
#include <gtest/gtest.h>

#include <cmath>

#include "fixed_metrics.h"
#include "graph/ruler_layout.h"

using graph::RulerPlan;
using graph::RulerText;
using graphtest::FixedMetrics;

namespace {

std::vector<std::string> Texts(const RulerPlan& plan) {
    std::vector<std::string> texts;
    for (const RulerText& label : plan.labels)
        texts.push_back(label.text);
    return texts;
}

std::string Row(int row) {
    return "t" + std::to_string(row);
}

}  // namespace

TEST(RulerLayoutTest, SizesAreFractionsOfAnInch) {
    const FixedMetrics metrics;
    const graph::RulerSizes sizes = graph::HorizontalRulerSizes(metrics);
    EXPECT_EQ(sizes.thickness, 16);
    EXPECT_EQ(sizes.fontHeight, 14);
    EXPECT_EQ(sizes.tickLength, 4);
    // One "9.99 " (35 pixels) per tick after the corner.
    EXPECT_EQ(graph::HorizontalTickCount({0, 0, 400, 16}, metrics), 11);
    EXPECT_EQ(graph::VerticalTickCount({0, 0, 16, 10}, metrics), 0);
}

TEST(RulerLayoutTest, TheTimeRulerLabelsEverySecondTickWithItsRowsTime) {
    const FixedMetrics metrics;
    const RulerPlan plan = graph::PlanHorizontalRuler({0, 0, 400, 16}, 0, 100, "", metrics, Row);
    // Ticks at 0, 10 .. 90; the first would cross the corner.
    EXPECT_EQ(Texts(plan), (std::vector<std::string>{"t20", "t40", "t60", "t80"}));
    ASSERT_EQ(plan.lines.size(), 4u);
    const int x = 16 + static_cast<int>(20 * 383.0 / 100);
    EXPECT_NEAR(plan.lines[0].x0, x, 1);
    EXPECT_EQ(plan.lines[0].y0, 0);
    EXPECT_EQ(plan.lines[0].y1, 4);
    EXPECT_EQ(plan.labels[0].x, plan.lines[0].x0 - 10);
    EXPECT_EQ(plan.unit.x, 399 - 22 - 1);
}

TEST(RulerLayoutTest, DateAndTimeLabelsAreCutAndThinnedOut) {
    const FixedMetrics metrics;
    const RulerPlan plan = graph::PlanHorizontalRuler(
        {0, 0, 1000, 16}, 0, 30, "", metrics,
        [](int row) { return "2024/05/01 10:00:" + std::to_string(10 + row) + " CET"; });
    // Fifteen ticks: every third one, far enough from both ends.
    EXPECT_EQ(Texts(plan),
              (std::vector<std::string>{"2024/05/01 10:00:16 ", "2024/05/01 10:00:22 ",
                                        "2024/05/01 10:00:28 ", "2024/05/01 10:00:34 "}));
}

TEST(RulerLayoutTest, RowsTheListDoesNotHaveGiveBareTicks) {
    const FixedMetrics metrics;
    std::vector<int> asked;
    auto source = [&asked](int row) {
        asked.push_back(row);
        return std::string();
    };
    const RulerPlan negative =
        graph::PlanHorizontalRuler({0, 0, 400, 16}, -100, -50, "", metrics, source);
    EXPECT_FALSE(negative.lines.empty());
    EXPECT_EQ(Texts(negative), std::vector<std::string>(negative.lines.size()));

    // Values no row number can hold are not asked for.
    asked.clear();
    graph::PlanHorizontalRuler({0, 0, 400, 16}, 1e300, 2e300, "", metrics, source);
    EXPECT_TRUE(asked.empty());
}

TEST(RulerLayoutTest, TheLevelRulerPutsEverySecondLabelAtItsValuesHeight) {
    const FixedMetrics metrics;
    const RulerPlan plan = graph::PlanVerticalRuler({0, 0, 16, 300}, 0, 130, "dB", metrics);
    // Ticks at 0, 20 .. 120: the first runs past the bottom, the last into the unit.
    EXPECT_EQ(Texts(plan), (std::vector<std::string>{"40.0", "80.0"}));
    for (const RulerText& label : plan.labels) {
        const double value = std::atof(label.text.c_str());
        const double pixel = 299 - value * 299 / 130;  // as the panel beside it maps it
        const int halfWidth = FixedMetrics::kCharWidth * static_cast<int>(label.text.size()) / 2;
        EXPECT_NEAR(label.y - halfWidth, pixel, 1) << label.text;
        EXPECT_EQ(label.x, 15 - FixedMetrics::kLineHeight);
    }
    // Two edges and a tick at every one of the seven values.
    EXPECT_EQ(plan.lines.size(), 2u + 7u);
    EXPECT_EQ(plan.unit, (RulerText{15 - 16, 16 + 36 + 1, "dB"}));
}
