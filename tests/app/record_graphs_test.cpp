// The graph windows of downloaded data in the program: a recording of each kind opened from a
// data file fills the data graph or the file's spectrum chart from its records, the loaded
// data's "Spectrum" window follows the page and the selected record, the read-out names the
// channel under the pointer, and a second file opened while the first one is being shown
// waits for it.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QImage>
#include <QTimer>
#include <algorithm>
#include <memory>

#include "app/chart_windows.h"
#include "app/frame_command_ids.h"
#include "app/frame_commands.h"
#include "app/frame_data_files.h"
#include "app/kx9monitor_view_widget.h"
#include "charts/spectrum_chart_fill.h"
#include "graph/graph_props.h"
#include "platform/colors.h"
#include "platform/event_loop.h"
#include "records/record_layout.h"
#include "support/record_kinds.h"
#include "view_test_support.h"

using namespace viewtest;
using records::SetupBlock;

namespace {

// The level word of value v of record r: (40 + r + 7 v) dB and a few tenths; value 2 of every
// fifth record is missing.
std::uint16_t Word(int r, int v) {
    if (v == 2 && r % 5 == 4)
        return records::kNoValue;
    return static_cast<std::uint16_t>((40 + r + 7 * v) * 10 + (r + v) % 10);
}

// A single data file of one page of `records` records of `mode` ("", "PROFILE", "OCTAVE",
// "THIRD OCTAV"), each of `values` levels.
std::string DataFile(const std::string& model, const std::string& mode, int records, int values,
                     const std::string& profileTime = "1s") {
    SetupBlock block;
    block.SetField(SetupBlock::kModel, model);
    block.SetField(SetupBlock::kAcquisitionMode, mode);
    // A profile page counts samples, two or four to a record.
    const int samples = mode == "PROFILE" ? records * values : records;
    block.SetField(SetupBlock::kPagingSize, std::to_string(samples));
    block.SetField(SetupBlock::kProfileTime, profileTime);
    block.SetField(SetupBlock::kSpectrumTime, "1s");
    block.SetField(SetupBlock::kSpectAuxWeighting, "Lin");
    block.SetField(SetupBlock::kSlm1Param + 1, "LFmx:A");
    std::string file = records::PageFileHead(block, {}, {}, "2024/03/09 14:05:07 ");
    for (int r = 0; r < records; ++r) {
        std::vector<std::uint16_t> levels;
        for (int v = 0; v < values; ++v)
            levels.push_back(Word(r, v));
        file += records::EncodeRecord(records::PackTimeWord(14, 5, (7 + r) % 60), levels);
    }
    return file;
}

class RecordGraphsTest : public ViewTest {
protected:
    RecordGraphsTest() { view.OnInitialUpdate(); }

    graph::CGraphWnd* DataGraph() const { return view.GraphWindow(ViewGraph::Second); }
    std::vector<double> Ys(int series) const {
        std::vector<double> ys;
        const graph::CGraphProps* props = DataGraph() ? DataGraph()->GetGraph(series) : nullptr;
        for (int i = 0; props && i < props->GetCount(); ++i)
            ys.push_back(props->GetPoint(i).y);
        return ys;
    }
    void Open(const std::string& name, const std::string& content) {
        folder.Write(name, content);
        frame.DataFiles().Reader().OpenSessionFile(folder.File(name));
    }
};

}  // namespace

TEST_F(RecordGraphsTest, ALevelRecordingFillsTheDataGraphWithEveryChannelOfItsRecords) {
    Open("slm.kr9", DataFile("QS4160_L0$1", "SLM", 24, 5));
    ASSERT_EQ(frame.Mode().ChannelMode(), kSoundLevelMeter);
    graph::CGraphWnd* graph = DataGraph();
    ASSERT_NE(graph, nullptr);
    EXPECT_EQ(graph->GetGraphCount(), 6);
    for (int p = 0; p < 5; ++p) {
        const std::vector<double> ys = Ys(p);
        ASSERT_EQ(ys.size(), 24u) << p;
        for (int r = 0; r < 24; ++r) {
            const double level = Word(r, p) == records::kNoValue ? 0.0 : Word(r, p) / 10.0;
            EXPECT_EQ(ys[r], level) << p << " " << r;
        }
    }
    EXPECT_TRUE(Ys(5).empty());  // no UR line
    // The level range reaches a tenth of its span past the curves.
    double top = 0;
    for (int r = 0; r < 24; ++r)
        top = std::max(top, Word(r, 4) / 10.0);
    double xMin = 0, xMax = 0, yMin = 0, yMax = 0;
    ASSERT_TRUE(graph->GetBoundRect(xMin, xMax, yMin, yMax));
    EXPECT_NEAR(yMax, top * 1.1, 1e-9);  // from 0 dB, a missing level
    EXPECT_NEAR(yMin, -top / 10, 1e-9);

    // The legend's box of channel 1 empties its curve, and a new page keeps it empty; a meter
    // of three channels shows three curves; the "UR" line follows the view's switch.
    ASSERT_TRUE(frame.Charts().Legend().HasWindow());
    frame.Charts().Legend().OnChannelCheck(1, false);
    EXPECT_TRUE(Ys(1).empty());
    view.m_nURLine = 1;
    view.m_nURLevel = 33;
    Open("slm3.kr9", DataFile("QS4060_rn0$1", "SLM", 15, 5));
    EXPECT_NE(DataGraph(), graph);  // made afresh
    EXPECT_EQ(Ys(0).size(), 15u);
    EXPECT_TRUE(Ys(1).empty());
    EXPECT_EQ(Ys(2).size(), 15u);
    EXPECT_TRUE(Ys(3).empty());
    EXPECT_TRUE(Ys(4).empty());
    EXPECT_EQ(Ys(5), std::vector<double>(15, 33.0));
}

TEST_F(RecordGraphsTest, AProfileRecordingFillsOneCurveWithEverySample) {
    // "0.25s": records of two samples.
    Open("profile.kr9", DataFile("QS4160_L0$1", "PROFILE", 6, 2, "0.25s"));
    ASSERT_EQ(frame.Mode().ChannelMode(), kProfile);
    ASSERT_NE(DataGraph(), nullptr);
    EXPECT_EQ(DataGraph()->GetGraphCount(), 3);
    const std::vector<double> ys = Ys(0);
    ASSERT_EQ(ys.size(), 12u);
    for (int s = 0; s < 12; ++s)
        EXPECT_EQ(ys[s], Word(s / 2, s % 2) / 10.0) << s;
    EXPECT_TRUE(Ys(1).empty());
}

TEST_F(RecordGraphsTest, AnOctaveRecordingShowsTheSelectedRecordsSpectrumAndItsWaterfallRow) {
    Open("oct.kr9", DataFile("QS4160_L0$1", "OCTAVE", 9, 12));
    ASSERT_EQ(frame.Mode().ChannelMode(), kOctave);
    const charts::CChartWnd& chart = view.m_DataChart;
    ASSERT_EQ(chart.GetItemCount(), 12);  // record 0
    EXPECT_FLOAT_EQ(chart.GetItemLevel(3), Word(0, 3) / 10.0f);
    EXPECT_EQ(chart.UnitText(), "Hz");

    // The waterfall of the loaded page, then a record picked in the data list.
    ASSERT_TRUE(frame.Commands().OnCommand(cmd::ID_VIEW_3DGRAPH));
    charts::CDemoDlg& waterfall = frame.Charts().LoadedSpectra();
    ASSERT_TRUE(waterfall.IsWindowVisible());
    EXPECT_EQ(waterfall.Row(), 9);
    const auto& row4 = waterfall.Graph().ElementPoints(4);
    ASSERT_EQ(row4.size(), 12u);
    EXPECT_EQ(row4[0].y, Word(4, 0) / 10);
    EXPECT_EQ(row4[2].y, 0);  // the missing level

    view.m_DataList.SetSelectedRow(4);
    view.OnDblClkDataList();
    EXPECT_EQ(frame.m_recording.SelectedRecord(), 4);
    EXPECT_EQ(chart.GetItemLevel(2), charts::kMissingBandLevel);
    EXPECT_FLOAT_EQ(chart.GetItemLevel(0), Word(4, 0) / 10.0f);
    EXPECT_EQ(waterfall.HighlightedRow(), 4);
    EXPECT_TRUE(waterfall.Graph().IsEmphasised(4));

    // A record the page does not hold shows no bars.
    frame.m_recording.SelectRecord(900);
    view.RefreshGraphWindows();
    EXPECT_EQ(chart.GetItemCount(), 0);
}

TEST_F(RecordGraphsTest, AThirdOctaveRecordingDraws33BarsTheLastGreen) {
    Open("toct.kr9", DataFile("QS4160_L0$1", "THIRD OCTAV", 3, 33));
    ASSERT_EQ(frame.Mode().ChannelMode(), kThirdOctave);
    const charts::CChartWnd& chart = view.m_DataChart;
    ASSERT_EQ(chart.GetItemCount(), 33);
    for (int b = 0; b < 32; ++b)
        EXPECT_EQ(chart.GetItemColour(b), 0xFF0000u) << b;
    EXPECT_EQ(chart.GetItemColour(32), 0x00FF00u);
    EXPECT_FLOAT_EQ(chart.GetItemLevel(32), Word(0, 32) / 10.0f);
}

TEST_F(RecordGraphsTest, TheReadOutNamesTheChannelUnderThePointerAndTheLegendFollows) {
    app.m_InstrStatus.m_strSlm2Param = "LFmx:A";
    Open("slm.kr9", DataFile("QS4160_L0$1", "SLM", 10, 5));
    frame.m_recording.SelectSegment(0);  // a stored page: the data list
    graph::GraphHost& host = *DataGraph()->Host();
    const std::string level = view.m_DataList.GetItemText(3, 2);
    ASSERT_EQ(level, "50.4");  // Word(3, 1)
    const std::string time = view.m_DataList.GetItemText(3, 0);
    ASSERT_FALSE(time.empty());
    EXPECT_EQ(host.FormatPointReadout(10, 10, "x=3 , y=50.42 dB"), time + "#50.4#$1");
    EXPECT_EQ(frame.Charts().Legend().TimeLine(), "Time: " + time);
    EXPECT_NE(frame.Charts().Legend().ChannelLabel(1).find(": 50.4 dB"), std::string::npos);
    // A record past the list's rows reads nothing.
    EXPECT_EQ(host.FormatPointReadout(10, 10, "x=5000 , y=50 dB"), "x=5000 , y=50 dB");
}

TEST_F(RecordGraphsTest, ASecondFileOpenedWhileTheFirstIsShownWaitsForIt) {
    ASSERT_TRUE(
        frame.Commands().OnCommand(cmd::ID_VIEW_3DGRAPH));  // the waterfall follows each page
    folder.Write("second.kr9", DataFile("QS4160_L0$1", "SLM", 7, 5));
    bool secondOpened = false;
    // A command waiting in the event loop (a file chosen meanwhile) opens the second file.
    QTimer::singleShot(0, [&] {
        frame.DataFiles().Reader().OpenSessionFile(folder.File("second.kr9"));
        secondOpened = true;
    });
    Open("first.kr9", DataFile("QS4160_L0$1", "SLM", 3000, 5));
    EXPECT_FALSE(secondOpened);  // nothing handed control away while the records were shown
    ASSERT_NE(DataGraph(), nullptr);
    EXPECT_EQ(Ys(0).size(), 3000u);

    platform::EventLoop::ProcessPending();
    ASSERT_TRUE(secondOpened);
    ASSERT_NE(DataGraph(), nullptr);
    EXPECT_EQ(Ys(0).size(), 7u);
    EXPECT_EQ(Ys(4)[6], Word(6, 4) / 10.0);

    // The same with a spectrum page and the waterfall open.
    folder.Write("third.kr9", DataFile("QS4160_L0$1", "OCTAVE", 5, 12));
    QTimer::singleShot(
        0, [&] { frame.DataFiles().Reader().OpenSessionFile(folder.File("third.kr9")); });
    Open("big.kr9", DataFile("QS4160_L0$1", "OCTAVE", 4000, 12));
    EXPECT_EQ(frame.Charts().LoadedSpectra().Row(), 4000);
    platform::EventLoop::ProcessPending();
    EXPECT_EQ(frame.Charts().LoadedSpectra().Row(), 5);
    EXPECT_EQ(view.m_DataChart.GetItemCount(), 12);
}

TEST_F(RecordGraphsTest, ThePictureOfTheDataGraphShowsTheChannelsCurves) {
    std::unique_ptr<QWidget> window(CreateViewWidget(view, nullptr));
    window->resize(900, 700);
    window->show();
    platform::EventLoop::ProcessPending();
    Open("slm.kr9", DataFile("QS4160_L0$1", "SLM", 60, 5));
    graph::CGraphWnd* graph = DataGraph();
    ASSERT_NE(graph, nullptr);
    ASSERT_NE(graph->Window(), nullptr);
    graph->ShowWindow(true);
    platform::EventLoop::ProcessPending();
    const QImage picture = graph->Window()->grab().toImage();
    picture.save(QString::fromStdString(folder.File("data_graph.png")));
    const auto count = [&](COLORREF colour) {
        int n = 0;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                n += picture.pixelColor(x, y) == platform::ToQColor(colour) ? 1 : 0;
        return n;
    };
    for (COLORREF colour : {0xFF0000u, 0x0000FFu, 0x00FF00u, 0xFFFF00u})
        EXPECT_GT(count(colour), 50) << std::hex << colour;
}
