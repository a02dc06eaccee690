// The maintenance commands of the menus "Strumenti" and "?": the microphone replacement, the
// firmware update, the program's own update and the sound-card instructions; and the frame's
// side of the firmware update and of the meter's guided programs. Each command checks the
// internet, the technician, the black list and the meters on their ports, then hands the work
// to its dialog or routine. The please-wait box goes on every way out.

#include "app/kx9monitor_app.h"
#include "app/kx9monitor_view.h"
#include "app/main_frame.h"
#include "app/port_setup_dlg.h"
#include "link/command_codes.h"
#include "maintenance/firmware_upgrade.h"
#include "platform/event_loop.h"
#include "platform/files.h"
#include "platform/operator.h"
#include "platform/text.h"
#include "verification/sel_excel_interval.h"
#include "web/firmware_versions.h"
#include "web/service_paths.h"

namespace {

constexpr int kHighestWriterPort = 16;
// The model the server's firmware table lists this edition's meters under.
constexpr const char* kFirmwareModel = "QS4060KRTN";
constexpr const char* kVersionsTable = "target_instr_ver.txt";
constexpr const char* kUpgradeLog = "target_instr_upgrade.txt";
constexpr const char* kOptional = ";OPTIONAL";

constexpr const char* kMicRefusal =
    "ATTENZIONE:\nCodice identificativo del tecnico esecutore non valido.\nNon e' possibile "
    "effettuare la sostituzione del microfono";
constexpr const char* kFirmwareRefusal =
    "ATTENZIONE:\nCodice identificativo del tecnico esecutore non valido.\nNon e' possibile "
    "effettuare aggiornamento firmware";
constexpr const char* kTargetSilent =
    "Fonometro da verificare non risponde.\nVerificare impostazioni porta seriale.";
constexpr const char* kLastVersion =
    "Lo strumento ha gia' installata l'ultima versione di firmware disponibile.";
constexpr const char* kUpgradeWarning =
    "Verra' avviato l'aggiornamento ora.\n\nL'aggiornamento firmware e' un' operazione critica "
    "e non interrompibile.\n\n1)Verificare che le batterie dello strumento siano cariche "
    "(almeno 50%).\n2)Disabilitare temporaneamente l'antivirus e gli aggiornamenti automatici "
    "di Windows prima di procedere con l'operazione di aggiornamento.\n\nPremere OK per avviare "
    "aggiornamento.\n";

// Closes the frame's please-wait box when the command ends, however it ends.
class PleaseWaitCloser {
public:
    explicit PleaseWaitCloser(CTryConnDlg& box) : m_box(box) {}
    ~PleaseWaitCloser() { m_box.DestroyWindow(); }
    PleaseWaitCloser(const PleaseWaitCloser&) = delete;
    PleaseWaitCloser& operator=(const PleaseWaitCloser&) = delete;

private:
    CTryConnDlg& m_box;
};

}  // namespace

bool CMainFrame::CheckMaintenanceTechnician(const std::string& refusal,
                                            web::TechnicianLookup& lookup) {
    CKX9MonitorApp& app = TheApp();
    if (!EnsureTechnician(nullptr))
        return false;
    lookup = m_technician.CheckTechnician(true, app.m_strTechnicianId);
    if (app.m_bTechnicianChecked)
        return true;
    app.m_strTechnicianId.clear();
    platform::AfxMessageBox(refusal, MB_ICONSTOP);
    DestroyTryConnBox();
    return false;
}

std::string CMainFrame::TechnicianRecord(const web::TechnicianLookup& lookup) const {
    std::string record = TheApp().m_strTechnicianId;
    for (const std::string& field : lookup.lab)
        record += ";" + field;
    return record + ";" + lookup.nameAndCode + ";" + m_strTargetSerial;
}

bool CMainFrame::AlignTargetKeysOnBench() {
    constexpr const char* kAligning = "Allineamento chiavi di comunicazione...";
    if (!m_SoundDlg.HasWindow()) {
        m_SoundDlg.Create();
        m_SoundDlg.m_bFirstShow = 1;
    }
    if (!m_SoundDlg.HasWindow())
        return true;
    m_SoundDlg.SetTargetSerial(m_strTargetSerial);
    m_SoundDlg.m_bKeyAlignOnly = 1;
    m_SoundDlg.ShowWindow(false);
    m_instrLog.WriteInstrLog(kAligning);
    m_tryConnFeedback.ShowPleaseWait(kAligning);
    if (m_SoundDlg.AlignTargetKeys())
        return true;
    m_instrLog.WriteInstrLog("Err:Allineamento chiavi di comunicazione fallito");
    DestroyTryConnBox();
    platform::AfxMessageBox("DUT: Allineamento chiavi di comunicazione fallito.");
    CloseTargetPort();
    return false;
}

void CMainFrame::OnReplaceMicrophone() {
    const WorkflowGuard::Hold hold = m_workflow.Enter();
    if (!hold)
        return;
    const PleaseWaitCloser closer(m_TryConnDlg);
    if (m_databases.m_bCheckInternet) {
        m_databases.m_bCheckInternet = 0;
        if (!m_databases.CheckInternetConnection())
            return;
    }
    platform::AfxMessageBox(
        "Per effettuare la sostituzione del microfono e' necessario collegare lo strumento di "
        "riferimento.\nAccendere lo strumento di riferimento.",
        MB_ICONINFORMATION);
    web::TechnicianLookup technician;
    if (!CheckMaintenanceTechnician(kMicRefusal, technician))
        return;
    // A program update found now is installed without asking; the program then ends.
    if (CheckSoftwareUpdate(0, 0) != 0)
        return;
    m_tryConnFeedback.ShowPleaseWait("");
    if (!ConnectReferenceInstrument()) {
        platform::AfxMessageBox("Strumento non riconosciuto.\nAggiornamento software interrotto.",
                                MB_ICONSTOP);
        return;
    }
    if (!ConnectInstrumentUnderTest()) {
        platform::AfxMessageBox(kTargetSilent);
        CloseTargetPort();
        return;
    }
    if (m_strTargetModel.empty())
        return;
    if (platform::AfxMessageBox(
            platform::Format("Sostituzione microfono per lo strumento da verificare \nModello "
                             "mic:%s\nNum serie mic:%s.\nAvviare procedura adesso ?",
                             m_strTargetMicModel.c_str(), m_strTargetMicSerial.c_str()),
            MB_YESNO | MB_ICONINFORMATION) != IDYES)
        return;
    m_tryConnFeedback.ShowPleaseWait("Avvio procedura di sostituzione microfono...");
    TheApp().WaitWithMessages(kServerPauseMs);
    if (IsCalibExpiryBlocked()) {
        platform::AfxMessageBox("err 689");
        CloseTargetPort();
        return;
    }
    const std::string record = TechnicianRecord(technician);

    // The meter switches off; the operator fits the new microphone and switches it on again.
    if (View())
        m_link.WriteCommand(LinkSide::Target, command_code::kPowerOff);
    if (platform::AfxMessageBox(
            "Verificare che lo strumento sia spento (eventualmente spegnerlo).\nSostituire il "
            "microfono e inserire lo strumento nel calibratore\nAccendere il calibratore e "
            "attendere che indichi 94\nAccendere lo strumento.\nPremere OK dopo aver eseguito.",
            MB_OKCANCEL | MB_ICONEXCLAMATION) == IDCANCEL) {
        CloseTargetPort();
        return;
    }
    if (!AlignTargetKeysOnBench())
        return;
    ArmQueuedLink();
    if (!m_MicCalibDlg.HasWindow())
        m_MicCalibDlg.Create();
    if (m_MicCalibDlg.HasWindow()) {
        m_MicCalibDlg.m_strTechnicianRecord = record;
        m_MicCalibDlg.ShowWindow(true);
    }
}

void CMainFrame::OnFirmwareUpgrade() {
    const WorkflowGuard::Hold hold = m_workflow.Enter();
    if (!hold)
        return;
    CKX9MonitorApp& app = TheApp();
    const PleaseWaitCloser closer(m_TryConnDlg);
    if (m_databases.m_bCheckInternet) {
        m_databases.m_bCheckInternet = 0;
        if (!m_databases.CheckInternetConnection())
            return;
    }
    web::TechnicianLookup technician;
    if (!CheckMaintenanceTechnician(kFirmwareRefusal, technician))
        return;
    const std::string folder =
        platform::JoinPath(app.m_strProgramDir, maintenance::kFirmwareFolder);
    platform::MakeDirectories(folder);
    m_tryConnFeedback.ShowPleaseWait("");

    if (m_strRefSerial.empty()) {
        platform::AfxMessageBox(
            "Per effettuare l'aggiornamento del firmware e' necessario collegare lo strumento di "
            "riferimento.\nAccendere lo strumento di riferimento.",
            MB_ICONINFORMATION);
        m_tryConnFeedback.ShowPleaseWait("");
        if (!ConnectReferenceInstrument()) {
            platform::AfxMessageBox(
                "Strumento REF non riconosciuto.\nAggiornamento firmware interrotto.", MB_ICONSTOP);
            m_link.SerialPort(LinkSide::Reference).Close();
            return;
        }
    }
    if (!ConnectInstrumentUnderTest()) {
        platform::AfxMessageBox(kTargetSilent);
        CloseTargetPort();
        return;
    }
    // The maker's writer reaches COM1 to COM16 only.
    if (app.m_TargetPort.m_nComPort > kHighestWriterPort) {
        DestroyTryConnBox();
        platform::AfxMessageBox(
            "ATTENZIONE:\nPer effettuare l'aggiornamento firmware e' necessario utilizzare una "
            "porta seriale da COM1 a COM16.\nNel caso di dispositivi USB e' possibile rinominare "
            "la porta utilizzata da pannello di controllo.\nIMPORTANTE:\nDopo aver rinominato la "
            "porta riavviare il computer.",
            MB_ICONSTOP);
        CloseTargetPort();
        return;
    }
    if (m_strTargetModel.empty()) {
        DestroyTryConnBox();
        platform::AfxMessageBox(
            "ATTENZIONE:\nStrumento da verificare non rilevato.\nControllare impostazioni di "
            "connessione",
            MB_ICONEXCLAMATION);
        CPortSetupDlg dialog;
        dialog.DoModal();
        app.SavePortIni(app.m_RefPort, app.m_TargetPort);
        return;
    }
    m_tryConnFeedback.ShowPleaseWait("Connessione con il server...");
    app.WaitWithMessages(kServerPauseMs);
    if (IsCalibExpiryBlocked()) {
        platform::AfxMessageBox("Non sono disponibili aggiornamenti");
        CloseTargetPort();
        return;
    }

    const std::string table = platform::JoinPath(folder, kVersionsTable);
    m_web.DownloadHttpFile(m_web.SrvPath() + web::kFirmwareVersionsPath, table, true);
    m_tryConnFeedback.ShowPleaseWait("Verifica presenza aggiornamenti...");
    app.WaitWithMessages(kServerPauseMs);
    std::string entry = CheckFirmwareUpdateAvailable(kFirmwareModel, m_strTargetFirmware, table);
    platform::RemoveFile(table);
    if (entry == "LAST" || entry.empty()) {
        platform::AfxMessageBox(kLastVersion, MB_ICONINFORMATION);
        CloseTargetPort();
        return;
    }
    if (platform::Contains(entry, kOptional)) {
        if (platform::AfxMessageBox(
                std::string("E' disponibile un aggiornamento facoltativo del firmware dello "
                            "strumento DUT.\n") +
                    kUpgradeWarning + "Premere ANNULLA per non eseguire l'aggiornamento.",
                MB_OKCANCEL | MB_ICONINFORMATION) != IDOK) {
            CloseTargetPort();
            return;
        }
        entry = platform::ReplaceAll(entry, kOptional, "");
    }
    // The entry becomes a file name in the program folder: it names nothing else.
    if (!maintenance::FirmwareFileName(entry)) {
        maintenance::StopFirmwareUpgrade(maintenance::kBadFirmwareEntry + entry);
        CloseTargetPort();
        return;
    }
    if (platform::AfxMessageBox(
            std::string("E' disponibile un aggiornamento del firmware dello strumento DUT.\n") +
                kUpgradeWarning + "Premere ANNULLA per uscire dal programma.",
            MB_OKCANCEL | MB_ICONINFORMATION) != IDOK) {
        platform::EventLoop::RequestQuit(0);
        return;
    }
    const std::string record = TechnicianRecord(technician) + ";" + entry;
    if (!m_web.HttpLogUser(kUpgradeLog, record)) {
        DestroyTryConnBox();
        platform::AfxMessageBox("Error 589", MB_ICONSTOP);
        CloseTargetPort();
        return;
    }
    HttpSendMail("",
                 "AVVIO Aggiornamento firmware fonometro " + m_strTargetSerial + " - VER:" + entry,
                 record);
    RunFirmwareUpgrade(entry);
}

BOOL CMainFrame::RunFirmwareUpgrade(const std::string& entry) {
    return maintenance::RunFirmwareUpgrade(m_maintenanceHost, entry) ? TRUE : FALSE;
}

void CMainFrame::OnSoftwareUpdate() {
    const WorkflowGuard::Hold hold = m_workflow.Enter();
    if (!hold)
        return;
    const PleaseWaitCloser closer(m_TryConnDlg);
    m_tryConnFeedback.ShowPleaseWait("Connessione con il server in corso..");
    CheckSoftwareUpdate(1, 1);
}

void CMainFrame::OnAudioCardSettings() {
    CSelExcelInterval dialog;
    dialog.DoModal();
}

void CMainFrame::OpenElectricCalibrationDlg(int routine) {
    Mode().SetCheckingDisplay(false);
    m_ElectricCalibrationDlg.Open(routine);
}
