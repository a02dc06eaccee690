#include "app/frame_ui_adapter.h"

#include <QGuiApplication>
#include <array>

#include "app/frame_boxes.h"
#include "app/kx9monitor_view.h"
#include "app/main_frame_window.h"
#include "platform/qt_text.h"

namespace {
constexpr int kLinkPaneWidth = 190;
constexpr int kClockPaneWidth = 150;
constexpr std::array kClockPanes{6, 7, 9, 10};
}  // namespace

FrameWindowUi::FrameWindowUi(const FrameWindowHolder& window, FrameBoxes& boxes)
    : m_window(window), m_boxes(boxes) {
    SetUpStatusBar();
}

void FrameWindowUi::SetUpStatusBar() {
    std::array<unsigned, kPaneCount> indicators{};
    indicators[0] = ui::ID_SEPARATOR;
    for (int pane = 1; pane < kPaneCount; ++pane)
        indicators[static_cast<size_t>(pane)] = static_cast<unsigned>(pane);
    m_statusBar.SetIndicators(indicators.data(), kPaneCount);
    // Panes the link never writes take no room.
    for (int pane = 1; pane < kPaneCount; ++pane)
        m_statusBar.SetPaneInfo(pane, static_cast<unsigned>(pane), ui::SBPS_NOBORDERS, 0);
    m_statusBar.SetPaneInfo(kStatusPane, kStatusPane, ui::SBPS_NORMAL, kLinkPaneWidth);
    for (int pane : kClockPanes)
        m_statusBar.SetPaneInfo(pane, static_cast<unsigned>(pane), ui::SBPS_NORMAL,
                                kClockPaneWidth);
}

std::string FrameWindowUi::GetTitle() const {
    if (const CMainFrameWindow* window = m_window.Get())
        return platform::FromQt(window->windowTitle());
    return FrameUi::GetTitle();
}

void FrameWindowUi::SetTitle(const std::string& title) {
    FrameUi::SetTitle(title);
    if (CMainFrameWindow* window = m_window.Get())
        window->setWindowTitle(platform::ToQt(title));
}

bool FrameWindowUi::IsMinimized() const {
    const CMainFrameWindow* window = m_window.Get();
    return window && window->isMinimized();
}

void FrameWindowUi::SetPaneText(int pane, const std::string& onText, const std::string& offText) {
    m_statusBar.SetPaneText(pane, onText, offText);
}

void FrameWindowUi::SetPaneColors(int pane, COLORREF onBackground, COLORREF offBackground) {
    m_statusBar.SetPaneColors(pane, onBackground, offBackground);
}

void FrameWindowUi::ShowSetupWaitBox(const std::string& text) {
    auto& box = m_boxes.m_WaitGetStatusDlg;
    if (!box.HasWindow())
        box.Create();
    box.SetText(text);
    box.ShowWindow(true);
}

bool FrameWindowUi::IsSetupWaitBoxShown() const {
    return m_boxes.m_WaitGetStatusDlg.IsWindowVisible();
}

void FrameWindowUi::KillSetupWaitBoxTimer() {
    m_boxes.m_WaitGetStatusDlg.KillTimer(CWaitGetStatusDlg::kTimerId);
}

void FrameWindowUi::SetSetupWaitProgress(int position) {
    m_boxes.m_WaitGetStatusDlg.SetProgressPos(CWaitGetStatusDlg::IDC_PROGRESS, position);
}

void FrameWindowUi::StepSetupWaitProgress() {
    m_boxes.m_WaitGetStatusDlg.StepProgress();
}

void FrameWindowUi::DestroySetupWaitBox() {
    m_boxes.m_WaitGetStatusDlg.DestroyWindow();
}

bool FrameWindowUi::IsDownloadBoxShown() const {
    return m_boxes.m_DownloadStatusDlg.IsWindowVisible();
}

void FrameWindowUi::ShowDownloadBox() {
    auto& box = m_boxes.m_DownloadStatusDlg;
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
    m_boxes.m_DownloadStatusDlg.StepProgress(CDownloadStatusDlg::IDC_PROGRESS);
    return m_boxes.m_DownloadStatusDlg.GetProgressPos(CDownloadStatusDlg::IDC_PROGRESS);
}

void FrameWindowUi::SetDownloadProgress(int position) {
    m_boxes.m_DownloadStatusDlg.SetProgressPos(CDownloadStatusDlg::IDC_PROGRESS, position);
}

void FrameWindowUi::SetDownloadFields(const std::string& file, const std::string& line) {
    m_boxes.m_DownloadStatusDlg.SetDlgItemText(CDownloadStatusDlg::IDC_RECORD_NUMBER, file);
    m_boxes.m_DownloadStatusDlg.SetDlgItemText(CDownloadStatusDlg::IDC_RECORD_BLOCKS, line);
}

void FrameWindowUi::CloseDownloadBox() {
    m_boxes.m_DownloadStatusDlg.DestroyWindow();
}

bool FrameWindowUi::HasInstrStatusDlg() const {
    return m_boxes.m_ViewInstrStatusDlg.HasWindow();
}

void FrameWindowUi::CreateInstrStatusDlg() {
    m_boxes.m_ViewInstrStatusDlg.Create();
    m_boxes.m_ViewInstrStatusDlg.ShowWindow(true);
}

std::string FrameWindowUi::GetInstrStatusText() const {
    return m_boxes.m_ViewInstrStatusDlg.m_strStatusText;
}

void FrameWindowUi::SetInstrStatusText(const std::string& text) {
    m_boxes.m_ViewInstrStatusDlg.m_strStatusText = text;
}

void FrameWindowUi::ShowInstrStatus() {
    m_boxes.m_ViewInstrStatusDlg.ShowStatus();
}

// ---- the main view, while it exists

CKX9MonitorView* FrameWindowUi::View() const {
    const CMainFrameWindow* window = m_window.Get();
    return window ? window->View() : nullptr;
}

namespace {
constexpr int kBandChartId = 1482;
}

void FrameWindowUi::ShowGraphWindow(bool show) {
    if (CKX9MonitorView* view = View())
        view->ShowGraphWindow(ViewGraph::Data, show);
}

void FrameWindowUi::ShowBandChart(bool show) {
    if (CKX9MonitorView* view = View())
        view->ShowControl(kBandChartId, show);
}

void FrameWindowUi::AppendPageListRow(const std::string& text, int image) {
    if (CKX9MonitorView* view = View())
        view->m_PageList.InsertItem(view->m_PageList.GetItemCount(), text, image);
}

void FrameWindowUi::ScrollPageListToEnd() {
    if (CKX9MonitorView* view = View())
        view->m_PageList.EnsureVisible(view->m_PageList.GetItemCount() - 1);
}

void FrameWindowUi::RefreshSetupDisplay() {
    if (CKX9MonitorView* view = View())
        view->BuildSetupText();
}

bool FrameWindowUi::TrimReportList(int lastKeptRow, int rows) {
    CKX9MonitorView* view = View();
    return !view || view->TrimReportList(lastKeptRow, rows);
}

void FrameWindowUi::SetReportTrimFinished() {
    if (CKX9MonitorView* view = View())
        view->SetReportTrimFinished();
}
