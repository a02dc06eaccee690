#pragma once
// The captions of the spectrum bands: the octave bands from 16 Hz to 16 kHz and the
// third-octave bands from 16 Hz to 20 kHz (or, with the half-band shift, 14 Hz to 18 kHz),
// each series closed by the overall level, which is named by the meter's auxiliary spectrum
// weighting. The bar charts, the setup's channel page and the data list's headings all take
// their band texts from here, beside the layouts of the records whose bands they caption.

#include <string>
#include <string_view>

namespace acquisition {

constexpr int kOctaveBands = 11;
constexpr int kThirdOctaveBands = 32;
// The text of the half-band shift setting that keeps the nominal third-octave centres.
constexpr std::string_view kNoBandShift = "OFF";

// The band sets a spectrum has (RecordKindTraits::bands); the charts keep a row per set.
enum class BandSet { None, Octave, ThirdOctave };

// Index 0..10 the band, 11 the auxiliary weighting; "-1" for any other index.
std::string OctaveBandLabel(int index, const std::string& auxWeighting);
// Index 0..31 the band (nominal when `shift` is exactly "OFF", shifted otherwise), 32 the
// auxiliary weighting; "-1" for any other index.
std::string ThirdOctaveBandLabel(int index, std::string_view shift,
                                 const std::string& auxWeighting);
// The label of band `index` of a set, as the two above give it ("-1" for every index of
// BandSet::None).
std::string BandLabel(BandSet set, int index, std::string_view shift,
                      const std::string& auxWeighting);

}  // namespace acquisition
