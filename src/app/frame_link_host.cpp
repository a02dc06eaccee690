#include "app/frame_link_host.h"

#include "app/frame_ui.h"
#include "app/kx9monitor_app.h"
#include "app/kx9monitor_view.h"
#include "app/main_frame.h"
#include "app/monitoring_session.h"
#include "platform/event_loop.h"

void FrameLinkHost::WaitWithMessages(unsigned ms) {
    TheApp().WaitWithMessages(ms);
}

void FrameLinkHost::PumpWaitingMessages() {
    // The windows are painted; timers, replies and the operator's commands wait for the end of
    // the exchange, which nothing may interrupt.
    platform::EventLoop::PumpWindowInput(nullptr);
}

PortRecord& FrameLinkHost::PortRecordOf(LinkSide side) {
    CKX9MonitorApp& app = TheApp();
    return side == LinkSide::Reference ? app.m_RefPort : app.m_TargetPort;
}

bool FrameLinkHost::IsModemLink() {
    return TheApp().m_bModemLink == 1;
}

std::string FrameLinkHost::BaudRateSetting() {
    return TheApp().m_EditStatus.m_strBaudRate;
}

void FrameLinkHost::ShowLinkPane(const std::string& text, COLORREF onColor, COLORREF offColor) {
    m_frame.Ui().SetPaneText(FrameUi::kStatusPane, text);
    m_frame.Ui().SetPaneColors(FrameUi::kStatusPane, onColor, offColor);
}

void FrameLinkHost::OnQueueEmpty() {
    m_frame.OnQueueEmpty();
}

void FrameLinkHost::OnAnswered(const CCommand& /*command*/) {
    // The setup wait box counts the replies of a whole read or send.
    if (m_frame.Ui().IsSetupWaitBoxShown())
        m_frame.Ui().StepSetupWaitProgress();
}

void FrameLinkHost::OnWrongState(const CCommand& command) {
    m_frame.OnWrongState(command);
}

void FrameLinkHost::OnGivenUp(const CCommand& command, bool refused) {
    m_frame.OnRefusedOrEmptyReply(command, refused);
}

void FrameLinkHost::OnTimedOut(const CCommand& command) {
    m_frame.OnCommandTimedOut(command);
}

void FrameLinkHost::OnPowerOffSent() {
    m_frame.Session().Disconnect();
}

void FrameLinkHost::OnAlarm(const LinkAlarm& alarm) {
    m_frame.OnSerialAlarm(alarm);
}
