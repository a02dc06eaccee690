#include "link/link_clock.h"

#include <poll.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <thread>
#include <utility>

#include "link/link_port.h"
#include "platform/clock.h"
#include "platform/event_loop.h"

std::uint32_t ProgramLinkClock::Now() {
    return platform::Clock::TickCount();
}

void ProgramLinkClock::Sleep(unsigned ms) {
    platform::Clock::Sleep(ms);
}

bool ProgramLinkClock::WaitForInput(LinkPort& port, unsigned ms, bool pumping) {
    const int fd = port.Descriptor();
    if (pumping)
        return platform::EventLoop::WaitForInput(fd, ms, m_abortFlag) ==
               platform::EventLoop::WaitEnd::Input;
    const int realMs = platform::Clock::ToRealMs(ms);
    if (fd < 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(realMs));
        return false;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(realMs);
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd probe{fd, POLLIN, 0};
        const int r = ::poll(&probe, 1, static_cast<int>(std::max<long long>(0, left.count())));
        if (r < 0 && errno == EINTR)
            continue;
        return r > 0 && (probe.revents & POLLIN);
    }
}

void ProgramLinkClock::SetTimerHandler(std::function<void(int)> handler) {
    m_handler = std::move(handler);
}

void ProgramLinkClock::SetTimer(int id, unsigned ms) {
    m_timers.Set(id, ms);
}

void ProgramLinkClock::KillTimer(int id) {
    m_timers.Kill(id);
}

bool ProgramLinkClock::IsTimerSet(int id) const {
    return m_timers.IsSet(id);
}
