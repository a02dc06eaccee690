#pragma once
// What a scheduled run needs of the program, served by the main frame: its link session, its
// connect routines and timers, the electric calibration, the memory download, the record files
// and the scheduler log.

#include <cstdint>
#include <optional>
#include <string>

#include "acquisition/scheduler_run_host.h"

class CMainFrame;

class FrameSchedulerRunHost : public acquisition::SchedulerRunHost {
public:
    explicit FrameSchedulerRunHost(CMainFrame& frame) : m_frame(frame) {}

    std::time_t Now() override;
    void KillRecordWatchdog() override;
    void KillStatusPoll() override;
    void OnAcquisitionStart(records::RecordKind kind) override;
    void StartRecordingBlink() override;
    void AddSpectrumGap(records::RecordKind kind) override;

    void StartElectricCalibration() override;
    void CloseElectricCalibrationWindow() override;

    void Log(const std::string& text) override;

private:
    CMainFrame& m_frame;
    std::optional<std::time_t> m_anchor;
    std::uint32_t m_anchorTick = 0;
};
