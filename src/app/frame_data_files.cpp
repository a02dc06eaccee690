#include "app/frame_data_files.h"

#include "acquisition/sel_file_to_save_dlg.h"
#include "app/kx9monitor_app.h"
#include "app/kx9monitor_view.h"
#include "app/view_lookup.h"
#include "link/meter_mode.h"

FrameDataFiles::FrameDataFiles(const Uses& uses)
    : m_mode(uses.mode),
      m_views(uses.views),
      m_host(FrameAcquisitionHost::Uses{
          .ui = uses.ui,
          .mode = uses.mode,
          .recording = uses.recording,
          .charts = uses.charts,
          .schedulerLogViewer = uses.schedulerLogViewer,
          .views = uses.views,
          .files = *this,
      }),
      m_reader(acquisition::DataFileReader::Uses{
          .host = m_host,
          .pages = uses.pages,
          .recording = uses.recording,
          .setupBlock = uses.setupBlock,
          .notices = uses.notices,
          .currentFile = TheApp().m_strCurrentFile,
          .labels = TheApp().m_GraphMarks.labels,
      }),
      m_navigator(m_host, uses.recording),
      m_audioLabels(TheApp().m_GraphMarks.labels, m_host) {}

bool FrameDataFiles::RunSaveDialog() {
    const CKX9MonitorApp& app = TheApp();
    acquisition::CSelFileToSaveDlg::Source source;
    source.currentFile = app.m_strCurrentFile;
    source.programFolder = app.m_strProgramDir;
    source.liveIndex = app.ProgramPath(std::string("\\") + records::kRecordIndexName);
    source.monitoring = m_mode.IsMonitorOn() && m_mode.IsAcquiring();
    if (const CKX9MonitorView* view = m_views.Current())
        for (int row = 0; row < view->m_PageList.GetItemCount(); ++row)
            source.pageRows.push_back(view->m_PageList.GetItemText(row, 0));
    acquisition::CSelFileToSaveDlg dialog(std::move(source));
    const int result = dialog.DoModal();
    if (result == IDOK)
        m_mode.MarkDataSaved();
    return result != IDCANCEL;
}

void FrameDataFiles::ShowNavigator(bool show) {
    if (show)
        m_navigator.Open();
    else
        m_navigator.ShowWindow(false);
}

void FrameDataFiles::ShowAudioLabels(bool hasAudioLabels) {
    m_audioLabels.Create();
    m_audioLabels.UpdateLabelList();
    m_audioLabels.m_bHasAudioLabels = hasAudioLabels;
    m_audioLabels.ShowWindow(hasAudioLabels);
}

void FrameDataFiles::UpdateAudioLabelWindow() {
    if (!m_audioLabels.HasWindow()) {
        m_audioLabels.Create();
        return;
    }
    m_audioLabels.UpdateLabelList();
    m_audioLabels.ShowWindow(m_audioLabels.m_bHasAudioLabels);
}
