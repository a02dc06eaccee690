#include "sound/pointer_fifo.h"

namespace sound {

bool PointerFifo::Push(std::unique_ptr<SoundBuffer> buffer) {
    {
        std::lock_guard lock(m_mutex);
        if (m_buffers.size() >= static_cast<std::size_t>(kMaxCount))
            return false;
        m_buffers.push_back(std::move(buffer));
    }
    // Counted in only once it can be taken, so the count never passes the buffers held.
    m_waiting.release();
    return true;
}

std::unique_ptr<SoundBuffer> PointerFifo::TryPop() {
    if (!m_waiting.try_acquire())
        return nullptr;
    std::lock_guard lock(m_mutex);
    std::unique_ptr<SoundBuffer> oldest = std::move(m_buffers.front());
    m_buffers.pop_front();
    return oldest;
}

std::size_t PointerFifo::Count() const {
    std::lock_guard lock(m_mutex);
    return m_buffers.size();
}

}  // namespace sound
