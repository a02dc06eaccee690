#include "acquisition/scheduler_log.h"

#include <cstdio>

#include "platform/date_time.h"
#include "platform/files.h"
#include "records/record_layout.h"

namespace acquisition {

std::string SchedulerLog::LogPath() const {
    return platform::JoinPath(m_folder, kLogName);
}

std::string SchedulerLog::OldLogPath() const {
    return platform::JoinPath(m_folder, kOldLogName);
}

std::optional<std::string> SchedulerLog::Write(bool restart, std::string_view text, bool stamp) {
    const std::lock_guard lock(m_mutex);
    const std::string path = LogPath();
    if (restart) {
        if (const auto old = platform::ReadWholeFile(path))
            platform::WriteFileAtomic(OldLogPath(), *old);
        platform::WriteFileAtomic(path, "");
    }
    const std::string line =
        stamp ? platform::DateTime::Now().Format(kStampFormat) + ": " + std::string(text)
              : std::string(text);
    std::FILE* file = std::fopen(path.c_str(), "ab");
    if (!file)
        return std::nullopt;
    const std::string bytes = line + std::string(records::kDoubleCrLineEnd);
    // One write per line: lines of two threads never interleave.
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed)
        return std::nullopt;
    return line;
}

}  // namespace acquisition
