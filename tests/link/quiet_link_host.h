#pragma once
// A link session's host that tells nothing and is told nothing, for tests of what talks through
// the session rather than of the session itself: the waits are the test's (none by default),
// and the settings it hands the session (Settings) name the port records it is given, or its
// own, its modem flag and its edited setup.

#include <functional>
#include <string>
#include <utility>

#include "link/instr_status.h"
#include "link/link_session_host.h"
#include "link/link_settings.h"
#include "link/port_record.h"

namespace linktest {

class QuietLinkHost : public LinkSessionHost {
public:
    // Its own record for both sides; no wait.
    QuietLinkHost() = default;
    QuietLinkHost(PortRecord& reference, PortRecord& target, std::function<void(unsigned)> wait)
        : m_reference(&reference), m_target(&target), m_wait(std::move(wait)) {}

    // What a session built with this host reads.
    LinkSettings Settings() {
        return {.targetPort = m_target ? *m_target : record,
                .referencePort = m_reference ? *m_reference : record,
                .modemLink = modemLink,
                .edited = edited};
    }

    void WaitWithMessages(unsigned ms) override {
        if (m_wait)
            m_wait(ms);
    }
    void PumpWaitingMessages() override {}
    void ShowLinkPane(const std::string&, COLORREF, COLORREF) override {}
    void OnQueueEmpty() override {}
    void OnAnswered(const CCommand&) override {}
    void OnWrongState(const CCommand&) override {}
    void OnGivenUp(const CCommand&, bool) override {}
    void OnTimedOut(const CCommand&) override {}
    void OnMonitorStartRefused(MeterActivity) override {}
    void OnPowerOffSent() override {}
    void OnAlarm(const LinkAlarm&) override {}

    // Both sides' record unless others were given.
    PortRecord record;
    // The monitoring link's connection: 1 through a modem.
    int modemLink = 0;
    CInstrStatus edited;

private:
    // Those given, or none: the own record. A reference bound to the own record before the
    // host exists would reach into an object not yet built.
    PortRecord* m_reference = nullptr;
    PortRecord* m_target = nullptr;
    std::function<void(unsigned)> m_wait;
};

}  // namespace linktest
