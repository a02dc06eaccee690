#pragma once
// What a scheduled run needs of the program beyond the link session, the connect routines, the
// session operations, the windows and the notices it is handed: the local time, the frame's
// timers and the live displays. The scheduler implements it; tests give an in-memory one.

#include <ctime>

#include "records/record_kind.h"

namespace acquisition {

class SchedulerRunHost {
public:
    virtual ~SchedulerRunHost() = default;

    // The local date and time now, in whole seconds.
    virtual std::time_t Now() = 0;

    // --- monitoring
    // Frame timer 13, the watchdog of the record stream (also the integration end).
    virtual void KillRecordWatchdog() = 0;
    // Frame timer 9.
    virtual void KillStatusPoll() = 0;
    // An acquisition starts: the current file becomes the run's record index, the report list
    // is prepared for `kind` when it is not, the graph legend of a level recording shown.
    virtual void OnAcquisitionStart(records::RecordKind kind) = 0;
    // The recording's blinking caption (frame timer 6).
    virtual void StartRecordingBlink() = 0;
    // Ten all-zero rows in the live 3-D spectrum window of a spectrum recording, when it
    // exists, as a visible gap.
    virtual void AddSpectrumGap(records::RecordKind kind) = 0;
};

}  // namespace acquisition
