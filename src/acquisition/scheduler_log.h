#pragma once
// The scheduler log file: the record of an unattended run, one line per event ending in
// CR CR LF, in the program folder. Every start of the scheduler begins a new log and keeps the
// one before as the old log. Writing never asks anything: a log that cannot be opened loses the
// line. Lines written from the listener thread and the user-interface thread stay whole.

#include <mutex>
#include <optional>
#include <string>
#include <string_view>

namespace acquisition {

class SchedulerLog {
public:
    static constexpr const char* kLogName = "Scheduler_LogScheduler.txt";
    static constexpr const char* kOldLogName = "Scheduler_LogSchedulerOld.txt";
    static constexpr const char* kStampFormat = "%Y/%m/%d %H:%M:%S";

    // `folder` with or without its trailing separator; it is read at every write, so that a
    // program folder known only later is the one written to.
    explicit SchedulerLog(const std::string& folder) : m_folder(folder) {}

    // `restart` copies the log over the old one and empties it first. With `stamp` the line is
    // the local time, ": " and the text. Returns the line as written; nothing when the log
    // could not be opened.
    std::optional<std::string> Write(bool restart, std::string_view text, bool stamp);

    std::string LogPath() const;
    std::string OldLogPath() const;

private:
    const std::string& m_folder;
    std::mutex m_mutex;
};

}  // namespace acquisition
