#include "records/band_labels.h"

namespace records {

namespace {

constexpr const char* kNotABand = "-1";

}  // namespace

std::string OctaveBandLabel(int index, const std::string& auxWeighting) {
    return BandLabel(BandSet::Octave, index, kNoBandShift, auxWeighting);
}

std::string ThirdOctaveBandLabel(int index, std::string_view shift,
                                 const std::string& auxWeighting) {
    return BandLabel(BandSet::ThirdOctave, index, shift, auxWeighting);
}

std::string BandLabel(BandSet set, int index, std::string_view shift,
                      const std::string& auxWeighting) {
    for (const BandSetCaptions& captions : kBandSetCaptions) {
        if (captions.set != set)
            continue;
        const std::span<const char* const> bands =
            shift == kNoBandShift ? captions.nominal : captions.shifted;
        if (index >= 0 && index < static_cast<int>(bands.size()))
            return bands[static_cast<std::size_t>(index)];
        return index == static_cast<int>(bands.size()) ? auxWeighting : kNotABand;
    }
    return kNotABand;
}

}  // namespace records
