#pragma once
// The frame's neighbours in the running program: the web-service calls go to the frame's web
// client, the calibration-expiry update to the frame's own; the parts of the program that do
// not exist yet are recorded as pending calls.

#include "app/frame_services.h"

class FrameProgramServices : public FrameServices {
public:
    std::string HttpSendMail(CMainFrame& frame, const std::string& address,
                             const std::string& subject, const std::string& text) override;
    void UploadLogFile(CMainFrame& frame, const std::string& path) override;

    void OnUpdateCalibExpiry(CMainFrame& frame) override;
};
