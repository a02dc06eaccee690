// The graph of a recording's levels: the first records drawn at once and the rest in one run
// per series for the page fit, a profile page likewise, a count past the loaded records, the
// widened range of a flat curve, and the live twins. The fill from data files of each kind is
// tested in the app.
#include <gtest/gtest.h>

#include "acquisition/data_buffer.h"
#include "charts/record_graph.h"
#include "graph/graph_change.h"
#include "graph/graph_props.h"
#include "graph/graph_wnd.h"
#include "graph/view_range.h"
#include "records/record_layout.h"
#include "support/record_kinds.h"

using acquisition::DataBufferView;
using charts::LevelGraphOptions;
using graph::GraphChange;
using records::RecordLayout;

namespace {

class RecordingFrame : public graph::GraphFrameLink {
public:
    int NotifyGraph(const GraphChange& change) override {
        changes.push_back(change);
        return 0;
    }
    void ShowBars(unsigned) override {}
    unsigned PanelOptions() const override { return options; }
    bool PanelRange(graph::VisibleRange& r) const override {
        r = {0, 10, 0, 10};
        return true;
    }
    void FitPanel(int command) override { fits.push_back(command); }

    std::vector<GraphChange> changes;
    std::vector<int> fits;
    unsigned options = 1 | 2 | 8;
};

// The level word of channel p of record r: (40 + r + 10 p) dB and a few tenths; every
// seventh record misses channel 2.
std::uint16_t Word(int r, int p) {
    if (p == 2 && r % 7 == 6)
        return records::kNoValue;
    return static_cast<std::uint16_t>((40 + r + 10 * p) * 10 + r % 10);
}

// A page in the data buffer: the start text, then `records` records of `values` levels.
std::vector<unsigned char> Page(int records, int values) {
    std::string bytes = "2024/03/09 14:05:07 ";
    for (int r = 0; r < records; ++r) {
        std::vector<std::uint16_t> levels;
        for (int v = 0; v < values; ++v)
            levels.push_back(Word(r, v));
        bytes += records::EncodeRecord(records::PackTimeWord(0, 0, r % 60), levels);
    }
    bytes.append(64, '\xFF');  // what the rest of the buffer holds
    return std::vector<unsigned char>(bytes.begin(), bytes.end());
}

DataBufferView Loaded(const std::vector<unsigned char>& buffer, const RecordLayout& layout,
                      int records) {
    return DataBufferView(
        buffer, layout,
        records::kPageStartBytes + static_cast<long long>(records) * layout.RecordBytes());
}

class RecordGraphTest : public ::testing::Test {
protected:
    RecordGraphTest() { graph.AttachFrame(&frame); }

    std::vector<double> Ys(int series) const {
        std::vector<double> ys;
        const graph::CGraphProps* props = graph.GetGraph(series);
        for (int i = 0; props && i < props->GetCount(); ++i)
            ys.push_back(props->GetPoint(i).y);
        return ys;
    }
    int Count(int series) const {
        const graph::CGraphProps* props = graph.GetGraph(series);
        return props ? props->GetCount() : -1;
    }

    graph::CGraphWnd graph{32};
    RecordingFrame frame;
};

}  // namespace

TEST_F(RecordGraphTest, ALevelPageDrawsItsFirstTenRecordsAtOnceAndTheURLineAlways) {
    const auto buffer = Page(25, 5);
    const DataBufferView records = Loaded(buffer, RecordLayout(testkinds::kSoundLevelMeter), 25);
    const std::vector<int> series =
        charts::SetUpRecordGraph(graph, testkinds::kSoundLevelMeter, true, false);
    ASSERT_EQ(series, (std::vector<int>{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(graph.GetGraph(5)->GetName(), "UR");
    // Read-out and point marks on, the grid off.
    const GraphChange& options = frame.changes[2];
    ASSERT_EQ(options.code, graph::kRangeSet);
    EXPECT_EQ(options.options, 1u | 2u | 4u);

    LevelGraphOptions withUR;
    withUR.urLine = true;
    withUR.urLevel = 35;
    frame.changes.clear();
    charts::FillDataGraph(graph, records, 25, series, withUR);
    EXPECT_EQ(Ys(series[5]), std::vector<double>(25, 35.0));
    EXPECT_EQ(frame.fits, std::vector<int>{graph::kFitPage});
    // The first ten records point by point, drawn at once; the other fifteen of each series
    // in one change, drawn later but for the UR line.
    std::vector<int> appended(series.size(), 0);
    for (const GraphChange& change : frame.changes) {
        const bool ur = change.series == series[5];
        if (change.code == graph::kPointAdded) {
            EXPECT_LT(change.point, charts::kRecordsDrawnAtOnce) << change.series;
            EXPECT_EQ(change.notify, 1u);
            continue;
        }
        ASSERT_EQ(change.code, graph::kPointsAppended);
        ++appended[change.series];
        EXPECT_EQ(change.point, charts::kRecordsDrawnAtOnce) << change.series;
        EXPECT_EQ(change.count, Count(change.series) - charts::kRecordsDrawnAtOnce);
        EXPECT_EQ(change.notify, ur ? 1u : 0u) << change.series;
    }
    EXPECT_EQ(appended, std::vector<int>(series.size(), 1));
    // Channel 2 misses records 6, 13 and 20: 0 dB there, each point at its record number.
    ASSERT_EQ(Count(series[2]), 25);
    EXPECT_EQ(graph.GetGraph(series[2])->GetPoint(13).x, 13);
    EXPECT_EQ(graph.GetGraph(series[2])->GetPoint(13).y, 0);
    EXPECT_EQ(Ys(series[1]).back(), charts::GraphLevel(Word(24, 1)));
}

TEST_F(RecordGraphTest, ACountPastTheLoadedRecordsReadsNoFurtherAndZeroOnlyFitsThePage) {
    const auto buffer = Page(8, 5);
    const DataBufferView records = Loaded(buffer, RecordLayout(testkinds::kSoundLevelMeter), 8);
    const auto series = charts::SetUpRecordGraph(graph, testkinds::kSoundLevelMeter, false, false);
    charts::FillDataGraph(graph, records, 0, series, {});
    EXPECT_EQ(Count(series[0]), 0);
    EXPECT_EQ(graph.GetGraphCount(), 6);
    EXPECT_EQ(frame.fits.size(), 1u);

    charts::FillDataGraph(graph, records, 1000000, series, {});
    EXPECT_EQ(Count(series[0]), 8);
    EXPECT_EQ(Count(series[4]), 8);
}

TEST_F(RecordGraphTest, AProfilePageFillsOneCurveSampleBySampleDrawingTenRecordsAtOnce) {
    // "0.125s": four samples per record.
    const RecordLayout layout(testkinds::kProfile, records::ProfileStep::Eighth);
    const auto buffer = Page(12, 4);
    const DataBufferView records = Loaded(buffer, layout, 12);
    ASSERT_EQ(records.SampleCount(), 48);
    const auto series = charts::SetUpRecordGraph(graph, testkinds::kProfile, false, false);
    ASSERT_EQ(series.size(), 3u);
    frame.changes.clear();
    charts::FillProfileGraph(graph, records, records.SampleCount(), series);
    const std::vector<double> ys = Ys(series[0]);
    ASSERT_EQ(ys.size(), 48u);
    for (int s = 0; s < 48; ++s)
        EXPECT_EQ(ys[s], charts::GraphLevel(Word(s / 4, s % 4))) << s;
    EXPECT_EQ(Count(series[1]), 0);
    ASSERT_EQ(frame.changes.size(), 41u);
    for (int s = 0; s < 40; ++s) {
        EXPECT_EQ(frame.changes[s].code, graph::kPointAdded);
        EXPECT_EQ(frame.changes[s].notify, 1u);
    }
    EXPECT_EQ(frame.changes[40].code, graph::kPointsAppended);
    EXPECT_EQ(frame.changes[40].point, 40);
    EXPECT_EQ(frame.changes[40].count, 8);
    EXPECT_EQ(frame.changes[40].notify, 0u);
}

TEST_F(RecordGraphTest, AFlatCurvesRangeIsWidenedByATenthOfItsLevelsSize) {
    const int s = graph.AddGraph(0xFF0000, "", 1, true, false);
    graph.AddPoint(s, 0, -50, 0);
    graph.AddPoint(s, 1, -50, 0);
    charts::WidenLevelBounds(graph);
    EXPECT_EQ(graph.GetGraph(s)->GetBounds().yMin, -55);
    EXPECT_EQ(graph.GetGraph(s)->GetBounds().yMax, -45);
}

TEST_F(RecordGraphTest, LiveRecordsGoToTheirRecordNumberAndAreDrawnAsTheViewAsks) {
    const auto series = charts::SetUpRecordGraph(graph, testkinds::kSoundLevelMeter, false, false);
    const std::string texts[] = {"45.5", "50.1", "61.0", "70.2", "80.9"};
    LevelGraphOptions options;
    options.shown[1] = false;
    options.urLine = true;
    options.urLevel = 30;
    frame.changes.clear();
    charts::AddLiveRecord(graph, 0, texts, series, options, true);
    ASSERT_EQ(Ys(series[4]), std::vector<double>{80.9});
    EXPECT_EQ(Ys(series[1]), std::vector<double>{50.1});  // added, not drawn
    EXPECT_EQ(frame.changes[0].notify, 1u);
    EXPECT_EQ(frame.changes[1].notify, 0u);
    EXPECT_EQ(Ys(series[5]), std::vector<double>{30});

    // A meter of three channels; the live graph not repainting.
    options.channels = 3;
    frame.changes.clear();
    charts::AddLiveRecord(graph, 1, texts, series, options, false);
    EXPECT_EQ(Count(series[2]), 2);
    EXPECT_EQ(Count(series[3]), 1);
    EXPECT_EQ(frame.changes[0].notify, 0u);

    // A record number past the series' end still lands, at its place by x.
    charts::AddLiveRecord(graph, 40, texts, series, options, true);
    EXPECT_EQ(Count(series[0]), 3);
    EXPECT_EQ(graph.GetGraph(series[0])->GetPoint(2).x, 40);

    const auto profile = charts::SetUpRecordGraph(graph, testkinds::kProfile, false, false);
    charts::AddLiveGraphPoint(graph, 0, "62.5", profile, true);
    charts::AddLiveGraphPoint(graph, 1, "63.0", profile, false);
    EXPECT_EQ(Ys(profile[0]), (std::vector<double>{62.5, 63.0}));
}
