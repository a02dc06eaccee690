// The graph window's series table and the changes it tells its frame, without a window.
#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <vector>

#include "graph/graph_wnd.h"

using graph::CGraphWnd;
using graph::GraphChange;
using graph::VisibleRange;

namespace {

// A frame that records what the graph tells it, with a panel's range and options.
class RecordingFrame : public graph::GraphFrameLink {
public:
    int NotifyGraph(const GraphChange& change) override {
        changes.push_back(change);
        return 0;
    }
    void ShowBars(unsigned) override {}
    unsigned PanelOptions() const override { return options; }
    bool PanelRange(VisibleRange& r) const override {
        r = range;
        return true;
    }
    void FitPanel(int) override {}

    std::vector<GraphChange> changes;
    unsigned options = 11;
    VisibleRange range{0, 10, 0, 10};
};

class GraphWndTest : public ::testing::Test {
protected:
    GraphWndTest() { graph.AttachFrame(&frame); }

    const GraphChange& Last() const { return frame.changes.back(); }

    CGraphWnd graph{32};
    RecordingFrame frame;
};

}  // namespace

TEST_F(GraphWndTest, SlotsAreTakenFromTheFirstFreeOneUpToTheCapacity) {
    for (int i = 0; i < 32; ++i)
        ASSERT_EQ(graph.AddGraph(0xFF0000, "", 1, true, false), i);
    frame.changes.clear();
    EXPECT_EQ(graph.AddGraph(0xFF0000, "", 1, true, false), -1);
    EXPECT_TRUE(frame.changes.empty());
    EXPECT_EQ(graph.GetGraphCount(), 32);

    EXPECT_EQ(graph.RemoveGraph(5, 0), 5);
    EXPECT_EQ(Last().code, graph::kSeriesRemoved);
    EXPECT_EQ(Last().series, 5);
    EXPECT_EQ(graph.RemoveGraph(5, 0), -1);
    EXPECT_EQ(graph.RemoveGraph(32, 0), -1);
    EXPECT_EQ(graph.RemoveGraph(-1, 0), -1);
    EXPECT_EQ(graph.GetGraph(5), nullptr);
    EXPECT_EQ(graph.GetGraph(32), nullptr);
    EXPECT_EQ(graph.GetGraph(-7), nullptr);
    int position = 4;
    graph.GetNextGraph(position);
    EXPECT_EQ(position, 6);  // past the empty slot

    EXPECT_EQ(graph.AddGraph(0x00FF00, "new", 1, true, false), 5);
    EXPECT_EQ(Last().code, graph::kSeriesAdded);
    EXPECT_EQ(Last().graph, &graph);
    EXPECT_EQ(graph.GetGraph(5)->GetName(), "new");
}

TEST_F(GraphWndTest, PointChangesCarryTheIndexWhereThePointStands) {
    graph.AddGraph(0, "", 0, true, false);
    graph.AddPoint(0, 10, 1, 0);
    graph.AddPoint(0, 30, 3, 0);
    EXPECT_EQ(graph.AddPoint(0, 20, 2, 1), -1);  // the insert index given
    EXPECT_EQ(Last().code, graph::kPointAdded);
    EXPECT_EQ(Last().point, 1);
    EXPECT_EQ(Last().notify, 1u);
    EXPECT_EQ(graph.AddPoint(3, 0, 0, 1), -1);  // no such series

    EXPECT_EQ(graph.EditPoint(0, 0, 40, 4, 1), 2);
    EXPECT_EQ(Last().code, graph::kPointChanged);
    EXPECT_EQ(graph.RemovePoint(0, 2, 1), 2);
    EXPECT_EQ(Last().code, graph::kPointRemoved);
    const size_t told = frame.changes.size();
    EXPECT_EQ(graph.RemovePoint(0, 7, 1), -1);
    EXPECT_EQ(graph.EditPoint(0, 7, 1, 1, 1), -1);
    EXPECT_EQ(frame.changes.size(), told);
    EXPECT_EQ(graph.GetGraph(0)->GetBounds().xMax, 30);
}

TEST_F(GraphWndTest, ARunOfPointsIsOneChangeAndAPointThatGoesElsewhereIsToldOnItsOwn) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const int ordered = graph.AddGraph(0, "", 0, true, false);
    graph.AddPoint(ordered, 10, 1, 0);
    graph.AddPoint(ordered, 30, 3, 0);
    frame.changes.clear();
    const std::vector<graph::GraphPoint> run = {{40, 4}, {50, nan}, {60, 6}, {20, 2}, {70, 7}};
    EXPECT_EQ(graph.AddPoints(ordered, run, 0), 4);
    ASSERT_EQ(frame.changes.size(), 3u);
    EXPECT_EQ(frame.changes[0].code, graph::kPointsAppended);
    EXPECT_EQ(frame.changes[0].point, 2);
    EXPECT_EQ(frame.changes[0].count, 2);
    EXPECT_EQ(frame.changes[1].code, graph::kPointAdded);
    EXPECT_EQ(frame.changes[1].point, 1);
    EXPECT_EQ(frame.changes[2].code, graph::kPointsAppended);
    EXPECT_EQ(frame.changes[2].point, 5);
    EXPECT_EQ(frame.changes[2].count, 1);
    const graph::CGraphProps& series = *graph.GetGraph(ordered);
    std::vector<double> xs;
    for (int i = 0; i < series.GetCount(); ++i)
        xs.push_back(series.GetPoint(i).x);
    EXPECT_EQ(xs, (std::vector<double>{10, 20, 30, 40, 60, 70}));
    EXPECT_EQ(series.GetBounds(), (graph::PointBounds{70, 7, 10, 1}));

    // A series in insertion order takes the whole run at its end, as one change.
    const int unordered = graph.AddGraph(0, "", 0, false, false);
    frame.changes.clear();
    EXPECT_EQ(graph.AddPoints(unordered, run, 1), 4);
    ASSERT_EQ(frame.changes.size(), 1u);
    EXPECT_EQ(Last().count, 4);
    EXPECT_EQ(Last().notify, 1u);
    EXPECT_EQ(graph.GetGraph(unordered)->GetBounds(), (graph::PointBounds{70, 7, 20, 2}));

    frame.changes.clear();
    EXPECT_EQ(graph.AddPoints(7, run, 0), -1);
    EXPECT_EQ(graph.AddPoints(unordered, {}, 0), 0);
    EXPECT_TRUE(frame.changes.empty());
}

TEST_F(GraphWndTest, ClearingEverySeriesIsOneChange) {
    graph.AddGraph(0, "", 0, true, false);
    graph.RemoveGraph(graph.AddGraph(0, "", 0, true, false), 0);
    graph.AddGraph(0, "", 0, true, false);
    for (int series : {0, 1})
        graph.AddPoint(series, 1, 1, 0);
    frame.changes.clear();
    graph.ClearPoints(-1, 1);
    ASSERT_EQ(frame.changes.size(), 1u);
    EXPECT_EQ(Last().code, graph::kPointsCleared);
    EXPECT_EQ(Last().series, -1);
    EXPECT_EQ(graph.GetGraph(0)->GetCount() + graph.GetGraph(1)->GetCount(), 0);
    graph.ClearPoints(9, 1);
    EXPECT_EQ(frame.changes.size(), 1u);
}

TEST_F(GraphWndTest, BoundsComeFromVisibleSeriesWithPointsOnly) {
    for (int i = 0; i < 6; ++i)
        graph.AddGraph(0, "", 0, true, false);
    graph.AddPoint(2, 5, 50, 0);
    graph.GetGraph(2)->SetVisible(false);
    double bounds[4] = {-1, -1, -1, -1};
    EXPECT_FALSE(graph.GetBoundRect(bounds[0], bounds[1], bounds[2], bounds[3]));
    EXPECT_EQ(bounds[0], -1);

    graph.AddPoint(4, 1, 70, 0);
    graph.AddPoint(4, 3, 60, 0);
    graph.AddPoint(5, 9, 20, 0);
    ASSERT_TRUE(graph.GetBoundRect(bounds[0], bounds[1], bounds[2], bounds[3]));
    EXPECT_EQ(std::vector<double>(bounds, bounds + 4), (std::vector<double>{1, 9, 20, 70}));

    // Widened bounds: the first series takes them, the next one takes them in.
    EXPECT_TRUE(graph.ApplyBoundsToGraphs(0, 10, 15, 75));
    EXPECT_EQ(graph.GetGraph(4)->GetBounds(), (graph::PointBounds{10, 75, 0, 15}));
    EXPECT_EQ(graph.GetGraph(5)->GetBounds(), (graph::PointBounds{10, 75, 0, 15}));
    EXPECT_EQ(graph.GetGraph(2)->GetBounds(), (graph::PointBounds{5, 50, 5, 50}));
}

TEST_F(GraphWndTest, RangeAndAxisChangesGoThroughTheFrame) {
    graph.SetVisibleRange(0, 100, 0, 130, 1);
    EXPECT_EQ(Last().code, graph::kRangeSet);
    EXPECT_EQ(Last().range, (VisibleRange{0, 100, 0, 130}));
    EXPECT_EQ(Last().options, 11u);
    graph.UpdateVisibleRange(5, 0);
    EXPECT_EQ(Last().range, frame.range);
    EXPECT_EQ(Last().options, 5u);

    graph.SetAxisTexts("Time", "", 0, graph::kXAxis, 1);
    EXPECT_EQ(Last().code, graph::kAxisChanged);
    EXPECT_EQ(Last().axis, graph::kXAxis);
    EXPECT_EQ(graph.FormatAxisValue(12.4, graph::kXAxis, 1), "12 ");
    EXPECT_EQ(graph.FormatAxisValue(12.4, 7, 0), "12.400");  // any other axis is y
}

TEST_F(GraphWndTest, EditedCopiesAreAppliedOnlyToSeriesThatStillExist) {
    graph.AddGraph(0xFF0000, "a", 0, true, false);
    graph.AddGraph(0x00FF00, "b", 0, true, false);
    std::vector<graph::CGraphProps> copies;
    for (int i = 0; i < 2; ++i) {
        copies.emplace_back(*graph.GetGraph(i));
        copies.back().SetIndex(i);
    }
    copies[0].SetColour(0x123456);
    copies[0].SetVisible(false);
    copies[1].SetName("renamed");
    copies.emplace_back(0x999999, "stray", true, true, 31, true, false);
    graph.RemoveGraph(1, 0);

    graph.ApplySeriesCopies(copies);
    EXPECT_EQ(graph.GetGraph(0)->GetColour(), 0x123456u);
    EXPECT_FALSE(graph.GetGraph(0)->IsVisible());
    EXPECT_EQ(graph.GetGraph(1), nullptr);
    EXPECT_EQ(graph.GetGraph(31), nullptr);
    EXPECT_EQ(graph.GetGraphCount(), 1);
}
