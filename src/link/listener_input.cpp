#include "link/listener_input.h"

#include "link/command.h"
#include "link/link_port.h"

int ListenerInput::ReadArrived(void* buffer, size_t length, size_t* read) {
    return m_port.Read(buffer, length, read);
}

void ListenerInput::Request(int code) {
    const LinkPort::Turn turn = m_port.TakeTurn();
    m_port.Purge();
    m_port.WriteString(CommandLine(code));
}
