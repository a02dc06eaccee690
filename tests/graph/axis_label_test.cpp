// The texts of an axis label: a user's title or unit is text, whatever it holds.
#include <gtest/gtest.h>

#include "graph/axis_label.h"

using graph::CGraphAxisLabel;

TEST(AxisLabelTest, FormatsTheValueInThreeStyles) {
    CGraphAxisLabel label;
    EXPECT_EQ(label.FormatValue(1.5, 0), "1.500");  // three decimals by default
    label.SetName("Value");
    label.SetUnit("dB");
    label.SetDecimals(2);
    EXPECT_EQ(label.FormatValue(12.5, 0), "12.50");
    EXPECT_EQ(label.FormatValue(12.5, 1), "12.50 dB");
    EXPECT_EQ(label.FormatValue(-0.004, 2), "Value: -0.00 dB");
    EXPECT_EQ(label.FormatValue(12.5, 3), "");
    EXPECT_EQ(label.GetCaption(), "Value, dB");

    // An empty unit leaves its blank, which read-outs rely on.
    label.SetUnit("");
    label.SetDecimals(0);
    EXPECT_EQ(label.FormatValue(41.7, 1), "42 ");
}

TEST(AxisLabelTest, PercentSignsAndFormatLettersInTitlesStayText) {
    CGraphAxisLabel label;
    label.SetName("%s%n%d 100%");
    label.SetUnit("%%f");
    label.SetDecimals(1);
    EXPECT_EQ(label.FormatValue(3.25, 2), "%s%n%d 100%: 3.2 %%f");
    EXPECT_EQ(label.GetCaption(), "%s%n%d 100%, %%f");
}
