#pragma once
// The link's two serial ports: the reference meter's, which carries the monitoring link, and
// the instrument under test's. The link session owns them and their listeners share its reply
// state; outside the link they are opened, set up and closed, never written, read or purged.

#include <memory>

#include "link/serial_wnd.h"

class LinkReplyState;

// Which of the two ports; also the port's reader id.
enum class LinkSide { Target = 0, Reference = 1 };

class LinkPorts {
public:
    explicit LinkPorts(const std::shared_ptr<LinkReplyState>& state);

    CSerialMFC& Of(LinkSide side) { return side == LinkSide::Reference ? m_reference : m_target; }
    // Both closed, their listeners ended.
    void CloseAll();

private:
    CSerialMFC m_target;
    CSerialMFC m_reference;
};
