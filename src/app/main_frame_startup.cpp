// The frame's creation: its window with the status bar and the view, and this edition's
// start-up job, which runs hidden and ends the program.

#include "app/frame_bench.h"
#include "app/frame_boxes.h"
#include "app/frame_command_ids.h"
#include "app/frame_commands.h"
#include "app/frame_ui_adapter.h"
#include "app/frame_web.h"
#include "app/kx9monitor_app.h"
#include "app/kx9monitor_view.h"
#include "app/main_frame.h"
#include "app/maintenance_commands.h"
#include "app/verification_workflow.h"
#include "platform/event_loop.h"
#include "platform/operator.h"
#include "web/login_form.h"
#include "web/server_endpoint.h"
#include "web/service_paths.h"

namespace {

// This edition's start-up job, hidden: the server and the program's version, the instrument
// under test on its port, the technician's login and the calibration-expiry update.
void RunStartupJob(CMainFrame& frame) {
    CKX9MonitorApp& app = TheApp();
    if (frame.Web().Client().SrvPath() == web::kTestServerPath)
        platform::AfxMessageBox(frame.Web().Client().SrvPath());
    frame.Web().Client().SetEndpoint(web::LoadServerEndpoint(app.m_strProgramDir));
    if (CMainFrameWindow* window = frame.Window())
        window->hide();

    if (!frame.Web().Databases().CheckInternetConnection()) {
        platform::AfxMessageBox(
            "ATTENZIONE:\nConnessione internet assente.\nAggiornamento data di "
            "scadenza non puo' essere eseguito",
            MB_ICONSTOP);
        return;
    }
    frame.Web().Databases().m_bCheckInternet = 0;
    frame.Boxes().ShowPleaseWait("Connessione con il server in corso..");
    frame.Maintenance().CheckSoftwareUpdate(0, 0);

    platform::RetryQuestion retry;
    while (!frame.Bench().ConnectInstrumentUnderTest()) {
        if (retry.Ask(frame.Bench().TargetSilentText(), MB_OKCANCEL | MB_ICONEXCLAMATION) ==
            IDCANCEL)
            return;
        frame.Commands().OnCommand(cmd::ID_CONNECTION_SETTINGS);
        frame.Boxes().ClosePleaseWait();
        frame.Link().ClosePort(LinkSide::Target);
    }
    frame.Boxes().ClosePleaseWait();

    CSetHystogramRange login(frame.Web().Technician());
    if (login.DoModal() != IDOK)
        return;
    frame.Web().SetLoginResult(login.m_bAuthorised);
    app.m_strTechnicianId = login.m_strCode;
    if (frame.Maintenance().CheckSoftwareUpdate(0, 0) == 0)
        frame.Verification().OnUpdateCalibExpiry();
}

}  // namespace

BOOL CMainFrame::CreateFrameWindow() {
    if (Window())
        return TRUE;
    auto window = std::make_unique<CMainFrameWindow>(
        *m_commands, [this] { OnClose(); }, m_windowUi->StatusBar());
    auto view = std::make_unique<CKX9MonitorView>(&m_viewUses);
    window->SetView(std::move(view));
    m_window.Reset(std::move(window));
    return TRUE;
}

int CMainFrame::OnCreate() {
    if (!CreateFrameWindow())
        return -1;
    RunStartupJob(*this);
    // Every way out of the job ends the program.
    platform::EventLoop::RequestQuit(0);
    return 0;
}
