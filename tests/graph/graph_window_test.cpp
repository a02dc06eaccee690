// A created graph window offscreen: its parts and their layout, the changes reaching the panel
// before the other parts, and pictures in which each curve's pixels lie where the scales put
// them.
#include <gtest/gtest.h>

#include <QImage>
#include <QMenu>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <memory>
#include <random>
#include <vector>

#include "fixed_metrics.h"
#include "graph/curve_geometry.h"
#include "graph/graph_frame.h"
#include "graph/graph_host.h"
#include "graph/graph_panel.h"
#include "graph/graph_window.h"
#include "graph/graph_wnd.h"
#include "graph/rulers.h"
#include "platform/colors.h"

using graph::CGraphPanel;
using graph::CGraphWnd;

namespace {

constexpr COLORREF kBlue = 0xFF0000;
constexpr COLORREF kRed = 0x0000FF;

class RowHost : public graph::GraphHost {
public:
    std::string TimeLabel(int row) override { return "r" + std::to_string(row); }
};

class Receiver : public graph::GraphChangeReceiver {
public:
    explicit Receiver(std::vector<std::string>& log) : m_log(log) {}
    int OnGraphChange(const graph::GraphChange& change) override {
        m_log.push_back("bar " + std::to_string(change.code));
        return 7;
    }

private:
    std::vector<std::string>& m_log;
};

class GraphWindowTest : public ::testing::Test {
protected:
    GraphWindowTest() {
        parent.resize(500, 400);
        graph.SetMetrics(&metrics);
        graph.SetHost(&host);
        graph.Create("Graph Window", {10, 20, 410, 320}, &parent, 11000, 0x50000000);
        parent.show();
    }

    CGraphPanel& Panel() const { return *graph.Panel(); }
    graph::CGraphFrame& Frame() const {
        return static_cast<graph::GraphWindow*>(graph.Window())->Frame();
    }
    QImage Picture() const { return Panel().grab().toImage(); }

    graphtest::FixedMetrics metrics;
    RowHost host;
    QWidget parent;
    CGraphWnd graph{32};
};

}  // namespace

TEST_F(GraphWindowTest, TheRulersFrameThePanelAtTheLeftAndBelow) {
    ASSERT_TRUE(graph.HasWindow());
    EXPECT_FALSE(graph.Create("again", {0, 0, 10, 10}, &parent, 1, 0));
    EXPECT_EQ(graph.Window()->geometry(), QRect(10, 20, 400, 300));
    EXPECT_TRUE(graph.IsWindowVisible());
    graph::CGraphContainer& container = Frame().Container();
    EXPECT_EQ(container.size(), QSize(400, 300));
    EXPECT_EQ(container.VerticalRuler().geometry(), QRect(0, 0, 16, 284));
    EXPECT_EQ(container.HorizontalRuler().geometry(), QRect(0, 284, 400, 16));
    EXPECT_EQ(Panel().geometry(), QRect(16, 0, 384, 284));

    graph.Window()->resize(300, 200);
    EXPECT_EQ(Panel().geometry(), QRect(16, 0, 284, 184));

    graph.SetAxisTexts("Value", "dB", 2, graph::kYAxis, 1);
    graph.SetVisibleRange(5, 50, 20, 120, 1);
    EXPECT_EQ(container.VerticalRuler().toolTip(), "Value, dB");
    EXPECT_EQ(container.VerticalRuler().Maximum(), 120);
    EXPECT_EQ(container.HorizontalRuler().Minimum(), 5);
}

TEST_F(GraphWindowTest, TwoCurvesArePaintedWhereTheScalesSay) {
    graph.UpdateVisibleRange(CGraphPanel::kReadout, 0);  // no marks, no grid
    graph.SetVisibleRange(0, 100, 0, 130, 0);
    const int blue = graph.AddGraph(kBlue, "", 0, true, false);
    const int red = graph.AddGraph(kRed, "", 0, true, false);
    for (int x = 0; x <= 100; ++x) {
        graph.AddPoint(blue, x, 40, 0);
        graph.AddPoint(red, x, 10 + x, 0);
    }
    graph.RedrawParts(graph::kRedrawCurves);
    const QImage picture = Picture();
    ASSERT_EQ(picture.size(), QSize(384, 284));

    const graph::CAxisScale& xs = Panel().XScale();
    const graph::CAxisScale& ys = Panel().YScale();
    auto pixel = [&](double x, double y) {
        return picture.pixelColor(static_cast<int>(xs.ValueToPixel(x)),
                                  static_cast<int>(ys.ValueToPixel(y)));
    };
    for (double x : {0.0, 13.0, 50.0, 77.0, 100.0}) {
        EXPECT_EQ(pixel(x, 40), platform::ToQColor(kBlue)) << x;
        EXPECT_EQ(pixel(x, 10 + x), platform::ToQColor(kRed)) << x;
        EXPECT_EQ(pixel(x, 125), Qt::white) << x;
    }
    // The range's ends lie on the panel's first and last columns and rows.
    EXPECT_EQ(static_cast<int>(xs.ValueToPixel(100)), 383);
    EXPECT_EQ(static_cast<int>(ys.ValueToPixel(0)), 283);

    // A hidden series is not drawn.
    graph.GetGraph(red)->SetVisible(false);
    graph.RedrawParts(graph::kRedrawCurves);
    EXPECT_EQ(Picture().pixelColor(static_cast<int>(xs.ValueToPixel(50)),
                                   static_cast<int>(ys.ValueToPixel(60))),
              Qt::white);
}

TEST_F(GraphWindowTest, TheGridFollowsTheOptionWord) {
    graph.SetVisibleRange(0, 10, 0, 10, 0);
    graph.UpdateVisibleRange(CGraphPanel::kAxis, 1);
    QImage picture = Picture();
    const int gridX = static_cast<int>(Panel().XScale().ValueToPixel(5));
    int dark = 0;
    for (int y = 0; y < picture.height(); ++y)
        dark += picture.pixelColor(gridX, y) == Qt::black;
    EXPECT_GT(dark, picture.height() / 4);  // dotted
    EXPECT_LT(dark, picture.height());

    graph.UpdateVisibleRange(0, 1);
    EXPECT_EQ(Picture().pixelColor(gridX, 3), Qt::white);
}

TEST_F(GraphWindowTest, AnAppendedPointBeyondTheRangeStretchesIt) {
    graph.SetVisibleRange(0, 100, 0, 100, 0);  // automatic stretching is on from the start
    const int series = graph.AddGraph(kBlue, "", 0, true, false);
    graph.AddPoint(series, 50, 120, 1);
    EXPECT_EQ(Panel().Range(), (graph::VisibleRange{0, 100, 0, 132}));
    graph.UpdateVisibleRange(0, 0);
    graph.AddPoint(series, 60, 500, 1);
    EXPECT_EQ(Panel().Range().yTo, 132);
}

TEST_F(GraphWindowTest, ARunOfPointsStretchesTheRangeAsItsPointsOneByOneWouldAndIsShown) {
    graph.SetVisibleRange(0, 100, 0, 100, 0);  // automatic stretching is on from the start
    const int one = graph.AddGraph(kBlue, "", 0, true, false);
    std::vector<graph::GraphPoint> run;
    for (int x = 0; x < 400; ++x)
        run.push_back({x * 1.0, 50 + 40 * std::sin(x / 7.0) + x / 4.0});
    for (const graph::GraphPoint& p : run)
        graph.AddPoint(one, p.x, p.y, 0);
    const graph::VisibleRange stretched = Panel().Range();
    ASSERT_NE(stretched, (graph::VisibleRange{0, 100, 0, 100}));

    graph.RemoveGraph(one, 0);
    graph.SetVisibleRange(0, 100, 0, 100, 0);
    const int red = graph.AddGraph(kRed, "", 0, true, false);
    EXPECT_EQ(graph.AddPoints(red, run, 1), 400);
    EXPECT_EQ(Panel().Range(), stretched);
    // Drawn at once: the run's last point is on the panel.
    const QImage picture = Picture();
    const QPoint last(static_cast<int>(Panel().XScale().ValueToPixel(run.back().x)),
                      static_cast<int>(Panel().YScale().ValueToPixel(run.back().y)));
    EXPECT_EQ(picture.pixelColor(last), platform::ToQColor(kRed));
}

TEST_F(GraphWindowTest, ACurveJoinedIntoPolylinesCoversThePixelsOfItsLines) {
    graph.UpdateVisibleRange(CGraphPanel::kReadout, 0);  // no marks, no grid
    const int series = graph.AddGraph(kBlue, "", 0, true, false);
    // Many points a column on the left, one every few columns on the right, and jumps.
    std::mt19937 random(5);
    std::normal_distribution<double> step(0, 6);
    std::vector<graph::GraphPoint> run;
    double level = 60;
    for (double x = 0; x < 1000; x += x < 500 ? 0.25 : 9) {
        level = std::clamp(level + step(random) + (random() % 50 == 0 ? 40 : 0), 5.0, 125.0);
        run.push_back({x, level});
    }
    graph.AddPoints(series, run, 0);
    graph.SetVisibleRange(0, 1000, 0, 130, 1);
    const QImage picture = Picture();

    // The same lines drawn one by one.
    QImage lines(picture.size(), QImage::Format_RGB32);
    lines.fill(Qt::white);
    graph::CurveRequest request;
    request.clip = {0, 0, picture.width(), picture.height()};
    const auto geometry =
        graph::TraceSeries(*graph.GetGraph(series), Panel().XScale(), Panel().YScale(), request);
    {
        QPainter painter(&lines);
        painter.setPen(QPen(platform::ToQColor(kBlue), 1));
        for (const graph::PixelLine& l : geometry.lines)
            painter.drawLine(l.x0, l.y0, l.x1, l.y1);
    }
    const QColor blue = platform::ToQColor(kBlue);
    auto nearBlue = [&](const QImage& image, int x, int y) {
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (image.rect().contains(x + dx, y + dy) &&
                    image.pixelColor(x + dx, y + dy) == blue)
                    return true;
        return false;
    };
    int curve = 0, differ = 0, astray = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const bool shown = picture.pixelColor(x, y) == blue;
            const bool drawn = lines.pixelColor(x, y) == blue;
            curve += drawn ? 1 : 0;
            differ += shown != drawn ? 1 : 0;
            astray += (shown && !nearBlue(lines, x, y)) || (drawn && !nearBlue(picture, x, y));
        }
    ASSERT_GT(curve, 2000);
    EXPECT_EQ(astray, 0);
    EXPECT_LT(differ, curve / 50);  // a pixel here and there where two lines meet
}

TEST_F(GraphWindowTest, EqualLimitsAndEndlessZoomingPaintWithoutFailing) {
    const int series = graph.AddGraph(kRed, "", 0, true, false);
    for (int x = 0; x < 50; ++x)
        graph.AddPoint(series, x, x % 7, 0);
    graph.UpdateVisibleRange(CGraphPanel::kAxis | CGraphPanel::kPointMarks, 0);
    graph.SetVisibleRange(5, 5, 3, 3, 1);
    EXPECT_FALSE(Picture().isNull());
    // Each step a tenth of the last, down past the spacing of doubles, the y axis upside down.
    double width = 2e6;
    for (int i = 0; i < 40; ++i, width /= 10) {
        graph.SetVisibleRange(12.3456 - width, 12.3456 + width, 3.21 + width, 3.21 - width, 0);
        graph.RedrawParts(graph::kRedrawCurves | graph::kRedrawRulers);
    }
    EXPECT_FALSE(Picture().isNull());
}

TEST_F(GraphWindowTest, ChangesReachThePanelFirstThenTheOtherParts) {
    std::vector<std::string> log;
    Receiver bar(log);
    Frame().AddChangeReceiver(&bar);
    graph.AddGraph(kBlue, "", 0, true, false);
    EXPECT_EQ(Frame().NotifyGraph(graph::GraphChange::Flags(graph::kRedraw, 0)), 7);
    graph.ForwardToFrame(graph::kFreezeList | graph::kResumeList);
    EXPECT_EQ(log, (std::vector<std::string>{"bar 4", "bar 10", "bar 12", "bar 11"}));
    Frame().RemoveChangeReceiver(&bar);
}

TEST_F(GraphWindowTest, EveryPartFindsItsGraphAndTheWalkGoesUpwards) {
    EXPECT_EQ(graph::FindGraphParent(&Panel()), &graph);
    EXPECT_EQ(graph::FindGraphParent(&parent), nullptr);
    std::vector<QWidget*> parts;
    graph::FindInParents(&Panel(), [&](graph::CGraphBaseClass& part) {
        parts.push_back(dynamic_cast<QWidget*>(&part));
        return 0;
    });
    EXPECT_EQ(parts, (std::vector<QWidget*>{&Panel(), &Frame(), graph.Window()}));
    EXPECT_EQ(graph::FindInParents(&Panel(), [](graph::CGraphBaseClass&) { return 3; }), 3);
}

TEST_F(GraphWindowTest, TheGraphOutlivesItsWindowAndMovesToANewParent) {
    const int series = graph.AddGraph(kBlue, "", 0, true, false);
    graph.SetParentWindow(nullptr);
    EXPECT_FALSE(graph.Window()->isVisible());
    QWidget other;
    other.show();
    graph.SetParentWindow(&other);
    EXPECT_TRUE(graph.Window()->isVisible());
    EXPECT_EQ(graph.Window()->geometry(), QRect(10, 20, 400, 300));

    delete graph.Window();
    EXPECT_FALSE(graph.HasWindow());
    EXPECT_EQ(graph.Panel(), nullptr);
    graph.AddPoint(series, 1, 1, 1);
    EXPECT_EQ(graph.GetGraph(series)->GetCount(), 1);
}
