#pragma once
// What a scheduled run shows on the scheduler's window: its running caption, the run's
// records once it ended, and the settings given back. The scheduler window implements it.

#include <string>

namespace acquisition {

class RunWindow {
public:
    virtual ~RunWindow() = default;

    virtual const std::string& Caption() const = 0;
    virtual void SetCaption(const std::string& caption) = 0;
    // The run's records become "Scheduler.kr9", which the main view shows.
    virtual void ShowRunResult() = 0;
    // The settings enabled again, START enabled, STOP disabled, and the run's end told.
    virtual void OnRunEnded() = 0;
};

}  // namespace acquisition
