#include "acquisition/schedule_settings.h"

namespace acquisition {

namespace {
constexpr int kLastStartMinute = 58;
constexpr int kLastHour = 23;
}  // namespace

long long SecondsOfDay(const platform::DateTime& time) {
    if (!time.IsValid())
        return 0;
    return time.Hour() * 3600LL + time.Minute() * 60LL + time.Second();
}

PresetTimes InitialTimes(const platform::DateTime& now) {
    const int hour = now.Hour();
    const int minute = now.Minute();
    const platform::DateTime thisMinute =
        platform::DateTime::FromParts(now.Year(), now.Month(), now.Day(), hour, minute, 0);
    if (minute < kLastStartMinute) {
        // At minute 57 the stop falls on the next hour.
        const platform::DateTime start = thisMinute.AddSeconds(2 * 60);
        return {start, start.AddSeconds(60)};
    }
    if (hour < kLastHour) {
        const platform::DateTime start =
            platform::DateTime::FromParts(now.Year(), now.Month(), now.Day(), hour + 1, 0, 0);
        return {start, start};
    }
    return {thisMinute, thisMinute};
}

}  // namespace acquisition
