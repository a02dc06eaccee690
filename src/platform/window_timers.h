#pragma once
// Timers of one window, by id, as a window's SetTimer/KillTimer know them: arming an id again
// replaces it, killing is idempotent, and every expiry calls the owner's timer handler with the
// id on the user-interface thread. Intervals are program milliseconds (see Clock).

#include <functional>
#include <map>
#include <memory>

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
    std::function<void(int)> m_onTimer;
    std::map<int, std::unique_ptr<QTimer>> m_timers;
};

}  // namespace platform
