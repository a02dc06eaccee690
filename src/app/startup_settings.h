#pragma once
// The start-up settings file "QS4060KRTN_VP.ini": when the local databases were last refreshed,
// and whether the audio settings are shown.

#include <optional>
#include <string>

#include "platform/date_time.h"

struct StartupSettings {
    bool hasLastUpdate = false;  // a "LAST_UPDATE:" line was there
    std::optional<platform::DateTime> lastUpdate;
    bool displayAudioSetting = true;

    // A refresh is due 16 whole days after the last one, and at once when the recorded time
    // cannot be read: rewriting the file is the only way out of a garbled line.
    bool IsRefreshDue(const platform::DateTime& now) const;
};

constexpr const char* kStartupSettingsFile = "\\QS4060KRTN_VP.ini";
// The databases are refreshed when this many whole days have passed since the last refresh.
constexpr int kDatabaseRefreshDays = 16;
// A booking for offline work lapses after this many whole days.
constexpr int kBookingLifetimeDays = 7;

// nullopt when the file cannot be opened.
std::optional<StartupSettings> ReadStartupSettings(const std::string& path);
std::string FormatStartupSettings(const platform::DateTime& lastUpdate, bool displayAudioSetting);
