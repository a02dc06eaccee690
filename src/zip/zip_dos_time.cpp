#include "zip/zip_dos_time.h"

#include <algorithm>

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

std::time_t FromDosDateTime(std::uint16_t time, std::uint16_t date) {
    std::tm local{};
    local.tm_year = (date >> 9) + 1980 - 1900;
    local.tm_mon = ((date >> 5) & 0x0F) - 1;
    local.tm_mday = date & 0x1F;
    local.tm_hour = time >> 11;
    local.tm_min = (time >> 5) & 0x3F;
    local.tm_sec = (time & 0x1F) * 2;
    local.tm_isdst = -1;
    const std::time_t seconds = std::mktime(&local);
    return seconds == static_cast<std::time_t>(-1) ? 0 : seconds;
}

}  // namespace zip
