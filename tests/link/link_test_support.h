#pragma once
// Helpers for tests of the instrument link: pumping the user-interface thread until something
// happened, reading a reply off a port, a message target that keeps what the listener posted,
// and the link's direct exchange on the program's clock.

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "link/direct_exchange.h"
#include "link/link_clock.h"
#include "link/link_reply_state.h"
#include "link/serial_wnd.h"
#include "platform/clock.h"
#include "platform/event_loop.h"
#include "platform/messages.h"

namespace linktest {

// Handles events until `done` holds or `realMs` real milliseconds passed; whether it holds.
inline bool PumpUntil(const std::function<bool()>& done, int realMs = 5000) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(realMs);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        platform::EventLoop::Wait(1);
    }
    return true;
}

// Handles events for `realMs` real milliseconds (to show that something does NOT happen).
inline void PumpFor(int realMs) {
    PumpUntil([] { return false; }, realMs);
}

// Reads what arrives on `port` until it ends with ETX or `programMs` passed.
inline std::string ReadReply(CSerial& port, unsigned programMs = 5000) {
    std::string got;
    const auto start = platform::Clock::TickCount();
    while (platform::Clock::TickCount() - start < programMs) {
        if (port.WaitEvent(10) != 0)
            continue;
        char buffer[64];
        size_t n = 0;
        port.Read(buffer, sizeof buffer, &n);
        got.append(buffer, n);
        if (!got.empty() && got.back() == '\x03')
            break;
    }
    return got;
}

// Keeps every reply and alarm the listener posted, with the reply text the message carried.
class RecordingOwner : public platform::MessageTarget {
public:
    struct Delivery {
        std::uintptr_t wParam;
        std::intptr_t lParam;
        std::string reply;
    };

    explicit RecordingOwner(LinkReplyState& link) : m_link(link) {}

    void OnTextMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam,
                       const std::string& text) override {
        if (message != CSerialWnd::DefaultMessage())
            return OnMessage(message, wParam, lParam);
        deliveries.push_back({wParam, lParam, text});
        if (rearm)
            m_link.receiveEnabled = TRUE;
    }
    void OnMessage(unsigned message, std::uintptr_t, std::intptr_t) override {
        if (message == CSerialWnd::AlarmMessage()) {
            for (auto& alarm : m_link.TakeAlarms())
                alarms.push_back(alarm);
        }
    }

    std::vector<Delivery> deliveries;
    std::vector<LinkAlarm> alarms;
    bool rearm = false;

private:
    LinkReplyState& m_link;
};

// The program's clock, whose waits for a reply last at least `floorMs` when no reply comes: a
// short time-out at a fast clock is a few real milliseconds, less than a loaded machine may
// take to let a simulated meter answer. A reply that comes still ends the wait. Given
// `answered` (the simulated meters answered all they were sent, SimMeter::Answered), a wait
// that saw no reply also goes on while they have not: on a busy machine no floor is enough.
class PatientClock : public ProgramLinkClock {
public:
    explicit PatientClock(unsigned floorMs = 2000, std::function<bool()> answered = nullptr)
        : m_floorMs(floorMs), m_answered(std::move(answered)) {}
    void SetAnswered(std::function<bool()> answered) { m_answered = std::move(answered); }
    bool WaitForInput(LinkPort& port, unsigned ms, bool pumping) override {
        if (ProgramLinkClock::WaitForInput(port, std::max(ms, m_floorMs), pumping))
            return true;
        if (!m_answered)
            return false;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (!m_answered() && std::chrono::steady_clock::now() < deadline)
            if (ProgramLinkClock::WaitForInput(port, 1, pumping))
                return true;
        return ProgramLinkClock::WaitForInput(port, 0, pumping);
    }

private:
    unsigned m_floorMs;
    std::function<bool()> m_answered;
};

// The link's exchange past a port's listener, its waits on the program's clock.
struct ProgramExchange {
    LinkReplyState shared;
    PatientClock clock;
    DirectExchange exchange{shared, clock, [](unsigned ms) { platform::EventLoop::Wait(ms); }};
};

}  // namespace linktest
