#pragma once
// The captions of the spectrum bands: the octave bands from 16 Hz to 16 kHz and the
// third-octave bands from 16 Hz to 20 kHz (or, with the half-band shift, 14 Hz to 18 kHz),
// each series closed by the overall level, which is named by the meter's auxiliary spectrum
// weighting. The bar charts, the setup's channel page and the data list's headings all take
// their band texts from here, beside the layouts of the records whose bands they caption.
// A band set is its name in `BandSet` and its row in `kBandSetCaptions`, both here.

#include <array>
#include <span>
#include <string>
#include <string_view>

namespace records {

constexpr int kOctaveBands = 11;
constexpr int kThirdOctaveBands = 32;
// The text of the half-band shift setting that keeps the nominal third-octave centres.
constexpr std::string_view kNoBandShift = "OFF";

// The band sets a spectrum has (RecordKindTraits::bands); the charts keep a row per set.
enum class BandSet { None, Octave, ThirdOctave };

namespace band_captions {

inline constexpr std::array<const char*, kOctaveBands> kOctave = {
    "16", "32", "63", "125", "250", "500", "1 k", "2 k", "4 k", "8 k", "16 k"};

inline constexpr std::array<const char*, kThirdOctaveBands> kThirdOctave = {
    "16",    "20",     "25",  "32",  "40",    "50",  "63",   "80",     "100",    "125",   "160",
    "200",   "250",    "315", "400", "500",   "630", "800",  "1 k",    "1.25 k", "1.6 k", "2 k",
    "2.5 k", "3.15 k", "4 k", "5 k", "6.3 k", "8 k", "10 k", "12.5 k", "16 k",   "20 k"};

// Half a band lower; each its own rounding, not the nominal series scaled.
inline constexpr std::array<const char*, kThirdOctaveBands> kThirdOctaveShifted = {
    "14",    "18",    "22",    "28",    "35",    "45",  "56",  "70",   "88",    "110",   "140",
    "180",   "220",   "280",   "350",   "450",   "560", "700", "900",  "1.1 k", "1.4 k", "1.8 k",
    "2.2 k", "2.8 k", "3.5 k", "4.5 k", "5.6 k", "7 k", "9 k", "11 k", "14 k",  "18 k"};

}  // namespace band_captions

// A set's band captions, nominal and with the half-band shift (a set without a shift gives the
// nominal ones for both).
struct BandSetCaptions {
    BandSet set;
    std::span<const char* const> nominal;
    std::span<const char* const> shifted;
};

inline constexpr BandSetCaptions kBandSetCaptions[] = {
    {BandSet::Octave, band_captions::kOctave, band_captions::kOctave},
    {BandSet::ThirdOctave, band_captions::kThirdOctave, band_captions::kThirdOctaveShifted},
};

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

}  // namespace records
