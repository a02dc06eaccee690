#pragma once
// Time as the link sees it: program milliseconds, plain waits, waits for a port's input, and
// the link session's timers. ProgramLinkClock runs on platform::Clock and window timers; unit
// tests give a manual clock, which moves only when the test says so.

#include <cstdint>
#include <functional>

#include "platform/window_timers.h"

class LinkPort;

class LinkClock {
public:
    virtual ~LinkClock() = default;

    virtual std::uint32_t Now() = 0;
    // A plain wait: nothing else runs meanwhile.
    virtual void Sleep(unsigned ms) = 0;
    // Until bytes wait on `port` or `ms` pass, handling messages meanwhile when `pumping`;
    // whether bytes wait. Not a fixed wait: it ends as soon as the meter answers.
    virtual bool WaitForInput(LinkPort& port, unsigned ms, bool pumping) = 0;

    // Timers by id: arming an id again replaces it; every expiry calls the handler with the id.
    virtual void SetTimerHandler(std::function<void(int id)> handler) = 0;
    virtual void SetTimer(int id, unsigned ms) = 0;
    virtual void KillTimer(int id) = 0;
    virtual bool IsTimerSet(int id) const = 0;
};

class ProgramLinkClock : public LinkClock {
public:
    // A pumping wait for input ends early, as the application's waits do, when *abortFlag is
    // set (and clears it).
    explicit ProgramLinkClock(int* abortFlag = nullptr) : m_abortFlag(abortFlag) {}

    std::uint32_t Now() override;
    void Sleep(unsigned ms) override;
    bool WaitForInput(LinkPort& port, unsigned ms, bool pumping) override;
    void SetTimerHandler(std::function<void(int id)> handler) override;
    void SetTimer(int id, unsigned ms) override;
    void KillTimer(int id) override;
    bool IsTimerSet(int id) const override;

private:
    int* m_abortFlag;
    std::function<void(int)> m_handler;
    platform::WindowTimers m_timers{[this](int id) {
        if (m_handler)
            m_handler(id);
    }};
};
