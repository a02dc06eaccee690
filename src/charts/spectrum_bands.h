#pragma once
// The band positions of the 3-D spectrum: position 1 is the lowest band, the last one the
// overall level ("WB"), and position 0 stands for the automatic range. The "Spectrum" window's
// frequency range boxes list them in this order and the 3-D graph captions its X axis with
// them.

#include <span>
#include <string>

namespace charts {

// "AUTO", "16", "32", ... "16k", "WB".
std::span<const char* const> OctaveBandPositions();
// "AUTO", "16", "20", ... "20k", "WB".
std::span<const char* const> ThirdOctaveBandPositions();
// The list of acquisition mode 2 (octave) or 3 (third octave); empty for another mode.
std::span<const char* const> BandPositions(int mode);

}  // namespace charts
