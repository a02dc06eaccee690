#include "acquisition/civil_time.h"

#include <algorithm>
#include <limits>

#include "platform/text.h"

namespace acquisition {

namespace {

constexpr long long kSecondsPerDay = 86400;
constexpr int kFirstYear = 100;
constexpr int kLastYear = 9999;

// Days from 1970/01/01 of a proleptic Gregorian date (Howard Hinnant's algorithm).
long long DaysFromCivil(long long year, int month, int day) {
    year -= month <= 2;
    const long long era = (year >= 0 ? year : year - 399) / 400;
    const long long yearOfEra = year - era * 400;
    const long long dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const long long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

// At least `width` digits of a value from 0 up, zeros in front.
void AppendDigits(std::string& text, long long value, int width) {
    char digits[20];
    int count = 0;
    do {
        digits[count++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value > 0);
    text.append(static_cast<size_t>(std::max(0, width - count)), '0');
    while (count > 0)
        text += digits[--count];
}

struct Date {
    long long year;
    int month;
    int day;
};

Date CivilFromDays(long long days) {
    days += 719468;
    const long long era = (days >= 0 ? days : days - 146096) / 146097;
    const long long dayOfEra = days - era * 146097;
    const long long yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const long long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const long long monthIndex = (5 * dayOfYear + 2) / 153;
    const int day = static_cast<int>(dayOfYear - (153 * monthIndex + 2) / 5 + 1);
    const int month = static_cast<int>(monthIndex < 10 ? monthIndex + 3 : monthIndex - 9);
    return {yearOfEra + era * 400 + (month <= 2), month, day};
}

int DaysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

// A run of digits at `at`; nothing when there is none or it is too long to be a date part.
std::optional<int> Number(std::string_view text, size_t& at) {
    const size_t start = at;
    int value = 0;
    while (at < text.size() && text[at] >= '0' && text[at] <= '9' && at - start < 4)
        value = value * 10 + (text[at++] - '0');
    if (at == start || (at < text.size() && text[at] >= '0' && text[at] <= '9'))
        return std::nullopt;
    return value;
}

bool Expect(std::string_view text, size_t& at, char separator) {
    if (at >= text.size() || text[at] != separator)
        return false;
    ++at;
    return true;
}

}  // namespace

std::optional<CivilTime> CivilTime::FromParts(int year, int month, int day, int hour, int minute,
                                              int second) {
    if (year < kFirstYear || year > kLastYear || month < 1 || month > 12 || day < 1 ||
        day > DaysInMonth(year, month) || hour < 0 || hour > 23 || minute < 0 || minute > 59 ||
        second < 0 || second > 59)
        return std::nullopt;
    return CivilTime(DaysFromCivil(year, month, day) * kSecondsPerDay + hour * 3600LL +
                     minute * 60LL + second);
}

std::optional<CivilTime> CivilTime::Parse(std::string_view text) {
    const std::string trimmed = platform::Trim(text);
    const std::string_view s = trimmed;
    size_t at = 0;
    const auto year = Number(s, at);
    if (!year || !Expect(s, at, '/'))
        return std::nullopt;
    const auto month = Number(s, at);
    if (!month || !Expect(s, at, '/'))
        return std::nullopt;
    const auto day = Number(s, at);
    if (!day)
        return std::nullopt;
    if (at == s.size())
        return FromParts(*year, *month, *day);
    if (!Expect(s, at, ' '))
        return std::nullopt;
    const auto hour = Number(s, at);
    if (!hour || !Expect(s, at, ':'))
        return std::nullopt;
    const auto minute = Number(s, at);
    if (!minute || !Expect(s, at, ':'))
        return std::nullopt;
    const auto second = Number(s, at);
    if (!second || at != s.size())
        return std::nullopt;
    return FromParts(*year, *month, *day, *hour, *minute, *second);
}

std::optional<CivilTime> CivilTime::FromSeconds(long long seconds) {
    static const long long first = DaysFromCivil(kFirstYear, 1, 1) * kSecondsPerDay;
    static const long long end = DaysFromCivil(kLastYear + 1, 1, 1) * kSecondsPerDay;
    if (seconds < first || seconds >= end)
        return std::nullopt;
    return CivilTime(seconds);
}

std::optional<CivilTime> CivilTime::AddSeconds(long long seconds) const {
    // Far beyond the range either way: no overflow on the way there.
    constexpr long long kLimit = std::numeric_limits<long long>::max() / 4;
    if (seconds > kLimit || seconds < -kLimit)
        return std::nullopt;
    return FromSeconds(m_seconds + seconds);
}

std::string CivilTime::Format() const {
    long long days = m_seconds / kSecondsPerDay;
    long long rest = m_seconds % kSecondsPerDay;
    if (rest < 0) {
        rest += kSecondsPerDay;
        --days;
    }
    const Date date = CivilFromDays(days);
    // "%.4lld/%.2d/%.2d %.2lld:%.2lld:%.2lld", written by hand: a data set's listing formats two
    // times a page, where vsnprintf would cost more than reading the page's start text.
    std::string text;
    text.reserve(19);
    AppendDigits(text, date.year, 4);
    text += '/';
    AppendDigits(text, date.month, 2);
    text += '/';
    AppendDigits(text, date.day, 2);
    text += ' ';
    AppendDigits(text, rest / 3600, 2);
    text += ':';
    AppendDigits(text, rest / 60 % 60, 2);
    text += ':';
    AppendDigits(text, rest % 60, 2);
    return text;
}

}  // namespace acquisition
