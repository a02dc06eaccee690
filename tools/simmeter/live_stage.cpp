#include "live_stage.h"

namespace simmeter {

std::string LiveRecordStage::OnBytes(const std::string& bytes, std::uint32_t now,
                                     const Answer& /*answer*/) {
    std::lock_guard lock(m_mutex);
    m_partial += bytes;
    for (auto end = m_partial.find("\r\n"); end != std::string::npos;
         end = m_partial.find("\r\n")) {
        OnLine(m_partial.substr(0, end), now);
        m_partial.erase(0, end + 2);
    }
    return bytes;
}

void LiveRecordStage::OnLine(const std::string& line, std::uint32_t now) {
    if (line == "STT:MON:ON")
        m_monitorOn = true;
    else if (line == "STT:MON:OFF" || line == "KEY:OFF")
        m_monitorOn = false;
    // Datalogging ("STT:REC:ON", ended with "KEY:ENTER") runs the acquisition too.
    if (line == "STT:ACQ:RUN" || line == "STT:REC:ON")
        m_running = true;
    else if (line == "STT:ACQ:STOP" || line == "KEY:ENTER" || line == "KEY:OFF")
        m_running = false;
    if (!m_monitorOn || !m_running) {
        m_next.reset();
        m_sentInRun = 0;
    } else if (!m_next && !(m_perRun && m_sentInRun >= *m_perRun)) {
        m_next = now + m_intervalMs;
    }
}

std::optional<std::uint32_t> LiveRecordStage::Deadline() const {
    std::lock_guard lock(m_mutex);
    return m_next;
}

void LiveRecordStage::OnTime(std::uint32_t now, const Answer& answer) {
    std::string text;
    {
        std::lock_guard lock(m_mutex);
        if (!m_next || now < *m_next)
            return;
        text = m_record(m_sent++);
        if (m_perRun && ++m_sentInRun >= *m_perRun)
            m_next.reset();
        else
            *m_next += m_intervalMs;
    }
    answer(Text(text));
}

void LiveRecordStage::SetRecordsPerRun(int count) {
    std::lock_guard lock(m_mutex);
    m_perRun = count;
}

int LiveRecordStage::Sent() const {
    std::lock_guard lock(m_mutex);
    return m_sent;
}

}  // namespace simmeter
