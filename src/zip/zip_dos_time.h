#pragma once
// The DOS date and time of the zip records, from and to local calendar time.

#include <cstdint>
#include <ctime>

namespace zip {

struct DosDateTime {
    std::uint16_t time = 0;
    std::uint16_t date = 0;
};

// Years up to 1980, and times that cannot be converted, give 0 in the year bits.
DosDateTime ToDosDateTime(std::time_t seconds);
std::time_t FromDosDateTime(std::uint16_t time, std::uint16_t date);

}  // namespace zip
