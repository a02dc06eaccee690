#pragma once
// The levels that the meters' enciphered readings carry, cut from the 20 decoded characters,
// and the reading texts the verification tests parse.

#include <array>
#include <string>
#include <string_view>

namespace cipher {

// The instrument under test: three channels of four digits in tenths of a dB, then three
// characters of its own that travel on unchanged with the five blanks behind them.
struct TargetReading {
    std::array<double, 3> channels{};
    std::string rest;
    // False when a channel field is not wholly a number; it then reads as its leading number.
    bool numeric = true;
};

// The reference meter: its level as a six-character number in dB.
struct ReferenceReading {
    double level = 0.0;
    bool numeric = true;
};

TargetReading ReadTargetReading(std::string_view decoded);
ReferenceReading ReadReferenceReading(std::string_view decoded);

// "00:00:00   94.5 - 94.6 - 94.7 - <rest>"
std::string TargetReadingText(const TargetReading& reading);
// "00:00:00   94.25;0.0;0.0; "
std::string ReferenceReadingText(const ReferenceReading& reading);

// The bytes as a log line can hold them: control characters and bytes above 126 as \xNN.
std::string Printable(std::string_view raw);

}  // namespace cipher
