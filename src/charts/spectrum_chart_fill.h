#pragma once
// Filling a band chart with one spectrum, as the main view shows the selected record of a
// loaded recording or a live spectrum: the value axis in whole steps that suit its range, the
// bar layout of an octave or third-octave chart, and one bar per band with the overall level
// last, in green.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "records/record_kind.h"

namespace charts {

class CChartWnd;

constexpr float kMissingBandLevel = -100.0f;

// A stored band word in dB: tenths of dB, the meter's missing value as -100 dB.
float StoredBandLevel(std::uint16_t word);

// The value axis in steps of 20 dB above a range of 70 dB, 10 dB above 35 dB, else 5 dB: as
// many whole steps as the range holds, the maximum moved onto the last one.
void ScaleValueAxis(CChartWnd& chart);
// The bar layout of the kind's band set (spectrum_bands.h): the bars of an octave chart are
// wide, those of a third-octave chart narrow with every other band captioned; both narrower on
// a screen exactly 800 pixels wide. Nothing for a kind that is no spectrum.
void SetBandLayout(CChartWnd& chart, std::optional<records::RecordKind> kind, int screenWidth);
// One bar per level, captioned with its band (the half-band shift off) and the overall level,
// last, named by the auxiliary weighting; nothing for a kind that is no spectrum.
void AddSpectrumBars(CChartWnd& chart, std::optional<records::RecordKind> kind,
                     std::span<const float> levels, const std::string& auxWeighting);

// The levels of a live spectrum reply: for each band in turn the five characters before the
// next CR LF, read as a number; the overall level's field is found on the line after the last
// band's. Bands after the last CR LF are left out.
std::vector<float> LiveSpectrumLevels(std::string_view reply,
                                      std::optional<records::RecordKind> kind);
// The levels of a report row's text, lines "heading\tlevel" separated by CR LF; a level that
// is no number (as "---") is a missing one.
std::vector<float> ReportRowLevels(std::string_view text);

}  // namespace charts
