#include "platform/clock.h"

#include <chrono>
#include <cmath>
#include <mutex>
#include <thread>

namespace platform {

namespace {
using Steady = std::chrono::steady_clock;

struct ClockState {
    std::mutex mutex;
    Steady::time_point realBase = Steady::now();
    double programBaseMs = 0.0;  // program time at realBase
    double speed = 1.0;
    std::optional<std::time_t> fixedNow;
    Clock::FixedWaitTally fixedWaits;
};

ClockState& State() {
    static ClockState state;
    return state;
}

double ProgramMsLocked(ClockState& s) {
    const double realMs =
        std::chrono::duration<double, std::milli>(Steady::now() - s.realBase).count();
    return s.programBaseMs + realMs * s.speed;
}
}  // namespace

std::uint32_t Clock::TickCount() {
    auto& s = State();
    std::lock_guard lock(s.mutex);
    return static_cast<std::uint32_t>(static_cast<std::uint64_t>(ProgramMsLocked(s)));
}

void Clock::SetSpeed(double programMsPerRealMs) {
    auto& s = State();
    std::lock_guard lock(s.mutex);
    s.programBaseMs = ProgramMsLocked(s);
    s.realBase = Steady::now();
    s.speed = programMsPerRealMs > 0 ? programMsPerRealMs : 1.0;
}

double Clock::Speed() {
    auto& s = State();
    std::lock_guard lock(s.mutex);
    return s.speed;
}

int Clock::ToRealMs(std::int64_t programMs) {
    if (programMs <= 0)
        return 0;
    const double real = std::ceil(static_cast<double>(programMs) / Speed());
    return real < 1 ? 1 : real > 2e9 ? 2000000000 : static_cast<int>(real);
}

void Clock::Sleep(std::int64_t programMs) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ToRealMs(programMs)));
    CountFixedWait(programMs);
}

Clock::FixedWaitTally Clock::FixedWaits() {
    auto& s = State();
    std::lock_guard lock(s.mutex);
    return s.fixedWaits;
}

void Clock::CountFixedWait(std::int64_t programMs) {
    if (programMs <= 0)
        return;
    auto& s = State();
    std::lock_guard lock(s.mutex);
    s.fixedWaits.totalMs += static_cast<std::uint64_t>(programMs);
    ++s.fixedWaits.count;
    ++s.fixedWaits.countByMs[programMs];
}

std::time_t Clock::Now() {
    auto& s = State();
    std::lock_guard lock(s.mutex);
    return s.fixedNow ? *s.fixedNow : std::time(nullptr);
}

void Clock::SetFixedNow(std::optional<std::time_t> now) {
    auto& s = State();
    std::lock_guard lock(s.mutex);
    s.fixedNow = now;
}

}  // namespace platform
