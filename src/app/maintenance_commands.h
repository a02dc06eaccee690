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
#include "maintenance/software_update.h"
#include "web/technician_account.h"

class CCommand;
class FrameBench;
class FrameBoxes;
class FrameLinkHost;
class FrameTimers;
class FrameWeb;
class LinkSession;
class ViewLookup;
class WorkflowSteps;

class MaintenanceCommands {
public:
    // What the commands use, none of it owned.
    struct Uses {
        WorkflowSteps& steps;
        // The internet check, the web client and the instrument log the wizard records in.
        FrameWeb& web;
        // The bench's connect routines and its two meters.
        FrameBench& bench;
        FrameBoxes& boxes;
        // Timer 8 watches for the firmware writer's end.
        FrameTimers& timers;
        // The command queue, the ports and the meter mode's firmware upgrade.
        LinkSession& link;
        // A meter that stops answering the microphone wizard, or refuses it, ends it.
        FrameLinkHost& linkHost;
        // Without the view the window shows, the meter is not switched off for a new
        // microphone and the firmware update leaves its port alone.
        const ViewLookup& views;
        // The program folder, where the updates are downloaded.
        const std::string& programDir;
    };

    // Registers the handler of timer 8 and the wizard's takers of lost commands.
    explicit MaintenanceCommands(const Uses& uses);
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

    CMicCalibDlg& MicCalibration() { return m_micCalibration; }

private:
    // Both meters connected and identified; false, after the box, when the command ends.
    bool ConnectForMicrophone();
    // The meter switched off for the new microphone and on again, its keys aligned and the
    // microphone wizard opened with the technician's `record`.
    void ReplaceMicrophone(const std::string& record);
    // A command the link gave up ends the open wizard when it was one it waits on: whether it
    // took the command.
    bool EndWizardOnLostCommand(const CCommand& command, maintenance::MicReplacement::Loss loss);

    // Both meters connected, the instrument under test on a port the writer reaches; false,
    // after the box, when the command ends.
    bool ConnectForFirmware();
    // The update the server offers for the instrument under test, as a firmware entry; nothing,
    // after the box, when there is none or the operator declines an optional one.
    std::optional<std::string> ChooseFirmwareEntry(const std::string& folder);
    // The confirmed update logged and mailed to the service, then the writer started.
    void StartFirmwareUpgrade(const web::TechnicianLookup& technician, const std::string& entry);
    // Timer 8: the writer's marker file, when it is there, ends the update.
    void OnFirmwareUpgradeTimer();
    void FinishFirmwareUpgrade(const std::string& subject, const std::string& message);

    Uses m_uses;
    WorkflowSteps& m_steps;
    // One for the run: a newer version that cannot be installed here is told once.
    maintenance::SoftwareUpdate m_softwareUpdate;
    FrameMaintenanceHost m_host;
    CMicCalibDlg m_micCalibration;
};
