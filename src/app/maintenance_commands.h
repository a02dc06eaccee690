#pragma once
// The maintenance commands of the menus "Strumenti" and "?": the microphone replacement, the
// firmware update and the watch for its end, the program's own update and the sound-card
// instructions; and the microphone wizard with what it needs of the program. Each command checks
// the internet, the technician, the black list and the meters on their ports, then hands the work
// to its dialog or routine. The please-wait box goes on every way out.

#include <optional>
#include <string>

#include "app/frame_maintenance_host.h"
#include "maintenance/mic_calib_dlg.h"
#include "web/technician_account.h"

class CMainFrame;
class WorkflowSteps;

class MaintenanceCommands {
public:
    MaintenanceCommands(CMainFrame& frame, WorkflowSteps& steps);
    MaintenanceCommands(const MaintenanceCommands&) = delete;
    MaintenanceCommands& operator=(const MaintenanceCommands&) = delete;

    void OnReplaceMicrophone();
    void OnSoftwareUpdate();
    void OnAudioCardSettings();
    // The program's version check; 0 when no program update was started.
    int CheckSoftwareUpdate(int askUser, int verbose);

    // "Aggiornamento firmware" (firmware_commands.cpp): its end is timer 8's, which watches
    // for the writer's marker file.
    void OnFirmwareUpgrade();
    void OnFirmwareUpgradeTimer();

    CMicCalibDlg& MicCalibration() { return m_micCalibration; }

private:
    // Both meters connected and identified; false, after the box, when the command ends.
    bool ConnectForMicrophone();
    // The meter switched off for the new microphone and on again, its keys aligned and the
    // microphone wizard opened with the technician's `record`.
    void ReplaceMicrophone(const std::string& record);

    // Both meters connected, the instrument under test on a port the writer reaches; false,
    // after the box, when the command ends.
    bool ConnectForFirmware();
    // The update the server offers for the instrument under test, as a firmware entry; nothing,
    // after the box, when there is none or the operator declines an optional one.
    std::optional<std::string> ChooseFirmwareEntry(const std::string& folder);
    // The confirmed update logged and mailed to the service, then the writer started.
    void StartFirmwareUpgrade(const web::TechnicianLookup& technician, const std::string& entry);
    void FinishFirmwareUpgrade(const std::string& subject, const std::string& message);

    CMainFrame& m_frame;
    WorkflowSteps& m_steps;
    FrameMaintenanceHost m_host;
    CMicCalibDlg m_micCalibration;
};
