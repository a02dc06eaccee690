// "Aggiornamento firmware": the update the server offers for the instrument under test is
// downloaded with the writer, which is started; its end is the writer's marker file in the
// program folder ("\firmware_upgrade\EndUpgrade.tmp" or "...FAILED.tmp") with its log, which
// timer 8 watches for.

#include <unistd.h>

#include "app/frame_bench.h"
#include "app/frame_boxes.h"
#include "app/frame_timers.h"
#include "app/frame_web.h"
#include "app/kx9monitor_app.h"
#include "app/maintenance_commands.h"
#include "app/port_setup_dlg.h"
#include "app/workflow_steps.h"
#include "link/link_session.h"
#include "maintenance/firmware_upgrade.h"
#include "platform/event_loop.h"
#include "platform/files.h"
#include "platform/operator.h"
#include "platform/text.h"
#include "web/firmware_versions.h"
#include "web/service_paths.h"

namespace {

constexpr int kHighestWriterPort = 16;
// The model the server's firmware table lists this edition's meters under.
constexpr const char* kFirmwareModel = "QS4060KRTN";
constexpr const char* kVersionsTable = "target_instr_ver.txt";
constexpr const char* kUpgradeLog = "target_instr_upgrade.txt";
constexpr const char* kOptional = ";OPTIONAL";

constexpr const char* kFirmwareRefusal =
    "ATTENZIONE:\nCodice identificativo del tecnico esecutore non valido.\nNon e' possibile "
    "effettuare aggiornamento firmware";
constexpr const char* kLastVersion =
    "Lo strumento ha gia' installata l'ultima versione di firmware disponibile.";
constexpr const char* kUpgradeWarning =
    "Verra' avviato l'aggiornamento ora.\n\nL'aggiornamento firmware e' un' operazione critica "
    "e non interrompibile.\n\n1)Verificare che le batterie dello strumento siano cariche "
    "(almeno 50%).\n2)Disabilitare temporaneamente l'antivirus e gli aggiornamenti automatici "
    "di Windows prima di procedere con l'operazione di aggiornamento.\n\nPremere OK per avviare "
    "aggiornamento.\n";

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

void MaintenanceCommands::OnFirmwareUpgrade() {
    const WorkflowGuard::Hold hold = m_steps.Enter();
    if (!hold)
        return;
    FrameBoxes& boxes = m_uses.boxes;
    const PleaseWaitCloser closer(boxes);
    if (!m_uses.web.CheckInternetWhenDue())
        return;
    web::TechnicianLookup technician;
    if (!m_steps.CheckMaintenanceTechnician(kFirmwareRefusal, technician))
        return;
    const std::string folder = platform::JoinPath(m_uses.programDir, maintenance::kFirmwareFolder);
    platform::MakeDirectories(folder);
    boxes.ShowPleaseWait("");
    if (!ConnectForFirmware())
        return;
    boxes.ShowPleaseWait("Connessione con il server...");
    TheApp().WaitWithMessages(FrameWeb::kServerPauseMs);
    if (m_steps.IsCalibExpiryBlocked()) {
        platform::AfxMessageBox("Non sono disponibili aggiornamenti");
        m_steps.CloseTargetPort();
        return;
    }
    if (const std::optional<std::string> entry = ChooseFirmwareEntry(folder))
        StartFirmwareUpgrade(technician, *entry);
}

bool MaintenanceCommands::ConnectForFirmware() {
    CKX9MonitorApp& app = TheApp();
    FrameBench& bench = m_uses.bench;
    if (bench.Instruments().refSerial.empty()) {
        platform::AfxMessageBox(
            "Per effettuare l'aggiornamento del firmware e' necessario collegare lo strumento di "
            "riferimento.\nAccendere lo strumento di riferimento.",
            MB_ICONINFORMATION);
        m_uses.boxes.ShowPleaseWait("");
        if (!bench.ConnectReferenceInstrument()) {
            platform::AfxMessageBox(
                "Strumento REF non riconosciuto.\nAggiornamento firmware interrotto.", MB_ICONSTOP);
            m_uses.link.ClosePort(LinkSide::Reference);
            return false;
        }
    }
    if (!bench.ConnectInstrumentUnderTest()) {
        platform::AfxMessageBox(bench.TargetSilentText());
        m_steps.CloseTargetPort();
        return false;
    }
    // The maker's writer reaches COM1 to COM16 only.
    if (app.m_TargetPort.m_nComPort > kHighestWriterPort) {
        m_uses.boxes.ClosePleaseWait();
        platform::AfxMessageBox(
            "ATTENZIONE:\nPer effettuare l'aggiornamento firmware e' necessario utilizzare una "
            "porta seriale da COM1 a COM16.\nNel caso di dispositivi USB e' possibile rinominare "
            "la porta utilizzata da pannello di controllo.\nIMPORTANTE:\nDopo aver rinominato la "
            "porta riavviare il computer.",
            MB_ICONSTOP);
        m_steps.CloseTargetPort();
        return false;
    }
    if (bench.Instruments().target.model.empty()) {
        m_uses.boxes.ClosePleaseWait();
        platform::AfxMessageBox(
            "ATTENZIONE:\nStrumento da verificare non rilevato.\nControllare impostazioni di "
            "connessione",
            MB_ICONEXCLAMATION);
        CPortSetupDlg dialog;
        dialog.DoModal();
        app.SavePortIni(app.m_RefPort, app.m_TargetPort);
        return false;
    }
    return true;
}

std::optional<std::string> MaintenanceCommands::ChooseFirmwareEntry(const std::string& folder) {
    web::WebClient& client = m_uses.web.Client();
    const std::string table = platform::JoinPath(folder, kVersionsTable);
    client.DownloadHttpFile(client.SrvPath() + web::kFirmwareVersionsPath, table, true);
    m_uses.boxes.ShowPleaseWait("Verifica presenza aggiornamenti...");
    TheApp().WaitWithMessages(FrameWeb::kServerPauseMs);
    std::string entry = CheckFirmwareUpdateAvailable(
        kFirmwareModel, m_uses.bench.Instruments().target.firmware, table);
    platform::RemoveFile(table);
    if (entry == "LAST" || entry.empty()) {
        platform::AfxMessageBox(kLastVersion, MB_ICONINFORMATION);
        m_steps.CloseTargetPort();
        return std::nullopt;
    }
    if (platform::Contains(entry, kOptional)) {
        if (platform::AfxMessageBox(
                std::string("E' disponibile un aggiornamento facoltativo del firmware dello "
                            "strumento DUT.\n") +
                    kUpgradeWarning + "Premere ANNULLA per non eseguire l'aggiornamento.",
                MB_OKCANCEL | MB_ICONINFORMATION) != IDOK) {
            m_steps.CloseTargetPort();
            return std::nullopt;
        }
        entry = platform::ReplaceAll(entry, kOptional, "");
    }
    // The entry becomes a file name in the program folder: it names nothing else.
    if (!maintenance::FirmwareFileName(entry)) {
        maintenance::StopFirmwareUpgrade(maintenance::kBadFirmwareEntry + entry);
        m_steps.CloseTargetPort();
        return std::nullopt;
    }
    return entry;
}

void MaintenanceCommands::StartFirmwareUpgrade(const web::TechnicianLookup& technician,
                                               const std::string& entry) {
    if (platform::AfxMessageBox(
            std::string("E' disponibile un aggiornamento del firmware dello strumento DUT.\n") +
                kUpgradeWarning + "Premere ANNULLA per uscire dal programma.",
            MB_OKCANCEL | MB_ICONINFORMATION) != IDOK) {
        platform::EventLoop::RequestQuit(0);
        return;
    }
    web::WebClient& client = m_uses.web.Client();
    const std::string record = m_steps.TechnicianRecord(technician) + ";" + entry;
    if (!client.HttpLogUser(kUpgradeLog, record)) {
        m_uses.boxes.ClosePleaseWait();
        platform::AfxMessageBox("Error 589", MB_ICONSTOP);
        m_steps.CloseTargetPort();
        return;
    }
    client.HttpSendMail("",
                        "AVVIO Aggiornamento firmware fonometro " +
                            m_uses.bench.Instruments().target.serial + " - VER:" + entry,
                        record);
    maintenance::RunFirmwareUpgrade({.host = m_host,
                                     .link = m_uses.link,
                                     .targetPort = TheApp().m_TargetPort,
                                     .web = client,
                                     .pleaseWait = m_uses.boxes.PleaseWait(),
                                     .programDir = m_uses.programDir},
                                    entry);
}

void MaintenanceCommands::OnFirmwareUpgradeTimer() {
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

void MaintenanceCommands::FinishFirmwareUpgrade(const std::string& subject,
                                                const std::string& message) {
    const CKX9MonitorApp& app = TheApp();
    const verification::BenchInstruments& instruments = m_uses.bench.Instruments();
    m_uses.link.Mode().EndFirmwareUpgrade();
    m_uses.timers.Kill(FrameTimers::kFirmwareUpgrade);
    m_uses.web.Client().HttpSendMail("", subject + instruments.target.serial, "");

    // The log is created in any case, so that the upload has a file to send; it tells the
    // writer's log when there is one.
    const std::string logPath = FirmwareLogPath(app);
    std::string log;
    platform::LineReader writerLog(app.ProgramPath(kWriterLog));
    if (writerLog.IsOpen()) {
        log = platform::Format("REF SN %s DUT SN %s\r\n", instruments.refSerial.c_str(),
                               instruments.target.serial.c_str());
        std::string line;
        while (writerLog.ReadLine(line, 2048))
            log += line + "\r\n";
    }
    platform::WriteFileAtomic(logPath, log);
    m_uses.web.Client().UploadLogFile(logPath);
    platform::AfxMessageBox(message, MB_ICONINFORMATION);
    platform::RemoveFile(app.ProgramPath(kWriterTool));
}
