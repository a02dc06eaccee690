#pragma once
// What the guided programs of a scheduled run (the electric calibration) need of the program:
// the link's queue, the scheduler window's confirmation choice and its threshold, the
// scheduler log and the run's step.

#include <string>

#include "maintenance/electric_calibration.h"

class FrameNotices;
class LinkSession;
namespace acquisition {
class CSchedulerDlg;
class SchedulerRun;
}  // namespace acquisition

class FrameCalibrationHost : public maintenance::ElectricCalibHost {
public:
    // `run` may be built after the host.
    FrameCalibrationHost(LinkSession& link, FrameNotices& notices,
                         acquisition::CSchedulerDlg& window, acquisition::SchedulerRun& run)
        : m_link(link), m_notices(notices), m_window(window), m_run(run) {}

    void SendCommand(int code) override;
    maintenance::SchedulerConfirm ConfirmMode() override;
    std::string CalibrationThreshold() override;
    void LogScheduler(const std::string& text) override;
    void SetSchedulerStep(int step) override;

private:
    LinkSession& m_link;
    FrameNotices& m_notices;
    acquisition::CSchedulerDlg& m_window;
    acquisition::SchedulerRun& m_run;
};
