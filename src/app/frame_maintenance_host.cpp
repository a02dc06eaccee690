#include "app/frame_maintenance_host.h"

#include "app/frame_notices.h"
#include "app/frame_scheduler.h"
#include "app/frame_timers.h"
#include "app/kx9monitor_app.h"
#include "app/kx9monitor_view.h"
#include "app/main_frame.h"
#include "link/direct_exchange.h"
#include "link/serial_line_settings.h"

namespace {
constexpr unsigned kTargetReplyMs = 1000;
constexpr int kTargetAttempts = 3;
constexpr unsigned kUpgradeEndPollMs = 1000;
}  // namespace

std::string FrameMaintenanceHost::ProgramDir() {
    return TheApp().m_strProgramDir;
}

int FrameMaintenanceHost::TargetComPort() {
    return TheApp().m_TargetPort.m_nComPort;
}

std::optional<std::string> FrameMaintenanceHost::ExchangeWithTarget(const std::string& command) {
    LinkSession& link = m_frame.Link();
    if (!m_frame.View() || !link.IsPortOpen(LinkSide::Target))
        return std::nullopt;
    return link.Exchange(link.PortOf(LinkSide::Target),
                         ExchangeRequest::Query(command, kTargetReplyMs, kTargetAttempts));
}

void FrameMaintenanceHost::CloseTargetPort() {
    m_frame.Link().ClosePort(LinkSide::Target);
}

bool FrameMaintenanceHost::ReopenTargetPort() {
    return m_frame.View() &&
           m_frame.Link().OpenPort(LinkSide::Target,
                                   PortSettings::Instrument(TheApp().m_TargetPort)) == 0;
}

bool FrameMaintenanceHost::BeginUpgrade() {
    return m_frame.Mode().BeginFirmwareUpgrade();
}

void FrameMaintenanceHost::EndUpgrade() {
    m_frame.Mode().EndFirmwareUpgrade();
    // Sending again: whatever waited in the queue goes now.
    m_frame.Link().WakeSendTick();
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
