#pragma once
// The meter's baud-rate settings: the texts its menu and the "SET:BAUD" command use, in the
// order the setup's General page offers them, with the line rate each stands for. The link
// moves its port by this table when the meter takes a new rate, and the simulated meter moves
// by the same one.

#include <array>
#include <string_view>

namespace baud_rates {

struct BaudRateText {
    std::string_view text;
    int rate;
};

inline constexpr std::array<BaudRateText, 11> kBaudRateTexts{{
    {"300", 300},
    {"600", 600},
    {"1.2k", 1200},
    {"2.4k", 2400},
    {"4.8k", 4800},
    {"9.6k", 9600},
    {"19.2k", 19200},
    {"38.4k", 38400},
    {"57.6k", 57600},
    {"115.2k", 115200},
    {"230.4k", 230400},
}};

// The rate of a setting text, exactly as the table writes it; 0 for any other text.
constexpr int RateOfSettingText(std::string_view text) {
    for (const BaudRateText& entry : kBaudRateTexts)
        if (entry.text == text)
            return entry.rate;
    return 0;
}

}  // namespace baud_rates
