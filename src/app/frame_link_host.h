#pragma once
// The link session's host: what the link needs of the program (its waits) and what the link's
// events mean to it: a command refused, given up or timed out, a listener's alarm, the setup
// send's end, a monitoring start the meter was too busy for, the meter switched off. The parts
// built after the link that own what a lost command means to them register it here when they
// are built, as they register their replies with the link's router.

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "link/link_session_host.h"

class FrameNotices;
class FrameTimers;
class FrameUi;
class LinkSession;

class FrameLinkHost : public LinkSessionHost {
public:
    // What the host uses, none of it owned.
    struct Uses {
        // The session this host serves, and the notices, which read the session's mode: both
        // may be built after the host, which uses them only once the session calls.
        LinkSession& link;
        FrameNotices& notices;
        FrameUi& ui;
        FrameTimers& timers;
        // The application's message-pumping wait.
        std::function<void(unsigned ms)> wait;
    };

    // A lost command's taker: true when it took the command, which ends the search.
    using GivenUpTaker = std::function<bool(const CCommand& command, bool refused)>;
    using TimeOutTaker = std::function<bool(const CCommand& command)>;
    using LostListener = std::function<void(const CCommand& command)>;

    explicit FrameLinkHost(const Uses& uses) : m_uses(uses) {}
    FrameLinkHost(const FrameLinkHost&) = delete;
    FrameLinkHost& operator=(const FrameLinkHost&) = delete;

    // Asked in the order registered, before this host says what a command given up means.
    void AddGivenUpTaker(GivenUpTaker taker) { m_givenUpTakers.push_back(std::move(taker)); }
    // Asked in the order registered; a time-out nobody takes leaves the queue going on.
    void AddTimeOutTaker(TimeOutTaker taker) { m_timeOutTakers.push_back(std::move(taker)); }
    // Told of a command given up or answered in the wrong state once this host has said so
    // (a taker that took a command leaves it untold), so that what waited on it goes on.
    void AddLostListener(LostListener listener) { m_lostListeners.push_back(std::move(listener)); }
    // What "KEY:OFF" gone out ends.
    void SetPowerOffHandler(std::function<void()> handler) { m_onPowerOff = std::move(handler); }

    void WaitWithMessages(unsigned ms) override;
    void PumpWaitingMessages() override;

    void ShowLinkPane(const std::string& text, COLORREF onColor, COLORREF offColor) override;
    void OnQueueEmpty() override;
    void OnAnswered(const CCommand& command) override;
    void OnWrongState(const CCommand& command) override;
    void OnGivenUp(const CCommand& command, bool refused) override;
    void OnTimedOut(const CCommand& command) override;
    void OnMonitorStartRefused(MeterActivity holder) override;
    void OnPowerOffSent() override;
    void OnAlarm(const LinkAlarm& alarm) override;

private:
    void TellLost(const CCommand& command) const;

    Uses m_uses;
    std::vector<GivenUpTaker> m_givenUpTakers;
    std::vector<TimeOutTaker> m_timeOutTakers;
    std::vector<LostListener> m_lostListeners;
    std::function<void()> m_onPowerOff;
};
