#include "link/link_port.h"

int LinkPort::WriteString(const std::string& text, size_t* written) {
    const Turn turn = TakeTurn();
    return WriteBytes(text, written);
}

int LinkPort::Read(void* buffer, size_t length, size_t* read) {
    const Turn turn = TakeTurn();
    return ReadBytes(buffer, length, read);
}

int LinkPort::Purge() {
    const Turn turn = TakeTurn();
    return PurgeBytes();
}

LinkPort::Turn LinkPort::TakeTurn() {
    Turn turn(m_line, std::try_to_lock);
    if (!turn.owns_lock()) {
        ++m_waiting;
        turn.lock();
        --m_waiting;
    }
    return turn;
}
