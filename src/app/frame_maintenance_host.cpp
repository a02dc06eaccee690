#include "app/frame_maintenance_host.h"

#include "app/frame_timers.h"
#include "app/main_frame.h"

namespace {
constexpr unsigned kUpgradeEndPollMs = 1000;
}  // namespace

bool FrameMaintenanceHost::HasView() {
    return m_frame.View() != nullptr;
}

void FrameMaintenanceHost::ArmEndTimer(bool on) {
    if (on)
        m_frame.Timers().Set(FrameTimers::kFirmwareUpgrade, kUpgradeEndPollMs);
    else
        m_frame.Timers().Kill(FrameTimers::kFirmwareUpgrade);
}

bool FrameMaintenanceHost::StartWriter(const std::string& /*folder*/, std::string& why) {
    why = kWriterMissing;
    return false;
}
