#include "maintenance/firmware_upgrade.h"

#include "maintenance/calibration_protocol.h"
#include "platform/files.h"
#include "platform/operator.h"
#include "platform/text.h"
#include "web/service_paths.h"
#include "web/wait_feedback.h"
#include "web/web_client.h"

namespace maintenance {

namespace {

constexpr const char* kNotStarted = "ATTENZIONE:\nAggiornamento firmware non eseguito.\n\n";
constexpr const char* kLinkBusy =
    "Il collegamento con lo strumento e' impegnato (monitoraggio, scarico dati o calibrazione).";

bool ModeAcknowledged(const std::optional<std::string>& reply, const char* command) {
    return reply && platform::Contains(*reply, command);
}

bool Download(web::WebClient& web, const std::string& remoteName, const std::string& localPath) {
    const std::string remote = web.SrvPath() + web::kFirmwareFolder + remoteName;
    if (web.DownloadHttpFile(remote, localPath, true) != "-1")
        return true;
    StopFirmwareUpgrade("Download di " + remoteName + " fallito.\n\nErr=" + web.HttpError());
    return false;
}

// Gives back what the update held when the writer did not start.
void Release(FirmwareUpgradeHost& host, const std::string& why) {
    host.ArmEndTimer(false);
    host.EndUpgrade();
    std::string more;
    if (!host.ReopenTargetPort())
        more = "\n\nLa porta dello strumento non si riapre: spegnere e riaccendere lo strumento.";
    else if (!ModeAcknowledged(host.ExchangeWithTarget(meter::kUpgradeModeOff),
                               meter::kUpgradeModeOff))
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

bool RunFirmwareUpgrade(FirmwareUpgradeHost& host, web::WebClient& web,
                        web::WaitFeedback& pleaseWait, const std::string& entry) {
    const auto name = FirmwareFileName(entry);
    if (!name) {
        StopFirmwareUpgrade(kBadFirmwareEntry + entry);
        return false;
    }
    const std::string folder = platform::JoinPath(host.ProgramDir(), kFirmwareFolder);
    platform::MakeDirectories(folder);
    pleaseWait.ShowPleaseWait("Download firmware...");
    if (!Download(web, *name, platform::JoinPath(folder, *name)) ||
        !Download(web, kWriterToolName, platform::JoinPath(folder, kWriterToolName)))
        return false;
    const std::string portFile = platform::JoinPath(folder, kWriterPortFileName);
    if (!platform::WriteFileAtomic(portFile, platform::Format("COM%d\r\n", host.TargetComPort()))) {
        StopFirmwareUpgrade("Impossibile scrivere " + portFile);
        return false;
    }

    pleaseWait.ShowPleaseWait("Aggiornamento firmware in corso...");
    if (!host.BeginUpgrade()) {
        StopFirmwareUpgrade(kLinkBusy);
        return false;
    }
    if (!ModeAcknowledged(host.ExchangeWithTarget(meter::kUpgradeModeOn), meter::kUpgradeModeOn)) {
        host.EndUpgrade();
        StopFirmwareUpgrade("Lo strumento non entra in modalita' aggiornamento.");
        return false;
    }
    host.CloseTargetPort();
    host.ArmEndTimer(true);
    std::string why;
    if (!host.StartWriter(folder, why)) {
        Release(host, why);
        return false;
    }
    return true;
}

}  // namespace maintenance
