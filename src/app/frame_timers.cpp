#include "app/frame_timers.h"

void FrameTimers::Expire(int id) {
    const auto found = m_handlers.find(id);
    if (found == m_handlers.end() || !found->second)
        return;
    // A copy: the handler may register another one for its id.
    const std::function<void()> handler = found->second;
    handler();
}

void FrameTimers::Set(int id, unsigned ms) {
    m_timers.Set(id, ms);
    m_intervals[id] = ms;
}

unsigned FrameTimers::Interval(int id) const {
    const auto it = m_intervals.find(id);
    return it == m_intervals.end() ? 0 : it->second;
}
