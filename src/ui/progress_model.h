#pragma once
// A progress bar as the Windows control behaves: positions are kept inside the range, and a
// step past the end starts the bar again from the beginning.

#include <algorithm>

namespace ui {

class ProgressModel {
public:
    void SetRange(int lower, int upper) {
        m_lower = lower;
        m_upper = std::max(lower, upper);
        m_pos = std::clamp(m_pos, m_lower, m_upper);
    }
    void SetPos(int pos) { m_pos = std::clamp(pos, m_lower, m_upper); }
    void SetStep(int step) { m_step = step; }
    // Advances by the step; returns the position before it.
    int StepIt() {
        const int previous = m_pos;
        m_pos += m_step;
        if (m_pos > m_upper || m_pos < m_lower)
            m_pos = m_lower;
        return previous;
    }
    int Pos() const { return m_pos; }
    int Lower() const { return m_lower; }
    int Upper() const { return m_upper; }
    int Step() const { return m_step; }

private:
    int m_lower = 0;
    int m_upper = 100;
    int m_pos = 0;
    int m_step = 10;
};

}  // namespace ui
