#pragma once
// What the user-interface thread and the serial listener threads share about the reply that is
// being awaited: the flag that lets a listener read, the memory-dump mode and the listeners'
// alarms. The link session and every port of the link hold the same object; the reply itself
// travels in the listener's message.
//
// A listener reads only while the receive flag is set and its port is the link's current
// reader; otherwise it sleeps on this object's condition, so bytes meant for a direct exchange
// stay in the driver queue. Only the link writes the receive flag.

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "platform/win_types.h"

class ListenerInput;
class LinkReplyState;

// A flag that a listener's sleep depends on: changing it wakes the listeners.
class LinkFlag {
public:
    explicit LinkFlag(LinkReplyState& owner) : m_owner(owner) {}
    LinkFlag(const LinkFlag&) = delete;
    LinkFlag& operator=(BOOL value);
    operator BOOL() const { return m_value.load() ? TRUE : FALSE; }

private:
    friend class LinkReplyState;
    LinkReplyState& m_owner;
    std::atomic<bool> m_value{false};
};

struct LinkAlarm {
    enum class Kind { BufferFull, NoCarrier };
    Kind kind;
    std::string text;  // the collected bytes, for NO CARRIER
};

class LinkReplyState {
    // First, so that the members below may use it.
    mutable std::mutex m_mutex;

public:
    LinkReplyState() = default;
    LinkReplyState(const LinkReplyState&) = delete;
    LinkReplyState& operator=(const LinkReplyState&) = delete;

    // Set: a reply is awaited and the current reader collects it.
    LinkFlag receiveEnabled{*this};
    // The frame's download flag: replies are a memory dump that the decoder reads itself.
    LinkFlag dumpMode{*this};

    // Which port's listener delivers replies (the ports' reader ids).
    void SetCurrentReader(int readerId);
    int CurrentReader() const { return m_currentReader.load(); }

    // The memory-dump decoder, run on the listener thread while dump mode and the receive flag
    // are set: the listener calls it again and again, and it waits for the meter's bytes
    // itself. Without a decoder the listener leaves a dump alone.
    using DumpDecoderFn = std::function<void(ListenerInput& input)>;
    void SetDumpDecoder(DumpDecoderFn decoder);
    DumpDecoderFn DumpDecoder() const;

    // Listener side. Blocks until `readerId` may read (true) or `stop` is set (false).
    bool WaitUntilReadable(int readerId, const std::atomic<bool>& stop);
    bool MayRead(int readerId) const;
    // The end of a reply: the receive flag drops before the reply is posted.
    void CompleteReply();
    void PushAlarm(LinkAlarm alarm);
    std::vector<LinkAlarm> TakeAlarms();
    // Wakes every listener sleeping on this object (a port closing, a flag changed).
    void WakeListeners();

private:
    friend class LinkFlag;
    bool MayReadLocked(int readerId) const;

    std::condition_variable m_changed;
    std::atomic<int> m_currentReader{0};
    DumpDecoderFn m_dumpDecoder;
    std::vector<LinkAlarm> m_alarms;
};
