#pragma once
// A serial port with a listener thread that collects the awaited reply up to its ETX byte and
// posts "CSerialWnd_DefaultComMsg" to its owner with the reply's text in the message
// (MessageTarget::OnTextMessage). Whether a reply is awaited is the link's shared state
// (LinkReplyState).

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "link/link_reply_state.h"
#include "link/serial.h"

namespace platform {
class MessageTarget;
}

class CSerialWnd : public CSerial {
public:
    // A reply that reaches this many bytes without its ETX is thrown away.
    static constexpr size_t kReplyLimit = 1024;

    // The port's listener reads only while `link` names `readerId` as its current reader.
    explicit CSerialWnd(std::shared_ptr<LinkReplyState> link = std::make_shared<LinkReplyState>(),
                        int readerId = 0);
    ~CSerialWnd() override;

    // Opens the port and starts its listener. `message` 0 is the registered default message.
    virtual int Open(const std::string& device, platform::MessageTarget* owner,
                     unsigned message = 0, std::intptr_t lParam = 0, int inputQueue = 0,
                     int outputQueue = 0);
    // The link's ports: 2048-byte queues, the default message, lParam 0.
    int OpenFor(int comNumber, platform::MessageTarget* owner) override;
    // Stops the listener (waiting for it) and closes the port. Not from the listener itself.
    int Close() override;
    // Keeps the listener's owner, message and lParam.
    int Reopen(const PortSettings& settings) override;

    // Empties the reply being collected.
    void ClearAccumulator();
    platform::MessageTarget* Owner() const { return m_owner; }
    LinkReplyState& Link() const { return *m_link; }
    int ReaderId() const { return m_readerId; }
    // Whether the listener still runs (it ends on a stop, a NO CARRIER or a failed device).
    bool ListenerRunning() const { return m_listenerRunning.load(); }

    static unsigned DefaultMessage();
    // Posted to the owner when the listener raised an alarm (LinkReplyState::TakeAlarms).
    static unsigned AlarmMessage();

protected:
    virtual int ThreadProc();
    // Also forgets the reply being collected.
    int PurgeBytes() override;

private:
    // Opening without an owner would leave the port without its listener: no reply would ever
    // be posted. Kept out of reach here; a plain CSerial still opens this way.
    using CSerial::Open;

    // Reads the awaited reply's bytes; false when the listener must end.
    bool CollectReply(int& exitCode);
    void Post(unsigned message, std::uintptr_t wParam, std::intptr_t lParam);

    std::shared_ptr<LinkReplyState> m_link;
    const int m_readerId;
    platform::MessageTarget* m_owner = nullptr;
    unsigned m_message = 0;
    std::intptr_t m_lParam = 0;
    std::mutex m_accumulatorMutex;
    std::string m_accumulator;
    std::thread m_thread;
    int m_stopEvent = -1;  // eventfd
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_listenerRunning{false};
    int m_exitCode = 0;
};

// The same port, its owner given as a window object.
class CSerialMFC : public CSerialWnd {
public:
    using CSerialWnd::CSerialWnd;
};
