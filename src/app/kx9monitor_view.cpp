#include "app/kx9monitor_view.h"

#include <algorithm>
#include <span>

#include "acquisition/data_file_reader.h"
#include "acquisition/data_list_texts.h"
#include "acquisition/live_recorder.h"
#include "app/chart_windows.h"
#include "app/data_view_state.h"
#include "app/frame_data_files.h"
#include "app/frame_ui.h"
#include "app/kx9monitor_app.h"
#include "app/setup_texts.h"
#include "charts/equal_loudness.h"
#include "graph/graph_panel.h"
#include "link/meter_mode.h"
#include "platform/operator.h"
#include "platform/text.h"
#include "records/record_layout.h"

using platform::Contains;

namespace {
// Dialog units of the form's 8-point font (6 x 13 pixels per 4 x 8 units) in pixels.
ui::Rect FormRect(int x, int y, int width, int height) {
    auto px = [](int units) { return (units * 6 + 2) / 4; };
    auto py = [](int units) { return (units * 13 + 4) / 8; };
    return {px(x), py(y), px(x + width), py(y + height)};
}

struct FormControl {
    int id;
    ui::Rect rect;
    unsigned xFlags;
    unsigned yFlags;
};

const FormControl kForm[] = {
    {CKX9MonitorView::IDC_REPORT_LIST, FormRect(0, 0, 360, 190), 6, 2},
    {CKX9MonitorView::IDC_DATA_LIST, FormRect(137, 0, 223, 211), 6, 2},
    {CKX9MonitorView::IDC_PAGE_LIST, FormRect(4, 0, 137, 212), 1, 2},
    {CKX9MonitorView::IDC_PARAM_LIST, FormRect(2, 194, 97, 18), 1, 4},
    {CKX9MonitorView::IDC_SPARE_LIST, FormRect(137, 116, 140, 84), 0, 0},
    {CKX9MonitorView::IDC_LIVE_CHART, FormRect(108, 202, 252, 11), 6, 4},
    {CKX9MonitorView::IDC_DATA_CHART, FormRect(109, 108, 251, 105), 6, 4},
    {CKX9MonitorView::IDC_LOGO, FormRect(1, 192, 20, 20), 6, 4},
};

constexpr const char* kTitle = "QS4060KRTN_VP";
constexpr size_t kHeadingBuffer = 128;  // headings are read into a buffer of this size
constexpr unsigned kDataLoggingPause = 4000;
// The old page's rows start behind the empty rows a page end puts in front of them.
constexpr int kTrimReach = acquisition::LiveRecorder::kEmptyRowsAtPageEnd;
constexpr int kAcquisitionStartImage = 3;

// What a page row shows besides its list: the current page the live chart (spectra), a stored
// page its graph (levels) or its file chart and the navigator (spectra).
constexpr CKX9MonitorView::PageViews kCurrentLevels{false, false, false, false};
constexpr CKX9MonitorView::PageViews kCurrentSpectra{false, true, false, std::nullopt};
constexpr CKX9MonitorView::PageViews kStoredLevels{true, false, false, false};
constexpr CKX9MonitorView::PageViews kStoredSpectra{false, false, true, true};
}  // namespace

const CKX9MonitorView::PageViews& CKX9MonitorView::PageViewsOf(PageRow row, bool spectra) {
    if (row == PageRow::Current)
        return spectra ? kCurrentSpectra : kCurrentLevels;
    return spectra ? kStoredSpectra : kStoredLevels;
}

acquisition::Recording& CKX9MonitorView::Recording() const {
    return m_uses ? m_uses->recording : m_ownRecording;
}

CKX9MonitorView::CKX9MonitorView(const Uses* uses)
    : m_uses(uses ? std::optional<Uses>(*uses) : std::nullopt) {
    for (const FormControl& control : kForm)
        m_controls.push_back({control.id, control.rect, true});
    m_DataList.SetTextSource(
        [this](int row, int column) { return OnGetDispInfoDataList(row, column); });
    m_DataList.SetImageSource([this](int row) { return DataListRowImage(row); });
    TheApp().m_pView = this;
}

CKX9MonitorView::~CKX9MonitorView() {
    if (m_onDestroyed)
        m_onDestroyed();
    DeleteGraphWindows();
    if (TheApp().m_pView == this)
        TheApp().m_pView = nullptr;
}

// --- controls

const CKX9MonitorView::Control* CKX9MonitorView::FindControl(int id) const {
    const auto found = std::ranges::find(m_controls, id, &Control::id);
    return found == m_controls.end() ? nullptr : &*found;
}

bool CKX9MonitorView::IsControlVisible(int id) const {
    const Control* control = FindControl(id);
    return control && control->visible;
}

void CKX9MonitorView::ShowControl(int id, bool show) {
    const auto found = std::ranges::find(m_controls, id, &Control::id);
    if (found == m_controls.end() || found->visible == show)
        return;
    found->visible = show;
    ControlsChanged();
}

void CKX9MonitorView::ControlsChanged() const {
    if (m_onControlsChanged)
        m_onControlsChanged();
}

std::optional<records::RecordKind> CKX9MonitorView::ChannelMode() const {
    return m_uses ? m_uses->mode.ChannelMode() : std::nullopt;
}

// --- graph windows

void CKX9MonitorView::SetWindow(QWidget* window) {
    m_pWindow = window;
    for (graph::CGraphWnd* graph : {m_pDataGraph.get(), m_pSecondGraph.get()})
        if (graph)
            graph->SetParentWindow(window);
}

graph::CGraphWnd* CKX9MonitorView::GraphWindow(ViewGraph graph) const {
    return graph == ViewGraph::Data ? m_pDataGraph.get() : m_pSecondGraph.get();
}

void CKX9MonitorView::ShowGraphWindow(ViewGraph graph, bool show) {
    if (graph::CGraphWnd* window = GraphWindow(graph))
        window->ShowWindow(show);
}

void CKX9MonitorView::FitDataGraph() {
    if (m_pDataGraph)
        m_pDataGraph->FitPanel(graph::kFitPage);
}

void CKX9MonitorView::EmptyForNewSession() {
    m_ReportList.DeleteAllItems(ui::RVS_ALL);
    ShowControl(IDC_REPORT_LIST, true);
    m_DataList.DeleteAllItems();
    ShowControl(IDC_DATA_LIST, false);
    m_ParamList.DeleteAllItems();
    m_PageList.DeleteAllItems();
    for (graph::CGraphWnd* graph : {m_pDataGraph.get(), m_pSecondGraph.get()}) {
        if (!graph)
            continue;
        for (int series = 0; series < graph->GetGraphCount(); ++series)
            graph->ClearPoints(series, 1);
        graph->ShowWindow(false);
    }
    m_LiveChart.RemoveAllItems();
    ShowControl(IDC_LIVE_CHART, false);
}

void CKX9MonitorView::DeleteGraphWindows() {
    for (std::unique_ptr<graph::CGraphWnd>* graph : {&m_pDataGraph, &m_pSecondGraph}) {
        if (!*graph)
            continue;
        (*graph)->ShowWindow(false);
        for (int series = 0; series < (*graph)->GetGraphCount(); ++series)
            (*graph)->ClearPoints(series, 1);
        graph->reset();
    }
}

// Below the report list, hidden until a recording is shown; its six series are the five
// channels and the "UR" line.
void CKX9MonitorView::CreateLiveGraph() {
    struct Trace {
        COLORREF colour;
        const char* name;
    };
    constexpr Trace kTraces[] = {{0xFF0000, ""}, {0x0000FF, ""}, {0x00FF00, ""},
                                 {0x000000, ""}, {0xFFFF00, ""}, {0xFF00FF, "UR"}};
    constexpr unsigned kChildVisible = 0x50000000;
    constexpr unsigned kShowAtOnce = 1;

    const ui::Rect report = FindControl(IDC_REPORT_LIST)->rect;
    m_pDataGraph = std::make_unique<graph::CGraphWnd>(kGraphSlots);
    graph::CGraphWnd& graph = *m_pDataGraph;
    graph.SetHost(&m_graphHost);
    graph.Create(
        kGraphWindowName,
        {report.left, report.bottom - 70, report.right, 2 * report.bottom - 50 - report.top},
        m_pWindow, IDC_GRAPH_WINDOW, kChildVisible);
    graph.SetAxisTexts("Time", "", 0, graph::kXAxis, kShowAtOnce);
    graph.SetAxisTexts("Value", "dB", 2, graph::kYAxis, kShowAtOnce);
    using Panel = graph::CGraphPanel;
    graph.UpdateVisibleRange(
        (graph.GetPanelValue() | Panel::kReadout) & ~(Panel::kPointMarks | Panel::kAxis),
        kShowAtOnce);
    graph.ShowWindow(false);
    graph.UpdateVisibleRange(graph.GetPanelValue() | Panel::kAutoExtend, kShowAtOnce);
    graph.SetVisibleRange(0, 100, 0, 130, kShowAtOnce);
    m_TraceHandles.clear();
    for (const Trace& trace : kTraces)
        m_TraceHandles.push_back(static_cast<unsigned>(
            graph.AddGraph(trace.colour, trace.name, kShowAtOnce, true, false)));
}

// --- charts

charts::CChartWnd* CKX9MonitorView::BandChart(int id) {
    if (id == IDC_LIVE_CHART)
        return &m_LiveChart;
    return id == IDC_DATA_CHART ? &m_DataChart : nullptr;
}

// Both band charts over 0..130 dB with vertical bars and tips, hidden until a spectrum comes;
// the 3-D chart's view of 30 bands, 140 dB and 100 spectra.
void CKX9MonitorView::SetUpCharts() {
    for (int id : {IDC_LIVE_CHART, IDC_DATA_CHART}) {
        charts::CChartWnd& chart = *BandChart(id);
        chart.SetHost(m_uses ? &m_uses->charts.Host() : nullptr);
        if (!chart.InitDefault())
            platform::AfxMessageBox("error with bar graph");
        chart.EnableToolTips(1);
        chart.SetHeaderText("");
        chart.RecalcLayout();
        chart.SetVerticalLayout();
        ShowControl(id, false);
    }
    charts::CChartWnd::ClearHoverLock();

    m_Chart3d.SetTitle("");
    m_Chart3d.SetAxisTitles("X", "Y");
    m_Chart3d.SetGridDivisions(5, 2);
    m_Chart3d.SetStyle(charts::CChart::kAxesAtEdges);
    m_Chart3d.SetViewGeometry(0, 30, 0, 140, 0, 100);
    m_Chart3d.SetViewAngles(-30, 30);
}

// --- the framework's calls

void CKX9MonitorView::OnInitialUpdate() {
    m_nPointMarks = m_nAxis = m_nWideLine = m_nURLine = m_nIsophone = 0;

    if (m_uses) {
        m_uses->dataView.SetCrossReference(TRUE);
        m_uses->ui.SetTitle(kTitle);
    }
    SetupListPrinter();

    ShowControl(IDC_SPARE_LIST, false);

    constexpr unsigned kListStyle =
        ui::LVS_EX_FULLROWSELECT | ui::LVS_EX_ONECLICKACTIVATE | ui::LVS_EX_UNDERLINEHOT;
    m_ReportList.SetExtendedStyle(kListStyle);
    m_DataList.SetExtendedStyle(kListStyle);
    m_PageList.SetStyle(ui::LVS_SINGLESEL | ui::LVS_SHOWSELALWAYS);
    m_ParamList.SetStyle(ui::LVS_SHOWSELALWAYS);

    m_Layout.Attach(kFormWidth, kFormHeight);
    for (const FormControl& control : kForm)
        if (control.xFlags || control.yFlags)
            m_Layout.Register(control.id, control.rect, control.xFlags, control.yFlags);

    CreateLiveGraph();

    SetUpCharts();

    m_ParamList.InsertColumn(0, "Instr.Parameters", ui::LVCFMT_LEFT, 155);
    ShowControl(IDC_PARAM_LIST, false);
    m_PageList.InsertColumn(0, "Archivio Calibrazioni", ui::LVCFMT_LEFT, 250);
    m_ParamList.SetSmallImageCount(kImageCount);
    m_PageList.SetSmallImageCount(kImageCount);

    ShowControl(IDC_DATA_LIST, true);
    m_DataList.InsertColumn(1, "REPORT CALIBRAZIONE", ui::LVCFMT_LEFT, 700);
    ShowControl(IDC_PARAM_LIST, false);
    ShowControl(IDC_REPORT_LIST, true);
    ShowControl(IDC_DATA_LIST, false);
    ShowControl(IDC_PAGE_LIST, false);

    // The frame's menu update handler tests this word.
    if (m_uses)
        m_uses->dataView.SetDisplayMode(0);
    m_bInitialised = true;
    OnUpdate();
}

void CKX9MonitorView::OnSize(int width, int height) {
    if (!m_Layout.IsAttached())
        return;
    for (const auto& [id, rect] : m_Layout.Apply(width, height)) {
        const auto found = std::ranges::find(m_controls, id, &Control::id);
        if (found != m_controls.end())
            found->rect = rect;
    }
    ControlsChanged();
}

void CKX9MonitorView::OnUpdate() {
    if (!ChannelMode())
        return;
    ShowGraph(ViewGraph::Data, false);
    ShowGraph(ViewGraph::Second, false);
}

// --- clicks

void CKX9MonitorView::OnClickList1602() {
    const std::optional<std::string> text = ClickedPageRow();
    if (!text)
        return;
    if (Contains(*text, "CURR"))
        ShowCurrentPage();
    else if (Contains(*text, "PAGE"))
        ShowStoredPage(platform::Atoi(platform::Mid(*text, 4)));

    if (!m_uses)
        return;
    m_uses->dataFiles.UpdateAudioLabelWindow();
    if (m_uses->mode.IsDataLogging())
        TheApp().WaitWithMessages(kDataLoggingPause);
}

std::optional<std::string> CKX9MonitorView::ClickedPageRow() {
    int row = m_PageList.GetSelectedRow();
    if (row < 0)
        return std::nullopt;
    const std::string text = m_PageList.GetItemText(row, 0);
    if (Contains(text, "CURR") || Contains(text, "PAGE"))
        return text;
    // A page's start time stands below its page row.
    m_PageList.SetRowStates(row, ui::RVS_UNSELECTED);
    if (!m_PageList.IsValidRow(--row))
        return std::nullopt;
    m_PageList.SetRowStates(row, ui::RVS_SELECTED);
    return m_PageList.GetItemText(row, 0);
}

void CKX9MonitorView::ShowCurrentPage() {
    Recording().SelectSegment(-1);
    ShowControl(IDC_REPORT_LIST, true);
    ShowControl(IDC_DATA_LIST, false);
    ShowPageViews(PageRow::Current);
}

void CKX9MonitorView::ShowStoredPage(int segment) {
    Recording().SelectSegment(segment);
    ShowControl(IDC_DATA_LIST, true);
    ShowControl(IDC_REPORT_LIST, false);
    ShowPageViews(PageRow::Stored);
    const std::string& file = TheApp().m_strCurrentFile;
    if (segment != m_nLoadedSegment || file != m_strLoadedFile) {
        m_nLoadedSegment = segment;
        m_strLoadedFile = file;
        if (m_uses)
            m_uses->dataFiles.Reader().OpenDataFile(file, segment, segment);
    }
    m_DataList.RedrawItems();
}

void CKX9MonitorView::ShowPageViews(PageRow row) {
    const std::optional<records::RecordKind> kind = ChannelMode();
    if (!kind)
        return;
    const bool spectra = kind->IsSpectrum();
    const bool legend = (*kind)->shape == records::RecordShape::Levels;
    const PageViews& views = PageViewsOf(row, spectra);
    ShowGraph(ViewGraph::Data, false);
    ShowGraph(ViewGraph::Second, views.secondGraph);
    ShowControl(IDC_LIVE_CHART, views.liveChart);
    ShowControl(IDC_DATA_CHART, views.dataChart);
    if (m_uses) {
        if (views.navigator)
            m_uses->dataFiles.ShowNavigator(*views.navigator);
        if (legend)
            m_uses->charts.ShowLegend();
    }
    HideDemoWindows();
}

void CKX9MonitorView::SetRowImage(int row, int image) {
    ui::LVITEM item;
    item.mask = ui::LVIF_IMAGE;
    item.iItem = row;
    item.iImage = image;
    if (m_ReportList.SetItem(item))
        m_ReportList.RedrawItems(row, row);
}

void CKX9MonitorView::OnRClickReportList() {
    m_bReportListClicked = TRUE;
    const std::optional<records::RecordKind> kind = ChannelMode();
    if (kind && kind->IsSpectrum()) {
        SetRowImage(m_nMarkedRow, -1);
        ShowControl(IDC_LIVE_CHART, true);
        ShowControl(IDC_DATA_CHART, false);
    } else if (kind) {
        if (HasGraphWindow(ViewGraph::Data))
            FitDataGraph();
    }
}

void CKX9MonitorView::OnDblclkReportList() {
    m_bReportListClicked = TRUE;
    const std::optional<records::RecordKind> kind = ChannelMode();
    if (!kind || !kind->IsSpectrum())
        return;
    SetRowImage(m_nMarkedRow, -1);
    const int row = m_ReportList.GetSelectedRow();
    m_nMarkedRow = row;
    // A double click below the last row selects nothing: there is no spectrum to show.
    if (row < 0)
        return;
    Recording().SelectRecord(row);
    SetRowImage(row, kMarkedRowImage);

    std::string text;
    // The row's band columns, the overall level last.
    const int last = (*kind)->valuesPerSample;
    for (int column = 1; column <= last; ++column) {
        const std::string heading =
            platform::Left(m_ReportList.Column(column).heading, kHeadingBuffer - 1);
        text += heading + "\t" + m_ReportList.GetItemText(row, column) + "\r\n";
    }
    ShowReportSpectrum(text);
}

void CKX9MonitorView::OnDblClkDataList() {
    Recording().SelectRecord(m_DataList.GetSelectedRow());
    m_DataList.RedrawItems();
    RefreshGraphWindows();
}

std::string CKX9MonitorView::OnGetDispInfoDataList(int row, int column) const {
    const acquisition::Recording& recording = Recording();
    const int selected = recording.SelectedRecord();
    if (m_nIsophone && selected >= 0 && row == selected + 1) {
        if (!m_uses)
            return std::string();
        const charts::IsophoneContour& contour = m_uses->charts.Isophone();
        return acquisition::IsophoneCellText(
            column, [&contour](int band) { return contour.LevelDb(band); });
    }

    const CInstrStatus& setup = TheApp().m_InstrStatus;
    acquisition::DataListSource source;
    source.page = recording.View(TheApp().m_DataBuffer);
    source.model = setup.m_strModel;
    source.integrationTime = setup.m_strIntegrationTime;
    source.profileTime = setup.m_strProfileTime;
    source.instrumentDate = setup.m_strDate;
    source.instrumentTime = setup.m_strTime;
    source.selectedPage = recording.SelectedPage();
    source.recordsPerPage = recording.PageSize();
    source.absoluteTimes = recording.AbsoluteTimes();
    source.schedule = recording.IsScheduled() ? &recording.Time() : nullptr;
    return acquisition::DataListCellText(source, row, column);
}

int CKX9MonitorView::DataListRowImage(int row) const {
    return Recording().Time().IsReportIntervalSample(row) ? kAcquisitionStartImage : -1;
}

// --- services of the view

void CKX9MonitorView::SetupDataListColumns(std::optional<records::RecordKind> kind) {
    m_ReportList.DeleteAllItems();
    while (m_ReportList.GetColumnCount() > 0)
        m_ReportList.DeleteColumn(0);
    m_DataList.DeleteAllItems();
    while (m_DataList.GetColumnCount() > 0)
        m_DataList.DeleteColumn(0);
    const std::vector<ui::ListColumn> columns =
        acquisition::DataListColumns(kind, TheApp().m_InstrStatus);
    for (int i = 0; i < static_cast<int>(columns.size()); ++i) {
        m_ReportList.InsertColumn(i, columns[i].heading, columns[i].format, columns[i].width);
        m_DataList.InsertColumn(i, columns[i].heading, columns[i].format, columns[i].width);
    }
}

void CKX9MonitorView::BuildSetupText() {
    // The list describes one recording: a second one replaces the lines of the first.
    m_ParamList.DeleteAllItems();
    const records::SetupBlock block = m_uses ? m_uses->setupBlock : records::SetupBlock();
    for (const std::string& line : BuildSetupLines(block, TheApp().m_InstrStatus))
        m_ParamList.InsertItem(m_ParamList.GetItemCount(), line);

    const acquisition::Recording& recording = Recording();
    if (m_uses && m_uses->mode.IsSchedulerMode() && !recording.LoadedFromFile()) {
        const acquisition::Timebase& schedule = recording.Time();
        m_ParamList.InsertItem(0, "");
        m_ParamList.InsertItem(0,
                               ScheduleDurationLine("Repeat.Time", schedule.RepetitionTime().days));
        m_ParamList.InsertItem(0,
                               ScheduleDurationLine("Acq.Time", schedule.AcquisitionTime().days));
    }
}

std::string CKX9MonitorView::GetParameterName(const std::string& code) const {
    return ParameterDisplayName(code, TheApp().m_InstrStatus);
}

// --- trimming

bool CKX9MonitorView::TrimReportList(int lastKeptRow, int rows) {
    m_ReportList.EnsureVisible(0);
    for (int cut = 0; cut < rows; ++cut)
        if (!m_ReportList.DeleteItem(lastKeptRow + kTrimReach) &&
            !m_ReportList.DeleteItem(lastKeptRow + 1))
            return true;
    return !m_ReportList.IsValidRow(lastKeptRow + 1);
}
