#pragma once
// What the meter still sends for a scheduler run that has ended: records that were on their way
// when the run stopped, and answers to the commands that stopped it. No command awaits them.
// They are dropped without a box, since a run's warnings never stop on one, and the first of
// them is told once in the scheduler log. A run's stop begins the drain; a new conversation on
// the link ends it.

namespace acquisition {

class RunLeftovers {
public:
    // A run ended.
    void Begin() {
        if (!m_draining)
            m_taken = 0;
        m_draining = true;
    }
    // The link is opened again: what arrives now belongs to the new conversation.
    void End() { m_draining = false; }
    bool IsDraining() const { return m_draining; }
    // One more leftover dropped; how many this drain has dropped.
    int Take() { return ++m_taken; }

private:
    bool m_draining = false;
    int m_taken = 0;
};

}  // namespace acquisition
