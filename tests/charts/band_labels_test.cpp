// The band captions: both series end with the auxiliary weighting, everything else is "-1".
#include <gtest/gtest.h>

#include "charts/band_labels.h"

using charts::OctaveBandLabel;
using charts::ThirdOctaveBandLabel;

TEST(BandLabelsTest, OctaveBandsThenTheWeightingThenNothing) {
    EXPECT_EQ(OctaveBandLabel(0, "LAeq"), "16");
    EXPECT_EQ(OctaveBandLabel(1, "LAeq"), "32");
    EXPECT_EQ(OctaveBandLabel(6, "LAeq"), "1 k");
    EXPECT_EQ(OctaveBandLabel(10, "LAeq"), "16 k");
    EXPECT_EQ(OctaveBandLabel(11, "LAeq"), "LAeq");
    EXPECT_EQ(OctaveBandLabel(12, "LAeq"), "-1");
    EXPECT_EQ(OctaveBandLabel(-1, "LAeq"), "-1");
}

TEST(BandLabelsTest, ThirdOctavesAreShiftedUnlessTheShiftIsExactlyOff) {
    EXPECT_EQ(ThirdOctaveBandLabel(0, "OFF", "C"), "16");
    EXPECT_EQ(ThirdOctaveBandLabel(3, "OFF", "C"), "32");
    EXPECT_EQ(ThirdOctaveBandLabel(19, "OFF", "C"), "1.25 k");
    EXPECT_EQ(ThirdOctaveBandLabel(31, "OFF", "C"), "20 k");
    EXPECT_EQ(ThirdOctaveBandLabel(18, "OFF", "C"), "1 k");
    EXPECT_EQ(ThirdOctaveBandLabel(18, "off", "C"), "900");
    EXPECT_EQ(ThirdOctaveBandLabel(0, "ON", "C"), "14");
    EXPECT_EQ(ThirdOctaveBandLabel(31, "", "C"), "18 k");
    for (const char* shift : {"OFF", "ON"}) {
        EXPECT_EQ(ThirdOctaveBandLabel(32, shift, "Lin"), "Lin");
        EXPECT_EQ(ThirdOctaveBandLabel(33, shift, "Lin"), "-1");
        EXPECT_EQ(ThirdOctaveBandLabel(-5, shift, "Lin"), "-1");
    }
}
