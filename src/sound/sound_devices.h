#pragma once
// The sound card's two sides as the pipe sees them: the capture side hands each buffer it
// filled to a record callback, the playback side asks a play callback for each buffer it is to
// play. This edition opens no sound device, so no thread of theirs runs; the objects hold the
// callbacks and pass buffers as those threads would.

#include <cstdint>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace sound {

// PCM samples as the card takes and gives them.
using SoundBuffer = std::vector<std::uint8_t>;

class SoundInput {
public:
    using RecordCallback = std::function<void(std::unique_ptr<SoundBuffer>)>;

    void SetRecordCallback(RecordCallback callback) { m_record = std::move(callback); }
    // A buffer the card filled, handed on as the capture thread does; without a callback it
    // is dropped.
    void Deliver(std::unique_ptr<SoundBuffer> buffer);

private:
    RecordCallback m_record;
};

class SoundOutput {
public:
    using PlayCallback = std::function<std::unique_ptr<SoundBuffer>()>;

    void SetPlayCallback(PlayCallback callback) { m_play = std::move(callback); }
    // The next buffer to play, as the playback thread asks for it; nullptr plays silence.
    std::unique_ptr<SoundBuffer> NextBuffer();

private:
    PlayCallback m_play;
};

}  // namespace sound
