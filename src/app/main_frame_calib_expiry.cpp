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
    if (m_web.Databases().IsInstrumentBlackListed(m_bench.Instruments().target.serial))
        return true;
    return web::BlackListHolds(m_web.Databases().LocalPath(web::kBlackListFile),
                               m_bench.Instruments().refSerial);
}

void CMainFrame::OnUpdateCalibExpiry() {
    const WorkflowGuard::Hold hold = m_workflow.Enter();
    if (!hold)
        return;
    CKX9MonitorApp& app = TheApp();
    m_web.Log().WriteInstrLog("------------------- Avvio modifica data scadenza taratura: DUT SN " +
                              m_bench.Instruments().target.serial);
    platform::MakeDirectories(platform::JoinPath(app.m_strProgramDir, "\\archivio_verifiche\\"));

    if (!m_web.CheckInternetOnce())
        return;
    if (!EnsureTechnician(nullptr))
        return;

    m_boxes.ShowPleaseWait("");
    if (m_bench.Instruments().target.model.empty()) {
        m_boxes.ClosePleaseWait();
        return;
    }
    m_boxes.ShowPleaseWait("Connessione con il server...");
    app.WaitWithMessages(kServerPauseMs);

    if (IsCalibExpiryBlocked()) {
        m_boxes.ClosePleaseWait();
        platform::AfxMessageBox("err 689");
        CloseTargetPort();
        return;
    }

    if (!m_bench.AlignTargetKeys())
        return;

    ArmQueuedLink();
    m_boxes.ClosePleaseWait();

    // Emptied also when the window has to be built: an earlier run's result must not end this
    // one's wait.
    m_bench.CalibExpiryDialog().m_strResult.clear();
    if (!m_bench.CalibExpiryDialog().HasWindow())
        m_bench.CalibExpiryDialog().Create();
    else
        m_bench.CalibExpiryDialog().ShowWindow(true);
    // A program that is ending gets no answer from the dialog any more.
    while (m_bench.CalibExpiryDialog().HasWindow() &&
           m_bench.CalibExpiryDialog().m_strResult.empty() && !platform::EventLoop::QuitPending())
        app.WaitWithMessages(kResultPollMs);
    m_web.Log().WriteInstrLog("Fine modifica data scadenza taratura: " +
                              (m_bench.CalibExpiryDialog().m_strResult.empty()
                                   ? std::string("-")
                                   : m_bench.CalibExpiryDialog().m_strResult));

    m_boxes.ClosePleaseWait();
    m_bench.CalibExpiryDialog().DestroyWindow();
    CloseTargetPort();
}

void CMainFrame::CloseTargetPort() {
    m_link.SerialPort(LinkSide::Target).Close();
}
