#include "app/frame_scheduler_run_host.h"

#include <cstdint>
#include <vector>

#include "app/chart_windows.h"
#include "app/frame_timers.h"
#include "app/kx9monitor_app.h"
#include "platform/clock.h"

namespace {
// Rows the live 3-D spectrum window holds before it starts afresh.
constexpr int kFullSpectrumGraphRows = 2000;
}  // namespace

std::time_t FrameSchedulerRunHost::Now() {
    using platform::Clock;
    if (Clock::Speed() == 1.0)
        return Clock::Now();
    // A faster program clock (a test's) runs the schedule with it: the wall clock when first
    // asked, and the program time since.
    if (!m_anchor) {
        m_anchor = Clock::Now();
        m_anchorTick = Clock::TickCount();
    }
    return *m_anchor + static_cast<std::time_t>((Clock::TickCount() - m_anchorTick) / 1000);
}

void FrameSchedulerRunHost::KillRecordWatchdog() {
    m_timers.Kill(FrameTimers::kIntegrationEnd);
}

void FrameSchedulerRunHost::KillStatusPoll() {
    m_timers.Kill(FrameTimers::kStatusPoll);
}

void FrameSchedulerRunHost::OnAcquisitionStart(records::RecordKind kind) {
    TheApp().m_strCurrentFile = TheApp().ProgramPath(std::string("\\") + records::kRecordIndexName);
    if (kind->shape == records::RecordShape::Levels)
        m_charts.ShowLegend();
}

void FrameSchedulerRunHost::StartRecordingBlink() {
    m_timers.Set(FrameTimers::kRecordingBlink, FrameTimers::kRecordingBlinkMs);
}

void FrameSchedulerRunHost::AddSpectrumGap(records::RecordKind kind) {
    charts::CDemoDlg& window = m_charts.LiveSpectra();
    if (!window.HasWindow() || !kind.IsSpectrum())
        return;
    if (window.Row() >= kFullSpectrumGraphRows)
        window.ClearRows();
    const std::vector<std::uint16_t> zeros(static_cast<size_t>(kind->valuesPerSample), 0);
    for (int row = 0; row < charts::CDemoDlg::kSeparatorRows; ++row)
        window.AddSpectrumRow(zeros);
}
