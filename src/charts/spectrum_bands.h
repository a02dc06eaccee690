#pragma once
// The band sets of the spectrum charts, one row per set: the positions of the bands in the 3-D
// window, the bar chart's layout, the bands that the narrow-band variants do not measure, and
// whether the equal-loudness contour is drawn over them. A record kind names its set
// (records::RecordKindTraits::bands), whose labels are records::BandLabel's; the charts
// ask this table, never which kind it is.
//
// The positions of the 3-D spectrum: position 1 is the lowest band, the last one the overall
// level ("WB"), and position 0 stands for the automatic range. The "Spectrum" window's
// frequency range boxes list them in this order and the 3-D graph captions its X axis with
// them.

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "records/record_kind.h"

namespace charts {

// How a band chart lays its bars out: inset, a caption every `labelStep` bars, the bar pitch
// (narrower on a screen exactly 800 pixels wide).
struct BarLayout {
    int inset = 0;
    int labelStep = 1;
    int pitch = 0;
    int narrowPitch = 0;
};

struct ChartBands {
    records::BandSet set = records::BandSet::None;
    // "AUTO", the bands, "WB".
    std::span<const char* const> positions;
    BarLayout bars;
    // The 3-D graph's X ticks and its band scale (0 octave, 1 third octave).
    int xTicks = 0;
    int bandScale = 0;
    // Bars of the variants that do not measure the set's edge bands, shown grey.
    std::span<const int> unmeasuredBands;
    // The equal-loudness contour is computed at, and drawn over, these bands.
    bool equalLoudness = false;
};

// The set of a kind's spectra; nothing for a kind that is no spectrum, or none.
const ChartBands* BandsOf(std::optional<records::RecordKind> kind);
// The set of a kind's spectra, and the third-octave set, which the 3-D window's axes take,
// for a kind that is no spectrum.
const ChartBands& WindowBandsOf(std::optional<records::RecordKind> kind);
// The set the 3-D graph's band scale stands for; nothing for another scale.
const ChartBands* BandsOfScale(int bandScale);
// The positions of a kind's spectra; empty for a kind that is no spectrum.
std::span<const char* const> BandPositions(std::optional<records::RecordKind> kind);

}  // namespace charts
