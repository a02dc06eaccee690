#include "platform/date_time.h"

#include <cstdio>

#include "platform/clock.h"
#include "platform/text.h"

namespace platform {

DateTime DateTime::Now() {
    return DateTime(Clock::Now());
}

DateTime DateTime::FromParts(int year, int month, int day, int hour, int minute, int second) {
    if (year < 1900 || month < 1 || month > 12 || day < 1 || day > 31 || hour < 0 || hour > 23 ||
        minute < 0 || minute > 59 || second < 0 || second > 59)
        return {};
    std::tm tm{};
    tm.tm_year = year - 1900;
    tm.tm_mon = month - 1;
    tm.tm_mday = day;
    tm.tm_hour = hour;
    tm.tm_min = minute;
    tm.tm_sec = second;
    tm.tm_isdst = -1;
    const std::time_t seconds = std::mktime(&tm);
    // mktime normalises 31 April into 1 May: such a date does not exist.
    if (seconds == -1 || tm.tm_mday != day || tm.tm_mon != month - 1)
        return {};
    return DateTime(seconds);
}

std::optional<DateTime> DateTime::Parse(std::string_view text) {
    const std::string s = Trim(text);
    int a = 0, b = 0, c = 0, h = 0, mi = 0, se = 0;
    char s1 = 0, s2 = 0;
    int consumed = 0;
    if (std::sscanf(s.c_str(), "%d%c%d%c%d%n", &a, &s1, &b, &s2, &c, &consumed) != 5)
        return {};
    if (s1 != s2 || (s1 != '/' && s1 != '-' && s1 != '.'))
        return {};
    const std::string rest = Trim(std::string_view(s).substr(static_cast<size_t>(consumed)));
    if (!rest.empty()) {
        const int fields = std::sscanf(rest.c_str(), "%d:%d:%d", &h, &mi, &se);
        if (fields < 2)
            return {};
    }
    const bool yearFirst = a >= 1000;
    const DateTime dt = yearFirst ? FromParts(a, b, c, h, mi, se) : FromParts(c, b, a, h, mi, se);
    if (!dt.IsValid())
        return {};
    return dt;
}

std::tm DateTime::Local() const {
    std::tm tm{};
    localtime_r(&m_seconds, &tm);
    return tm;
}

std::string DateTime::Format(const char* format) const {
    if (!m_valid)
        return {};
    const std::tm tm = Local();
    char buffer[256];
    const size_t n = std::strftime(buffer, sizeof buffer, format, &tm);
    return std::string(buffer, n);
}

int DateTime::Year() const {
    return Local().tm_year + 1900;
}
int DateTime::Month() const {
    return Local().tm_mon + 1;
}
int DateTime::Day() const {
    return Local().tm_mday;
}
int DateTime::Hour() const {
    return Local().tm_hour;
}
int DateTime::Minute() const {
    return Local().tm_min;
}
int DateTime::Second() const {
    return Local().tm_sec;
}

DateTime DateTime::AddDays(int days) const {
    // Through the calendar, so that a change of daylight-saving time keeps the hour.
    std::tm tm = Local();
    tm.tm_mday += days;
    tm.tm_isdst = -1;
    return DateTime(std::mktime(&tm));
}

namespace {
// Seconds on the local wall clock, so that a span over a change of daylight-saving time still
// counts whole calendar days.
double WallSeconds(const DateTime& t) {
    std::time_t seconds = t.Seconds();
    std::tm tm{};
    localtime_r(&seconds, &tm);
    return static_cast<double>(timegm(&tm));
}
}  // namespace

int WholeDaysBetween(const DateTime& from, const DateTime& to) {
    const double seconds = WallSeconds(to) - WallSeconds(from);
    const double days = (seconds + (seconds < 0 ? -0.5 : 0.5)) / 86400.0;
    return static_cast<int>(days);
}

}  // namespace platform
