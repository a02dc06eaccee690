#pragma once
// The frame's neighbours that live in other parts of the program: the web-service calls and
// the menu commands that timers start. The frame's members of the same names call through here;
// each does nothing until its part of the program installs itself. The data-acquisition side
// has its own interface (monitoring_services.h).

#include <string>

#include "platform/win_types.h"

class CMainFrame;

class FrameServices {
public:
    virtual ~FrameServices() = default;

    virtual std::string HttpSendMail(CMainFrame& /*frame*/, const std::string& /*address*/,
                                     const std::string& /*subject*/, const std::string& /*text*/) {
        return std::string();
    }
    virtual void UploadLogFile(CMainFrame& /*frame*/, const std::string& /*path*/) {}

    virtual void OnUpdateCalibExpiry(CMainFrame& /*frame*/) {}
};
