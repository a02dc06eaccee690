#pragma once
// Timers of one window, by id, as a window's SetTimer/KillTimer know them: arming an id again
// replaces it, killing is idempotent, and every expiry calls the owner's timer handler with the
// id on the user-interface thread. Intervals are program milliseconds (see Clock). An expiry
// while deliveries are held (held_deliveries.h) runs once afterwards, if the timer still runs.

#include <functional>
#include <map>
#include <memory>
#include <set>

class QTimer;

namespace platform {

class WindowTimers {
public:
    explicit WindowTimers(std::function<void(int id)> onTimer);
    ~WindowTimers();
    WindowTimers(const WindowTimers&) = delete;
    WindowTimers& operator=(const WindowTimers&) = delete;

    void Set(int id, unsigned programMs);
    void Kill(int id);
    void KillAll();
    bool IsSet(int id) const;

private:
    void OnExpiry(int id);

    std::function<void(int)> m_onTimer;
    std::map<int, std::unique_ptr<QTimer>> m_timers;
    // Expiries waiting behind held deliveries, and whether this object still exists for them.
    std::set<int> m_waiting;
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};

}  // namespace platform
