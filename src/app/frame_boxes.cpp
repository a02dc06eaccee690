#include "app/frame_boxes.h"

#include <QGuiApplication>
#include <initializer_list>

void FrameBoxes::DestroyAll() {
    for (dialogs::ModelessDialog* box : std::initializer_list<dialogs::ModelessDialog*>{
             &m_DownloadStatusDlg, &m_WaitGetStatusDlg, &m_WaitElabInfoDlg,
             &m_WaitExportingToExcelDlg, &m_WaitInstrRebootDlg, &m_TryConnDlg, &m_ExportToExcelDlg,
             &m_ViewInstrStatusDlg, &m_ViewSchedLoggingDlg, &m_BattWarningDlg})
        box->DestroyWindow();
}

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
