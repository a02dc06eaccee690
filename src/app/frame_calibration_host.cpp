#include "app/frame_calibration_host.h"

#include "acquisition/scheduler_dlg.h"
#include "acquisition/scheduler_run.h"
#include "app/frame_notices.h"
#include "link/link_session.h"

void FrameCalibrationHost::SendCommand(int code) {
    m_link.SendCommand(code, "", "");
}

maintenance::SchedulerConfirm FrameCalibrationHost::ConfirmMode() {
    return m_window.ConfirmMode() == acquisition::kCalIfErrorExceeds
               ? maintenance::SchedulerConfirm::IfErrorExceeds
               : maintenance::SchedulerConfirm::Always;
}

std::string FrameCalibrationHost::CalibrationThreshold() {
    return m_window.CalibrationThreshold();
}

void FrameCalibrationHost::LogScheduler(const std::string& text) {
    m_notices.LogScheduler(false, text, true);
}

void FrameCalibrationHost::SetSchedulerStep(int step) {
    m_run.SetState(step);
}
