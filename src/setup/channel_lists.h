#pragma once
// The vocabularies of the "Channels" page: the parameters each sound level meter channel and
// the profile offer by model and band shift, the profile's time steps, and the weighting or
// band list that goes with a parameter. A parameter's band list follows from the parameter
// itself, so that a short list (no octave group, not a QS4160) gives every parameter the same
// bands as the full one.

#include <string>
#include <string_view>
#include <vector>

namespace setup::channel_lists {

// The parameters of channel `slm` (1..5) for the decorated model text and the current
// half-band shift: the octave group only on a QS4160 whose shift is exactly "OFF"; channels 4
// and 5 only on a QS4160 (empty otherwise).
std::vector<std::string> SlmParameters(int slm, std::string_view model, std::string_view shift);

// The profile parameters of a QS4160.
std::vector<std::string> ProfileParameters();

// What goes with a parameter in its weighting or band list.
enum class BandKind {
    Unknown,       // no parameter chosen: the list stays empty
    PeakWeights,   // "Z", "C"
    Weights,       // "Z", "C", "A"
    Octaves,       // the octave band labels
    ThirdOctaves,  // the third-octave band labels for the current shift
    AOnly,         // "A"
    None,          // no weighting: the list is emptied and disabled
};
BandKind BandKindOf(std::string_view parameter);

// The list for `kind`; the band labels come from the charts' table without their blanks
// ("1 k" -> "1k"), the third octaves in the series of the half-band `shift`.
std::vector<std::string> BandEntries(BandKind kind, std::string_view shift);

// The profile's band list as the page shows a stored value: the third octaves are then the
// meter's own 17 of the nominal series, written with a decimal comma ("1,6k"); a new choice of
// parameter offers BandEntries.
std::vector<std::string> ShownProfileBandEntries(BandKind kind, std::string_view shift);

// The index of the band list's entry for a stored band, the decimal mark either way ("1,6k"
// finds "1.6k" and the reverse); -1 when none begins with it.
int FindBand(const std::vector<std::string>& entries, std::string_view band);
// Whether two stored "parameter:band" texts name the same, the decimal mark either way.
bool SameParameterValue(std::string_view a, std::string_view b);

// The profile's time steps: from "0.125s" for the plain levels Leq .. LImn (and when no
// parameter is chosen), from "0.5s" for the peak and the band levels.
std::vector<std::string> ProfileTimes(std::string_view profileParameter);

}  // namespace setup::channel_lists
