// The view's graph windows of a recording: the graph of a loaded page's levels, the spectrum
// of a record or a live reply in the band charts, and the live twins that add arriving values
// to the live graph. The records come from the data buffer through the recording's view of
// it; nothing here hands control to the event loop while it walks them.
#include <QGuiApplication>
#include <QScreen>

#include "app/chart_windows.h"
#include "app/kx9monitor_app.h"
#include "app/kx9monitor_view.h"
#include "charts/demo_dlg.h"
#include "charts/graph_legend_dlg.h"
#include "charts/spectrum_chart_fill.h"
#include "platform/text.h"

namespace {

constexpr unsigned kChildVisible = 0x50000000;
constexpr unsigned kShowAtOnce = 1;

int ScreenWidth() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().width() : 0;
}

acquisition::DataBufferView LoadedRecords(const acquisition::Recording& recording) {
    const std::vector<unsigned char>& buffer = TheApp().m_DataBuffer;
    return recording.View(
        {buffer.data(), std::min(buffer.size(), CKX9MonitorApp::kDataBufferSize)});
}

}  // namespace

charts::LevelGraphOptions CKX9MonitorView::LevelGraphOptions(bool live) const {
    charts::LevelGraphOptions options;
    if (m_uses && m_uses->charts.Legend().HasWindow())
        for (int channel = 0; channel < charts::kLevelChannels; ++channel)
            options.shown[channel] = m_uses->charts.Legend().IsChecked(channel);
    const std::string& model = TheApp().m_InstrStatus.m_strModel;
    // A loaded page hides the channels a "QS4060" lacks; the live graph shows the last two
    // only for a "QS4160".
    const bool three =
        live ? !platform::Contains(model, "QS4160") : platform::Contains(model, "QS4060");
    options.channels = three ? 3 : charts::kLevelChannels;
    options.urLine = m_nURLine != 0;
    options.urLevel = m_nURLevel;
    return options;
}

void CKX9MonitorView::CreateDataGraph(records::RecordKind kind, long long count) {
    if (m_pSecondGraph) {
        for (int series = 0; series < m_pSecondGraph->Capacity(); ++series)
            m_pSecondGraph->ClearPoints(series, kShowAtOnce);
        m_pSecondGraph.reset();
    }
    const ui::Rect report = FindControl(IDC_REPORT_LIST)->rect;
    m_pSecondGraph = std::make_unique<graph::CGraphWnd>(kGraphSlots);
    graph::CGraphWnd& graph = *m_pSecondGraph;
    graph.SetHost(&m_graphHost);
    graph.Create(
        kGraphWindowName,
        {report.left, report.bottom - 70, report.right, 2 * report.bottom - 50 - report.top},
        m_pWindow, IDC_GRAPH_WINDOW, kChildVisible);
    m_RecordSeries = charts::SetUpRecordGraph(graph, kind, m_nPointMarks != 0, m_nAxis != 0);
    const acquisition::DataBufferView records = LoadedRecords(Recording());
    if (records.Kind() == kind) {
        if (kind->shape == records::RecordShape::Profile)
            charts::FillProfileGraph(graph, records, count, m_RecordSeries);
        else
            charts::FillDataGraph(graph, records, count, m_RecordSeries, LevelGraphOptions(false));
    } else {
        graph.FitPanel(graph::kFitPage);
    }
    charts::WidenLevelBounds(graph);
}

void CKX9MonitorView::ShowSpectrum(charts::CChartWnd& chart, std::span<const float> levels) {
    const std::optional<records::RecordKind> kind = ChannelMode();
    charts::ScaleValueAxis(chart);
    charts::SetBandLayout(chart, kind, ScreenWidth());
    charts::AddSpectrumBars(chart, kind, levels, TheApp().m_InstrStatus.m_strSpectAuxWeighting);
    chart.SetUnitText("Hz");
    chart.RecalcLayout();
    chart.Invalidate();
}

void CKX9MonitorView::RefreshGraphWindows(int record) {
    m_DataChart.RemoveAllItems();
    m_DataList.RedrawItems();
    m_DataList.EnsureVisible(record);
    if (m_nIsophone && m_uses)
        m_uses->charts.ComputeIsophoneForBand(record);

    std::vector<float> levels;
    const acquisition::DataBufferView records = LoadedRecords(Recording());
    if (records.Kind() == ChannelMode())
        for (std::uint16_t word : records.Values(record))
            levels.push_back(charts::StoredBandLevel(word));
    ShowSpectrum(m_DataChart, levels);

    if (m_uses && m_uses->charts.LoadedSpectra().HasWindow())
        m_uses->charts.LoadedSpectra().HighlightRow(record);
}

void CKX9MonitorView::RearrangeGraphWindows(const std::string& reply) {
    m_LiveChart.RemoveAllItems();
    const std::vector<float> levels = charts::LiveSpectrumLevels(reply, ChannelMode());
    if (m_uses && m_nIsophone)
        m_uses->charts.ComputeIsophoneForLevels(levels);
    ShowSpectrum(m_LiveChart, levels);
}

void CKX9MonitorView::ShowReportSpectrum(const std::string& text) {
    m_LiveChart.RemoveAllItems();
    if (m_uses && m_nIsophone)
        m_uses->charts.ComputeIsophoneForLevels(text);
    ShowSpectrum(m_LiveChart, charts::ReportRowLevels(text));
    ShowControl(IDC_LIVE_CHART, true);
    ShowControl(IDC_DATA_CHART, false);
}

void CKX9MonitorView::AddLiveRecord(int record, std::span<const std::string> levels) {
    if (!m_pDataGraph)
        return;
    const std::vector<int> series(m_TraceHandles.begin(), m_TraceHandles.end());
    charts::AddLiveRecord(*m_pDataGraph, record, levels, series, LevelGraphOptions(true),
                          m_bLiveRepaint != 0);
}

void CKX9MonitorView::AddLiveGraphPoint(int sample, const std::string& level) {
    if (!m_pDataGraph)
        return;
    const std::vector<int> series(m_TraceHandles.begin(), m_TraceHandles.end());
    charts::AddLiveGraphPoint(*m_pDataGraph, sample, level, series, m_bLiveRepaint != 0);
}

void CKX9MonitorView::HideDemoWindows() {
    if (m_uses)
        m_uses->charts.HideSpectrumWindows();
}
