#include "app/frame_boxes.h"

#include <initializer_list>

void FrameBoxes::DestroyAll() {
    for (dialogs::ModelessDialog* box : std::initializer_list<dialogs::ModelessDialog*>{
             &m_DownloadStatusDlg, &m_WaitGetStatusDlg, &m_WaitElabInfoDlg,
             &m_WaitExportingToExcelDlg, &m_WaitInstrRebootDlg, &m_TryConnDlg, &m_ExportToExcelDlg,
             &m_ViewInstrStatusDlg, &m_ViewSchedLoggingDlg, &m_BattWarningDlg})
        box->DestroyWindow();
}
