#pragma once
// The tables of the equal-loudness contours (ISO 226, editions 1987 and 2003) at the 29
// third-octave bands from 20 Hz to 12.5 kHz: 17 contours from 0 to 160 phon and the threshold
// of hearing, at the nominal band centres and half a band lower. Levels in tenths of dB.

#include <array>

namespace charts {

enum class LoudnessEdition { None = 0, Iso226_1987 = 1, Iso226_2003 = 2 };

constexpr int kContourBands = 29;
constexpr int kContourCount = 17;  // 0, 10, ..., 160 phon
constexpr int kPhonStep = 10;

// One row per band, one entry per contour.
using ContourTable = std::array<std::array<int, kContourCount>, kContourBands>;
using ThresholdRow = std::array<int, kContourBands>;

// The centres of the 29 bands in hertz, as ISO 226 names them.
constexpr std::array<double, kContourBands> kContourFrequencies = {
    20,  25,  31.5, 40,   50,   63,   80,   100,  125,  160,  200,  250,  315,   400,  500,
    630, 800, 1000, 1250, 1600, 2000, 2500, 3150, 4000, 5000, 6300, 8000, 10000, 12500};

// nullptr for LoudnessEdition::None or a value that is no edition.
const ContourTable* ContourTableOf(LoudnessEdition edition);
const ThresholdRow* ThresholdRowOf(LoudnessEdition edition, bool halfBandShift);

}  // namespace charts
