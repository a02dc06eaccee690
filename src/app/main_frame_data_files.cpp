// The frame's part in data files: opening them through the acquisition side's reader, the
// labels saved beside them, the audio-label window, and the scheduler log file.

#include "acquisition/sel_file_to_save_dlg.h"
#include "app/kx9monitor_app.h"
#include "app/kx9monitor_view.h"
#include "app/main_frame.h"

void CMainFrame::OpenSessionFile(const std::string& path) {
    m_dataFiles.OpenSessionFile(path);
}

int CMainFrame::OpenDataFile(const std::string& path, int first, int page) {
    return m_dataFiles.OpenDataFile(path, first, page);
}

void CMainFrame::SaveLabelFile() {
    m_dataFiles.SaveLabelFile();
}

bool CMainFrame::RunSaveDialog() {
    const CKX9MonitorApp& app = TheApp();
    acquisition::CSelFileToSaveDlg::Source source;
    source.currentFile = app.m_strCurrentFile;
    source.programFolder = app.m_strProgramDir;
    source.liveIndex = app.ProgramPath(std::string("\\") + acquisition::kRecordIndexName);
    source.monitoring = Mode().IsMonitorOn() && Mode().IsAcquiring();
    if (const CKX9MonitorView* view = app.m_pView)
        for (int row = 0; row < view->m_PageList.GetItemCount(); ++row)
            source.pageRows.push_back(view->m_PageList.GetItemText(row, 0));
    acquisition::CSelFileToSaveDlg dialog(std::move(source));
    const int result = dialog.DoModal();
    if (result == IDOK)
        Mode().SetDataSaved(true);
    return result != IDCANCEL;
}

void CMainFrame::ShowAudioLabels(bool hasAudioLabels) {
    m_LabelAudioDlg.Create();
    m_LabelAudioDlg.UpdateLabelList();
    m_LabelAudioDlg.m_bHasAudioLabels = hasAudioLabels;
    m_LabelAudioDlg.ShowWindow(hasAudioLabels);
}

void CMainFrame::ShowNavigator(bool show) {
    if (show)
        m_NavigatorDlg.Open();
    else
        m_NavigatorDlg.ShowWindow(false);
}

void CMainFrame::UpdateAudioLabelWindow() {
    if (!m_LabelAudioDlg.HasWindow()) {
        m_LabelAudioDlg.Create();
        return;
    }
    m_LabelAudioDlg.UpdateLabelList();
    m_LabelAudioDlg.ShowWindow(m_LabelAudioDlg.m_bHasAudioLabels);
}

void CMainFrame::LogScheduler(BOOL restart, const std::string& text, BOOL stamp) {
    if (const auto line = m_schedulerLog.Write(restart != FALSE, text, stamp != FALSE))
        m_SchedulerDlg.AddLogRow(*line);
}
