#pragma once
// The frame's neighbours that live in other parts of the program: the web-service calls, the
// menu commands that timers start and the setup sheet. The frame's members of the same names
// call through here; each does nothing until its part of the program installs itself. The
// data-acquisition side has its own interface (monitoring_services.h).

#include <string>

#include "platform/win_types.h"

class CMainFrame;

// The pages of the "Setup Instrument" sheet that a model gets besides the current settings,
// "General", "Channels" and options pages, which every model gets.
struct SetupSheetPages {
    bool spectrum = true;     // CSpectrrumPropPage
    bool dataLogging = true;  // CDataLoggingPrpPage
    bool operator==(const SetupSheetPages&) const = default;
};

class FrameServices {
public:
    virtual ~FrameServices() = default;

    virtual std::string HttpSendMail(CMainFrame& /*frame*/, const std::string& /*address*/,
                                     const std::string& /*subject*/, const std::string& /*text*/) {
        return std::string();
    }
    virtual void UploadLogFile(CMainFrame& /*frame*/, const std::string& /*path*/) {}

    virtual void OnUpdateCalibExpiry(CMainFrame& /*frame*/) {}

    // The "Setup Instrument" sheet (CSetupPropSheet), modal: IDOK when the operator applies
    // the edited setup.
    virtual int RunSetupSheet(CMainFrame& /*frame*/, const SetupSheetPages& /*pages*/) {
        return IDCANCEL;
    }
};
