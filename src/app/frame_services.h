#pragma once
// The frame's neighbours that live in other parts of the program: the web-service calls, the
// menu commands that timers start, the setup sheet and the calibration windows that replies
// feed. The frame's members of the same
// names call through here; each does nothing until its part of the program installs itself.
// The data-acquisition side has its own interface (monitoring_services.h).

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

    // The "Setup Instrument" sheet (CSetupPropSheet), modal: IDOK when the operator applies
    // the edited setup.
    virtual int RunSetupSheet(CMainFrame& /*frame*/, const SetupSheetPages& /*pages*/) {
        return IDCANCEL;
    }

    // The microphone-replacement wizard, while its window exists.
    virtual bool IsMicCalibDlgOpen() const { return false; }
    virtual void SetMicCalibText(MicCalibText /*which*/, const std::string& /*text*/) {}
    virtual void SetMicCalibStep(int /*step*/) {}
    virtual void MicCalibNextStep() {}
    // The guided electric calibration's window (CElectricCalibrationDlg): made on first use,
    // given its routine (0 "Electric Calibration") and shown.
    virtual void ShowElectricCalibDlg(CMainFrame& /*frame*/, int /*routine*/) {}
    // The guided electric calibration's window, while it exists.
    virtual bool IsElectricCalibDlgOpen() const { return false; }
    virtual void SetElectricCalibText(ElectricCalibText /*which*/, const std::string& /*text*/) {}
    virtual void ElectricCalibStep() {}
};
