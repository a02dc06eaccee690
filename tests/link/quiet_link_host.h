#pragma once
// A link session host that hears nothing, for tests of a part that talks through a link
// session on in-memory ports with no frame above it. Both ports are fast lines, direct unless
// `modem` is set.

#include <string>

#include "link/link_session_host.h"
#include "link/port_record.h"

namespace linktest {

class QuietLinkHost : public LinkSessionHost {
public:
    QuietLinkHost() { record.m_nBaudRate = 38400; }

    void WaitWithMessages(unsigned) override {}
    void PumpWaitingMessages() override {}
    PortRecord& PortRecordOf(LinkSide) override { return record; }
    bool IsModemLink() override { return modem; }
    std::string BaudRateSetting() override { return ""; }
    void ShowLinkPane(const std::string&, COLORREF, COLORREF) override {}
    void OnQueueEmpty() override {}
    void OnAnswered(const CCommand&) override {}
    void OnWrongState(const CCommand&) override {}
    void OnGivenUp(const CCommand&, bool) override {}
    void OnTimedOut(const CCommand&) override {}
    void OnPowerOffSent() override {}
    void OnAlarm(const LinkAlarm&) override {}

    PortRecord record;
    bool modem = false;
};

}  // namespace linktest
