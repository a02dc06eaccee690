#include "link/link_ports.h"

LinkPorts::LinkPorts(const std::shared_ptr<LinkReplyState>& state)
    : m_target(state, static_cast<int>(LinkSide::Target)),
      m_reference(state, static_cast<int>(LinkSide::Reference)) {}

void LinkPorts::CloseAll() {
    m_target.Close();
    m_reference.Close();
}
