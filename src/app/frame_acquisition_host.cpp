#include "app/frame_acquisition_host.h"

#include <QGuiApplication>
#include <algorithm>

#include "app/chart_windows.h"
#include "app/dialogs/notice_dlgs.h"
#include "app/frame_data_files.h"
#include "app/frame_ui.h"
#include "app/kx9monitor_app.h"
#include "app/kx9monitor_view.h"
#include "app/view_lookup.h"
#include "link/meter_mode.h"
#include "platform/qt_text.h"

namespace {

constexpr const char* kTitlePrefix = "KX9Monitor  -  ";

bool IsSpectrum(std::optional<records::RecordKind> kind) {
    return kind && kind->IsSpectrum();
}

bool HasShape(std::optional<records::RecordKind> kind, records::RecordShape shape) {
    return kind && (*kind)->shape == shape;
}

}  // namespace

acquisition::PageBuffer FrameAcquisitionHost::DataBuffer() {
    std::vector<unsigned char>& buffer = TheApp().m_DataBuffer;
    return {{buffer.data(), std::min(buffer.size(), records::kDataBufferSize)},
            TheApp().m_DataBufferFilled};
}

void FrameAcquisitionHost::SetDataLoaded() {
    TheApp().m_bDataLoaded = 1;
}

void FrameAcquisitionHost::BeginDataFile(const std::string& path) {
    CKX9MonitorApp& app = TheApp();
    m_uses.ui.SetTitle(kTitlePrefix + platform::SystemNameToText(path));
    // The reset leaves the model as it is: a data file is a "QS4160" one until its setup says.
    app.m_InstrStatus.m_strModel = "QS4160";
    app.m_InstrStatus.Reset();
    app.m_EditStatus.Reset();
    CKX9MonitorView* view = m_uses.views.Current();
    if (!view)
        return;
    view->m_ReportList.DeleteAllItems();
    view->m_DataList.DeleteAllItems();
    view->m_ParamList.DeleteAllItems();
    if (graph::CGraphWnd* graph = view->GraphWindow(ViewGraph::Data))
        for (int series = 0; series < graph->GetGraphCount(); ++series)
            graph->ClearPoints(series, 1);
    view->ShowControl(CKX9MonitorView::IDC_LIVE_CHART, false);
}

void FrameAcquisitionHost::TakeRecordingSetup(const acquisition::RecordingSetup& setup) {
    CKX9MonitorApp& app = TheApp();
    CInstrStatus& current = app.m_InstrStatus;
    m_uses.mode.OnRecordingLoaded(setup.kind);
    app.m_nPagingSize = static_cast<int>(std::clamp<long long>(setup.pageSize, 0, INT32_MAX));
    current.m_strModel = setup.model;
    current.m_strProfileTime = setup.profileTime;
    current.m_strProfileSpectrumTime = setup.spectrumTime;
    current.m_strSlm1Param = setup.parameters[0];
    current.m_strSlm2Param = setup.parameters[1];
    current.m_strSlm3Param = setup.parameters[2];
    current.m_strSlm4Param = setup.parameters[3];
    current.m_strSlm5Param = setup.parameters[4];
    current.m_strProfileParam = setup.parameters[5];
    current.m_strSpectAuxWeighting = setup.parameters[6];
    current.m_strHalfBandShift = setup.spectShift;
    if (CKX9MonitorView* view = m_uses.views.Current()) {
        view->m_nLevelScaleTop = setup.LevelScaleTop();
        view->SetupDataListColumns(setup.kind);
        view->BuildSetupText();
    }
    // After the parameter list, which takes the block's date and time: a single file's come
    // from its first page. Stored as that list stores them, where the record processors look.
    current.m_strDate = "Instr.Date: " + setup.date;
    current.m_strTime = "Instr.Time: " + setup.time;
}

void FrameAcquisitionHost::BeginWaitCursor() {
    if (QGuiApplication::instance())
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
}

void FrameAcquisitionHost::EndWaitCursor() {
    if (QGuiApplication::instance())
        QGuiApplication::restoreOverrideCursor();
}

void FrameAcquisitionHost::ShowLoadedDataViews(std::optional<records::RecordKind> kind) {
    CKX9MonitorView* view = m_uses.views.Current();
    if (!view)
        return;
    view->ShowControl(CKX9MonitorView::IDC_PAGE_LIST, true);
    view->ShowControl(CKX9MonitorView::IDC_DATA_LIST, true);
    view->ShowControl(CKX9MonitorView::IDC_REPORT_LIST, false);
    view->ShowGraphWindow(ViewGraph::Data, false);
    view->ShowGraphWindow(ViewGraph::Second, false);
    view->ShowControl(CKX9MonitorView::IDC_LIVE_CHART, false);
    view->ShowControl(CKX9MonitorView::IDC_DATA_CHART, IsSpectrum(kind));
    m_uses.files.ShowNavigator(IsSpectrum(kind));
    if (HasShape(kind, records::RecordShape::Levels)) {
        m_uses.charts.Legend().Create();
        m_uses.charts.Legend().ShowWindow(true);
    }
}

void FrameAcquisitionHost::SetDataListCount(long long rows) {
    if (CKX9MonitorView* view = m_uses.views.Current()) {
        view->m_DataList.SetItemCount(static_cast<int>(std::clamp<long long>(rows, 0, INT32_MAX)));
        view->m_DataList.RedrawItems();
    }
}

void FrameAcquisitionHost::OnPageLoaded(std::optional<records::RecordKind> kind,
                                        long long samples) {
    if (IsSpectrum(kind))
        m_uses.charts.ReloadLoadedSpectra();
    CKX9MonitorView* view = m_uses.views.Current();
    if (!view || !kind)
        return;
    if (!IsSpectrum(kind)) {
        view->CreateDataGraph(*kind, samples);
    } else {
        view->RefreshGraphWindows();
        m_uses.files.Navigator().SetSpectrumCount(
            static_cast<int>(std::clamp<long long>(samples, 0, INT32_MAX)));
        m_uses.files.ShowNavigator(true);
    }
}

void FrameAcquisitionHost::UpdateAudioLabelWindow(bool hasAudioLabels) {
    m_uses.files.ShowAudioLabels(hasAudioLabels);
}

void FrameAcquisitionHost::CreateSchedulerLogWindow() {
    m_uses.schedulerLogViewer.Create();
}

void FrameAcquisitionHost::ShowSchedulerLogWindow(const std::string& path) {
    CViewSchedLoggingDlg& window = m_uses.schedulerLogViewer;
    if (!window.HasWindow())
        return;
    window.m_strText = path;
    window.ShowWindow(true);
}

void FrameAcquisitionHost::ShowRecord(int record) {
    m_uses.recording.SelectRecord(record);
    if (CKX9MonitorView* view = m_uses.views.Current())
        view->RefreshGraphWindows();
}

QRect FrameAcquisitionHost::ReportListScreenRect() const {
    return m_uses.charts.Host().ReportListScreenRect();
}

int FrameAcquisitionHost::CurrentRecord() const {
    return TheApp().m_GraphMarks.currentRecord;
}

void FrameAcquisitionHost::LabelsRemoved() {
    m_uses.files.Reader().SaveLabelFile();
    if (CKX9MonitorView* view = m_uses.views.Current())
        view->RefreshGraphWindows();
}
