#pragma once
// Tonal evaluation of a third-octave spectrum: the equal-loudness contour (ISO 226) that
// passes through the level of one chosen band, interpolated between the tabled contours, so
// that the bands standing out above it show up. The spectrum comes as a stored record or as
// the level texts of a report row; the contour goes to the bar chart and the data list as
// numbers.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "charts/equal_loudness_tables.h"

namespace charts {

// The levels of one third-octave spectrum in tenths of dB: the band below 20 Hz, then the 29
// contour bands, then the bands above them and the overall level.
constexpr int kSpectrumLevels = 33;
using SpectrumLevels = std::array<int, kSpectrumLevels>;
// A stored level that was not measured (0xFF9C, -10.0 dB).
constexpr int kMissingLevel = -100;

// The record's words after its time word, as signed tenths; words past the end of `words` are
// missing levels.
SpectrumLevels LevelsFromRecord(std::span<const uint16_t> words);
// The text of a report row: lines "heading\tlevel" separated by "\r\n", one per band from the
// band below 20 Hz on. A line whose level is no number (as "---") is a missing level.
SpectrumLevels LevelsFromText(std::string_view text);

// The contour through band `band` (1..29, contour band band - 1) of `levels` at the 29 contour
// bands, in tenths of dB; the chosen band keeps its measured level. Below the 0-phon contour the
// threshold of hearing stands for it, at the chosen band too; at or above the 160-phon contour
// the 160-phon contour.
// Nothing for an unknown edition or a band out of range.
std::optional<std::array<int, kContourBands>> ComputeContour(
    LoudnessEdition edition, bool halfBandShift, std::span<const int, kContourBands> levels,
    int band);

// The frame's equal-loudness state: the band the operator chose on the third-octave chart and
// the last contour computed through it.
class IsophoneContour {
public:
    // 0 (none) or 1..29.
    int SelectedBand() const { return m_band; }
    // A band out of 0..29 chooses none.
    void SelectBand(int band);

    // Computes the contour through the selected band of `spectrum`. With no band chosen it
    // keeps the last contour; with no edition it has none. The half-band-shifted computation
    // shows whole dB. False when nothing was computed.
    bool Compute(LoudnessEdition edition, bool halfBandShift, const SpectrumLevels& spectrum);
    void Clear() { m_contour.reset(); }

    bool HasContour() const { return m_contour.has_value(); }
    // The contour at contour band 0..28 in dB, as shown; nothing without a contour or for
    // another band.
    std::optional<double> LevelDb(int contourBand) const;

private:
    int m_band = 0;
    bool m_wholeDb = false;
    std::optional<std::array<int, kContourBands>> m_contour;
};

}  // namespace charts
