#pragma once
// Local date and time, the way the program stores and compares them.

#include <ctime>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

class DateTime {
public:
    DateTime() = default;  // invalid
    explicit DateTime(std::time_t seconds) : m_seconds(seconds), m_valid(true) {}
    static DateTime Now();
    // Local time from its parts; invalid when they do not make a date.
    static DateTime FromParts(int year, int month, int day, int hour = 0, int minute = 0,
                              int second = 0);
    // Reads "%Y/%m/%d %H:%M:%S", "%Y/%m/%d %H:%M", "%Y/%m/%d" (also with '-' or '.' between
    // the date's parts) and "%d/%m/%Y" with an optional time; surrounding blanks are ignored.
    static std::optional<DateTime> Parse(std::string_view text);

    bool IsValid() const { return m_valid; }
    std::time_t Seconds() const { return m_seconds; }
    // strftime on the local time; empty for an invalid time.
    std::string Format(const char* format) const;
    int Year() const;
    int Month() const;
    int Day() const;
    int Hour() const;
    int Minute() const;
    int Second() const;

    DateTime AddSeconds(long long seconds) const { return DateTime(m_seconds + seconds); }
    DateTime AddDays(int days) const;

private:
    std::tm Local() const;
    std::time_t m_seconds = 0;
    bool m_valid = false;
};

// Whole days from `from` to `to`, truncated toward zero after adding half a second, as the
// program's date spans count them. Negative when `to` lies before `from`.
int WholeDaysBetween(const DateTime& from, const DateTime& to);

}  // namespace platform
