#pragma once
// The texts the meter sends for each measurement interval while live monitoring runs, read
// into what a record shows and stores:
//
//   levels:   "<elapsed>\t<level 1>\t...\t<level n>[M|ML]", n = 5 for the meter's channels
//   profile:  "<elapsed>\t<sample 1>\t...\t<sample n>", n = 4, 2 or 1
//   spectra:  "... =  <elapsed>\r\n[MARKER<label>\r\n][dB]\r\n<band>\r\n..."
//             each band five characters before its CR LF, the overall level last
//
// Elapsed times are "hh:mm:ss"; levels are decimal texts with one decimal or "---". Every
// offset into the text is checked: a cut-off or garbled record gives missing values ("---"),
// never a neighbour's level, a level cut short or a read past its end.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "records/record_layout.h"

namespace acquisition {

struct LiveRecordText {
    // The elapsed time of the measurement, when the record tells one.
    std::optional<records::ElapsedTime> elapsed;
    // The marker the record carries: the label after "MARKER", or "LAST" for a level record
    // ending in "ML"; empty without one.
    std::string marker;
    // False for a reply that is no level record (a spectrum reply without "[dB]").
    bool hasLevels = false;
    // As shown in the report list, and as stored: tenths of dB, kNoValue for "---".
    std::vector<std::string> levelTexts;
    std::vector<std::uint16_t> words;
};

// "%.2d:%.2d:%.2d".
std::string ElapsedText(const records::ElapsedTime& time);
// "hh:mm:ss" at the start of `text` (blanks before it skipped); nothing when it is shorter.
std::optional<records::ElapsedTime> ParseElapsed(std::string_view text);

// A spectrum record of `bands` band levels (12 octave, 33 third-octave).
LiveRecordText ParseSpectrumRecord(std::string_view reply, int bands);
// The band lines of a spectrum record, from the first one on; empty without "[dB]".
std::string_view SpectrumLevelList(std::string_view reply);
// What stands for a record that never arrived: a level record of kMissingRecord has all its
// levels "0".
inline constexpr std::string_view kMissingRecord = "ERROR";

// A level record of `levels` levels; kMissingRecord stands for a record whose levels are all
// "0".
LiveRecordText ParseLevelRecord(std::string_view reply, int levels);
// A profile record of `samples` samples.
LiveRecordText ParseProfileRecord(std::string_view reply, int samples);

}  // namespace acquisition
