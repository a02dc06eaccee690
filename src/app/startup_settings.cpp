#include "app/startup_settings.h"

#include "platform/files.h"
#include "platform/text.h"

namespace {
constexpr const char* kLastUpdateKey = "LAST_UPDATE:";
constexpr int kLastUpdateKeyLength = 12;
}  // namespace

std::optional<StartupSettings> ReadStartupSettings(const std::string& path) {
    platform::LineReader reader(path);
    if (!reader.IsOpen())
        return std::nullopt;
    StartupSettings settings;
    std::string line;
    while (reader.ReadLine(line, 512)) {
        if (platform::StartsWith(line, kLastUpdateKey)) {
            const std::string when = platform::TrimRight(platform::Mid(line, kLastUpdateKeyLength));
            settings.hasLastUpdate = true;
            if (auto parsed = platform::DateTime::Parse(when))
                settings.lastUpdate = *parsed;
        }
        if (platform::Contains(line, "DISPLAY_AUDIO_SETTING") &&
            platform::Contains(line, "DISPLAY_AUDIO_SETTING=0"))
            settings.displayAudioSetting = false;
    }
    return settings;
}

bool StartupSettings::IsRefreshDue(const platform::DateTime& now) const {
    if (!hasLastUpdate)
        return false;
    return !lastUpdate || platform::WholeDaysBetween(*lastUpdate, now) >= kDatabaseRefreshDays;
}

std::string FormatStartupSettings(const platform::DateTime& lastUpdate, bool displayAudioSetting) {
    return platform::Format("LAST_UPDATE:%s\r\nDISPLAY_AUDIO_SETTING=%s\r\n",
                            lastUpdate.Format("%Y/%m/%d %H:%M:%S").c_str(),
                            displayAudioSetting ? "1" : "0");
}
