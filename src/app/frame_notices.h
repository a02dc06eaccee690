#pragma once
// What the program tells the operator about the meter: a box, or in scheduler mode, where no
// one may be there to close it, a line of the scheduler log instead. The scheduler log lives
// here, in the program folder; whoever shows its lines (the scheduler window) registers for
// them.

#include <functional>
#include <string>
#include <utility>

#include "acquisition/operator_notices.h"
#include "acquisition/scheduler_log.h"

class MeterMode;

class FrameNotices : public acquisition::OperatorNotices {
public:
    // Writes a line of the instrument log.
    using InstrumentLog = std::function<void(const std::string& text)>;

    // `programFolder` is read at every line, so that a folder known only later is the one
    // written to.
    FrameNotices(const MeterMode& mode, const std::string& programFolder,
                 InstrumentLog instrumentLog = {})
        : m_mode(mode), m_log(programFolder), m_instrumentLog(std::move(instrumentLog)) {}
    FrameNotices(const FrameNotices&) = delete;
    FrameNotices& operator=(const FrameNotices&) = delete;

    // A box of `type`, or in scheduler mode a line of the scheduler log (`schedulerText` when
    // the log says it otherwise).
    void Warn(const std::string& text, unsigned type, const std::string& schedulerText);
    void Warn(const std::string& text, unsigned type) override { Warn(text, type, {}); }

    // What the program did of its own accord, that nobody need answer: a time-stamped line of
    // the scheduler log in scheduler mode, of the instrument log otherwise.
    void Log(const std::string& text);

    // A line of the scheduler log: `restart` begins a new log, `stamp` puts the time before
    // the text. Each line written is also handed to the line listener.
    void LogScheduler(bool restart, const std::string& text, bool stamp);
    void LogScheduler(const std::string& text) override { LogScheduler(false, text, true); }
    void BeginSchedulerLog(const std::string& text) override { LogScheduler(true, text, true); }
    void SetLogLineListener(std::function<void(const std::string& line)> listener) {
        m_onLogLine = std::move(listener);
    }

private:
    const MeterMode& m_mode;
    acquisition::SchedulerLog m_log;
    InstrumentLog m_instrumentLog;
    std::function<void(const std::string&)> m_onLogLine;
};
