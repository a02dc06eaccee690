#pragma once
// The DOS date and time of the zip records, from and to local calendar time.

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <unordered_map>

namespace zip {

struct DosDateTime {
    std::uint16_t time = 0;
    std::uint16_t date = 0;
};

// Years up to 1980, and times that cannot be converted, give 0 in the year bits.
DosDateTime ToDosDateTime(std::time_t seconds);
std::time_t FromDosDateTime(std::uint16_t time, std::uint16_t date);

// FromDosDateTime for many entries. mktime reads the time zone again on every call (a stat of
// /etc/localtime), and an archive's entries share few dates: so a date's offset from UTC is
// kept, when it is the same at both ends of the day; the day of a daylight-saving change keeps
// none and goes to mktime entry by entry. The kept dates hold for the time zone that TZ named
// at the last ReadZone().
class DosTimes {
public:
    void ReadZone();
    std::time_t ToSeconds(std::uint16_t time, std::uint16_t date);

private:
    std::optional<long long> DayOffset(std::uint16_t date);

    bool m_hasZone = false;
    std::string m_zone;
    std::unordered_map<std::uint16_t, std::optional<long long>> m_offsets;
};

}  // namespace zip
