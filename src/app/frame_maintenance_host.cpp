#include "app/frame_maintenance_host.h"

#include "app/frame_timers.h"
#include "app/view_lookup.h"

namespace {
constexpr unsigned kUpgradeEndPollMs = 1000;
}  // namespace

bool FrameMaintenanceHost::HasView() {
    return m_views.Shown() != nullptr;
}

void FrameMaintenanceHost::ArmEndTimer(bool on) {
    if (on)
        m_timers.Set(FrameTimers::kFirmwareUpgrade, kUpgradeEndPollMs);
    else
        m_timers.Kill(FrameTimers::kFirmwareUpgrade);
}

bool FrameMaintenanceHost::StartWriter(const std::string& /*folder*/, std::string& why) {
    why = kWriterMissing;
    return false;
}
