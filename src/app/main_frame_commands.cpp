// The frame's menu commands served here, their update handlers and its hot keys; the
// workflow and maintenance commands have files of their own.

#include <Qt>

#include "app/kx9monitor_app.h"
#include "app/kx9monitor_view.h"
#include "app/main_frame.h"
#include "app/port_setup_dlg.h"
#include "platform/operator.h"
#include "platform/shell.h"
#include "platform/text.h"

// ---- hot keys

bool CMainFrame::PreTranslateHotKey(int key) {
    CKX9MonitorApp& app = TheApp();
    switch (key) {
        case Qt::Key_R:
            for (PortRecord* record : {&app.m_RefPort, &app.m_TargetPort}) {
                record->m_nErrorCount = 0;
                record->m_nResetCount = 0;
            }
            app.SavePortIni(app.m_RefPort, app.m_TargetPort);
            platform::AfxMessageBox("Reset error counters");
            return true;
        case Qt::Key_D:
            app.m_bDebug = app.m_bDebug ? 0 : 1;
            if (app.m_bDebug)
                platform::AfxMessageBox("err deb");
            if (IsBenchWindowCreated())
                SwapBenchDebugControls(app.m_bDebug);
            return true;
        case Qt::Key_L:
            // Without a current report there is no log to open.
            if (!app.m_strCurrentFile.empty())
                platform::OpenDocument(platform::Format(
                    "%sLog.txt", platform::ReplaceAll(app.m_strCurrentFile, ".vpg", "").c_str()));
            return true;
        default:
            return false;
    }
}

// ---- commands served here

void CMainFrame::OnUpdateDatabases() {
    m_databases.OnUpdateDatabases();
}

void CMainFrame::OnBookInstruments() {
    m_booking.OnBookInstruments();
}

// The instrument under test's port; port.ini is written whether the dialog ended with OK or not.
void CMainFrame::OnConnectionSettings() {
    CPortSetupDlg dialog;
    dialog.DoModal();
    TheApp().SavePortIni(TheApp().m_RefPort, TheApp().m_TargetPort);
}

// ---- update handlers

void CMainFrame::OnUpdateFileOpen(CCmdUI& cmdUi) {
    cmdUi.Enable(!IsBenchWindowCreated());
}

void CMainFrame::OnUpdateReportUI(CCmdUI& cmdUi) {
    cmdUi.Enable(HasReportRows());
}

void CMainFrame::OnUpdateExitUI(CCmdUI& cmdUi) {
    cmdUi.Enable(!Mode().IsDownloading() && !Mode().IsFirmwareUpgrading() &&
                 !Mode().IsSchedulerRunning());
}

void CMainFrame::OnUpdateSaveUI(CCmdUI& cmdUi) {
    cmdUi.Enable(!Mode().IsDownloading() && !Mode().IsFirmwareUpgrading() &&
                 !Mode().IsSchedulerRunning() && !TheApp().m_strCurrentFile.empty());
}

// Nothing sets the display-mode word to 3: the entry stays disabled.
void CMainFrame::OnUpdateToolbar32964UI(CCmdUI& cmdUi) {
    cmdUi.Enable(!Mode().IsDownloading() && !TheApp().m_strCurrentFile.empty() &&
                 m_nDisplayMode == 3);
}

// ---- the data-view commands

void CMainFrame::OnSave() {
    m_dataViewCommands.OnSave();
}

void CMainFrame::On3DGraphProperties() {
    m_dataViewCommands.On3DGraphProperties();
}

void CMainFrame::OnViewCrossReference() {
    m_dataViewCommands.OnViewCrossReference();
}

void CMainFrame::OnView3DGraph() {
    m_dataViewCommands.OnView3DGraph();
}

BOOL CMainFrame::HasReportRows() const {
    const CKX9MonitorView* view = View();
    return view && view->m_ReportList.GetItemCount() > 0;
}
