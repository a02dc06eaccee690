// The frame's part in data files: opening them through the acquisition side's reader, the
// labels saved beside them, the audio-label window, and the scheduler log file.

#include "app/kx9monitor_app.h"
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

void CMainFrame::ShowAudioLabels(bool hasAudioLabels) {
    m_LabelAudioDlg.Create();
    m_LabelAudioDlg.UpdateLabelList();
    m_LabelAudioDlg.m_bHasAudioLabels = hasAudioLabels;
    m_LabelAudioDlg.ShowWindow(hasAudioLabels);
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
        Monitoring().AddSchedulerLogRow(*line);
}
