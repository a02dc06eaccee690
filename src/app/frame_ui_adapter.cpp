#include "app/frame_ui_adapter.h"

#include "app/kx9monitor_view.h"

#include <QGuiApplication>

#include "app/main_frame.h"
#include "app/main_frame_window.h"

std::string FrameWindowUi::GetTitle() const {
    if (const CMainFrameWindow* window = m_frame.Window())
        return window->windowTitle().toLatin1().toStdString();
    return FrameUi::GetTitle();
}

void FrameWindowUi::SetTitle(const std::string& title) {
    FrameUi::SetTitle(title);
    if (CMainFrameWindow* window = m_frame.Window())
        window->setWindowTitle(QString::fromLatin1(title));
}

bool FrameWindowUi::IsMinimized() const {
    const CMainFrameWindow* window = m_frame.Window();
    return window && window->isMinimized();
}

void FrameWindowUi::SetPaneText(int pane, const std::string& onText, const std::string& offText) {
    m_frame.m_wndStatusBar.SetPaneText(pane, onText, offText);
}

void FrameWindowUi::SetPaneColors(int pane, COLORREF onBackground, COLORREF offBackground) {
    m_frame.m_wndStatusBar.SetPaneColors(pane, onBackground, offBackground);
}

void FrameWindowUi::ShowSetupWaitBox(const std::string& text) {
    auto& box = m_frame.m_WaitGetStatusDlg;
    if (!box.HasWindow())
        box.Create();
    box.SetText(text);
    box.ShowWindow(true);
}

bool FrameWindowUi::IsSetupWaitBoxShown() const {
    return m_frame.m_WaitGetStatusDlg.IsWindowVisible();
}

void FrameWindowUi::KillSetupWaitBoxTimer() {
    m_frame.m_WaitGetStatusDlg.KillTimer(CWaitGetStatusDlg::kTimerId);
}

void FrameWindowUi::SetSetupWaitProgress(int position) {
    m_frame.m_WaitGetStatusDlg.SetProgressPos(CWaitGetStatusDlg::IDC_PROGRESS, position);
}

void FrameWindowUi::StepSetupWaitProgress() {
    m_frame.m_WaitGetStatusDlg.StepProgress();
}

void FrameWindowUi::DestroySetupWaitBox() {
    m_frame.m_WaitGetStatusDlg.DestroyWindow();
}

bool FrameWindowUi::IsDownloadBoxShown() const {
    return m_frame.m_DownloadStatusDlg.IsWindowVisible();
}

void FrameWindowUi::ShowDownloadBox() {
    auto& box = m_frame.m_DownloadStatusDlg;
    if (!box.HasWindow())
        box.Create();
    box.SetDlgItemText(CDownloadStatusDlg::IDC_RECORD_BLOCKS, "0");
    box.SetProgressRange(CDownloadStatusDlg::IDC_PROGRESS, 0, 20);
    box.SetProgressPos(CDownloadStatusDlg::IDC_PROGRESS, 0);
    box.SetProgressStep(CDownloadStatusDlg::IDC_PROGRESS, 1);
    box.ShowWindow(true);
}

void FrameWindowUi::ShowWaitCursor(bool show) {
    if (!QGuiApplication::instance())
        return;
    if (show)
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QGuiApplication::restoreOverrideCursor();
}

int FrameWindowUi::StepDownloadProgress() {
    m_frame.m_DownloadStatusDlg.StepProgress(CDownloadStatusDlg::IDC_PROGRESS);
    return m_frame.m_DownloadStatusDlg.GetProgressPos(CDownloadStatusDlg::IDC_PROGRESS);
}

void FrameWindowUi::SetDownloadProgress(int position) {
    m_frame.m_DownloadStatusDlg.SetProgressPos(CDownloadStatusDlg::IDC_PROGRESS, position);
}

void FrameWindowUi::SetDownloadFields(const std::string& file, const std::string& line) {
    m_frame.m_DownloadStatusDlg.SetDlgItemText(CDownloadStatusDlg::IDC_RECORD_NUMBER, file);
    m_frame.m_DownloadStatusDlg.SetDlgItemText(CDownloadStatusDlg::IDC_RECORD_BLOCKS, line);
}

void FrameWindowUi::CloseDownloadBox() {
    m_frame.m_DownloadStatusDlg.DestroyWindow();
}

bool FrameWindowUi::HasInstrStatusDlg() const {
    return m_frame.m_ViewInstrStatusDlg.HasWindow();
}

void FrameWindowUi::CreateInstrStatusDlg() {
    m_frame.m_ViewInstrStatusDlg.Create();
    m_frame.m_ViewInstrStatusDlg.ShowWindow(true);
}

std::string FrameWindowUi::GetInstrStatusText() const {
    return m_frame.m_ViewInstrStatusDlg.m_strStatusText;
}

void FrameWindowUi::SetInstrStatusText(const std::string& text) {
    m_frame.m_ViewInstrStatusDlg.m_strStatusText = text;
}

void FrameWindowUi::ShowInstrStatus() {
    m_frame.m_ViewInstrStatusDlg.ShowStatus();
}

// ---- the main view, while it exists

namespace {
constexpr int kBandChartId = 1482;
}

void FrameWindowUi::ShowGraphWindow(bool show) {
    if (CKX9MonitorView* view = m_frame.View())
        view->ShowGraphWindow(ViewGraph::Data, show);
}

void FrameWindowUi::ShowBandChart(bool show) {
    if (CKX9MonitorView* view = m_frame.View())
        view->ShowControl(kBandChartId, show);
}

void FrameWindowUi::AppendPageListRow(const std::string& text, int image) {
    if (CKX9MonitorView* view = m_frame.View())
        view->m_PageList.InsertItem(view->m_PageList.GetItemCount(), text, image);
}

void FrameWindowUi::ScrollPageListToEnd() {
    if (CKX9MonitorView* view = m_frame.View())
        view->m_PageList.EnsureVisible(view->m_PageList.GetItemCount() - 1);
}

void FrameWindowUi::RefreshSetupDisplay() {
    if (CKX9MonitorView* view = m_frame.View())
        view->BuildSetupText();
}

bool FrameWindowUi::TrimReportList(int lastKeptRow, int rows) {
    CKX9MonitorView* view = m_frame.View();
    return !view || view->TrimReportList(lastKeptRow, rows);
}

void FrameWindowUi::SetReportTrimFinished() {
    if (CKX9MonitorView* view = m_frame.View())
        view->SetReportTrimFinished();
}

// ---- TryConnFeedback

TryConnFeedback::~TryConnFeedback() {
    while (m_cursorDepth > 0)
        SetWaitCursor(false);
}

void TryConnFeedback::ShowPleaseWait(const std::string& text) {
    m_box.Create();
    m_box.SetText(text);
    m_box.ShowWindow(true);
    m_box.UpdateWindow();
}

void TryConnFeedback::HidePleaseWait() {
    m_box.DestroyWindow();
}

void TryConnFeedback::SetWaitCursor(bool on) {
    if (on) {
        ++m_cursorDepth;
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    } else if (m_cursorDepth > 0) {
        --m_cursorDepth;
        QGuiApplication::restoreOverrideCursor();
    }
}
