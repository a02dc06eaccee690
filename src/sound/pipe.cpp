#include "sound/pipe.h"

#include <utility>

namespace sound {

CPipe::CPipe() {
    m_input.SetRecordCallback(
        [this](std::unique_ptr<SoundBuffer> buffer) { m_recordQueue.Push(std::move(buffer)); });
    m_output.SetPlayCallback([this] { return m_playQueue.TryPop(); });
}

}  // namespace sound
