#include "app/frame_web.h"

#include <cstdint>

#include "app/kx9monitor_app.h"

FrameWeb::FrameWeb(web::WaitFeedback& pleaseWait, InstrLog::SerialSource targetSerial)
    : m_databases(m_client, TheApp().m_strProgramDir),
      m_technician(m_databases, {TheApp().m_strTechnicianId, TheApp().m_strTechnicianRecord,
                                 TheApp().m_bTechnicianChecked}),
      m_log(TheApp().m_strProgramDir, std::move(targetSerial),
            [this](const std::string& path) { m_client.UploadLogFile(path); }) {
    m_client.SetWaitFunction([](std::uint32_t ms) { TheApp().WaitWithMessages(ms); });
    m_client.SetWaitFeedback(&pleaseWait);
    m_client.SetInstrLog([this](const std::string& text) { m_log.WriteInstrLog(text); });
}

bool FrameWeb::CheckInternetWhenDue() {
    if (!m_databases.m_bCheckInternet)
        return true;
    m_databases.m_bCheckInternet = 0;
    return m_databases.CheckInternetConnection() != FALSE;
}
