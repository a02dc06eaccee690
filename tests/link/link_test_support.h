#pragma once
// Helpers for tests of the instrument link: pumping the user-interface thread until something
// happened, reading a reply off a port, a message target that keeps what the listener posted,
// and the link's direct exchange on the program's clock.

#include <poll.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "link/direct_exchange.h"
#include "link/link_clock.h"
#include "link/link_port.h"
#include "link/link_reply_state.h"
#include "link/link_session.h"
#include "link/serial_wnd.h"
#include "platform/clock.h"
#include "platform/event_loop.h"
#include "platform/messages.h"
#include "platform/window_timers.h"

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

// Waits (capped) until `answered` holds: the simulated meters had their turn.
inline void AwaitAnswered(const std::function<bool()>& answered) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (answered && !answered() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

// The program's clock, whose waits for a reply last at least `floorMs` when no reply comes: a
// short time-out at a fast clock is a few real milliseconds, less than a loaded machine may
// take to let a simulated meter answer. A reply that comes still ends the wait. Given
// `answered` (the simulated meters answered all they were sent, SimMeter::Answered), a wait
// that saw no reply also goes on while they have not: on a busy machine no floor is enough.
// So do its plain waits, after which the program reads what came, and the link session's reply
// time-out, which would otherwise send the command again while its answer is on the way.
// Patience is capped: a meter that never answers still times out.
class PatientClock : public ProgramLinkClock {
public:
    explicit PatientClock(unsigned floorMs = 2000, std::function<bool()> answered = nullptr,
                          int* abortFlag = nullptr)
        : ProgramLinkClock(abortFlag), m_floorMs(floorMs), m_answered(std::move(answered)) {}
    ~PatientClock() override { *m_alive = false; }
    PatientClock(const PatientClock&) = delete;
    PatientClock& operator=(const PatientClock&) = delete;

    void SetAnswered(std::function<bool()> answered) { m_answered = std::move(answered); }

    bool WaitForInput(LinkPort& port, unsigned ms, bool pumping) override {
        if (ProgramLinkClock::WaitForInput(port, std::max(ms, m_floorMs), pumping))
            return true;
        if (!m_answered)
            return false;
        const auto deadline = std::chrono::steady_clock::now() + kPatience;
        while (!m_answered() && std::chrono::steady_clock::now() < deadline)
            if (ProgramLinkClock::WaitForInput(port, 1, pumping))
                return true;
        return ProgramLinkClock::WaitForInput(port, 0, pumping);
    }
    // Timed from when the meters read what came before it (a modem's guard time counts from
    // then), and on until they answered.
    void Sleep(unsigned ms) override {
        AwaitAnswered(m_answered);
        ProgramLinkClock::Sleep(ms);
        AwaitAnswered(m_answered);
    }

    void SetTimerHandler(std::function<void(int id)> handler) override {
        m_handler = std::move(handler);
        if (!m_handler)
            return ProgramLinkClock::SetTimerHandler(nullptr);
        ProgramLinkClock::SetTimerHandler([this](int id) {
            if (id != LinkSession::kReplyTimeout)
                return m_handler(id);
            // A time-out held already, or handed on and not yet run, counts this expiry in.
            if (!m_held.emplace(id, Held{m_generation[id]}).second)
                return;
            OnHeldTimeout(id);
        });
    }
    void SetTimer(int id, unsigned ms) override {
        Forget(id);
        ProgramLinkClock::SetTimer(id, ms);
    }
    void KillTimer(int id) override {
        Forget(id);
        ProgramLinkClock::KillTimer(id);
    }

private:
    static constexpr auto kPatience = std::chrono::seconds(5);

    struct Held {
        unsigned generation;
        std::chrono::steady_clock::time_point deadline =
            std::chrono::steady_clock::now() + kPatience;
        bool handedOn = false;
    };

    void OnHeldTimeout(int id) {
        const auto it = m_held.find(id);
        if (it == m_held.end() || it->second.handedOn)
            return m_recheck.Kill(id);
        if (m_answered && !m_answered() && std::chrono::steady_clock::now() < it->second.deadline) {
            if (!m_recheck.IsSet(id))
                m_recheck.Set(id, 1);
            return;
        }
        m_recheck.Kill(id);
        it->second.handedOn = true;
        // After the replies the listener posted before now: one that came kills the time-out.
        platform::PostToUiThread([this, id, generation = it->second.generation, alive = m_alive] {
            if (!*alive)
                return;
            const auto held = m_held.find(id);
            if (held == m_held.end() || held->second.generation != generation)
                return;
            m_held.erase(held);
            if (m_handler && IsTimerSet(id))
                m_handler(id);
        });
    }
    void Forget(int id) {
        ++m_generation[id];
        m_held.erase(id);
        m_recheck.Kill(id);
    }

    unsigned m_floorMs;
    std::function<bool()> m_answered;
    std::function<void(int)> m_handler;
    std::map<int, unsigned> m_generation;
    std::map<int, Held> m_held;
    platform::WindowTimers m_recheck{[this](int id) { OnHeldTimeout(id); }};
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};

// The program's clock whose plain waits, after which the program reads what came, last until
// `answered` holds, as PatientClock's do; its timers are the program's. For a part of the
// program that reads the port itself between waits (the scheduler run).
class PatientSleepClock : public ProgramLinkClock {
public:
    explicit PatientSleepClock(std::function<bool()> answered) : m_answered(std::move(answered)) {}

    void Sleep(unsigned ms) override {
        AwaitAnswered(m_answered);
        ProgramLinkClock::Sleep(ms);
        AwaitAnswered(m_answered);
    }

    // From now on a timer that expires runs once `settled` holds (patience capped as above),
    // as on a machine where the meter's answers always come before the next tick: the order of
    // the run's own writes and the queue's commands then no longer follows the machine's load.
    void HoldTimersUntil(std::function<bool()> settled) { m_settled = std::move(settled); }

    void SetTimerHandler(std::function<void(int id)> handler) override {
        m_handler = std::move(handler);
        if (!m_handler)
            return ProgramLinkClock::SetTimerHandler(nullptr);
        ProgramLinkClock::SetTimerHandler([this](int id) {
            if (!m_settled)
                return m_handler(id);
            // Expiries that come while one is held count as that one.
            m_held.emplace(id, std::chrono::steady_clock::now() + kPatience);
            Release(id);
        });
    }
    void SetTimer(int id, unsigned ms) override {
        Forget(id);
        ProgramLinkClock::SetTimer(id, ms);
    }
    void KillTimer(int id) override {
        Forget(id);
        ProgramLinkClock::KillTimer(id);
    }

private:
    static constexpr auto kPatience = std::chrono::seconds(5);

    void Release(int id) {
        const auto held = m_held.find(id);
        if (held == m_held.end())
            return m_recheck.Kill(id);
        if (!m_settled() && std::chrono::steady_clock::now() < held->second) {
            if (!m_recheck.IsSet(id))
                m_recheck.Set(id, 1);
            return;
        }
        m_recheck.Kill(id);
        m_held.erase(held);
        if (m_handler && IsTimerSet(id))
            m_handler(id);
    }
    void Forget(int id) {
        m_held.erase(id);
        m_recheck.Kill(id);
    }

    std::function<bool()> m_answered;
    std::function<bool()> m_settled;
    std::function<void(int)> m_handler;
    std::map<int, std::chrono::steady_clock::time_point> m_held;
    platform::WindowTimers m_recheck{[this](int id) { Release(id); }};
};

// Whether bytes wait on the link port while the link listens: its listener has a reply still
// to take.
inline bool ReplyUntaken(const LinkSession& link) {
    const LinkPort& port = link.Port();
    if (!link.IsListening() || port.Descriptor() < 0)
        return false;
    pollfd probe{port.Descriptor(), POLLIN, 0};
    return ::poll(&probe, 1, 0) > 0 && (probe.revents & POLLIN);
}

// The link's exchange past a port's listener, its waits on the program's clock.
struct ProgramExchange {
    LinkReplyState shared;
    PatientClock clock;
    DirectExchange exchange{shared, clock, [](unsigned ms) { platform::EventLoop::Wait(ms); }};
};

}  // namespace linktest
