// The "Points" bar follows one series of its graph row by row, freezes and resumes, and never
// asks for a point that is not there.
#include <gtest/gtest.h>

#include <QMenu>
#include <QSignalSpy>
#include <QTest>

#include "fixed_metrics.h"
#include "graph/graph_combo_box.h"
#include "graph/graph_commands.h"
#include "graph/graph_dialogs.h"
#include "graph/graph_frame.h"
#include "graph/graph_window.h"
#include "graph/graph_wnd.h"
#include "graph/point_view_bar.h"
#include "support/test_env.h"

using graph::CPointViewBar;

namespace {

class PointViewBarTest : public ::testing::Test {
protected:
    PointViewBarTest() {
        parent.resize(600, 400);
        graph.SetMetrics(&metrics);
        graph.Create("Graph Window", {0, 0, 600, 400}, &parent, 11000, 0x50000000);
        parent.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&parent));
        graph.SetAxisTexts("Time", "s", 1, graph::kXAxis, 1);
        graph.SetAxisTexts("Value", "dB", 2, graph::kYAxis, 1);
        graph.ForwardToFrame(graph::kShowPointList);
    }

    CPointViewBar& Bar() const {
        return static_cast<graph::GraphWindow*>(graph.Window())->Frame().PointList();
    }
    int Rows() const { return Bar().List().GetItemCount(); }
    std::string Cell(int row, int column) const { return Bar().List().GetItemText(row, column); }

    testenv::TestOperator op;
    graphtest::FixedMetrics metrics;
    QWidget parent;
    graph::CGraphWnd graph{32};
};

}  // namespace

TEST_F(PointViewBarTest, TheFirstSeriesIsListedWithTheAxesUnits) {
    EXPECT_TRUE(Bar().isVisible());
    EXPECT_FALSE(Bar().Selector().isVisible());
    EXPECT_EQ(Bar().SelectedSeries(), -1);
    const int first = graph.AddGraph(0xFF0000, "", 1, true, false);
    const int second = graph.AddGraph(0x0000FF, "", 1, true, false);
    EXPECT_EQ(Bar().SelectedSeries(), first);
    EXPECT_EQ(Bar().Selector().count(), 2);

    for (int i = 0; i < 5; ++i)
        graph.AddPoint(first, i, 50 + i, i % 2);
    graph.AddPoint(second, 1, 1, 1);
    EXPECT_EQ(Rows(), 5);
    EXPECT_EQ(Cell(2, 0), "2.0 s");
    EXPECT_EQ(Cell(2, 1), "52.00 dB");

    graph.AddPoint(first, 2.5, 10, 1);
    EXPECT_EQ(Rows(), 6);
    EXPECT_EQ(Cell(3, 1), "10.00 dB");
    graph.RemovePoint(first, 0, 1);
    EXPECT_EQ(Rows(), 5);
    EXPECT_EQ(Cell(0, 0), "1.0 s");
    graph.EditPoint(first, 0, 1, 99, 1);
    EXPECT_EQ(Cell(0, 1), "99.00 dB");

    graph.SetAxisTexts("Value", "dB(A)", 1, graph::kYAxis, 1);
    EXPECT_EQ(Cell(0, 1), "99.0 dB(A)");
    graph.ClearPoints(second, 1);
    EXPECT_EQ(Rows(), 5);
    graph.ClearPoints(-1, 1);
    EXPECT_EQ(Rows(), 0);
}

TEST_F(PointViewBarTest, TheListFillsTheBarWithNoRoomKeptForTheHiddenSelector) {
    graph::C3DListCtrl& list = Bar().ListWindow();
    QWidget& content = *list.parentWidget();
    ASSERT_GT(content.height(), 150);
    constexpr int m = CPointViewBar::kMargin;
    EXPECT_EQ(list.geometry(), QRect(m, m, content.width() - 2 * m, content.height() - 2 * m));
    // What the bar shows 60 pixels down, where the room of the selector used to be: the
    // list's rows, not a gap.
    const int series = graph.AddGraph(0xFF0000, "", 1, true, false);
    graph.AddPoint(series, 1, 2, 1);
    const QImage picture = content.grab().toImage();
    const QColor base = list.viewport()->palette().color(QPalette::Base);
    const int below = 60;
    EXPECT_LT(list.viewport()->mapTo(&content, QPoint(0, 0)).y(), below - 20);
    int listed = 0;
    for (int x = m + 4; x < content.width() - m - 4; ++x)
        listed += picture.pixelColor(x, below) == base ? 1 : 0;
    EXPECT_GT(listed, (content.width() - 2 * m) / 2);
}

TEST_F(PointViewBarTest, ARunOfPointsSetsTheRowCountOnceAndKeepsTheChosenRow) {
    const int listed = graph.AddGraph(0xFF0000, "", 1, true, false);
    const int other = graph.AddGraph(0x0000FF, "", 1, true, false);
    graph.AddPoint(listed, 0, 10, 1);
    const QRect first = Bar().ListWindow().visualRect(Bar().ListWindow().model()->index(0, 0));
    QTest::mouseClick(Bar().ListWindow().viewport(), Qt::LeftButton, {}, first.center());
    ASSERT_EQ(Bar().List().GetSelectedRow(), 0);
    std::vector<graph::GraphPoint> run;
    for (int i = 1; i <= 5000; ++i)
        run.push_back({i * 1.0, 20.0 + i % 7});
    QSignalSpy inserted(Bar().ListWindow().model(), &QAbstractItemModel::rowsInserted);
    QSignalSpy reset(Bar().ListWindow().model(), &QAbstractItemModel::modelReset);
    graph.AddPoints(listed, run, 0);
    graph.AddPoints(other, run, 0);
    EXPECT_EQ(inserted.count(), 1);
    EXPECT_EQ(reset.count(), 0);
    EXPECT_EQ(Rows(), 5001);
    EXPECT_EQ(Cell(5000, 0), "5000.0 s");
    EXPECT_EQ(Cell(5000, 1), "22.00 dB");
    EXPECT_EQ(Bar().List().GetSelectedRow(), 0);

    // Off the screen the list waits: the rows are set once, when the bar is shown again.
    graph.ForwardToFrame(graph::kHidePointList);
    for (graph::GraphPoint& p : run)
        p.x += 5000;
    graph.AddPoints(listed, run, 0);
    EXPECT_EQ(Rows(), 5001);
    graph.ForwardToFrame(graph::kShowPointList);
    EXPECT_EQ(Rows(), 10001);
    EXPECT_EQ(Cell(10000, 0), "10000.0 s");
}

TEST_F(PointViewBarTest, AFrozenListStaysAsItWasAndNeverReadsPastTheSeries) {
    const int series = graph.AddGraph(0xFF0000, "", 1, true, false);
    for (int i = 0; i < 5; ++i)
        graph.AddPoint(series, i, i, 0);
    graph.ForwardToFrame(graph::kFreezeList);
    EXPECT_FALSE(Bar().IsTracking());
    graph.AddPoint(series, 5, 5, 1);
    graph.RemovePoint(series, 0, 1);
    graph.RemovePoint(series, 0, 1);
    graph.RemovePoint(series, 0, 1);
    EXPECT_EQ(Rows(), 5);
    EXPECT_EQ(Cell(2, 0), "5.0 s");
    EXPECT_EQ(Cell(3, 0), "");  // rows the series no longer has
    EXPECT_EQ(Cell(4, 1), "");
    Bar().ListWindow().grab();  // the window asks for every row it shows

    graph.ForwardToFrame(graph::kResumeList);
    EXPECT_TRUE(Bar().IsTracking());
    EXPECT_EQ(Rows(), 3);
}

TEST_F(PointViewBarTest, RemovingTheListedSeriesListsTheFirstThatRemains) {
    const int a = graph.AddGraph(0xFF0000, "", 1, true, false);
    const int b = graph.AddGraph(0x00FF00, "", 1, true, false);
    const int c = graph.AddGraph(0x0000FF, "", 1, true, false);
    graph.AddPoint(b, 0, 0, 1);
    graph.AddPoint(a, 0, 0, 1);
    graph.AddPoint(a, 1, 0, 1);
    graph.RemoveGraph(c, 1);
    EXPECT_EQ(Bar().SelectedSeries(), a);
    graph.RemoveGraph(a, 1);
    EXPECT_EQ(Bar().SelectedSeries(), b);
    EXPECT_EQ(Rows(), 1);
    graph.RemoveGraph(b, 1);
    EXPECT_EQ(Bar().Selector().count(), 0);
    EXPECT_EQ(Rows(), 0);
    // A new series after all others went is listed again.
    const int d = graph.AddGraph(0xFF0000, "", 1, true, false);
    EXPECT_EQ(Bar().SelectedSeries(), d);
}

TEST_F(PointViewBarTest, TheListsMenuHidesTheBar) {
    op.ExpectDialog("GraphContextMenu", [](platform::ModalDialog& dialog) {
        const QMenu& menu = static_cast<graph::GraphContextMenu&>(dialog).Menu();
        EXPECT_TRUE(menu.actions().back()->isChecked());
        return graph::kPointListCommand;
    });
    QTest::mouseClick(Bar().ListWindow().viewport(), Qt::RightButton, {}, {10, 10});
    EXPECT_FALSE(Bar().isVisible());
    graph.ForwardToFrame(graph::kShowPointList | graph::kHidePointList);
    EXPECT_FALSE(Bar().isVisible());
    graph.ForwardToFrame(graph::kShowPointList);
    EXPECT_TRUE(Bar().isVisible());
}

TEST_F(PointViewBarTest, TheGraphWindowDrawnOffTheScreenPaintsTheBarAroundTheList) {
    // The margins between the bar's title and its list, and beside the list, hold the bar's
    // colour, not whatever the picture's memory held.
    QWidget& window = *graph.Window();
    const QImage picture = window.grab().toImage();
    const QWidget& list = Bar().ListWindow();
    const QRect edges(Bar().widget()->mapTo(&window, QPoint(0, 0)), Bar().widget()->size());
    const QRect listed(list.mapTo(&window, QPoint(0, 0)), list.size());
    ASSERT_GT(listed.top(), edges.top());
    const QColor background = Bar().palette().color(QPalette::Window);
    int other = 0;
    for (int y = edges.top(); y <= edges.bottom(); ++y)
        for (int x = edges.left(); x <= edges.right(); ++x)
            if (!listed.contains(x, y))
                other += picture.pixelColor(x, y) == background ? 0 : 1;
    EXPECT_EQ(other, 0);
}
