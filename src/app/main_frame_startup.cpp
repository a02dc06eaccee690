// The frame's creation: its window with the status bar and the view, and this edition's
// start-up job, which runs hidden and ends the program.

#include <array>
#include <cstdint>

#include "app/kx9monitor_app.h"
#include "app/kx9monitor_view.h"
#include "app/main_frame.h"
#include "link/listener_input.h"
#include "platform/event_loop.h"
#include "platform/operator.h"
#include "web/login_form.h"
#include "web/server_endpoint.h"
#include "web/service_paths.h"

namespace {
constexpr int kPaneCount = 11;
constexpr int kLinkPaneWidth = 190;
constexpr int kClockPaneWidth = 150;
// Pane 1 is the link's, 6 and 7 (9 and 10 in scheduler mode) the meter's date and time.
constexpr std::array kClockPanes{6, 7, 9, 10};
}  // namespace

void CMainFrame::WireFrameParts() {
    SetUi(&m_windowUi);
    SetUpStatusBar();

    m_web.SetWaitFunction([](std::uint32_t ms) { TheApp().WaitWithMessages(ms); });
    m_web.SetWaitFeedback(&m_tryConnFeedback);
    m_web.SetInstrLog([this](const std::string& text) { m_instrLog.WriteInstrLog(text); });

    m_WaitGetStatusDlg.SetCancelHandler([this] { m_link.DeleteAllCommands(); });
    m_DownloadStatusDlg.SetCancelDownloadHandler([this] { m_dumpDecoder.RequestCancel(); });
    m_link.SharedState()->SetDumpDecoder(
        [this](ListenerInput& input) { m_dumpDecoder.Decode(input); });
    m_ViewInstrStatusDlg.SetHooks({
        .modelText = [] { return TheApp().m_InstrStatus.m_strModel; },
        .isDownloading = [this] { return Mode().IsDownloading(); },
        .sendCommand = [this](int code) { SendCommand(code, "", ""); },
        .onClosed = [this] { Mode().SetStatusDlgShown(false); },
    });
}

void CMainFrame::SetUpStatusBar() {
    std::array<unsigned, kPaneCount> indicators{};
    indicators[0] = ui::ID_SEPARATOR;
    for (int pane = 1; pane < kPaneCount; ++pane) {
        indicators[static_cast<size_t>(pane)] = static_cast<unsigned>(pane);
    }
    m_wndStatusBar.SetIndicators(indicators.data(), kPaneCount);
    // Panes the link never writes take no room.
    for (int pane = 1; pane < kPaneCount; ++pane)
        m_wndStatusBar.SetPaneInfo(pane, static_cast<unsigned>(pane), ui::SBPS_NOBORDERS, 0);
    m_wndStatusBar.SetPaneInfo(kStatusPane, kStatusPane, ui::SBPS_NORMAL, kLinkPaneWidth);
    for (int pane : kClockPanes)
        m_wndStatusBar.SetPaneInfo(pane, static_cast<unsigned>(pane), ui::SBPS_NORMAL,
                                   kClockPaneWidth);
}

BOOL CMainFrame::LoadFrame() {
    return OnCreate() == -1 ? FALSE : TRUE;
}

BOOL CMainFrame::CreateFrameWindow() {
    if (Window())
        return TRUE;
    auto window = std::make_unique<CMainFrameWindow>(*this);
    auto view = std::make_unique<CKX9MonitorView>();
    window->SetView(std::move(view));
    m_window.Reset(std::move(window));
    return TRUE;
}

CKX9MonitorView* CMainFrame::View() const {
    const CMainFrameWindow* window = Window();
    return window ? window->View() : nullptr;
}

void CMainFrame::ShowMaximized() {
    if (CMainFrameWindow* window = Window())
        window->showMaximized();
}

int CMainFrame::OnCreate() {
    if (!CreateFrameWindow())
        return -1;
    RunStartupJob();
    // Every way out of the job ends the program.
    platform::EventLoop::RequestQuit(0);
    return 0;
}

void CMainFrame::RunStartupJob() {
    CKX9MonitorApp& app = TheApp();
    if (m_web.SrvPath() == web::kTestServerPath)
        platform::AfxMessageBox(m_web.SrvPath());
    m_web.SetEndpoint(web::LoadServerEndpoint(app.m_strProgramDir));
    if (CMainFrameWindow* window = Window())
        window->hide();

    if (!m_databases.CheckInternetConnection()) {
        platform::AfxMessageBox(
            "ATTENZIONE:\nConnessione internet assente.\nAggiornamento data di "
            "scadenza non puo' essere eseguito",
            MB_ICONSTOP);
        return;
    }
    m_databases.m_bCheckInternet = 0;
    m_tryConnFeedback.ShowPleaseWait("Connessione con il server in corso..");
    CheckSoftwareUpdate(0, 0);

    platform::RetryQuestion retry;
    while (!ConnectInstrumentUnderTest()) {
        if (retry.Ask("Fonometro da verificare non risponde.\nVerificare impostazioni porta "
                      "seriale.",
                      MB_OKCANCEL | MB_ICONEXCLAMATION) == IDCANCEL)
            return;
        OnConnectionSettings();
        DestroyTryConnBox();
        m_link.SerialPort(LinkSide::Target).Close();
    }
    DestroyTryConnBox();

    CSetHystogramRange login(m_technician);
    if (login.DoModal() != IDOK)
        return;
    m_nLoginResult = login.m_bAuthorised;
    app.m_strTechnicianId = login.m_strCode;
    if (CheckSoftwareUpdate(0, 0) == 0)
        OnUpdateCalibExpiry();
}

void CMainFrame::DestroyTryConnBox() {
    m_TryConnDlg.DestroyWindow();
}
