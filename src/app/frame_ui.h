#pragma once
// What the main frame shows: its title, its status-bar panes and the small boxes of long link
// operations. The frame's window implements it; until a window exists these do nothing, as a
// pane written before the status bar exists does nothing.

#include <string>

#include "platform/win_types.h"

class FrameUi {
public:
    virtual ~FrameUi() = default;

    virtual std::string GetTitle() const { return m_title; }
    virtual void SetTitle(const std::string& title) { m_title = title; }
    virtual bool IsMinimized() const { return false; }

    // Status bar: pane texts (on and off state) and background colours (on and off state).
    virtual void SetPaneText(int /*pane*/, const std::string& /*onText*/,
                             const std::string& /*offText*/ = std::string()) {}
    virtual void SetPaneColors(int /*pane*/, COLORREF /*onBackground*/,
                               COLORREF /*offBackground*/) {}

    // The progress box of a whole-setup read (CWaitGetStatusDlg).
    virtual bool IsSetupWaitBoxShown() const { return false; }
    virtual void KillSetupWaitBoxTimer() {}
    virtual void SetSetupWaitProgress(int /*position*/) {}
    virtual void StepSetupWaitProgress() {}
    virtual void DestroySetupWaitBox() {}

    // The memory-download box (CDownloadStatusDlg).
    virtual bool IsDownloadBoxShown() const { return false; }
    // Steps the bar and returns its new position.
    virtual int StepDownloadProgress() { return 0; }
    virtual void SetDownloadProgress(int /*position*/) {}
    virtual void SetDownloadFields(const std::string& /*file*/, const std::string& /*line*/) {}
    virtual void CloseDownloadBox() {}

    // The instrument status dialog's accumulated text (CViewInstrStatusDlg::m_strStatusText).
    virtual void EmptyInstrStatusText() {}

    // The main view's report list, trimmed during live monitoring.
    virtual void EnsureReportRowVisible(int /*row*/) {}
    virtual bool DeleteReportRow(int /*row*/) { return false; }
    virtual void SetReportTrimFinished() {}

private:
    std::string m_title;
};
