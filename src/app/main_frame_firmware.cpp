// The end of a firmware update: the external writer leaves a marker file in the program folder
// ("\firmware_upgrade\EndUpgrade.tmp" or "...FAILED.tmp") with its log; timer 8 watches for it.

#include <unistd.h>

#include "app/kx9monitor_app.h"
#include "app/main_frame.h"
#include "platform/files.h"
#include "platform/operator.h"
#include "platform/text.h"

namespace {

constexpr const char* kSucceededMarker = "\\firmware_upgrade\\EndUpgrade.tmp";
constexpr const char* kFailedMarker = "\\firmware_upgrade\\EndUpgradeFAILED.tmp";
constexpr const char* kWriterLog = "\\firmware_upgrade\\FirmwareLog.txt";
constexpr const char* kWriterTool = "\\firmware_upgrade\\writer.txb";

bool CanOpen(const std::string& path) {
    return ::access(path.c_str(), R_OK) == 0;
}

// Beside the current report: its path without ".vpg", then "Log.txt".
std::string FirmwareLogPath(const CKX9MonitorApp& app) {
    const std::string name = platform::ReplaceAll(app.m_strCurrentFile, ".vpg", "") + "Log.txt";
    return platform::StartsWith(name, "/") ? name : app.ProgramPath(name);
}

}  // namespace

void CMainFrame::OnFirmwareUpgradeTimer() {
    const CKX9MonitorApp& app = TheApp();
    if (const std::string marker = app.ProgramPath(kSucceededMarker); CanOpen(marker)) {
        platform::RemoveFile(marker);
        FinishFirmwareUpgrade("OK Aggiornamento firmware fonometro ",
                              "Aggiornamento firmware completato correttamente.");
    }
    if (const std::string marker = app.ProgramPath(kFailedMarker); CanOpen(marker)) {
        platform::RemoveFile(marker);
        FinishFirmwareUpgrade("FAILED Aggiornamento firmware fonometro ",
                              "Aggiornamento firmware fallito.");
    }
}

void CMainFrame::FinishFirmwareUpgrade(const std::string& subject, const std::string& message) {
    const CKX9MonitorApp& app = TheApp();
    Mode().SetFirmwareUpgrading(false);
    KillTimer(kFirmwareUpgrade);
    HttpSendMail("", subject + m_strTargetSerial, "");

    // The log is created in any case, so that the upload has a file to send; it tells the
    // writer's log when there is one.
    const std::string logPath = FirmwareLogPath(app);
    std::string log;
    platform::LineReader writerLog(app.ProgramPath(kWriterLog));
    if (writerLog.IsOpen()) {
        log = platform::Format("REF SN %s DUT SN %s\r\n", m_strRefSerial.c_str(),
                               m_strTargetSerial.c_str());
        std::string line;
        while (writerLog.ReadLine(line, 2048))
            log += line + "\r\n";
    }
    platform::WriteFileAtomic(logPath, log);
    UploadLogFile(logPath);
    platform::AfxMessageBox(message, MB_ICONINFORMATION);
    platform::RemoveFile(app.ProgramPath(kWriterTool));
}
