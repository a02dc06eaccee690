#pragma once
// The pipe that couples the sound card to a file: captured buffers queue up for the writer,
// buffers read from a file queue up for playback. Building it opens no device and starts no
// thread; the card's sides reach the queues through the callbacks it installs.

#include "sound/pointer_fifo.h"
#include "sound/sound_devices.h"

namespace sound {

class CPipe {
public:
    CPipe();
    virtual ~CPipe() = default;
    CPipe(const CPipe&) = delete;
    CPipe& operator=(const CPipe&) = delete;

    SoundInput& Input() { return m_input; }
    SoundOutput& Output() { return m_output; }
    // Captured buffers waiting to be written; a full queue drops what the card captures.
    PointerFifo& RecordQueue() { return m_recordQueue; }
    // Buffers waiting to be played; an empty queue plays silence.
    PointerFifo& PlayQueue() { return m_playQueue; }

private:
    SoundInput m_input;
    PointerFifo m_recordQueue;
    PointerFifo m_playQueue;
    SoundOutput m_output;
};

}  // namespace sound
