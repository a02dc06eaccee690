#include "acquisition/band_labels.h"

#include <array>

namespace acquisition {

namespace {

constexpr const char* kNotABand = "-1";

constexpr std::array<const char*, kOctaveBands> kOctave = {"16",  "32",  "63",  "125", "250", "500",
                                                           "1 k", "2 k", "4 k", "8 k", "16 k"};

constexpr std::array<const char*, kThirdOctaveBands> kThirdOctave = {
    "16",    "20",     "25",  "32",  "40",    "50",  "63",   "80",     "100",    "125",   "160",
    "200",   "250",    "315", "400", "500",   "630", "800",  "1 k",    "1.25 k", "1.6 k", "2 k",
    "2.5 k", "3.15 k", "4 k", "5 k", "6.3 k", "8 k", "10 k", "12.5 k", "16 k",   "20 k"};

// Half a band lower; each its own rounding, not the nominal series scaled.
constexpr std::array<const char*, kThirdOctaveBands> kThirdOctaveShifted = {
    "14",    "18",    "22",    "28",    "35",    "45",  "56",  "70",   "88",    "110",   "140",
    "180",   "220",   "280",   "350",   "450",   "560", "700", "900",  "1.1 k", "1.4 k", "1.8 k",
    "2.2 k", "2.8 k", "3.5 k", "4.5 k", "5.6 k", "7 k", "9 k", "11 k", "14 k",  "18 k"};

template <size_t N>
std::string Label(const std::array<const char*, N>& bands, int index,
                  const std::string& auxWeighting) {
    if (index >= 0 && index < static_cast<int>(N))
        return bands[index];
    return index == static_cast<int>(N) ? auxWeighting : kNotABand;
}

}  // namespace

std::string OctaveBandLabel(int index, const std::string& auxWeighting) {
    return Label(kOctave, index, auxWeighting);
}

std::string ThirdOctaveBandLabel(int index, std::string_view shift,
                                 const std::string& auxWeighting) {
    return Label(shift == kNoBandShift ? kThirdOctave : kThirdOctaveShifted, index, auxWeighting);
}

std::string BandLabel(BandSet set, int index, std::string_view shift,
                      const std::string& auxWeighting) {
    struct SetLabels {
        BandSet set;
        std::string (*label)(int index, std::string_view shift, const std::string& aux);
    };
    static constexpr SetLabels kSets[] = {
        {BandSet::Octave, [](int index, std::string_view,
                             const std::string& aux) { return OctaveBandLabel(index, aux); }},
        {BandSet::ThirdOctave, ThirdOctaveBandLabel},
    };
    for (const SetLabels& labels : kSets)
        if (labels.set == set)
            return labels.label(index, shift, auxWeighting);
    return kNotABand;
}

}  // namespace acquisition
