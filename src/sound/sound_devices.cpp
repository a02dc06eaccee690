#include "sound/sound_devices.h"

namespace sound {

void SoundInput::Deliver(std::unique_ptr<SoundBuffer> buffer) {
    if (m_record)
        m_record(std::move(buffer));
}

std::unique_ptr<SoundBuffer> SoundOutput::NextBuffer() {
    return m_play ? m_play() : nullptr;
}

}  // namespace sound
