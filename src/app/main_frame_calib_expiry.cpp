// The calibration-expiry update: the last step of this edition's start-up job, the menu
// command "Aggiorna data scadenza taratura" and frame timer 16 after a validated report. It
// makes sure a technician is known, checks the internet and the black list, aligns the keys of
// the instrument under test through the bench window, arms the command queue and runs the
// calibration-expiry dialog until it gives a result.

#include "app/kx9monitor_app.h"
#include "app/kx9monitor_view.h"
#include "app/main_frame.h"
#include "platform/event_loop.h"
#include "platform/files.h"
#include "platform/operator.h"
#include "platform/text.h"
#include "web/black_list.h"
#include "web/service_paths.h"

namespace {
constexpr unsigned kResultPollMs = 1000;
}  // namespace

bool CMainFrame::IsCalibExpiryBlocked() {
    // The instrument whose dates change, and the reference meter when one was connected.
    if (m_databases.IsInstrumentBlackListed(m_strTargetSerial))
        return true;
    return web::BlackListHolds(m_databases.LocalPath(web::kBlackListFile), m_strRefSerial);
}

void CMainFrame::OnUpdateCalibExpiry() {
    const WorkflowGuard::Hold hold = m_workflow.Enter();
    if (!hold)
        return;
    CKX9MonitorApp& app = TheApp();
    m_instrLog.WriteInstrLog("------------------- Avvio modifica data scadenza taratura: DUT SN " +
                             m_strTargetSerial);
    platform::MakeDirectories(platform::JoinPath(app.m_strProgramDir, "\\archivio_verifiche\\"));

    if (m_databases.m_bCheckInternet) {
        m_databases.m_bCheckInternet = 0;
        if (!m_databases.CheckInternetConnection())
            return;
    }
    if (!EnsureTechnician(nullptr))
        return;

    m_tryConnFeedback.ShowPleaseWait("");
    if (m_strTargetModel.empty()) {
        DestroyTryConnBox();
        return;
    }
    m_tryConnFeedback.ShowPleaseWait("Connessione con il server...");
    app.WaitWithMessages(kServerPauseMs);

    if (IsCalibExpiryBlocked()) {
        DestroyTryConnBox();
        platform::AfxMessageBox("err 689");
        CloseTargetPort();
        return;
    }

    if (!AlignTargetKeysOnBench())
        return;

    ArmQueuedLink();
    DestroyTryConnBox();

    // Emptied also when the window has to be built: an earlier run's result must not end this
    // one's wait.
    m_FonoConfigDlg.m_strResult.clear();
    if (!m_FonoConfigDlg.HasWindow())
        m_FonoConfigDlg.Create();
    else
        m_FonoConfigDlg.ShowWindow(true);
    // A program that is ending gets no answer from the dialog any more.
    while (m_FonoConfigDlg.HasWindow() && m_FonoConfigDlg.m_strResult.empty() &&
           !platform::EventLoop::QuitPending())
        app.WaitWithMessages(kResultPollMs);
    m_instrLog.WriteInstrLog(
        "Fine modifica data scadenza taratura: " +
        (m_FonoConfigDlg.m_strResult.empty() ? std::string("-") : m_FonoConfigDlg.m_strResult));

    DestroyTryConnBox();
    m_FonoConfigDlg.DestroyWindow();
    CloseTargetPort();
}

void CMainFrame::CloseTargetPort() {
    m_link.SerialPort(LinkSide::Target).Close();
}
