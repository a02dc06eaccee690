#pragma once
// What the guided programs of a scheduled run (the electric calibration) need of the
// scheduler: the window's confirmation choice and its threshold, the scheduler log and the
// run's step.

#include <string>

#include "maintenance/electric_calibration.h"

class FrameNotices;
namespace acquisition {
class CSchedulerDlg;
class SchedulerRun;
}  // namespace acquisition

class FrameCalibrationHost : public maintenance::ElectricCalibHost {
public:
    // `run` may be built after the host.
    FrameCalibrationHost(FrameNotices& notices, acquisition::CSchedulerDlg& window,
                         acquisition::SchedulerRun& run)
        : m_notices(notices), m_window(window), m_run(run) {}

    maintenance::SchedulerConfirm ConfirmMode() override;
    std::string CalibrationThreshold() override;
    void TellScheduler(const std::string& logLine, int step) override;

private:
    FrameNotices& m_notices;
    acquisition::CSchedulerDlg& m_window;
    acquisition::SchedulerRun& m_run;
};
