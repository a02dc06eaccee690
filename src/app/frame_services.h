#pragma once
// The frame's neighbours that live in other parts of the program: the web-service calls, the
// menu commands that timers start, the session operations and the calibration windows that
// replies feed. The frame's members of the same names call through here; each does nothing
// until its part of the program installs itself.
// The data-acquisition side has its own interface (monitoring_services.h).

#include <string>

#include "platform/win_types.h"

class CMainFrame;

// The texts of the microphone-replacement wizard (CMicCalibDlg) that replies fill.
enum class MicCalibText { Channel0Gain, Channel1Gain, ElectricCal, Level, ProtectionCode };
// The texts of the electric-calibration window (CElectricCalibrationDlg) that replies fill.
enum class ElectricCalibText { PrintedValue, Display };

class FrameServices {
public:
    virtual ~FrameServices() = default;

    virtual std::string HttpSendMail(CMainFrame& /*frame*/, const std::string& /*address*/,
                                     const std::string& /*subject*/, const std::string& /*text*/) {
        return std::string();
    }
    virtual void UploadLogFile(CMainFrame& /*frame*/, const std::string& /*path*/) {}

    virtual void OnUpdateCalibExpiry(CMainFrame& /*frame*/) {}
    virtual void StartNewSession(CMainFrame& /*frame*/) {}
    // Writes the command and the query straight to the link and looks for `expected`.
    virtual void ExchangeAndWait(CMainFrame& /*frame*/, const std::string& /*command*/,
                                 const std::string& /*query*/, const std::string& /*expected*/) {}

    // The microphone-replacement wizard, while its window exists.
    virtual bool IsMicCalibDlgOpen() const { return false; }
    virtual void SetMicCalibText(MicCalibText /*which*/, const std::string& /*text*/) {}
    virtual void SetMicCalibStep(int /*step*/) {}
    virtual void MicCalibNextStep() {}
    // The guided electric calibration's window, while it exists.
    virtual bool IsElectricCalibDlgOpen() const { return false; }
    virtual void SetElectricCalibText(ElectricCalibText /*which*/, const std::string& /*text*/) {}
    virtual void ElectricCalibStep() {}
};
