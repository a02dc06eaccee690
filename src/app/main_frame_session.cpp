// The guided electric calibration of a scheduled run: its window and the states it starts
// from.

#include "app/main_frame.h"
#include "app/maintenance_commands.h"
#include "link/command_codes.h"

namespace {
constexpr int kElectricCalibrationRoutine = 0;
}  // namespace

void CMainFrame::StartElectricCalibration() {
    // Refused while the meter is held otherwise: the run's watchdog then ends the calibration
    // as one that never answered.
    if (!Mode().BeginElectricCalibration())
        return;
    m_maintenance->OpenElectricCalibration(kElectricCalibrationRoutine);
    SendCommand(command_code::kAcquisitionQuery, "", "");
    SendCommand(command_code::kDisplayQuery, "", "");
}
