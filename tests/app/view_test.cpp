// The main view without a window: its start-up, the placement of its controls, the clicks on
// its lists, the trimming of the report list and the frame's data-view commands.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>

#include "acquisition/recording.h"
#include "app/chart_windows.h"
#include "app/frame_commands.h"
#include "app/frame_data_files.h"
#include "app/frame_data_view_commands.h"
#include "app/frame_ui.h"
#include "app/kx9monitor_app.h"
#include "app/main_frame_window.h"
#include "app/view_lookup.h"
#include "app/view_page_list.h"
#include "app/view_uses.h"
#include "graph/graph_host.h"
#include "graph/graph_panel.h"
#include "link/meter_mode.h"
#include "support/record_kinds.h"
#include "view_test_support.h"

using namespace viewtest;

namespace {

// Records the rows a list removes.
class RemovalRecorder : public ui::ListObserver {
public:
    void BeginRemoveRows(int first, int) override { removed.push_back(first); }
    std::vector<int> removed;
};

// Rows whose cells read "6r.c"; columns are added when the list has none.
void FillReport(ui::CReportCtrl& list, int rows, int columns) {
    for (int c = list.GetColumnCount(); c < columns; ++c)
        list.InsertColumn(c, c == 0 ? "Time" : std::to_string(c));
    for (int r = 0; r < rows; ++r) {
        list.InsertItem(r, "t" + std::to_string(r));
        for (int c = 1; c < columns; ++c)
            list.SetItemText(r, c, std::to_string(60 + r) + "." + std::to_string(c % 10));
    }
}

}  // namespace

TEST_F(ViewTest, InitialUpdateSetsUpTheFormTheGraphAndTheCharts) {
    frame.Commands().DataView().SetDisplayMode(3);
    view.OnInitialUpdate();

    EXPECT_EQ(frame.Ui().GetTitle(), "QS4060KRTN_VP");
    EXPECT_TRUE(frame.Commands().DataView().m_bCrossReference);
    EXPECT_TRUE(view.IsControlVisible(CKX9MonitorView::IDC_REPORT_LIST));
    EXPECT_TRUE(view.IsControlVisible(CKX9MonitorView::IDC_LOGO));
    for (int hidden : {1603, 1602, 1016, 1064, 1482, 1604})
        EXPECT_FALSE(view.IsControlVisible(hidden)) << hidden;

    // The data graph below the report list, hidden, with its range, options and six series.
    const graph::CGraphWnd* graph = view.GraphWindow(ViewGraph::Data);
    ASSERT_NE(graph, nullptr);
    ASSERT_TRUE(graph->HasWindow());
    const ui::Rect report = view.FindControl(CKX9MonitorView::IDC_REPORT_LIST)->rect;
    const ui::Rect expected{report.left, report.bottom - 70, report.right,
                            2 * report.bottom - 50 - report.top};
    EXPECT_EQ(graph->Window()->geometry(),
              QRect(expected.left, expected.top, expected.Width(), expected.Height()));
    EXPECT_EQ(graph->Window()->objectName(), "Graph Window");
    EXPECT_FALSE(graph->IsWindowVisible());
    EXPECT_EQ(graph->GetAxis(graph::kXAxis).FormatValue(12, 2), "Time: 12 ");
    EXPECT_EQ(graph->GetAxis(graph::kYAxis).FormatValue(12, 2), "Value: 12.00 dB");
    EXPECT_EQ(graph->GetPanelValue(),
              graph::CGraphPanel::kAutoExtend | graph::CGraphPanel::kReadout);
    double range[4] = {};
    graph->GetVisibleRange(range[0], range[1], range[2], range[3]);
    EXPECT_EQ(std::vector<double>(range, range + 4), (std::vector<double>{0, 100, 0, 130}));
    EXPECT_EQ(graph->GetGraphCount(), 6);
    EXPECT_EQ(view.m_TraceHandles, (std::vector<unsigned>{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(graph->GetGraph(4)->GetColour(), 0xFFFF00u);
    EXPECT_EQ(graph->GetGraph(5)->GetName(), "UR");
    // Both band charts over 0..130 dB with vertical bars and tips; the 3-D chart's view.
    for (int id : {CKX9MonitorView::IDC_LIVE_CHART, CKX9MonitorView::IDC_DATA_CHART}) {
        const charts::CChartWnd& chart = *view.BandChart(id);
        EXPECT_EQ(chart.Maximum(), 130) << id;
        EXPECT_EQ(chart.Orientation(), charts::CChartWnd::kVertical);
        EXPECT_TRUE(chart.HasToolTipControl());
        EXPECT_EQ(chart.HeaderText(), "");
    }
    EXPECT_EQ(view.m_Chart3d.GetViewSettings(), (std::array<double, 6>{0, 30, 0, 140, 0, 100}));
    EXPECT_EQ(view.m_Chart3d.FirstAngle(), -30);
    EXPECT_EQ(view.m_PageList.Column(0).heading, "Archivio Calibrazioni");
    EXPECT_EQ(frame.Commands().DataView().DisplayMode(), 0);
}

TEST_F(ViewTest, GraphWindowsAreShownHiddenAndDeletedOnlyWhenTheyExist) {
    view.ShowGraphWindow(ViewGraph::Data, true);  // none yet
    EXPECT_FALSE(view.HasGraphWindow(ViewGraph::Data));
    view.OnInitialUpdate();
    view.GraphWindow(ViewGraph::Data)->AddPoint(0, 1, 60, 0);
    view.ShowGraphWindow(ViewGraph::Data, true);
    view.ShowGraphWindow(ViewGraph::Second, true);
    EXPECT_TRUE(GraphShown(ViewGraph::Data));
    EXPECT_FALSE(view.HasGraphWindow(ViewGraph::Second));

    // A new session: the graph keeps its series but loses its points and goes out of sight,
    // as do the live chart's bars.
    view.m_LiveChart.AddItem("1k", 60, -1, 0);
    view.EmptyForNewSession();
    double x0, x1, y0, y1;
    EXPECT_FALSE(view.GraphWindow(ViewGraph::Data)->GetBoundRect(x0, x1, y0, y1));
    EXPECT_FALSE(GraphShown(ViewGraph::Data) || view.m_LiveChart.GetItemCount() > 0);
    EXPECT_FALSE(view.IsControlVisible(CKX9MonitorView::IDC_DATA_LIST));

    view.DeleteGraphWindows();
    EXPECT_FALSE(view.HasGraphWindow(ViewGraph::Data));
    view.FitDataGraph();  // nothing to fit
}

TEST_F(ViewTest, TheGraphsTimeLabelsComeFromTheListOfTheShownSegment) {
    view.OnInitialUpdate();
    graph::GraphHost& host = *view.GraphWindow(ViewGraph::Data)->Host();
    FillReport(view.m_ReportList, 3, 2);
    view.m_DataList.SetTextSource([](int row, int) { return "d" + std::to_string(row); });
    view.m_DataList.SetItemCount(5);

    EXPECT_EQ(host.TimeLabel(2), "t2");
    EXPECT_EQ(host.TimeLabel(3), "");
    EXPECT_EQ(host.TimeLabel(-1), "");
    frame.m_recording.SelectSegment(0);
    EXPECT_EQ(host.TimeLabel(3), "d3");
    EXPECT_EQ(host.TimeLabel(5), "");
}

TEST_F(ViewTest, TheGraphsReadTheRecordingsStateAndChangeOnlyWhatExists) {
    view.OnInitialUpdate();
    graph::GraphHost& host = *view.GraphWindow(ViewGraph::Data)->Host();
    FillReport(view.m_ReportList, 3, 2);
    view.m_ReportList.SetItemText(1, 1, "LAST");
    view.m_ReportList.SetItemText(2, 1, "LAST");
    EXPECT_EQ(host.RowsWithStatus(1, "LAST", -5, 99), (std::vector<int>{1, 2}));
    EXPECT_EQ(host.RowsWithStatus(1, "LAST", 2, 2), (std::vector<int>{2}));
    EXPECT_TRUE(host.RowsWithStatus(7, "LAST", 0, 2).empty());  // no such column

    ASSERT_TRUE(frame.Mode().BeginLive());
    frame.Mode().ChooseChannel(testkinds::kProfile);
    view.m_nURLevel = 35;
    const graph::GraphContext context = host.Context();
    EXPECT_TRUE(context.liveMonitoring);
    EXPECT_EQ(context.statusColumn, 2);  // after the profile level
    EXPECT_FALSE(context.channelLevels);
    EXPECT_EQ(context.underRangeLevel, 35);
    EXPECT_EQ(host.Marks(), &TheApp().m_GraphMarks);

    host.SetViewSwitch(graph::ViewSwitch::MarkersCleared, true);
    EXPECT_EQ(view.m_nMarkersCleared, 1);
    EXPECT_FALSE(host.GetViewSwitch(graph::ViewSwitch::Axis));

    // "Clear Markers" on a stored page whose graph does not exist changes nothing.
    frame.m_recording.SelectSegment(2);
    host.RefreshSegmentGraph();
    EXPECT_FALSE(view.HasGraphWindow(ViewGraph::Second));
    frame.m_recording.SelectSegment(-1);
    view.ShowGraphWindow(ViewGraph::Data, true);
    host.RefreshSegmentGraph();
    EXPECT_TRUE(GraphShown(ViewGraph::Data));
}

TEST_F(ViewTest, ShrinkingTheViewMovesTheStretchedRightEdgesAndScalesThePageIndex) {
    view.OnInitialUpdate();
    auto rect = [&](int id) { return view.FindControl(id)->rect; };
    const ui::Rect pages = rect(1602);
    const ui::Rect spare = rect(1064);
    const std::map<int, ui::Rect> before = {
        {1000, rect(1000)}, {1603, rect(1603)}, {1482, rect(1482)}, {1604, rect(1604)}};

    view.OnSize(CKX9MonitorView::kFormWidth - 100, CKX9MonitorView::kFormHeight);

    for (const auto& [id, old] : before) {
        EXPECT_EQ(rect(id).right, old.right - 100) << id;
        EXPECT_EQ(rect(id).left, old.left) << id;
    }
    EXPECT_EQ(rect(1602).Width(), pages.Width());
    EXPECT_EQ(rect(1602).left, static_cast<int>(pages.left * (CKX9MonitorView::kFormWidth - 100.0) /
                                                CKX9MonitorView::kFormWidth));
    EXPECT_EQ(rect(1064), spare);  // not anchored
}

TEST_F(ViewTest, APageIndexRowThatNamesNoPageStandsForThePageAboveIt) {
    view.OnInitialUpdate();
    // An octave recording of one spectrum a page: page p holds the level 10 x (p + 1).
    records::SetupBlock block;
    std::string file(block.Bytes());
    for (std::uint16_t page = 0; page < 2; ++page) {
        const std::vector<std::uint16_t> levels(12, static_cast<std::uint16_t>(10 * (page + 1)));
        file += "2024/05/01 10:00:00 " + records::EncodeRecord(0, levels);
    }
    folder.Write("rec.kr9", file);
    app.m_strCurrentFile = folder.File("rec.kr9");
    frame.m_recording.SetLayout(records::RecordLayout(kOctave), 1);
    frame.Mode().ChooseChannel(testkinds::kOctave);
    for (const char* row : {"CURR. PAGE", "2024/05/01 10:00:00", "PAGE 0", "2024/05/01 10:05:00",
                            "PAGE 1", "2024/05/01 10:10:00"})
        view.m_PageList.InsertItem(view.m_PageList.GetItemCount(), row);
    auto loadedLevel = [&] { return frame.m_recording.View(app.m_DataBuffer).Value(0, 0); };

    view.m_PageList.SetRowStates(3, ui::RVS_SELECTED);
    view.OnClickList1602();
    EXPECT_EQ(view.m_PageList.GetSelectedRow(), 2);
    EXPECT_EQ(view.m_PageList.GetItemCount(ui::RVS_SELECTED), 1);
    EXPECT_EQ(frame.m_recording.SelectedSegment(), 0);
    EXPECT_TRUE(view.IsControlVisible(CKX9MonitorView::IDC_DATA_LIST));
    EXPECT_FALSE(view.IsControlVisible(CKX9MonitorView::IDC_LIVE_CHART));
    EXPECT_TRUE(frame.DataFiles().Navigator().IsWindowVisible());
    EXPECT_EQ(loadedLevel(), 10);
    EXPECT_EQ(view.m_DataList.GetItemCount(), 1);
    EXPECT_TRUE(frame.DataFiles().AudioLabels().HasWindow());

    app.m_DataBuffer[20 + 2] = 99;  // the page is loaded already: not read again
    view.OnClickList1602();
    EXPECT_EQ(loadedLevel(), 99);
    view.m_PageList.SetAllRowStates(ui::RVS_ALL, ui::RVS_UNSELECTED);
    view.m_PageList.SetRowStates(4, ui::RVS_SELECTED);
    view.OnClickList1602();
    EXPECT_EQ(frame.m_recording.SelectedSegment(), 1);
    EXPECT_EQ(frame.m_recording.SelectedPage(), 1);
    EXPECT_EQ(loadedLevel(), 20);

    view.m_PageList.SetAllRowStates(ui::RVS_ALL, ui::RVS_UNSELECTED);
    view.m_PageList.SetRowStates(1, ui::RVS_SELECTED);  // the live page's start time
    view.OnClickList1602();
    EXPECT_EQ(frame.m_recording.SelectedSegment(), -1);
    EXPECT_TRUE(view.IsControlVisible(CKX9MonitorView::IDC_REPORT_LIST));
    EXPECT_FALSE(view.IsControlVisible(CKX9MonitorView::IDC_DATA_CHART));

    // A page of levels shows the second graph and the legend, without the navigator.
    frame.Mode().ChooseChannel(testkinds::kSoundLevelMeter);
    view.m_PageList.SetAllRowStates(ui::RVS_ALL, ui::RVS_UNSELECTED);
    view.m_PageList.SetRowStates(4, ui::RVS_SELECTED);
    view.ShowGraphWindow(ViewGraph::Data, true);
    frame.Charts().LoadedSpectra().Create();
    frame.Charts().LoadedSpectra().ShowWindow(true);
    view.OnClickList1602();
    EXPECT_FALSE(GraphShown(ViewGraph::Data));
    EXPECT_FALSE(frame.DataFiles().Navigator().IsWindowVisible());
    EXPECT_FALSE(frame.Charts().LoadedSpectra().IsWindowVisible());
    EXPECT_FALSE(frame.Charts().Legend().HasWindow());  // shown again only once it was made

    frame.Charts().Legend().Create();
    view.OnClickList1602();
    EXPECT_TRUE(frame.Charts().Legend().IsWindowVisible());
}

TEST_F(ViewTest, TheCurrentPageRowShowsTheLiveChartOfSpectraAndNothingBesideTheListOfLevels) {
    view.OnInitialUpdate();
    view.m_PageList.InsertItem(0, "CURR. PAGE");
    view.m_PageList.SetRowStates(0, ui::RVS_SELECTED);
    frame.DataFiles().ShowNavigator(true);
    view.ShowControl(CKX9MonitorView::IDC_DATA_CHART, true);

    frame.Mode().ChooseChannel(testkinds::kThirdOctave);
    view.OnClickList1602();
    EXPECT_EQ(frame.m_recording.SelectedSegment(), -1);
    EXPECT_TRUE(view.IsControlVisible(CKX9MonitorView::IDC_REPORT_LIST));
    EXPECT_FALSE(view.IsControlVisible(CKX9MonitorView::IDC_DATA_LIST));
    EXPECT_TRUE(view.IsControlVisible(CKX9MonitorView::IDC_LIVE_CHART));
    EXPECT_FALSE(view.IsControlVisible(CKX9MonitorView::IDC_DATA_CHART));
    EXPECT_TRUE(frame.DataFiles().Navigator().IsWindowVisible());  // left as it was

    frame.Mode().ChooseChannel(testkinds::kProfile);
    frame.Charts().Legend().Create();
    frame.Charts().Legend().ShowWindow(false);
    view.OnClickList1602();
    EXPECT_FALSE(view.IsControlVisible(CKX9MonitorView::IDC_LIVE_CHART));
    EXPECT_FALSE(frame.DataFiles().Navigator().IsWindowVisible());
    EXPECT_FALSE(frame.Charts().Legend().IsWindowVisible());  // a profile has no legend

    // With no recording kind the click only changes the list.
    frame.Mode().OnRecordingLoaded(std::nullopt);
    view.ShowControl(CKX9MonitorView::IDC_LIVE_CHART, true);
    view.OnClickList1602();
    EXPECT_TRUE(view.IsControlVisible(CKX9MonitorView::IDC_LIVE_CHART));
    EXPECT_TRUE(view.IsControlVisible(CKX9MonitorView::IDC_REPORT_LIST));
}

TEST_F(ViewTest, DoubleClickingTheReportListShowsTheSpectrumOfTheRowOnlyInSpectrumModes) {
    view.OnInitialUpdate();
    app.m_InstrStatus.m_strSpectAuxWeighting = "LAeq";
    view.SetupDataListColumns(kOctave);
    FillReport(view.m_ReportList, 3, 14);
    view.m_ReportList.SetRowStates(1, ui::RVS_SELECTED);

    for (int mode : {0, 1, -1}) {
        frame.Mode().OnRecordingLoaded(records::RecordKind::OfChannelMode(mode));
        view.m_bReportListClicked = FALSE;
        view.OnDblclkReportList();
        EXPECT_TRUE(view.m_bReportListClicked);
    }
    EXPECT_EQ(view.m_LiveChart.GetItemCount(), 0);
    EXPECT_EQ(view.m_nMarkedRow, -1);

    frame.Mode().ChooseChannel(testkinds::kOctave);
    view.OnDblclkReportList();
    EXPECT_EQ(view.m_nMarkedRow, 1);
    EXPECT_EQ(frame.m_recording.SelectedRecord(), 1);
    EXPECT_EQ(view.m_ReportList.GetCellImage(1, 0), CKX9MonitorView::kMarkedRowImage);
    // The row's bands and overall level in the live chart.
    const charts::CChartWnd& chart = view.m_LiveChart;
    ASSERT_EQ(chart.GetItemCount(), 12);
    EXPECT_FLOAT_EQ(chart.GetItemLevel(0), 61.1f);
    EXPECT_FLOAT_EQ(chart.GetItemLevel(1), 61.2f);
    EXPECT_FLOAT_EQ(chart.GetItemLevel(11), 61.2f);
    EXPECT_EQ(chart.GetItemLabel(11), "LAeq");
    EXPECT_TRUE(view.IsControlVisible(CKX9MonitorView::IDC_LIVE_CHART));

    view.m_ReportList.SetAllRowStates(ui::RVS_ALL, ui::RVS_UNSELECTED);
    view.m_ReportList.SetRowStates(2, ui::RVS_SELECTED);
    view.OnDblclkReportList();
    EXPECT_EQ(view.m_ReportList.GetCellImage(1, 0), -1);
    EXPECT_EQ(view.m_ReportList.GetCellImage(2, 0), CKX9MonitorView::kMarkedRowImage);

    view.OnRClickReportList();
    EXPECT_EQ(view.m_ReportList.GetCellImage(2, 0), -1);
    EXPECT_TRUE(view.IsControlVisible(CKX9MonitorView::IDC_LIVE_CHART));
    EXPECT_FALSE(view.IsControlVisible(CKX9MonitorView::IDC_DATA_CHART));
}

TEST_F(ViewTest, DataListDoubleClickAndReportRightClickDriveTheGraphs) {
    view.SetupDataListColumns(kSoundLevelMeter);
    view.m_DataList.SetItemCount(10);
    view.m_DataList.SetSelectedRow(4);
    view.m_DataChart.AddItem("16", 50, -1, 0);
    view.OnDblClkDataList();
    EXPECT_EQ(frame.m_recording.SelectedRecord(), 4);
    // The file chart is drawn again for the record: a page of levels has no spectrum.
    EXPECT_EQ(view.m_DataChart.GetItemCount(), 0);
    EXPECT_EQ(view.m_DataChart.UnitText(), "Hz");

    frame.Mode().ChooseChannel(testkinds::kProfile);
    view.OnRClickReportList();  // no graph window yet: nothing to fit
    view.OnInitialUpdate();
    graph::CGraphWnd& graph = *view.GraphWindow(ViewGraph::Data);
    graph.AddPoint(0, 10, 40, 0);
    graph.AddPoint(1, 30, 90, 0);
    view.OnRClickReportList();
    double range[4] = {};
    graph.GetVisibleRange(range[0], range[1], range[2], range[3]);
    EXPECT_EQ(std::vector<double>(range, range + 4), (std::vector<double>{10, 30, 36, 99}));
}

TEST_F(ViewTest, TrimmingCutsTheReportListBackFromTheFarthestRows) {
    FillReport(view.m_ReportList, 60, 2);
    RemovalRecorder recorder;
    view.m_ReportList.SetObserver(&recorder);
    // A step at a time: 54 rows to cut, 40 a call.
    EXPECT_FALSE(view.TrimReportList(5, 40));
    EXPECT_EQ(view.m_ReportList.GetItemCount(), 20);
    EXPECT_TRUE(view.TrimReportList(5, 40));
    view.m_ReportList.SetObserver(nullptr);
    EXPECT_EQ(view.m_ReportList.GetItemCount(), 6);
    EXPECT_EQ(view.m_ReportList.GetItemText(5, 0), "t5");
    std::vector<int> expected(5, 55);
    expected.insert(expected.end(), 49, 6);
    EXPECT_EQ(recorder.removed, expected);

    EXPECT_TRUE(view.TrimReportList(10, 40));  // nothing beyond row 10
    EXPECT_EQ(view.m_ReportList.GetItemCount(), 6);
}

TEST_F(ViewTest, NewColumnsLeaveNothingOfThePreviousKind) {
    app.m_InstrStatus.m_strModel = "QS4060_rn0$1";
    view.SetupDataListColumns(kThirdOctave);
    FillReport(view.m_ReportList, 4, 0);
    view.m_DataList.SetItemCount(4);
    EXPECT_EQ(view.m_ReportList.GetColumnCount(), 35);
    EXPECT_EQ(view.m_DataList.GetColumnCount(), 35);

    view.SetupDataListColumns(kSoundLevelMeter);
    EXPECT_EQ(view.m_ReportList.GetColumnCount(), 5);
    EXPECT_EQ(view.m_DataList.GetColumnCount(), 5);
    EXPECT_EQ(view.m_ReportList.GetItemCount() + view.m_DataList.GetItemCount(), 0);
    EXPECT_EQ(view.m_ReportList.Column(4).heading, "Status");
}

TEST_F(ViewTest, TheParameterListDescribesOneRecordingWithTheScheduleOnTop) {
    app.m_InstrStatus.m_strModel = "QS4160_L";
    frame.m_SetupBlock.SetField(records::SetupBlock::kSerialNumber, "SN42");
    frame.Mode().EnterSchedulerMode();
    frame.m_recording.Time().SetScheduleTimes(records::ScheduleTime::FromSeconds(600),
                                              records::ScheduleTime::FromSeconds(3600));
    view.BuildSetupText();
    view.BuildSetupText();
    ASSERT_EQ(view.m_ParamList.GetItemCount(), 40);
    EXPECT_EQ(view.m_ParamList.GetItemText(0, 0), "Acq.Time: 0h-10m-0s");
    EXPECT_EQ(view.m_ParamList.GetItemText(1, 0), "Repeat.Time: 1h-0m-0s");
    EXPECT_EQ(view.m_ParamList.GetItemText(2, 0), "");
    EXPECT_EQ(view.m_ParamList.GetItemText(3, 0), "Model: QS4160_L");
    EXPECT_EQ(view.m_ParamList.GetItemText(4, 0), "Ser.Num: SN42");

    frame.m_recording.SetLoadedFromFile(true);
    view.BuildSetupText();
    EXPECT_EQ(view.m_ParamList.GetItemText(0, 0), "Model: QS4160_L");
    // Parameter names take the current percentile levels.
    app.m_InstrStatus.m_strPerc3Level = "90.0 %";
    EXPECT_EQ(view.GetParameterName("L3"), "L90.0");
}

TEST_F(ViewTest, DataListCellsComeFromTheLoadedPageAndTheRecordingsTimebase) {
    app.m_InstrStatus.m_strModel = "QS4060";
    frame.Mode().ChooseChannel(kThirdOctave);
    acquisition::Recording& recording = frame.m_recording;
    recording.SetLayout(records::RecordLayout(kThirdOctave), 10000);
    recording.SetLoadedPage(0, CKX9MonitorApp::kDataBufferSize, "");
    app.m_DataBuffer[20 + 2 * (34 + 2)] = 0xB1;  // row 1, band 2: 945
    app.m_DataBuffer[20 + 2 * (34 + 2) + 1] = 0x03;
    EXPECT_EQ(view.OnGetDispInfoDataList(1, 2), "94.5");
    EXPECT_EQ(view.OnGetDispInfoDataList(1, 34), "");  // a spectrum has no status
    // The last whole record of the buffer, and the first that is not.
    const int last = static_cast<int>((CKX9MonitorApp::kDataBufferSize - 20) / 68) - 1;
    EXPECT_EQ(view.OnGetDispInfoDataList(last, 33), "0.0");
    EXPECT_EQ(view.OnGetDispInfoDataList(last + 1, 33), "");
    // Only the bytes the page filled are read.
    recording.SetLoadedPage(0, 20 + 68, "");
    EXPECT_EQ(view.OnGetDispInfoDataList(1, 2), "");
    recording.SetLoadedPage(0, CKX9MonitorApp::kDataBufferSize, "");
    app.m_DataBuffer.resize(90);
    EXPECT_EQ(view.OnGetDispInfoDataList(1, 2), "");

    // The equal-loudness row after the selected record: the contour through the level of the
    // chosen band of record 0 (0.0 dB at 25 Hz, below the 0-phon contour: the threshold).
    view.m_nIsophone = 2;
    recording.SelectRecord(0);
    frame.Charts().Isophone().SelectBand(2);
    frame.Charts().ComputeIsophoneForBand(0);
    EXPECT_EQ(view.OnGetDispInfoDataList(1, 1), "ISOPHONE");
    EXPECT_EQ(view.OnGetDispInfoDataList(1, 2), "[78.5]");
    EXPECT_EQ(view.OnGetDispInfoDataList(1, 3), "[68.7]");  // the chosen band's threshold too
    EXPECT_EQ(view.OnGetDispInfoDataList(1, 30), "[12.3]");
    EXPECT_EQ(view.OnGetDispInfoDataList(1, 31), "");

    // A scheduled recording of one-minute acquisitions, a level every half second: its rows
    // take their date-times from the timebase and the first of each acquisition is marked.
    view.m_nIsophone = 0;
    recording.SetLayout(records::RecordLayout(kSoundLevelMeter), 10000);
    recording.SetAbsoluteTimes(true);
    EXPECT_EQ(view.DataListRowImage(0), -1);
    recording.Time().SetScheduleTimes(records::ScheduleTime::FromSeconds(60),
                                      records::ScheduleTime::FromSeconds(600));
    recording.Time().SetSamplingInterval(0.5f);
    recording.Time().SetSegments({0}, {"0#2024/03/09 14:05:07"});
    frame.Mode().ChooseChannel(kSoundLevelMeter);
    EXPECT_EQ(view.OnGetDispInfoDataList(3, 0), "2024/03/09 14:05:07");
    EXPECT_EQ(view.DataListRowImage(0), 3);
    EXPECT_EQ(view.DataListRowImage(1), -1);
    EXPECT_EQ(view.DataListRowImage(121), 3);
    // The data list shows the marks in its first column.
    view.m_DataList.SetItemCount(200);
    EXPECT_EQ(view.m_DataList.CellImage(121, 0), 3);
    EXPECT_EQ(view.m_DataList.CellImage(121, 1), -1);
}

TEST_F(ViewTest, AnUpdateHidesTheGraphWindowsWhileAKindIsShown) {
    view.OnInitialUpdate();
    view.ShowGraphWindow(ViewGraph::Data, true);
    view.OnUpdate();
    EXPECT_TRUE(GraphShown(ViewGraph::Data));
    frame.Mode().ChooseChannel(testkinds::kSoundLevelMeter);
    view.OnUpdate();
    EXPECT_FALSE(GraphShown(ViewGraph::Data));
}

TEST_F(ViewTest, AViewReachesOnlyWhatItIsHanded) {
    ASSERT_TRUE(frame.Mode().BeginLive());
    frame.Mode().ChooseChannel(kOctave);
    frame.m_recording.SelectSegment(2);
    frame.Ui().SetTitle("KX9Monitor");
    frame.Commands().DataView().SetDisplayMode(3);

    // Built without uses beside a frame: its own recording, no channel mode, no title.
    {
        CKX9MonitorView bare;
        bare.OnInitialUpdate();
        EXPECT_NE(&bare.Recording(), &frame.m_recording);
        EXPECT_EQ(bare.Recording().SelectedSegment(), -1);
        EXPECT_EQ(frame.Ui().GetTitle(), "KX9Monitor");
        EXPECT_EQ(frame.Commands().DataView().DisplayMode(), 3);
        const graph::GraphContext context = bare.GraphWindow(ViewGraph::Data)->Host()->Context();
        EXPECT_FALSE(context.liveMonitoring);
        EXPECT_EQ(context.selectedSegment, -1);
        bare.ShowGraphWindow(ViewGraph::Data, true);
        bare.OnUpdate();  // no channel mode: the graph stays
        EXPECT_TRUE(bare.GraphWindow(ViewGraph::Data)->IsWindowVisible());
    }

    // Handed another recording, it and its graphs' host show that one; the uses were copied.
    acquisition::Recording other;
    other.SelectSegment(0);
    std::unique_ptr<CKX9MonitorView> handed;
    {
        const ViewUses uses{
            .recording = other,
            .mode = frame.Mode(),
            .charts = frame.Charts(),
            .dataFiles = frame.DataFiles(),
            .dataView = frame.Commands().DataView(),
            .ui = frame.Ui(),
            .setupBlock = frame.m_SetupBlock,
        };
        handed = std::make_unique<CKX9MonitorView>(&uses);
    }
    handed->OnInitialUpdate();
    EXPECT_EQ(&handed->Recording(), &other);
    EXPECT_EQ(frame.Ui().GetTitle(), "QS4060KRTN_VP");
    EXPECT_EQ(frame.Commands().DataView().DisplayMode(), 0);
    const graph::GraphContext context = handed->GraphWindow(ViewGraph::Data)->Host()->Context();
    EXPECT_TRUE(context.liveMonitoring);
    EXPECT_EQ(context.selectedSegment, 0);
}

// --- the frame's data-view commands

class DataViewCommandsTest : public ViewTest {
protected:
    CommandState State(unsigned id) const { return commands.OnUpdateCommand(id).value(); }

    CFrameDataViewCommands commands{{
        .dataFiles = frame.DataFiles(),
        .charts = frame.Charts(),
        .mode = frame.Mode(),
        .updateView = [this] { view.OnUpdate(); },
    }};
};

TEST_F(DataViewCommandsTest, CommandsNeedDataAndADownloadTurnsOffTheGraphAndDataOnes) {
    commands.m_bCrossReference = TRUE;
    app.m_strSpectrumKind = "OCTAVE";
    for (unsigned id : {ID_VIEW_3DGRAPH, ID_VIEW_CROSS_REFERENCE, ID_DATA_PRESENT}) {
        EXPECT_FALSE(State(id).enabled) << id;
        EXPECT_FALSE(State(id).checked) << id;
    }
    // A path of "-1" is no data for the data-present state only.
    app.m_strCurrentFile = "-1";
    EXPECT_FALSE(State(ID_DATA_PRESENT).enabled);
    EXPECT_TRUE(State(ID_VIEW_3DGRAPH).enabled);
    EXPECT_TRUE(State(ID_VIEW_CROSS_REFERENCE).checked);
    EXPECT_FALSE(commands.OnUpdateCommand(ID_SAVE));
    EXPECT_FALSE(commands.OnUpdateCommand(57601));

    app.m_strCurrentFile = "C:\\data\\rec.kr9";
    app.m_strSpectrumKind = "TOCTAVE";
    EXPECT_TRUE(State(ID_DATA_PRESENT).enabled);
    ASSERT_TRUE(frame.Mode().BeginDownload());
    EXPECT_FALSE(State(ID_VIEW_3DGRAPH).enabled);
    EXPECT_FALSE(State(ID_DATA_PRESENT).enabled);
    EXPECT_TRUE(State(ID_VIEW_CROSS_REFERENCE).enabled);
    frame.Mode().EndDownload();

    // Only a kind of "-1" turns the cross reference off; an empty one does not.
    for (const char* kind : {"SLM5", ""}) {
        app.m_strSpectrumKind = kind;
        EXPECT_FALSE(State(ID_VIEW_3DGRAPH).enabled);
        EXPECT_TRUE(State(ID_VIEW_CROSS_REFERENCE).enabled);
    }
    app.m_strSpectrumKind = "-1";
    EXPECT_FALSE(State(ID_VIEW_CROSS_REFERENCE).enabled);

    EXPECT_STREQ(DataViewCommandTip(ID_VIEW_CROSS_REFERENCE),
                 "View Cross Reference\nView Cross Reference");
    EXPECT_STREQ(DataViewCommandTip(ID_SAVE), "Salva...\nSalva...");
    EXPECT_NE(DataViewCommandTip(ID_VIEW_3DGRAPH), nullptr);
    EXPECT_NE(DataViewCommandTip(ID_3DGRAPH_PROPERTIES), nullptr);
    EXPECT_EQ(DataViewCommandTip(ID_DATA_PRESENT), nullptr);
}

TEST_F(DataViewCommandsTest, CrossReferenceTurnsOverAndUpdatesTheView) {
    view.OnInitialUpdate();
    view.ShowGraphWindow(ViewGraph::Data, true);
    app.m_strCurrentFile = "C:\\data\\rec.kr9";
    app.m_strSpectrumKind = "OCTAVE";
    frame.Mode().ChooseChannel(testkinds::kOctave);
    EXPECT_TRUE(commands.OnCommand(ID_VIEW_CROSS_REFERENCE));
    EXPECT_TRUE(State(ID_VIEW_CROSS_REFERENCE).checked);
    EXPECT_FALSE(GraphShown(ViewGraph::Data));  // the view's update hid the graphs
    commands.OnCommand(ID_VIEW_CROSS_REFERENCE);
    EXPECT_FALSE(State(ID_VIEW_CROSS_REFERENCE).checked);

    op.ExpectDialog("CSelFileToSaveDlg", [](platform::ModalDialog&) { return IDCANCEL; });
    EXPECT_TRUE(commands.OnCommand(ID_SAVE));
    EXPECT_FALSE(commands.OnCommand(57601));
    // The 3-D settings are made on first use and show the view's chart.
    EXPECT_TRUE(commands.OnCommand(ID_3DGRAPH_PROPERTIES));
    EXPECT_TRUE(frame.Charts().Setup3D().IsWindowVisible());
    EXPECT_EQ(frame.Charts().Setup3D().m_nYMax, 140);
    frame.Charts().Setup3D().ShowWindow(false);
    EXPECT_TRUE(commands.OnCommand(ID_3DGRAPH_PROPERTIES));
    EXPECT_TRUE(frame.Charts().Setup3D().IsWindowVisible());
    EXPECT_FALSE(CFrameDataViewCommands::IsDataViewCommand(32963));
}

TEST(ViewPageListTest, TheListIsTheCurrentViewsAndNothingWhileThereIsNone) {
    CKX9MonitorApp app;
    FrameWindowHolder noWindow;
    const ViewLookup views(noWindow);
    ViewPageList pages(views);
    pages.AppendRow("PAGE 1", 0);
    pages.SetPageStartText("2024/03/09 10:00:00");
    EXPECT_EQ(pages.RowCount(), 0);

    CKX9MonitorView view;
    pages.AppendRow("CURR PAGE", 0);
    pages.AppendRow("10:00:00", -1);
    pages.SetRowText(0, "PAGE 1");
    pages.SetPageStartText("10:00:00");

    EXPECT_EQ(pages.RowCount(), 2);
    EXPECT_EQ(view.m_PageList.GetItemText(0, 0), "PAGE 1");
    EXPECT_EQ(view.m_PageList.GetItemText(1, 0), "10:00:00");
    EXPECT_EQ(view.m_strPageStartTime, "10:00:00");
    pages.Clear();
    EXPECT_EQ(view.m_PageList.GetItemCount(), 0);
}
