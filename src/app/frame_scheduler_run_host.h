#pragma once
// What a scheduled run needs of the program besides the link, the connect routines, the session
// operations and the windows it is handed: the local time, the frame's timers, the live
// displays and the scheduler log.

#include <cstdint>
#include <optional>
#include <string>

#include "acquisition/scheduler_run_host.h"

class ChartWindows;
class FrameNotices;
class FrameTimers;

class FrameSchedulerRunHost : public acquisition::SchedulerRunHost {
public:
    // `charts`: the graph legend and the live spectra.
    FrameSchedulerRunHost(FrameTimers& timers, ChartWindows& charts, FrameNotices& notices)
        : m_timers(timers), m_charts(charts), m_notices(notices) {}

    std::time_t Now() override;
    void KillRecordWatchdog() override;
    void KillStatusPoll() override;
    void OnAcquisitionStart(records::RecordKind kind) override;
    void StartRecordingBlink() override;
    void AddSpectrumGap(records::RecordKind kind) override;

    void Log(const std::string& text) override;

private:
    FrameTimers& m_timers;
    ChartWindows& m_charts;
    FrameNotices& m_notices;
    std::optional<std::time_t> m_anchor;
    std::uint32_t m_anchorTick = 0;
};
