#include "platform/window_timers.h"

#include <QTimer>
#include <algorithm>

#include "platform/clock.h"
#include "platform/held_deliveries.h"

namespace platform {

WindowTimers::WindowTimers(std::function<void(int id)> onTimer) : m_onTimer(std::move(onTimer)) {}

WindowTimers::~WindowTimers() {
    *m_alive = false;
}

void WindowTimers::Set(int id, unsigned programMs) {
    auto& timer = m_timers[id];
    if (!timer) {
        timer = std::make_unique<QTimer>();
        timer->setTimerType(Qt::PreciseTimer);
        QObject::connect(timer.get(), &QTimer::timeout, [this, id] { OnExpiry(id); });
    }
    timer->start(std::max(1, Clock::ToRealMs(programMs)));
}

void WindowTimers::OnExpiry(int id) {
    if (!m_waiting.insert(id).second)
        return;
    Deliver([this, id, alive = m_alive] {
        if (!*alive)
            return;
        m_waiting.erase(id);
        if (IsSet(id))
            m_onTimer(id);
    });
}

void WindowTimers::Kill(int id) {
    auto it = m_timers.find(id);
    if (it != m_timers.end())
        it->second->stop();
}

void WindowTimers::KillAll() {
    for (auto& [id, timer] : m_timers)
        timer->stop();
}

bool WindowTimers::IsSet(int id) const {
    auto it = m_timers.find(id);
    return it != m_timers.end() && it->second->isActive();
}

}  // namespace platform
