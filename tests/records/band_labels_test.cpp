// The band captions: both series end with the auxiliary weighting, everything else is "-1";
// the captions are the nominal mid-band frequencies.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "platform/text.h"
#include "records/band_labels.h"

using records::OctaveBandLabel;
using records::ThirdOctaveBandLabel;

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

namespace {

// IEC 61260 / ISO 266 nominal third-octave mid-band frequencies, 16 Hz to 20 kHz.
constexpr double kNominal[32] = {16,   20,   25,   31.5, 40,    50,    63,    80,
                                 100,  125,  160,  200,  250,   315,   400,   500,
                                 630,  800,  1000, 1250, 1600,  2000,  2500,  3150,
                                 4000, 5000, 6300, 8000, 10000, 12500, 16000, 20000};

// "1.25 k" is 1250 Hz.
double Hertz(const std::string& label) {
    const bool kilo = label.ends_with(" k");
    return platform::Atof(kilo ? label.substr(0, label.size() - 2) : label) * (kilo ? 1000 : 1);
}

// The exact base-ten mid-band frequency of band i (band 18 is 1 kHz).
double Exact(double bandsFrom1k) {
    return 1000.0 * std::pow(10.0, bandsFrom1k / 10.0);
}

}  // namespace

TEST(BandLabelsTest, TheCaptionsAreTheNominalMidBandFrequencies) {
    for (int i = 0; i < records::kThirdOctaveBands; ++i) {
        SCOPED_TRACE(i);
        ASSERT_NEAR(kNominal[i], Exact(i - 18), 0.02 * Exact(i - 18));
        // 31.5 Hz is captioned "32", like the octave band it is.
        const double nominal = kNominal[i] == 31.5 ? 32 : kNominal[i];
        EXPECT_EQ(Hertz(ThirdOctaveBandLabel(i, "OFF", "A")), nominal);
        if (i % 3 == 0) {
            EXPECT_EQ(ThirdOctaveBandLabel(i, "OFF", "A"), OctaveBandLabel(i / 3, "A"));
        }
        // Half a band lower, each rounded on its own.
        const double shifted = Exact(i - 18.5);
        EXPECT_NEAR(Hertz(ThirdOctaveBandLabel(i, "ON", "A")), shifted, 0.025 * shifted);
    }
}
