#include "zip/zip_dos_time.h"

#include <algorithm>
#include <cstdlib>

namespace zip {

DosDateTime ToDosDateTime(std::time_t seconds) {
    std::tm local{};
    if (!::localtime_r(&seconds, &local))
        return {0, static_cast<std::uint16_t>(1 << 5 | 1)};
    const int year = local.tm_year + 1900;
    // Seven bits of year reach 2107; later dates keep the last year the field can hold.
    const int yearBits = year <= 1980 ? 0 : std::min(year - 1980, 127);
    DosDateTime dos;
    dos.time =
        static_cast<std::uint16_t>(local.tm_hour << 11 | local.tm_min << 5 | local.tm_sec / 2);
    dos.date = static_cast<std::uint16_t>(yearBits << 9 | (local.tm_mon + 1) << 5 | local.tm_mday);
    return dos;
}

namespace {

struct Fields {
    int year, month, day, hour, minute, second;
};

Fields Split(std::uint16_t time, std::uint16_t date) {
    return {(date >> 9) + 1980, (date >> 5) & 0x0F, date & 0x1F,
            time >> 11,         (time >> 5) & 0x3F, (time & 0x1F) * 2};
}

std::time_t LocalToSeconds(const Fields& f) {
    std::tm local{};
    local.tm_year = f.year - 1900;
    local.tm_mon = f.month - 1;
    local.tm_mday = f.day;
    local.tm_hour = f.hour;
    local.tm_min = f.minute;
    local.tm_sec = f.second;
    local.tm_isdst = -1;
    return std::mktime(&local);
}

// The fields read as if they were UTC: days since 1970 by the civil calendar, then the time.
long long NaiveSeconds(const Fields& f) {
    const int y = f.year - (f.month <= 2);
    const int era = y / 400;
    const int yearOfEra = y - era * 400;
    const int dayOfYear = (153 * (f.month + (f.month > 2 ? -3 : 9)) + 2) / 5 + f.day - 1;
    const int dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    const long long days = era * 146097LL + dayOfEra - 719468;
    return days * 86400 + f.hour * 3600 + f.minute * 60 + f.second;
}

bool IsPlainDate(const Fields& f) {
    static constexpr int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = f.year % 4 == 0 && (f.year % 100 != 0 || f.year % 400 == 0);
    return f.month >= 1 && f.month <= 12 && f.day >= 1 &&
           f.day <= (f.month == 2 && !leap ? 28 : kDays[f.month - 1]) && f.hour < 24 &&
           f.minute < 60 && f.second < 60;
}

}  // namespace

void DosTimes::ReadZone() {
    const char* zone = std::getenv("TZ");
    if ((zone != nullptr) != m_hasZone || (zone && m_zone != zone)) {
        m_offsets.clear();
        m_hasZone = zone != nullptr;
        m_zone = zone ? zone : "";
    }
}

std::optional<long long> DosTimes::DayOffset(std::uint16_t date) {
    if (m_offsets.size() > 4096)
        m_offsets.clear();
    const auto known = m_offsets.find(date);
    if (known != m_offsets.end())
        return known->second;
    const Fields first = Split(0, date);
    const Fields last = Split(23 << 11 | 59 << 5 | 29, date);
    const std::time_t start = LocalToSeconds(first);
    const std::time_t end = LocalToSeconds(last);
    std::optional<long long> offset;
    if (start != static_cast<std::time_t>(-1) && end != static_cast<std::time_t>(-1) &&
        NaiveSeconds(first) - start == NaiveSeconds(last) - end)
        offset = NaiveSeconds(first) - start;
    m_offsets.emplace(date, offset);
    return offset;
}

std::time_t DosTimes::ToSeconds(std::uint16_t time, std::uint16_t date) {
    const Fields fields = Split(time, date);
    // Fields out of range are left to mktime, which carries them over as it always did.
    if (IsPlainDate(fields))
        if (const std::optional<long long> offset = DayOffset(date))
            return static_cast<std::time_t>(NaiveSeconds(fields) - *offset);
    const std::time_t seconds = LocalToSeconds(fields);
    return seconds == static_cast<std::time_t>(-1) ? 0 : seconds;
}

std::time_t FromDosDateTime(std::uint16_t time, std::uint16_t date) {
    thread_local DosTimes times;
    times.ReadZone();
    return times.ToSeconds(time, date);
}

}  // namespace zip
