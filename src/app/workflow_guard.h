#pragma once
// One workflow command at a time. The verification, validation, report and maintenance
// commands wait with message pumping (the server, the meters, their dialogs); a menu click or a
// frame timer served inside such a wait must not start a second command nested in the first,
// so it is ignored while one runs.

class WorkflowGuard {
public:
    // Holds the guard while it lives; false when another command held it already.
    class Hold {
    public:
        Hold(Hold&& other) noexcept : m_guard(other.m_guard) { other.m_guard = nullptr; }
        Hold(const Hold&) = delete;
        Hold& operator=(const Hold&) = delete;
        Hold& operator=(Hold&&) = delete;
        ~Hold() {
            if (m_guard)
                m_guard->m_busy = false;
        }
        explicit operator bool() const { return m_guard != nullptr; }

    private:
        friend class WorkflowGuard;
        explicit Hold(WorkflowGuard* guard) : m_guard(guard) {}
        WorkflowGuard* m_guard;
    };

    [[nodiscard]] Hold Enter() {
        if (m_busy)
            return Hold(nullptr);
        m_busy = true;
        return Hold(this);
    }
    bool IsBusy() const { return m_busy; }

private:
    bool m_busy = false;
};
