// The equal-loudness contours against the equations of ISO 226:2003 and ISO 226:1987, the
// interpolation through a measured level, and the spectrum inputs.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "charts/equal_loudness.h"
#include "platform/text.h"
#include "records/band_labels.h"

using namespace charts;

namespace {

// ISO 226:2003, clause 4.1: alpha_f, L_U (dB) and T_f (dB) at the 29 frequencies.
constexpr double kAlpha[29] = {0.532, 0.506, 0.480, 0.455, 0.432, 0.409, 0.387, 0.367, 0.349, 0.330,
                               0.315, 0.301, 0.288, 0.276, 0.267, 0.259, 0.253, 0.250, 0.246, 0.244,
                               0.243, 0.243, 0.243, 0.242, 0.242, 0.245, 0.254, 0.271, 0.301};
constexpr double kLU[29] = {-31.6, -27.2, -23.0, -19.1, -15.9, -13.0, -10.3, -8.1,  -6.2, -4.5,
                            -3.1,  -2.0,  -1.1,  -0.4,  0.0,   0.3,   0.5,   0.0,   -2.7, -4.1,
                            -1.0,  1.7,   2.5,   1.2,   -2.1,  -7.1,  -11.2, -10.7, -3.1};
constexpr double kTf2003[29] = {78.5, 68.7, 59.5, 51.1, 44.0, 37.5, 31.5, 26.5, 22.1, 17.9,
                                14.4, 11.4, 8.6,  6.2,  4.4,  3.0,  2.2,  2.4,  3.5,  1.7,
                                -1.3, -4.2, -6.0, -5.4, -1.5, 6.0,  12.6, 13.9, 12.3};
// ISO 226:1987: a_f, b_f and T_f (dB).
constexpr double kA1987[29] = {2.347, 2.190, 2.050, 1.879, 1.724, 1.597, 1.512, 1.466, 1.426, 1.394,
                               1.372, 1.344, 1.304, 1.256, 1.203, 1.135, 1.062, 1.000, 0.967, 0.943,
                               0.932, 0.933, 0.937, 0.952, 0.974, 1.027, 1.135, 1.266, 1.501};
constexpr double kB1987[29] = {
    0.00561,  0.00527,  0.00481,  0.00404,  0.00338,  0.00286, 0.00259, 0.00257, 0.00256,  0.00255,
    0.00254,  0.00248,  0.00229,  0.00201,  0.00162,  0.00111, 0.00052, 0.0,     -0.00039, -0.00067,
    -0.00092, -0.00105, -0.00104, -0.00088, -0.00055, 0.0,     0.00089, 0.00211, 0.00488};
constexpr double kTf1987[29] = {74.3, 65.0, 56.3, 48.4, 41.7, 35.5, 29.8, 25.1, 20.7, 16.8,
                                13.8, 11.2, 8.9,  7.2,  6.0,  5.0,  4.4,  4.2,  3.7,  2.6,
                                1.0,  -1.2, -3.6, -3.9, -1.1, 6.6,  15.3, 16.4, 11.6};

// The sound pressure level (dB) of loudness level `phon` at band n.
double Level2003(int n, double phon) {
    const double af = 4.47e-3 * (std::pow(10.0, 0.025 * phon) - 1.15) +
                      std::pow(0.4 * std::pow(10.0, (kTf2003[n] + kLU[n]) / 10.0 - 9.0), kAlpha[n]);
    return 10.0 / kAlpha[n] * std::log10(af) - kLU[n] + 94.0;
}

double Level1987(int n, double phon) {
    const double above = phon - 4.2;
    return kTf1987[n] + above / (kA1987[n] - kB1987[n] * above);
}

double LevelOf(LoudnessEdition edition, int n, double phon) {
    return edition == LoudnessEdition::Iso226_2003 ? Level2003(n, phon) : Level1987(n, phon);
}

// The loudness level of `level` dB at band n.
double PhonOf(LoudnessEdition edition, int n, double level) {
    double low = -20;
    double high = 200;
    for (int step = 0; step < 80; ++step) {
        const double mid = (low + high) / 2;
        (LevelOf(edition, n, mid) < level ? low : high) = mid;
    }
    return low;
}

int Entry(LoudnessEdition edition, int band, int k) {
    return (*ContourTableOf(edition))[band][k];
}

std::array<int, kContourBands> Flat(int level) {
    std::array<int, kContourBands> levels;
    levels.fill(level);
    return levels;
}

constexpr LoudnessEdition kEditions[] = {LoudnessEdition::Iso226_1987,
                                         LoudnessEdition::Iso226_2003};
constexpr int k1kHz = 17;

}  // namespace

TEST(EqualLoudnessTablesTest, EveryContourIsItsEditionsEquationRoundedToTenths) {
    for (const LoudnessEdition edition : kEditions) {
        for (int band = 0; band < kContourBands; ++band) {
            for (int k = 0; k < kContourCount; ++k) {
                SCOPED_TRACE(testing::Message() << "edition " << static_cast<int>(edition)
                                                << " band " << band << " phon " << 10 * k);
                const double exact = 10.0 * LevelOf(edition, band, kPhonStep * k);
                // 20 Hz at 0 and 10 phon of 2003: the equation cut, not rounded.
                const bool cut = edition == LoudnessEdition::Iso226_2003 && band == 0 && k < 2;
                if (cut) {
                    EXPECT_EQ(Entry(edition, band, k), static_cast<int>(exact));
                } else {
                    EXPECT_LE(std::fabs(Entry(edition, band, k) - exact), 0.5 + 1e-9);
                }
                if (k > 0) {
                    EXPECT_GT(Entry(edition, band, k), Entry(edition, band, k - 1));
                }
            }
        }
    }
}

TEST(EqualLoudnessTablesTest, TheTelltaleEntriesAndThe1kHzColumnHoldExactly) {
    using E = LoudnessEdition;
    struct Telltale {
        E edition;
        int band;
        std::array<int, 4> values;  // 0, 10, 80 and 160 phon
    };
    const Telltale telltales[] = {
        {E::Iso226_2003, 0, {765, 837, 1190, 1566}},  {E::Iso226_2003, k1kHz, {0, 100, 800, 1600}},
        {E::Iso226_2003, 23, {-85, 38, 783, 1610}},   {E::Iso226_1987, 0, {725, 768, 1137, 1801}},
        {E::Iso226_1987, k1kHz, {0, 100, 800, 1600}}, {E::Iso226_1987, 28, {88, 155, 786, 2219}}};
    for (const Telltale& t : telltales) {
        const int ks[] = {0, 1, 8, 16};
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(Entry(t.edition, t.band, ks[i]), t.values[i]) << t.band << " k " << ks[i];
    }
    for (const LoudnessEdition edition : kEditions)
        for (int k = 0; k < kContourCount; ++k)
            EXPECT_EQ(Entry(edition, k1kHz, k), 100 * k);
    EXPECT_EQ(ContourTableOf(LoudnessEdition::None), nullptr);
    EXPECT_EQ(ContourTableOf(static_cast<LoudnessEdition>(3)), nullptr);
}

TEST(EqualLoudnessTablesTest, ThresholdsAreTheStandardsAndHalfABandLowerTheirMeans) {
    const ThresholdRow& t2003 = *ThresholdRowOf(LoudnessEdition::Iso226_2003, false);
    const ThresholdRow& t1987 = *ThresholdRowOf(LoudnessEdition::Iso226_1987, false);
    for (int n = 0; n < kContourBands; ++n) {
        EXPECT_EQ(t2003[n], std::lround(kTf2003[n] * 10)) << n;
        EXPECT_EQ(t1987[n], std::lround(kTf1987[n] * 10)) << n;
    }
    const ThresholdRow& s2003 = *ThresholdRowOf(LoudnessEdition::Iso226_2003, true);
    const ThresholdRow& s1987 = *ThresholdRowOf(LoudnessEdition::Iso226_1987, true);
    EXPECT_EQ((std::vector<int>(s2003.begin(), s2003.begin() + 4)),
              (std::vector<int>{736, 641, 553, 476}));
    EXPECT_EQ((std::vector<int>(s1987.begin(), s1987.begin() + 4)),
              (std::vector<int>{697, 607, 524, 451}));
    for (int n = 0; n + 1 < kContourBands; ++n) {
        EXPECT_LE(std::abs(2 * s2003[n] - (t2003[n] + t2003[n + 1])), 1) << n;
        EXPECT_LE(std::abs(2 * s1987[n] - (t1987[n] + t1987[n + 1])), 1) << n;
    }
    // Nothing lies above 12.5 kHz to take a mean with.
    EXPECT_EQ(s2003[28], t2003[28]);
    EXPECT_EQ(s1987[28], t1987[28]);
}

// The contour through a measured level against the equation's contour of the same loudness,
// over the range the standards measured (20 to 90 phon, 80 above 4 kHz).
TEST(EqualLoudnessContourTest, TheContourThroughALevelFollowsTheEquationWithinAFewTenths) {
    for (const LoudnessEdition edition : kEditions) {
        double worst = 0;
        for (int j = 0; j < kContourBands; ++j) {
            for (double phon = 20; phon <= 90; phon += 2.5) {
                const int level = static_cast<int>(std::lround(10 * LevelOf(edition, j, phon)));
                const auto contour = ComputeContour(edition, false, Flat(level), j + 1);
                ASSERT_TRUE(contour);
                EXPECT_EQ((*contour)[j], level);
                const double loudness = PhonOf(edition, j, level / 10.0);
                for (int n = 0; n < kContourBands; ++n) {
                    const double top = n <= 23 ? 90 : 80;
                    if (n == j || loudness > top)
                        continue;
                    const double error =
                        std::fabs((*contour)[n] / 10.0 - LevelOf(edition, n, loudness));
                    worst = std::max(worst, error);
                    EXPECT_LE(error, 0.4) << "edition " << static_cast<int>(edition) << " band "
                                          << j << " at " << phon << " phon, band " << n;
                }
            }
        }
        EXPECT_GT(worst, 0.05);  // the interpolation is no copy of the equation
    }
}

TEST(EqualLoudnessContourTest, ALevelOnAContourGivesThatContourPlusHalfAStep) {
    // 12.5 kHz of 1987 at 150 phon, 25.6 dB below the 160-phon contour.
    const LoudnessEdition e = LoudnessEdition::Iso226_1987;
    const int j = 28;
    const int level = Entry(e, j, 15);
    ASSERT_GE(Entry(e, j, 16) - level, 64);
    const auto contour = ComputeContour(e, false, Flat(level), j + 1);
    ASSERT_TRUE(contour);
    for (int n = 0; n < j; ++n) {
        const int gap = Entry(e, n, 16) - Entry(e, n, 15);
        EXPECT_EQ((*contour)[n], Entry(e, n, 15) + (gap >> 7)) << n;
    }
    EXPECT_EQ((*contour)[j], level);
}

TEST(EqualLoudnessContourTest, ALevelBetweenContoursLiesBetweenThemAtEveryBand) {
    // 63.0 dB at 1 kHz of 2003: between 60 and 70 phon everywhere, 63 dB at 1 kHz itself.
    std::array<int, kContourBands> levels = Flat(0);
    levels[k1kHz] = 630;
    const auto contour = ComputeContour(LoudnessEdition::Iso226_2003, false, levels, k1kHz + 1);
    ASSERT_TRUE(contour);
    EXPECT_EQ((*contour)[k1kHz], 630);
    for (int n = 0; n < kContourBands; ++n) {
        EXPECT_GE((*contour)[n], Entry(LoudnessEdition::Iso226_2003, n, 6)) << n;
        EXPECT_LE((*contour)[n], Entry(LoudnessEdition::Iso226_2003, n, 7)) << n;
    }
}

TEST(EqualLoudnessContourTest, OutsideTheTablesTheThresholdOrTheTopContourStandsForIt) {
    for (const LoudnessEdition e : kEditions) {
        for (const bool shifted : {false, true}) {
            // Below the 0-phon contour: the threshold row, the chosen band's value included.
            const auto quiet = ComputeContour(e, shifted, Flat(-100), 5);
            ASSERT_TRUE(quiet);
            EXPECT_EQ(*quiet, *ThresholdRowOf(e, shifted));
        }
        // At or above 160 phon: the 160-phon contour; nothing is read past the table.
        for (const int level : {Entry(e, k1kHz, 16), 30000}) {
            const auto loud = ComputeContour(e, false, Flat(level), k1kHz + 1);
            ASSERT_TRUE(loud);
            for (int n = 0; n < kContourBands; ++n)
                EXPECT_EQ((*loud)[n], n == k1kHz ? level : Entry(e, n, 16)) << n;
        }
        EXPECT_FALSE(ComputeContour(e, false, Flat(500), 0));
        EXPECT_FALSE(ComputeContour(e, false, Flat(500), 30));
    }
    // 76.4 dB at 20 Hz lies under 2003's 0-phon contour (76.5 dB): the band reads 78.5 dB.
    std::array<int, kContourBands> low = Flat(300);
    low[0] = 764;
    const auto atThreshold = ComputeContour(LoudnessEdition::Iso226_2003, false, low, 1);
    ASSERT_TRUE(atThreshold);
    EXPECT_EQ((*atThreshold)[0], 785);
    EXPECT_FALSE(ComputeContour(LoudnessEdition::None, false, Flat(500), 18));
    EXPECT_FALSE(ComputeContour(static_cast<LoudnessEdition>(7), false, Flat(500), 18));
}

TEST(SpectrumLevelsTest, LevelsAreSignedTenthsReadWholeAndMissingWhereThereAreNone) {
    const std::vector<uint16_t> words = {0xFF9C, 945};
    const SpectrumLevels record = LevelsFromRecord(words);
    EXPECT_EQ(record[0], kMissingLevel);
    EXPECT_EQ(record[1], 945);
    EXPECT_EQ(record[2], kMissingLevel);  // past the record's end

    const SpectrumLevels text = LevelsFromText(
        "16\t45.6\r\n20\t105.3\r\n25\t---\r\n31.5\t-3.5\r\n"
        "40\t1e3\r\n");
    EXPECT_EQ(text[0], 456);
    EXPECT_EQ(text[1], 1053);  // all of it, not the last four characters
    EXPECT_EQ(text[2], kMissingLevel);
    EXPECT_EQ(text[3], -35);
    EXPECT_EQ(text[4], kMissingLevel);
    EXPECT_EQ(text[5], kMissingLevel);  // no such line
}

TEST(IsophoneContourTest, WithoutABandTheLastContourStaysAndShiftedContoursShowWholeDecibels) {
    IsophoneContour isophone;
    SpectrumLevels quiet;
    quiet.fill(-100);
    EXPECT_FALSE(isophone.Compute(LoudnessEdition::Iso226_2003, true, quiet));
    EXPECT_FALSE(isophone.HasContour());

    isophone.SelectBand(5);
    ASSERT_TRUE(isophone.Compute(LoudnessEdition::Iso226_2003, true, quiet));
    EXPECT_EQ(isophone.LevelDb(0), 73.0);   // 73.6
    EXPECT_EQ(isophone.LevelDb(20), -2.0);  // -2.7, cut toward zero
    EXPECT_EQ(isophone.LevelDb(4), 40.0);   // under the 0-phon contour: the threshold there
    EXPECT_FALSE(isophone.LevelDb(29));

    isophone.SelectBand(30);
    EXPECT_EQ(isophone.SelectedBand(), 0);
    EXPECT_FALSE(isophone.Compute(LoudnessEdition::Iso226_2003, false, quiet));
    EXPECT_EQ(isophone.LevelDb(0), 73.0);
}

// The contours are drawn over the spectrum's third-octave bands from 20 Hz to 12.5 kHz: each
// frequency is the caption of its band ("1.25 k"), 31.5 Hz captioned "32".
TEST(EqualLoudnessTablesTest, TheContourBandsAreTheSpectrumsThirdOctavesFrom20Hz) {
    for (int n = 0; n < kContourBands; ++n) {
        const std::string label = records::ThirdOctaveBandLabel(n + 1, "OFF", "A");
        const bool kilo = label.ends_with(" k");
        const double hertz =
            platform::Atof(kilo ? label.substr(0, label.size() - 2) : label) * (kilo ? 1000 : 1);
        const double frequency = kContourFrequencies[static_cast<size_t>(n)];
        EXPECT_EQ(hertz, frequency == 31.5 ? 32 : frequency) << n;
    }
}
