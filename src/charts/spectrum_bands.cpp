#include "charts/spectrum_bands.h"

#include <array>

#include "records/band_labels.h"

namespace charts {

namespace {

using records::BandSet;

constexpr const char* kOctavePositions[] = {"AUTO", "16", "32", "63", "125", "250", "500",
                                            "1k",   "2k", "4k", "8k", "16k", "WB"};

constexpr const char* kThirdOctavePositions[] = {
    "AUTO",  "16",  "20",  "25",   "32",  "40",  "50",    "63",  "80",    "100",  "125", "160",
    "200",   "250", "315", "400",  "500", "630", "800",   "1k",  "1.25k", "1.6k", "2k",  "2.5k",
    "3.15k", "4k",  "5k",  "6.3k", "8k",  "10k", "12.5k", "16k", "20k",   "WB"};

// 16 Hz and 16 kHz; 16 and 20 Hz, 16 and 20 kHz.
constexpr int kOctaveUnmeasured[] = {0, 10};
constexpr int kThirdOctaveUnmeasured[] = {0, 1, 30, 31};

constexpr std::array<ChartBands, 2> kBandSets = {{
    {.set = BandSet::Octave,
     .positions = kOctavePositions,
     .bars = {.inset = 6, .labelStep = 1, .pitch = 60, .narrowPitch = 45},
     .xTicks = records::kOctaveBands + 1,
     .bandScale = 0,
     .unmeasuredBands = kOctaveUnmeasured,
     .equalLoudness = false},
    {.set = BandSet::ThirdOctave,
     .positions = kThirdOctavePositions,
     .bars = {.inset = 1, .labelStep = 2, .pitch = 23, .narrowPitch = 16},
     .xTicks = records::kThirdOctaveBands + 2,
     .bandScale = 1,
     .unmeasuredBands = kThirdOctaveUnmeasured,
     .equalLoudness = true},
}};

}  // namespace

const ChartBands* BandsOf(std::optional<records::RecordKind> kind) {
    if (!kind)
        return nullptr;
    for (const ChartBands& bands : kBandSets)
        if (bands.set == (*kind)->bands)
            return &bands;
    return nullptr;
}

const ChartBands& WindowBandsOf(std::optional<records::RecordKind> kind) {
    if (const ChartBands* bands = BandsOf(kind))
        return *bands;
    // Named, not the table's last row: a set added after it leaves the window's axes as they are.
    for (const ChartBands& bands : kBandSets)
        if (bands.set == BandSet::ThirdOctave)
            return bands;
    return kBandSets.front();
}

const ChartBands* BandsOfScale(int bandScale) {
    for (const ChartBands& bands : kBandSets)
        if (bands.bandScale == bandScale)
            return &bands;
    return nullptr;
}

std::span<const char* const> BandPositions(std::optional<records::RecordKind> kind) {
    const ChartBands* bands = BandsOf(kind);
    return bands ? bands->positions : std::span<const char* const>();
}

}  // namespace charts
