#include "app/frame_calibration_host.h"

#include "acquisition/scheduler_dlg.h"
#include "acquisition/scheduler_run.h"
#include "app/frame_notices.h"

maintenance::SchedulerConfirm FrameCalibrationHost::ConfirmMode() {
    return m_window.ConfirmMode() == acquisition::kCalIfErrorExceeds
               ? maintenance::SchedulerConfirm::IfErrorExceeds
               : maintenance::SchedulerConfirm::Always;
}

std::string FrameCalibrationHost::CalibrationThreshold() {
    return m_window.CalibrationThreshold();
}

void FrameCalibrationHost::TellScheduler(const std::string& logLine, int step) {
    m_notices.LogScheduler(false, logLine, true);
    m_run.SetState(step);
}
