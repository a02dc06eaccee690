#pragma once
// The frame's small modeless boxes: progress of a setup read or a memory download, the
// meter's status, the please-wait box of the web service and the connect routines, the
// scheduler log's viewer, the lost-data notice and the notices nothing opens any more. They
// are windows of the frame: the exit destroys them all.

#include <string>

#include "acquisition/loose_data_dlg.h"
#include "app/dialogs/download_status_dlg.h"
#include "app/dialogs/notice_dlgs.h"
#include "app/dialogs/try_conn_dlg.h"
#include "app/dialogs/view_instr_status_dlg.h"
#include "app/dialogs/wait_get_status_dlg.h"
#include "web/wait_feedback.h"

// The web client's please-wait box: the frame's CTryConnDlg, and the wait cursor.
class TryConnFeedback : public web::WaitFeedback {
public:
    explicit TryConnFeedback(CTryConnDlg& box) : m_box(box) {}
    ~TryConnFeedback() override;

    void ShowPleaseWait(const std::string& text) override;
    void HidePleaseWait() override;
    void SetWaitCursor(bool on) override;

private:
    CTryConnDlg& m_box;
    int m_cursorDepth = 0;
};

class FrameBoxes {
public:
    FrameBoxes() = default;
    FrameBoxes(const FrameBoxes&) = delete;
    FrameBoxes& operator=(const FrameBoxes&) = delete;

    // The please-wait box as the web client and the bench show it.
    web::WaitFeedback& PleaseWait() { return m_pleaseWait; }
    void ShowPleaseWait(const std::string& text) { m_pleaseWait.ShowPleaseWait(text); }
    void ClosePleaseWait() { m_TryConnDlg.DestroyWindow(); }
    // The exit: every box's window goes.
    void DestroyAll();
    // The scheduler log's viewer, which a data file's scheduler log opens.
    CViewSchedLoggingDlg& SchedulerLogViewer() { return m_ViewSchedLoggingDlg; }
    // The lost-data notice of the live recording.
    acquisition::CLooseDataDlg& DataLossNotice() { return m_LooseDataDlg; }

    CDownloadStatusDlg m_DownloadStatusDlg;
    CWaitGetStatusDlg m_WaitGetStatusDlg;
    CWaitElabInfoDlg m_WaitElabInfoDlg;
    CWaitExportingToExcelDlg m_WaitExportingToExcelDlg;
    CWaitInstrRebootDlg m_WaitInstrRebootDlg;
    CTryConnDlg m_TryConnDlg;
    CExportToExcelDlg m_ExportToExcelDlg;
    CViewInstrStatusDlg m_ViewInstrStatusDlg;
    CBattWarningDlg m_BattWarningDlg;

private:
    CViewSchedLoggingDlg m_ViewSchedLoggingDlg;
    acquisition::CLooseDataDlg m_LooseDataDlg;
    TryConnFeedback m_pleaseWait{m_TryConnDlg};
};

// Closes the please-wait box when a command ends, however it ends.
class PleaseWaitCloser {
public:
    explicit PleaseWaitCloser(FrameBoxes& boxes) : m_boxes(boxes) {}
    ~PleaseWaitCloser() { m_boxes.ClosePleaseWait(); }
    PleaseWaitCloser(const PleaseWaitCloser&) = delete;
    PleaseWaitCloser& operator=(const PleaseWaitCloser&) = delete;

private:
    FrameBoxes& m_boxes;
};
