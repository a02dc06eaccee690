#include "charts/spectrum_bands.h"

#include "acquisition/record_layout.h"

namespace charts {

namespace {

constexpr const char* kOctave[] = {"AUTO", "16", "32", "63", "125", "250", "500",
                                   "1k",   "2k", "4k", "8k", "16k", "WB"};

constexpr const char* kThirdOctave[] = {
    "AUTO",  "16",  "20",  "25",   "32",  "40",  "50",    "63",  "80",    "100",  "125", "160",
    "200",   "250", "315", "400",  "500", "630", "800",   "1k",  "1.25k", "1.6k", "2k",  "2.5k",
    "3.15k", "4k",  "5k",  "6.3k", "8k",  "10k", "12.5k", "16k", "20k",   "WB"};

}  // namespace

std::span<const char* const> OctaveBandPositions() {
    return kOctave;
}

std::span<const char* const> ThirdOctaveBandPositions() {
    return kThirdOctave;
}

std::span<const char* const> BandPositions(int mode) {
    if (mode == acquisition::kOctave)
        return kOctave;
    if (mode == acquisition::kThirdOctave)
        return kThirdOctave;
    return {};
}

}  // namespace charts
