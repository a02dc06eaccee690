#pragma once
// What the link session needs of the application. The session keeps the conversation with the
// meter (queue, resends, time-outs, the ports); the application keeps its meaning: what a
// command given up means, what a warning says, what the status bar shows. The good replies go
// to the owners of their codes (ReplyRouter); the settings the session reads it is handed
// (LinkSettings).

#include <string>

#include "platform/win_types.h"

class CCommand;
struct LinkAlarm;
struct PortRecord;
enum class MeterActivity;

// The link pane's colours while a meter is connected.
inline constexpr COLORREF kLinkPaneConnected = 0x00FF00;
inline constexpr COLORREF kLinkPaneOff = 0xFFFF00;
// The link pane's text while a meter is connected on `record`'s port, at its rate.
std::string ConnectedPaneText(const PortRecord& record);

class LinkSessionHost {
public:
    virtual ~LinkSessionHost() = default;

    // --- the application
    // The message-pumping wait (CKX9MonitorApp::WaitWithMessages), program milliseconds.
    virtual void WaitWithMessages(unsigned ms) = 0;
    // Lets the application handle the window messages that wait now, between the checks of
    // an exchange that confirms a state (ExchangeAndWait); nothing it does may reach the link.
    virtual void PumpWaitingMessages() = 0;

    // --- the frame
    // Status-bar pane 1, the link's (kLinkPaneConnected and kLinkPaneOff while connected).
    virtual void ShowLinkPane(const std::string& text, COLORREF onColor, COLORREF offColor) = 0;
    // The send tick found the queue empty.
    virtual void OnQueueEmpty() = 0;
    // A good reply to `command` came; the owner of its code has it next. The command is out of
    // the queue.
    virtual void OnAnswered(const CCommand& command) = 0;
    // The reply began with '#': the meter was in the wrong state for `command`.
    virtual void OnWrongState(const CCommand& command) = 0;
    // The third refusal (refused) or empty reply of `command`, which is given up.
    virtual void OnGivenUp(const CCommand& command, bool refused) = 0;
    // `command` went unanswered through all its resends and is given up.
    virtual void OnTimedOut(const CCommand& command) = 0;
    // "STT:MON:ON" went out while `holder` held the meter, which the mode keeps.
    virtual void OnMonitorStartRefused(MeterActivity holder) = 0;
    // "KEY:OFF" went out: the meter switches off and the link ends.
    virtual void OnPowerOffSent() = 0;
    // A listener's alarm: a reply that overflowed, a lost carrier.
    virtual void OnAlarm(const LinkAlarm& alarm) = 0;
};
