#pragma once
// A first-in first-out queue of sound buffers between the card's threads and the file side,
// counted by a semaphore (none at first, at most kMaxCount): the side that fills it never
// waits, and a full queue refuses the buffer instead of growing.

#include <cstddef>
#include <deque>
#include <memory>
#include <mutex>
#include <semaphore>

#include "sound/sound_devices.h"

namespace sound {

class PointerFifo {
public:
    static constexpr std::ptrdiff_t kMaxCount = 10000;

    // False when kMaxCount buffers wait already; the buffer is freed then.
    bool Push(std::unique_ptr<SoundBuffer> buffer);
    // The oldest buffer; nullptr when none waits. Never waits itself.
    std::unique_ptr<SoundBuffer> TryPop();
    std::size_t Count() const;

private:
    mutable std::mutex m_mutex;
    std::deque<std::unique_ptr<SoundBuffer>> m_buffers;
    std::counting_semaphore<kMaxCount> m_waiting{0};
};

}  // namespace sound
