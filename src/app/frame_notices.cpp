#include "app/frame_notices.h"

#include "link/meter_mode.h"
#include "platform/operator.h"

void FrameNotices::Warn(const std::string& text, unsigned type, const std::string& schedulerText) {
    if (m_mode.IsSchedulerMode())
        LogScheduler(false, schedulerText.empty() ? text : schedulerText, false);
    else
        platform::AfxMessageBox(text, type);
}

void FrameNotices::Log(const std::string& text) {
    if (m_mode.IsSchedulerMode())
        LogScheduler(false, text, true);
    else if (m_instrumentLog)
        m_instrumentLog(text);
}

void FrameNotices::LogScheduler(bool restart, const std::string& text, bool stamp) {
    const auto line = m_log.Write(restart, text, stamp);
    if (line && m_onLogLine)
        m_onLogLine(*line);
}
