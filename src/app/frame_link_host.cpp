#include "app/frame_link_host.h"

#include "app/frame_notices.h"
#include "app/frame_timers.h"
#include "app/frame_ui.h"
#include "link/command_codes.h"
#include "link/link_reply_state.h"
#include "link/link_session.h"
#include "link/meter_mode.h"
#include "platform/event_loop.h"
#include "platform/operator.h"
#include "platform/text.h"

using namespace command_code;

void FrameLinkHost::WaitWithMessages(unsigned ms) {
    m_uses.wait(ms);
}

void FrameLinkHost::PumpWaitingMessages() {
    // The windows are painted; timers, replies, the operator's commands and a close of the
    // window wait for the end of the exchange, which nothing may interrupt.
    platform::EventLoop::PumpWindowInput(nullptr);
}

void FrameLinkHost::ShowLinkPane(const std::string& text, COLORREF onColor, COLORREF offColor) {
    m_uses.ui.SetPaneText(FrameUi::kStatusPane, text);
    m_uses.ui.SetPaneColors(FrameUi::kStatusPane, onColor, offColor);
}

void FrameLinkHost::OnQueueEmpty() {
    // A setup send is over once its last command went.
    if (!m_uses.link.Mode().EndSetupSend())
        return;
    m_uses.ui.DestroySetupWaitBox();
}

void FrameLinkHost::OnAnswered(const CCommand& /*command*/) {
    // The setup wait box counts the replies of a whole read or send.
    if (m_uses.ui.IsSetupWaitBoxShown())
        m_uses.ui.StepSetupWaitProgress();
}

void FrameLinkHost::OnWrongState(const CCommand& command) {
    m_uses.notices.Warn(
        platform::Format("WARNING : WRONG INSTR STATUS Received.\n\n(Command = %d ,param = %s)",
                         command.GetCode(), command.GetName().c_str()),
        MB_OK);
    TellLost(command);
}

// The third refusal or silence: the command is given up.
void FrameLinkHost::OnGivenUp(const CCommand& command, bool refused) {
    for (const GivenUpTaker& taker : m_givenUpTakers)
        if (taker(command, refused))
            return;
    const int code = command.GetCode();
    const std::string message =
        refused
            ? platform::Format("WARNING : Command not recognized.\n\n(Command = %d ,param = %s)",
                               code, command.GetName().c_str())
            : "WARNING: Empty message received" + command.GetText();
    if (m_uses.link.Mode().IsSchedulerMode())
        m_uses.notices.LogScheduler(false, refused ? message : "WARNING: Empty message received",
                                    false);
    else if (code == kDataLogKey)
        platform::AfxMessageBox(
            "ERROR: Logging not allowed.\nPlease check if any channel is selected.", MB_ICONSTOP);
    else
        platform::AfxMessageBox(message);
    TellLost(command);
}

void FrameLinkHost::TellLost(const CCommand& command) const {
    for (const LostListener& listener : m_lostListeners)
        listener(command);
}

void FrameLinkHost::OnTimedOut(const CCommand& command) {
    // The status poll asks this; a meter that does not answer it is not polled on.
    if (command.GetCode() == kAcquisitionQuery)
        m_uses.timers.Kill(FrameTimers::kStatusPoll);
    for (const TimeOutTaker& taker : m_timeOutTakers)
        if (taker(command))
            return;
}

void FrameLinkHost::OnMonitorStartRefused(MeterActivity holder) {
    m_uses.notices.Log(MonitorStartRefusal(holder));
}

void FrameLinkHost::OnPowerOffSent() {
    if (m_onPowerOff)
        m_onPowerOff();
}

void FrameLinkHost::OnAlarm(const LinkAlarm& alarm) {
    switch (alarm.kind) {
        case LinkAlarm::Kind::BufferFull:
            platform::AfxMessageBox("ERROR:Serial Buffer full", MB_ICONEXCLAMATION);
            break;
        case LinkAlarm::Kind::NoCarrier:
            if (m_uses.link.Mode().IsSchedulerMode())
                m_uses.notices.LogScheduler(
                    false, platform::Format("Comunication error: %s.", alarm.text.c_str()), false);
            else
                platform::AfxMessageBox(
                    "ERROR: NO CARRIER detect.\nPlease check line and modem configuration.",
                    MB_ICONSTOP);
            break;
    }
}
