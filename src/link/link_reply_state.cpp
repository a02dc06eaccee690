#include "link/link_reply_state.h"

#include <utility>

LinkFlag& LinkFlag::operator=(BOOL value) {
    {
        std::lock_guard lock(m_owner.m_mutex);
        m_value = value != FALSE;
    }
    m_owner.m_changed.notify_all();
    return *this;
}

void LinkReplyState::SetCurrentReader(int readerId) {
    {
        std::lock_guard lock(m_mutex);
        m_currentReader = readerId;
    }
    m_changed.notify_all();
}

void LinkReplyState::SetDumpDecoder(DumpDecoderFn decoder) {
    {
        std::lock_guard lock(m_mutex);
        m_dumpDecoder = std::move(decoder);
    }
    m_changed.notify_all();
}

LinkReplyState::DumpDecoderFn LinkReplyState::DumpDecoder() const {
    std::lock_guard lock(m_mutex);
    return m_dumpDecoder;
}

bool LinkReplyState::MayReadLocked(int readerId) const {
    if (!receiveEnabled.m_value || m_currentReader != readerId)
        return false;
    return !dumpMode.m_value || m_dumpDecoder != nullptr;
}

bool LinkReplyState::MayRead(int readerId) const {
    std::lock_guard lock(m_mutex);
    return MayReadLocked(readerId);
}

bool LinkReplyState::WaitUntilReadable(int readerId, const std::atomic<bool>& stop) {
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [&] { return stop.load() || MayReadLocked(readerId); });
    return !stop.load();
}

void LinkReplyState::CompleteReply() {
    {
        std::lock_guard lock(m_mutex);
        receiveEnabled.m_value = false;
    }
    m_changed.notify_all();
}

void LinkReplyState::PushAlarm(LinkAlarm alarm) {
    std::lock_guard lock(m_mutex);
    m_alarms.push_back(std::move(alarm));
}

std::vector<LinkAlarm> LinkReplyState::TakeAlarms() {
    std::lock_guard lock(m_mutex);
    return std::exchange(m_alarms, {});
}

void LinkReplyState::WakeListeners() {
    { std::lock_guard lock(m_mutex); }
    m_changed.notify_all();
}
