#include "app/maintenance_commands.h"

#include "app/frame_bench.h"
#include "app/frame_boxes.h"
#include "app/frame_link_host.h"
#include "app/frame_timers.h"
#include "app/frame_web.h"
#include "app/kx9monitor_app.h"
#include "app/view_lookup.h"
#include "app/workflow_steps.h"
#include "link/command.h"
#include "link/command_codes.h"
#include "link/link_session.h"
#include "maintenance/software_update.h"
#include "platform/operator.h"
#include "platform/text.h"
#include "verification/sel_excel_interval.h"

MaintenanceCommands::MaintenanceCommands(const Uses& uses)
    : m_uses(uses),
      m_steps(uses.steps),
      m_host(uses.timers, uses.views),
      m_micCalibration(uses.link.Sender(), uses.link.Withdrawer(), uses.web.Client(),
                       uses.web.Log()) {
    m_uses.timers.OnExpiry(FrameTimers::kFirmwareUpgrade, [this] { OnFirmwareUpgradeTimer(); });
    // Without these a meter that stops answering, or refuses, would keep the wizard waiting for
    // ever, or let it store a calibration that misses the write it refused.
    using Loss = maintenance::MicReplacement::Loss;
    m_uses.linkHost.AddTimeOutTaker([this](const CCommand& command) {
        return EndWizardOnLostCommand(command, Loss::kUnanswered);
    });
    m_uses.linkHost.AddGivenUpTaker([this](const CCommand& command, bool refused) {
        return EndWizardOnLostCommand(command, refused ? Loss::kRefused : Loss::kEmptyAnswer);
    });
    // Answered in the wrong state: not done, as a refusal, and no other answer will come.
    m_uses.linkHost.AddLostListener(
        [this](const CCommand& command) { EndWizardOnLostCommand(command, Loss::kRefused); });
}

bool MaintenanceCommands::EndWizardOnLostCommand(const CCommand& command,
                                                 maintenance::MicReplacement::Loss loss) {
    if (!m_micCalibration.HasWindow() ||
        !m_micCalibration.Wizard().AwaitsReplyTo(command.GetCode()))
        return false;
    // The link was armed for the wizard alone: nothing more goes to the meter.
    m_uses.link.DeleteAllCommands();
    m_micCalibration.OnCommandLost(command.GetCode(), command.GetName(), loss);
    return true;
}

namespace {
constexpr const char* kMicRefusal =
    "ATTENZIONE:\nCodice identificativo del tecnico esecutore non valido.\nNon e' possibile "
    "effettuare la sostituzione del microfono";
}  // namespace

void MaintenanceCommands::OnReplaceMicrophone() {
    const WorkflowGuard::Hold hold = m_steps.Enter();
    if (!hold)
        return;
    FrameBoxes& boxes = m_uses.boxes;
    const PleaseWaitCloser closer(boxes);
    if (!m_uses.web.CheckInternetWhenDue())
        return;
    platform::AfxMessageBox(
        "Per effettuare la sostituzione del microfono e' necessario collegare lo strumento di "
        "riferimento.\nAccendere lo strumento di riferimento.",
        MB_ICONINFORMATION);
    web::TechnicianLookup technician;
    if (!m_steps.CheckMaintenanceTechnician(kMicRefusal, technician))
        return;
    // A program update found now is installed without asking; the program then ends.
    if (CheckSoftwareUpdate(0, 0) != 0)
        return;
    boxes.ShowPleaseWait("");
    if (!ConnectForMicrophone())
        return;
    const verification::InstrumentIdentity& target = m_uses.bench.Instruments().target;
    if (platform::AfxMessageBox(
            platform::Format("Sostituzione microfono per lo strumento da verificare \nModello "
                             "mic:%s\nNum serie mic:%s.\nAvviare procedura adesso ?",
                             target.micModel.c_str(), target.micSerial.c_str()),
            MB_YESNO | MB_ICONINFORMATION) != IDYES)
        return;
    boxes.ShowPleaseWait("Avvio procedura di sostituzione microfono...");
    TheApp().WaitWithMessages(FrameWeb::kServerPauseMs);
    if (m_steps.IsCalibExpiryBlocked()) {
        platform::AfxMessageBox("err 689");
        m_steps.CloseTargetPort();
        return;
    }
    ReplaceMicrophone(m_steps.TechnicianRecord(technician));
}

bool MaintenanceCommands::ConnectForMicrophone() {
    FrameBench& bench = m_uses.bench;
    if (!bench.ConnectReferenceInstrument()) {
        platform::AfxMessageBox("Strumento non riconosciuto.\nAggiornamento software interrotto.",
                                MB_ICONSTOP);
        return false;
    }
    if (!bench.ConnectInstrumentUnderTest()) {
        platform::AfxMessageBox(bench.TargetSilentText());
        m_steps.CloseTargetPort();
        return false;
    }
    return !bench.Instruments().target.model.empty();
}

void MaintenanceCommands::ReplaceMicrophone(const std::string& record) {
    // The meter switches off; the operator fits the new microphone and switches it on again.
    if (m_uses.views.Shown())
        m_uses.link.WriteCommand(LinkSide::Target, command_code::kPowerOff);
    if (platform::AfxMessageBox(
            "Verificare che lo strumento sia spento (eventualmente spegnerlo).\nSostituire il "
            "microfono e inserire lo strumento nel calibratore\nAccendere il calibratore e "
            "attendere che indichi 94\nAccendere lo strumento.\nPremere OK dopo aver eseguito.",
            MB_OKCANCEL | MB_ICONEXCLAMATION) == IDCANCEL) {
        m_steps.CloseTargetPort();
        return;
    }
    if (!m_uses.bench.AlignTargetKeys())
        return;
    m_steps.ArmQueuedLink();
    if (!m_micCalibration.HasWindow())
        m_micCalibration.Create();
    if (m_micCalibration.HasWindow()) {
        m_micCalibration.m_strTechnicianRecord = record;
        m_micCalibration.m_strMicSerialBefore = m_uses.bench.Instruments().target.micSerial;
        m_micCalibration.ShowWindow(true);
    }
}

void MaintenanceCommands::OnSoftwareUpdate() {
    const WorkflowGuard::Hold hold = m_steps.Enter();
    if (!hold)
        return;
    const PleaseWaitCloser closer(m_uses.boxes);
    m_uses.boxes.ShowPleaseWait("Connessione con il server in corso..");
    CheckSoftwareUpdate(1, 1);
}

int MaintenanceCommands::CheckSoftwareUpdate(int askUser, int verbose) {
    return m_softwareUpdate.Check(m_uses.web.Client(), m_uses.programDir, askUser, verbose);
}

void MaintenanceCommands::OnAudioCardSettings() {
    CSelExcelInterval dialog;
    dialog.DoModal();
}
