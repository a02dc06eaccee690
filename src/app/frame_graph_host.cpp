#include "app/frame_graph_host.h"

#include <algorithm>

#include "acquisition/data_file_reader.h"
#include "acquisition/data_list_texts.h"
#include "app/chart_windows.h"
#include "app/frame_data_files.h"
#include "app/kx9monitor_app.h"
#include "app/kx9monitor_view.h"
#include "app/view_uses.h"
#include "charts/graph_legend_dlg.h"
#include "charts/point_readout.h"
#include "link/meter_mode.h"
#include "sound/label_audio_dlg.h"

std::string FrameGraphHost::TimeLabel(int row) {
    // The live segment is in the report list, a stored page in the data list.
    if (m_view.Recording().SelectedSegment() == -1)
        return m_view.m_ReportList.IsValidRow(row) ? m_view.m_ReportList.GetItemText(row, 0)
                                                   : std::string();
    const ui::VirtualListCtrl& data = m_view.m_DataList;
    return row >= 0 && row < data.GetItemCount() ? data.GetItemText(row, 0) : std::string();
}

graph::GraphContext FrameGraphHost::Context() const {
    const CKX9MonitorApp& app = TheApp();
    graph::GraphContext context;
    context.liveMonitoring = m_uses && m_uses->mode.IsLive();
    const acquisition::Recording& recording = m_view.Recording();
    context.selectedSegment = recording.SelectedSegment();
    const auto kind = m_uses ? m_uses->mode.ChannelMode() : std::nullopt;
    context.statusColumn = acquisition::StatusColumn(kind, app.m_InstrStatus.m_strModel);
    context.channelLevels = kind && (*kind)->shape == records::RecordShape::Levels;
    context.recordKind = app.m_strSpectrumKind;
    context.absoluteTimes = recording.AbsoluteTimes();
    context.wideLine = m_view.m_nWideLine != 0;
    context.underRangeLevel = m_view.m_nURLevel;
    return context;
}

graph::GraphMarks* FrameGraphHost::Marks() {
    return &TheApp().m_GraphMarks;
}

std::vector<int> FrameGraphHost::RowsWithStatus(int column, const std::string& status, int first,
                                                int last) {
    std::vector<int> rows;
    const auto scan = [&](int count, const auto& text) {
        for (int row = std::max(0, first); row <= std::min(last, count - 1); ++row)
            if (text(row) == status)
                rows.push_back(row);
    };
    if (m_view.IsControlVisible(CKX9MonitorView::IDC_REPORT_LIST)) {
        const ui::CReportCtrl& list = m_view.m_ReportList;
        scan(list.GetItemCount(), [&](int row) { return list.GetItemText(row, column); });
    } else {
        const ui::VirtualListCtrl& list = m_view.m_DataList;
        scan(list.GetItemCount(), [&](int row) { return list.GetItemText(row, column); });
    }
    return rows;
}

int* FrameGraphHost::Switch(graph::ViewSwitch which) const {
    switch (which) {
        case graph::ViewSwitch::PointMarks:
            return &m_view.m_nPointMarks;
        case graph::ViewSwitch::Axis:
            return &m_view.m_nAxis;
        case graph::ViewSwitch::MarkersCleared:
            return &m_view.m_nMarkersCleared;
    }
    return nullptr;
}

bool FrameGraphHost::GetViewSwitch(graph::ViewSwitch which) const {
    const int* value = Switch(which);
    return value && *value != 0;
}

void FrameGraphHost::SetViewSwitch(graph::ViewSwitch which, bool on) {
    if (int* value = Switch(which))
        *value = on ? 1 : 0;
}

void FrameGraphHost::RefreshSegmentGraph() {
    const ViewGraph shown =
        m_view.Recording().SelectedSegment() == -1 ? ViewGraph::Data : ViewGraph::Second;
    graph::CGraphWnd* window = m_view.GraphWindow(shown);
    if (!window || !window->IsWindowVisible())
        return;
    window->ShowWindow(false);
    window->ShowWindow(true);
}

std::vector<int> FrameGraphHost::ReportIntervalSamples(int first, int last) {
    std::vector<int> samples;
    const acquisition::Timebase& timebase = m_view.Recording().Time();
    if (!timebase.HasScheduleTimes())
        return samples;
    for (int sample = std::max(first, 0); sample <= last; ++sample)
        if (timebase.IsReportIntervalSample(sample))
            samples.push_back(sample);
    return samples;
}

void FrameGraphHost::OnLabelAdded(bool showAudioLabels) {
    m_bLabelsChanged = true;
    if (!m_uses)
        return;
    FrameDataFiles& data = m_uses->dataFiles;
    data.Reader().SaveLabelFile();
    data.ShowAudioLabels(showAudioLabels || data.AudioLabels().m_bHasAudioLabels);
}

void FrameGraphHost::ClearLabels() {
    if (!m_uses)
        return;
    sound::CLabelAudioDlg& window = m_uses->dataFiles.AudioLabels();
    window.Create();
    window.m_bClearingMode = 1;
    window.UpdateLabelList();
    window.ShowWindow(true);
}

void FrameGraphHost::OnPanelDoubleClick() {
    m_view.m_strRecordKind = TheApp().m_strSpectrumKind;
}

std::string FrameGraphHost::FormatPointReadout(int x, int y, const std::string& coordinates) {
    const bool live = m_view.Recording().SelectedSegment() == -1;
    charts::PointReadoutSource source;
    source.kind = m_uses ? m_uses->mode.ChannelMode() : std::nullopt;
    source.cell = [this, live](int row, int column) {
        if (live)
            return m_view.m_ReportList.IsValidRow(row)
                       ? m_view.m_ReportList.GetItemText(row, column)
                       : std::string();
        const ui::VirtualListCtrl& data = m_view.m_DataList;
        return row >= 0 && row < data.GetItemCount() ? data.GetItemText(row, column)
                                                     : std::string();
    };
    if (const graph::CGraphWnd* graph =
            m_view.GraphWindow(live ? ViewGraph::Data : ViewGraph::Second)) {
        double xFrom = 0, xTo = 0, yFrom = 0, yTo = 0;
        graph->GetVisibleRange(xFrom, xTo, yFrom, yTo);
        source.visibleSpan = yTo - yFrom;
    }
    source.shown = m_view.LevelGraphOptions(false).shown;
    const CInstrStatus& setup = TheApp().m_InstrStatus;
    const std::string* parameters[] = {&setup.m_strSlm1Param, &setup.m_strSlm2Param,
                                       &setup.m_strSlm3Param, &setup.m_strSlm4Param,
                                       &setup.m_strSlm5Param};
    for (int channel = 0; channel < charts::kLevelChannels; ++channel)
        source.channelNames[channel] = m_view.GetParameterName(*parameters[channel]);

    const charts::PointReadout readout = charts::FormatPointReadout(x, y, coordinates, source);
    if (m_uses && (readout.timeLine || readout.channelLines[0])) {
        charts::CGraphLegendDlg& legend = m_uses->charts.Legend();
        if (readout.timeLine)
            legend.SetTimeLine(*readout.timeLine);
        for (int channel = 0; channel < charts::kLevelChannels; ++channel)
            if (readout.channelLines[channel])
                legend.SetChannelLine(channel, *readout.channelLines[channel]);
        legend.RefreshControls();
    }
    return readout.text;
}
