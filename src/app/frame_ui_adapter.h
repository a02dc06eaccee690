#pragma once
// What the frame shows, on the frame's own parts: the title on its window, the panes on its
// status bar and the progress boxes on its member dialogs. Everything works before the window
// exists: the bar keeps its panes and the title waits for the window.

#include <string>

#include "app/frame_ui.h"
#include "ui/x_status_bar.h"

class CKX9MonitorView;
class FrameBoxes;
class FrameWindowHolder;

class FrameWindowUi : public FrameUi {
public:
    // The status bar's panes: 1 the link's, 6 and 7 (9 and 10 in scheduler mode) the meter's
    // date and time.
    static constexpr int kPaneCount = 11;

    // The title goes to the window `window` holds, the progress boxes are among `boxes`.
    FrameWindowUi(const FrameWindowHolder& window, FrameBoxes& boxes);

    // The bar the window shows.
    ui::XStatusBar& StatusBar() { return m_statusBar; }

    std::string GetTitle() const override;
    void SetTitle(const std::string& title) override;
    bool IsMinimized() const override;

    void SetPaneText(int pane, const std::string& onText, const std::string& offText) override;
    void SetPaneColors(int pane, COLORREF onBackground, COLORREF offBackground) override;

    bool IsSetupWaitBoxShown() const override;
    void ShowSetupWaitBox(const std::string& text) override;
    void KillSetupWaitBoxTimer() override;
    void SetSetupWaitProgress(int position) override;
    void StepSetupWaitProgress() override;
    void DestroySetupWaitBox() override;

    bool IsDownloadBoxShown() const override;
    void ShowDownloadBox() override;
    void ShowWaitCursor(bool show) override;
    int StepDownloadProgress() override;
    void SetDownloadProgress(int position) override;
    void SetDownloadFields(const std::string& file, const std::string& line) override;
    void CloseDownloadBox() override;

    bool HasInstrStatusDlg() const override;
    void CreateInstrStatusDlg() override;
    std::string GetInstrStatusText() const override;
    void SetInstrStatusText(const std::string& text) override;
    void ShowInstrStatus() override;

    void ShowGraphWindow(bool show) override;
    void ShowBandChart(bool show) override;
    void AppendPageListRow(const std::string& text, int image) override;
    void ScrollPageListToEnd() override;
    void RefreshSetupDisplay() override;

    bool TrimReportList(int lastKeptRow, int rows) override;
    void SetReportTrimFinished() override;

private:
    void SetUpStatusBar();

    CKX9MonitorView* View() const;

    const FrameWindowHolder& m_window;
    FrameBoxes& m_boxes;
    ui::XStatusBar m_statusBar;
};
