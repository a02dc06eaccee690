// The calibration-expiry update: the last step of this edition's start-up job, the menu
// command "Aggiorna data scadenza taratura" and frame timer 16 after a validated report. It
// makes sure a technician is known, checks the internet and the black list, aligns the keys of
// the instrument under test through the bench window, arms the command queue and runs the
// calibration-expiry dialog until it gives a result.

#include "app/frame_bench.h"
#include "app/frame_boxes.h"
#include "app/frame_web.h"
#include "app/kx9monitor_app.h"
#include "app/verification_workflow.h"
#include "app/workflow_steps.h"
#include "platform/event_loop.h"
#include "platform/files.h"
#include "platform/operator.h"

namespace {
constexpr unsigned kResultPollMs = 1000;
}  // namespace

void VerificationWorkflow::OnUpdateCalibExpiry() {
    const WorkflowGuard::Hold hold = m_steps.Enter();
    if (!hold)
        return;
    CKX9MonitorApp& app = TheApp();
    InstrLog& log = m_uses.web.Log();
    const verification::BenchInstruments& instruments = m_uses.bench.Instruments();
    FrameBoxes& boxes = m_uses.boxes;
    log.WriteInstrLog("------------------- Avvio modifica data scadenza taratura: DUT SN " +
                      instruments.target.serial);
    platform::MakeDirectories(platform::JoinPath(app.m_strProgramDir, "\\archivio_verifiche\\"));

    if (!m_uses.web.CheckInternetWhenDue())
        return;
    if (!m_steps.EnsureTechnician(nullptr))
        return;

    boxes.ShowPleaseWait("");
    if (instruments.target.model.empty()) {
        boxes.ClosePleaseWait();
        return;
    }
    boxes.ShowPleaseWait("Connessione con il server...");
    app.WaitWithMessages(FrameWeb::kServerPauseMs);

    if (m_steps.IsCalibExpiryBlocked()) {
        boxes.ClosePleaseWait();
        platform::AfxMessageBox("err 689");
        m_steps.CloseTargetPort();
        return;
    }

    if (!m_uses.bench.AlignTargetKeys())
        return;

    m_steps.ArmQueuedLink();
    boxes.ClosePleaseWait();
    log.WriteInstrLog("Fine modifica data scadenza taratura: " + RunCalibExpiryDialog());

    boxes.ClosePleaseWait();
    m_uses.bench.CalibExpiryDialog().DestroyWindow();
    m_steps.CloseTargetPort();
}

std::string VerificationWorkflow::RunCalibExpiryDialog() {
    CFonoConfigDlg& dialog = m_uses.bench.CalibExpiryDialog();
    // Emptied also when the window has to be built: an earlier run's result must not end this
    // one's wait.
    dialog.m_strResult.clear();
    if (!dialog.HasWindow())
        dialog.Create();
    else
        dialog.ShowWindow(true);
    // A program that is ending gets no answer from the dialog any more.
    while (dialog.HasWindow() && dialog.m_strResult.empty() && !platform::EventLoop::QuitPending())
        TheApp().WaitWithMessages(kResultPollMs);
    return dialog.m_strResult.empty() ? std::string("-") : dialog.m_strResult;
}
