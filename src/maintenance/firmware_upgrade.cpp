#include "maintenance/firmware_upgrade.h"

#include "link/link_session.h"
#include "link/port_record.h"
#include "link/serial_line_settings.h"
#include "maintenance/calibration_protocol.h"
#include "platform/files.h"
#include "platform/operator.h"
#include "platform/text.h"
#include "web/service_paths.h"
#include "web/wait_feedback.h"
#include "web/web_client.h"

namespace maintenance {

namespace {

constexpr unsigned kTargetReplyMs = 1000;
constexpr int kTargetAttempts = 3;
constexpr const char* kNotStarted = "ATTENZIONE:\nAggiornamento firmware non eseguito.\n\n";
constexpr const char* kLinkBusy =
    "Il collegamento con lo strumento e' impegnato (monitoraggio, scarico dati o calibrazione).";

// A command line to the instrument under test past its listener; the reply, or nothing.
std::optional<std::string> ExchangeWithTarget(const FirmwareUpgradeTools& tools,
                                              const std::string& command) {
    LinkSession& link = tools.link;
    if (!tools.host.HasView() || !link.IsPortOpen(LinkSide::Target))
        return std::nullopt;
    return link.Exchange(link.PortOf(LinkSide::Target),
                         ExchangeRequest::Query(command, kTargetReplyMs, kTargetAttempts));
}

// The meter took the upgrade mode's command when its reply repeats it.
bool ModeAcknowledged(const FirmwareUpgradeTools& tools, const char* command) {
    const std::optional<std::string> reply = ExchangeWithTarget(tools, command);
    return reply && platform::Contains(*reply, command);
}

// The queue goes on: whatever waited in it goes now.
void EndUpgrade(LinkSession& link) {
    link.Mode().EndFirmwareUpgrade();
    link.WakeSendTick();
}

bool Download(web::WebClient& web, const std::string& remoteName, const std::string& localPath) {
    const std::string remote = web.SrvPath() + web::kFirmwareFolder + remoteName;
    if (web.DownloadHttpFile(remote, localPath, true) != "-1")
        return true;
    StopFirmwareUpgrade("Download di " + remoteName + " fallito.\n\nErr=" + web.HttpError());
    return false;
}

// Gives back what the update held when the writer did not start.
void Release(const FirmwareUpgradeTools& tools, const std::string& why) {
    tools.host.ArmEndTimer(false);
    EndUpgrade(tools.link);
    const bool reopened =
        tools.host.HasView() &&
        tools.link.OpenPort(LinkSide::Target, PortSettings::Instrument(tools.targetPort)) == 0;
    std::string more;
    if (!reopened)
        more = "\n\nLa porta dello strumento non si riapre: spegnere e riaccendere lo strumento.";
    else if (!ModeAcknowledged(tools, meter::kUpgradeModeOff))
        more = "\n\nLo strumento resta in modalita' aggiornamento: spegnerlo e riaccenderlo.";
    StopFirmwareUpgrade(why + more);
}

}  // namespace

void StopFirmwareUpgrade(const std::string& why) {
    platform::AfxMessageBox(kNotStarted + why, MB_ICONSTOP);
}

std::optional<std::string> FirmwareFileName(const std::string& entry) {
    const std::string name = platform::Trim(entry);
    if (name.empty() || platform::Contains(name, "/") || platform::Contains(name, "\\") ||
        platform::Contains(name, ".."))
        return std::nullopt;
    return name;
}

bool RunFirmwareUpgrade(const FirmwareUpgradeTools& tools, const std::string& entry) {
    const auto name = FirmwareFileName(entry);
    if (!name) {
        StopFirmwareUpgrade(kBadFirmwareEntry + entry);
        return false;
    }
    const std::string folder = platform::JoinPath(tools.programDir, kFirmwareFolder);
    platform::MakeDirectories(folder);
    tools.pleaseWait.ShowPleaseWait("Download firmware...");
    if (!Download(tools.web, *name, platform::JoinPath(folder, *name)) ||
        !Download(tools.web, kWriterToolName, platform::JoinPath(folder, kWriterToolName)))
        return false;
    const std::string portFile = platform::JoinPath(folder, kWriterPortFileName);
    if (!platform::WriteFileAtomic(portFile,
                                   platform::Format("COM%d\r\n", tools.targetPort.m_nComPort))) {
        StopFirmwareUpgrade("Impossibile scrivere " + portFile);
        return false;
    }

    tools.pleaseWait.ShowPleaseWait("Aggiornamento firmware in corso...");
    if (!tools.link.Mode().BeginFirmwareUpgrade()) {
        StopFirmwareUpgrade(kLinkBusy);
        return false;
    }
    if (!ModeAcknowledged(tools, meter::kUpgradeModeOn)) {
        EndUpgrade(tools.link);
        StopFirmwareUpgrade("Lo strumento non entra in modalita' aggiornamento.");
        return false;
    }
    tools.link.ClosePort(LinkSide::Target);
    tools.host.ArmEndTimer(true);
    std::string why;
    if (!tools.host.StartWriter(folder, why)) {
        Release(tools, why);
        return false;
    }
    return true;
}

}  // namespace maintenance
