#pragma once
// What the main frame shows: its title, its status-bar panes and the small boxes of long link
// operations. The frame's window implements it; until a window exists these do nothing, as a
// pane written before the status bar exists does nothing.

#include <string>

#include "platform/win_types.h"

class CInstrStatus;

class FrameUi {
public:
    // The window's title while no meter is known, and the link's pane of the status bar.
    static constexpr const char* kWindowTitle = "KX9Monitor";
    static constexpr int kStatusPane = 1;

    virtual ~FrameUi() = default;

    virtual std::string GetTitle() const { return m_title; }
    virtual void SetTitle(const std::string& title) { m_title = title; }
    virtual bool IsMinimized() const { return false; }

    // Status bar: pane texts (on and off state) and background colours (on and off state).
    virtual void SetPaneText(int /*pane*/, const std::string& /*onText*/,
                             const std::string& /*offText*/ = std::string()) {}
    virtual void SetPaneColors(int /*pane*/, COLORREF /*onBackground*/,
                               COLORREF /*offBackground*/) {}

    // The progress box of a whole-setup read or send (CWaitGetStatusDlg).
    virtual bool IsSetupWaitBoxShown() const { return false; }
    // Creates the box when it does not exist, sets its text and shows it.
    virtual void ShowSetupWaitBox(const std::string& /*text*/) {}
    virtual void KillSetupWaitBoxTimer() {}
    virtual void SetSetupWaitProgress(int /*position*/) {}
    virtual void StepSetupWaitProgress() {}
    virtual void DestroySetupWaitBox() {}
    // The box's end: its timer stopped, its bar full for a moment, then gone.
    void EndSetupWaitBox();

    // The memory-download box (CDownloadStatusDlg).
    virtual bool IsDownloadBoxShown() const { return false; }
    // Creates the box when it does not exist, with "0" record blocks and its bar at 0 of 20.
    virtual void ShowDownloadBox() {}
    // Steps the bar and returns its new position.
    virtual int StepDownloadProgress() { return 0; }
    virtual void SetDownloadProgress(int /*position*/) {}
    virtual void SetDownloadFields(const std::string& /*file*/, const std::string& /*line*/) {}
    virtual void CloseDownloadBox() {}

    // The instrument status dialog (CViewInstrStatusDlg) and its accumulated reply text
    // (m_strStatusText), which exists with or without the dialog's window.
    virtual bool HasInstrStatusDlg() const { return false; }
    virtual void CreateInstrStatusDlg() {}
    virtual std::string GetInstrStatusText() const { return m_statusText; }
    virtual void SetInstrStatusText(const std::string& text) { m_statusText = text; }
    void EmptyInstrStatusText() { SetInstrStatusText(std::string()); }
    // Parses the accumulated text into the dialog's fields (CViewInstrStatusDlg::ShowStatus).
    virtual void ShowInstrStatus() {}

    // The wait cursor, while a long link operation runs.
    virtual void ShowWaitCursor(bool /*show*/) {}

    // The main view's graph window, its band chart (1482) and its page list (1602).
    virtual void ShowGraphWindow(bool /*show*/) {}
    virtual void ShowBandChart(bool /*show*/) {}
    // image -1: none.
    virtual void AppendPageListRow(const std::string& /*text*/, int /*image*/) {}
    virtual void ScrollPageListToEnd() {}
    // The view's display of the frame's setup block.
    virtual void RefreshSetupDisplay() {}

    // The main view's report list, trimmed during live monitoring: at most `rows` rows cut
    // (CKX9MonitorView::TrimReportList); true when nothing is left to cut.
    virtual bool TrimReportList(int /*lastKeptRow*/, int /*rows*/) { return true; }
    virtual void SetReportTrimFinished() {}

private:
    std::string m_title;
    std::string m_statusText;
};

// "KX9Monitor <model> - <serial number>" of the meter's setup `current`.
std::string NormalFrameTitle(const CInstrStatus& current);
