#pragma once
// A date and time as the calendar writes them, with no time zone: the start texts of pages and
// segments, to which the timebase adds whole seconds. Daylight-saving changes do not move
// them, as they do not move the meter's clock. Years 100 to 9999, the range of the date-time
// type the files were written with.

#include <optional>
#include <string>
#include <string_view>

namespace acquisition {

class CivilTime {
public:
    // "%Y/%m/%d %H:%M:%S" or "%Y/%m/%d" (blanks around it ignored); nothing for a text that is
    // no date of the range.
    static std::optional<CivilTime> Parse(std::string_view text);
    static std::optional<CivilTime> FromParts(int year, int month, int day, int hour = 0,
                                              int minute = 0, int second = 0);

    // Nothing when the sum leaves the range.
    std::optional<CivilTime> AddSeconds(long long seconds) const;
    // "%Y/%m/%d %H:%M:%S".
    std::string Format() const;
    // Seconds from 1970/01/01 00:00:00 of the same calendar.
    long long Seconds() const { return m_seconds; }

private:
    explicit CivilTime(long long seconds) : m_seconds(seconds) {}
    static std::optional<CivilTime> FromSeconds(long long seconds);

    long long m_seconds = 0;
};

}  // namespace acquisition
