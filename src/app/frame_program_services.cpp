#include "app/frame_program_services.h"

#include "app/main_frame.h"

std::string FrameProgramServices::HttpSendMail(CMainFrame& frame, const std::string& address,
                                               const std::string& subject,
                                               const std::string& text) {
    return frame.m_web.HttpSendMail(address, subject, text);
}

void FrameProgramServices::UploadLogFile(CMainFrame& frame, const std::string& path) {
    frame.m_web.UploadLogFile(path);
}

void FrameProgramServices::OnUpdateCalibExpiry(CMainFrame& frame) {
    frame.UpdateCalibExpiry();
}
