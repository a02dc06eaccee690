#pragma once
// The link's two serial ports: the reference meter's, which carries the monitoring link, and
// the instrument under test's. The link session owns them and their listeners share its reply
// state; nothing outside the link opens, sets up, closes, writes, reads or purges them.

#include <memory>

#include "link/link_side.h"
#include "link/serial_wnd.h"

class LinkReplyState;

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
