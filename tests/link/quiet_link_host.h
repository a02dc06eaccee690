#pragma once
// A link session's host that tells nothing and is told nothing, for tests of what talks through
// the session rather than of the session itself.

#include <string>

#include "link/link_session_host.h"
#include "link/port_record.h"

namespace linktest {

class QuietLinkHost : public LinkSessionHost {
public:
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
