#pragma once
// A link session's host that tells nothing and is told nothing, for tests of what talks through
// the session rather than of the session itself: the waits are the test's (none by default),
// the port records its own or those it is given.

#include <functional>
#include <string>
#include <utility>

#include "link/link_session_host.h"
#include "link/link_side.h"
#include "link/port_record.h"

namespace linktest {

class QuietLinkHost : public LinkSessionHost {
public:
    // Its own record for both sides; no wait.
    QuietLinkHost() = default;
    QuietLinkHost(PortRecord& reference, PortRecord& target, std::function<void(unsigned)> wait)
        : m_reference(&reference), m_target(&target), m_wait(std::move(wait)) {}

    void WaitWithMessages(unsigned ms) override {
        if (m_wait)
            m_wait(ms);
    }
    void PumpWaitingMessages() override {}
    PortRecord& PortRecordOf(LinkSide side) override {
        PortRecord* given = side == LinkSide::Reference ? m_reference : m_target;
        return given ? *given : record;
    }
    bool IsModemLink() override { return modem; }
    std::string BaudRateSetting() override { return {}; }
    void ShowLinkPane(const std::string&, COLORREF, COLORREF) override {}
    void OnQueueEmpty() override {}
    void OnAnswered(const CCommand&) override {}
    void OnWrongState(const CCommand&) override {}
    void OnGivenUp(const CCommand&, bool) override {}
    void OnTimedOut(const CCommand&) override {}
    void OnPowerOffSent() override {}
    void OnAlarm(const LinkAlarm&) override {}

    // Both sides' record unless others were given.
    PortRecord record;
    // Whether the link goes through a modem.
    bool modem = false;

private:
    // Those given, or none: the own record. A reference bound to the own record before the
    // host exists would reach into an object not yet built.
    PortRecord* m_reference = nullptr;
    PortRecord* m_target = nullptr;
    std::function<void(unsigned)> m_wait;
};

}  // namespace linktest
