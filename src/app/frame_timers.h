#pragma once
// The frame's window timers, by id: the periodic jobs around the link (the send tick and the
// reply time-out are the link session's). Whoever owns a job registers its handler with the
// timer's id when it is built; whoever needs a job armed or stopped is handed the timers.

#include <functional>
#include <map>

#include "platform/window_timers.h"

class FrameTimers {
public:
    enum Id {
        kDownloadProgress = 4,
        kRecordingBlink = 6,
        kFirmwareUpgrade = 8,
        kStatusPoll = 9,
        kReportTrim = 12,
        kIntegrationEnd = 13,
        kInstrumentClock = 14,
        kCalibExpiryUpdate = 16,
        kReportValidation = 17,
    };
    // The status poll's interval (timer 9) while nothing faster is needed, and the recording
    // mark's blink (timer 6).
    static constexpr unsigned kStatusPollMs = 60000;
    static constexpr unsigned kRecordingBlinkMs = 1000;
    // A page ended: timer 12 cuts the report list back to the new page's rows in small steps,
    // so that the records that go on arriving are never held up for long.
    static constexpr unsigned kReportTrimTickMs = 20;

    FrameTimers() = default;
    FrameTimers(const FrameTimers&) = delete;
    FrameTimers& operator=(const FrameTimers&) = delete;

    // What the timer's expiry runs; one handler an id, the last one registered.
    void OnExpiry(int id, std::function<void()> handler) { m_handlers[id] = std::move(handler); }
    // Runs the handler of `id`, as its expiry does.
    void Expire(int id);

    // Program milliseconds; arming an armed timer again restarts it with the new interval.
    void Set(int id, unsigned ms);
    void Kill(int id) { m_timers.Kill(id); }
    bool IsSet(int id) const { return m_timers.IsSet(id); }
    // The interval the timer was last armed with; 0 when never.
    unsigned Interval(int id) const;
    void KillAll() { m_timers.KillAll(); }

private:
    std::map<int, std::function<void()>> m_handlers;
    std::map<int, unsigned> m_intervals;
    // Last: an expiry reaches the handlers above.
    platform::WindowTimers m_timers{[this](int id) { Expire(id); }};
};
