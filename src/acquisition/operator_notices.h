#pragma once
// What the acquisition side tells the operator: a box, or in scheduler mode, where no one may
// be there to close it, a line of the scheduler log instead.

#include <string>

namespace acquisition {

class OperatorNotices {
public:
    virtual ~OperatorNotices() = default;

    // A box of `type`, or a scheduler log line while the scheduler runs.
    virtual void Warn(const std::string& text, unsigned type) = 0;
    // A time-stamped line of the scheduler log.
    virtual void LogScheduler(const std::string& text) = 0;
    // A new scheduler log, begun with a time-stamped line.
    virtual void BeginSchedulerLog(const std::string& text) = 0;
};

}  // namespace acquisition
