#pragma once
// What a scheduled run needs of the program besides the link, the connect routines, the session
// operations, the windows and the notices it is handed: the local time, the frame's timers and
// the live displays.

#include <cstdint>
#include <optional>
#include <string>

#include "acquisition/scheduler_run_host.h"

class ChartWindows;
class FrameTimers;

class FrameSchedulerRunHost : public acquisition::SchedulerRunHost {
public:
    // `charts`: the graph legend and the live spectra.
    FrameSchedulerRunHost(FrameTimers& timers, ChartWindows& charts)
        : m_timers(timers), m_charts(charts) {}

    std::time_t Now() override;
    void KillRecordWatchdog() override;
    void KillStatusPoll() override;
    void OnAcquisitionStart(records::RecordKind kind) override;
    void StartRecordingBlink() override;
    void AddSpectrumGap(records::RecordKind kind) override;

private:
    FrameTimers& m_timers;
    ChartWindows& m_charts;
    std::optional<std::time_t> m_anchor;
    std::uint32_t m_anchorTick = 0;
};
