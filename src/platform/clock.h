#pragma once
// Program time. Every wait, sleep and timer of the program is measured in program milliseconds,
// which run `Speed()` times as fast as real ones: 1 in the program, higher in tests, so that an
// exchange that waits 8 s and resends ten times is checked in milliseconds.

#include <cstdint>
#include <ctime>
#include <map>
#include <optional>

namespace platform {

class Clock {
public:
    // Milliseconds of program time since the process started; wraps like GetTickCount.
    static std::uint32_t TickCount();
    static void SetSpeed(double programMsPerRealMs);
    static double Speed();
    // Real milliseconds for a span of program time; never 0 for a positive span.
    static int ToRealMs(std::int64_t programMs);
    static void Sleep(std::int64_t programMs);

    // The fixed waits so far: Sleep and the message-pumping EventLoop::Wait, in program
    // milliseconds, and how many of each length. A benchmark compares them with the time a job
    // took.
    struct FixedWaitTally {
        std::uint64_t totalMs = 0;
        std::uint64_t count = 0;
        std::map<std::int64_t, std::uint64_t> countByMs;
    };
    static FixedWaitTally FixedWaits();
    static void CountFixedWait(std::int64_t programMs);

    // Wall-clock time; tests may fix it.
    static std::time_t Now();
    static void SetFixedNow(std::optional<std::time_t> now);
};

// Restores the previous speed when it goes out of scope.
class ScopedClockSpeed {
public:
    explicit ScopedClockSpeed(double speed) : m_previous(Clock::Speed()) { Clock::SetSpeed(speed); }
    ~ScopedClockSpeed() { Clock::SetSpeed(m_previous); }
    ScopedClockSpeed(const ScopedClockSpeed&) = delete;
    ScopedClockSpeed& operator=(const ScopedClockSpeed&) = delete;

private:
    double m_previous;
};

}  // namespace platform
