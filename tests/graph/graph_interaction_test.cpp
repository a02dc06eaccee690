// A graph window offscreen, driven with the mouse and its context menu as the operator drives
// it: drag zoom, pan, fit, markers, labels and the read-out, checked on the panel's range and
// on the program's tables; pictures of what the panel draws over its curves.
#include <gtest/gtest.h>

#include <QMenu>
#include <QTest>

#include "fixed_metrics.h"
#include "graph/graph_commands.h"
#include "graph/graph_dialogs.h"
#include "graph/graph_panel.h"
#include "graph/graph_wnd.h"
#include "platform/colors.h"
#include "support/test_env.h"
#include "test_graph_host.h"

using graph::CGraphPanel;
using graph::VisibleRange;

namespace {

constexpr COLORREF kBlue = 0xFF0000;

QAction* FindAction(const QMenu& menu, int id) {
    for (QAction* action : menu.actions()) {
        if (action->menu())
            if (QAction* found = FindAction(*action->menu(), id))
                return found;
        if (!action->isSeparator() && action->data().toInt() == id)
            return action;
    }
    return nullptr;
}

class GraphInteractionTest : public ::testing::Test {
protected:
    GraphInteractionTest() {
        parent.resize(500, 400);
        graph.SetMetrics(&metrics);
        graph.SetHost(&host);
        graph.Create("Graph Window", {10, 20, 410, 320}, &parent, 11000, 0x50000000);
        parent.show();
        // Until the window is on the screen a repaint paints nothing.
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&parent));
        graph.UpdateVisibleRange(CGraphPanel::kReadout, 0);  // no marks, no grid
        graph.SetVisibleRange(0, 100, 0, 100, 0);
        series = graph.AddGraph(kBlue, "", 0, true, false);
    }

    CGraphPanel& Panel() const { return *graph.Panel(); }
    QImage Picture() const { return Panel().grab().toImage(); }
    QPoint PixelOf(double x, double y) const {
        return {static_cast<int>(Panel().XScale().ValueToPixel(x)),
                static_cast<int>(Panel().YScale().ValueToPixel(y))};
    }
    void Line(int from, int to, double y) {
        for (int x = from; x <= to; ++x)
            graph.AddPoint(series, x, y, 0);
    }

    // Right-clicks at `at` and picks command `id`, which must be offered and enabled; `look`
    // may examine the menu first.
    void Choose(int id, QPoint at = {5, 5},
                const std::function<void(const QMenu&)>& look = nullptr) {
        op.ExpectDialog("GraphContextMenu", [id, look](platform::ModalDialog& dialog) {
            const QMenu& menu = static_cast<graph::GraphContextMenu&>(dialog).Menu();
            if (look)
                look(menu);
            const QAction* action = FindAction(menu, id);
            EXPECT_TRUE(action && action->isEnabled()) << id;
            return id;
        });
        QTest::mouseClick(&Panel(), Qt::RightButton, {}, at);
    }
    void ClickAt(QPoint at) { QTest::mouseClick(&Panel(), Qt::LeftButton, {}, at); }

    testenv::TestOperator op;
    graphtest::FixedMetrics metrics;
    graphtest::TestHost host;
    QWidget parent;
    graph::CGraphWnd graph{32};
    int series = -1;
};

}  // namespace

TEST_F(GraphInteractionTest, ADraggedRectangleIsZoomedIntoAndZoomingOutShowsThePageAgain) {
    Line(0, 100, 50);
    QTest::mousePress(&Panel(), Qt::LeftButton, {}, {100, 50});
    QTest::mouseMove(&Panel(), {150, 100});
    QTest::mouseMove(&Panel(), {200, 150});
    QTest::mouseRelease(&Panel(), Qt::LeftButton, {}, {200, 150});
    ASSERT_TRUE(Panel().IsZoomRectShown());
    EXPECT_EQ(Panel().ZoomRect(), (ui::Rect{100, 50, 200, 150}));

    const graph::CAxisScale x = Panel().XScale();
    const graph::CAxisScale y = Panel().YScale();
    Choose(graph::kZoomInCommand);
    EXPECT_FALSE(Panel().IsZoomRectShown());
    EXPECT_EQ(Panel().Range(), (VisibleRange{x.PixelToValue(100), x.PixelToValue(200),
                                             y.PixelToValue(150), y.PixelToValue(50)}));
    EXPECT_EQ(host.zoomDepth, 1);

    // Without a rectangle "Zoom +" is greyed, and sent anyway it does nothing.
    Choose(graph::kZoomToolCommand, {5, 5}, [](const QMenu& menu) {
        EXPECT_FALSE(FindAction(menu, graph::kZoomInCommand)->isEnabled());
        EXPECT_FALSE(FindAction(menu, graph::kZoomToolCommand)->isChecked());
    });
    EXPECT_EQ(Panel().ZoomRect(), CGraphPanel::kZoomToolRect);
    Choose(graph::kZoomInCommand);
    Choose(graph::kZoomToolCommand);
    Choose(graph::kZoomInCommand);
    EXPECT_EQ(host.zoomDepth, 3);
    const VisibleRange zoomed = Panel().Range();
    Panel().OnMenuCommand(graph::kZoomInCommand);
    EXPECT_EQ(Panel().Range(), zoomed);
    EXPECT_EQ(host.zoomDepth, 3);

    Choose(graph::kZoomOutCommand);
    EXPECT_EQ(host.zoomDepth, 0);
    EXPECT_EQ(Panel().Range(), (VisibleRange{0, 100, 45, 55}));
}

TEST_F(GraphInteractionTest, AClickOutsideTheRectangleHidesItAndADragInsideMovesIt) {
    Choose(graph::kZoomToolCommand);
    QTest::mousePress(&Panel(), Qt::LeftButton, {}, {20, 20});
    QTest::mouseMove(&Panel(), {40, 30});
    QTest::mouseRelease(&Panel(), Qt::LeftButton, {}, {40, 30});
    EXPECT_TRUE(Panel().IsZoomRectShown());
    EXPECT_EQ(Panel().ZoomRect(), (ui::Rect{25, 15, 70, 60}));
    ClickAt({300, 200});
    EXPECT_FALSE(Panel().IsZoomRectShown());
    ClickAt({300, 200});  // a click without a drag shows no rectangle
    EXPECT_FALSE(Panel().IsZoomRectShown());
}

TEST_F(GraphInteractionTest, TheDataFollowTheMouseWhileShiftIsHeld) {
    const double perPixelX = 100.0 / 383;
    const double perPixelY = 100.0 / 283;
    QTest::mousePress(&Panel(), Qt::LeftButton, Qt::ShiftModifier, {100, 100});
    QTest::mouseMove(&Panel(), {130, 110});
    QTest::mouseMove(&Panel(), {150, 120});
    QTest::mouseRelease(&Panel(), Qt::LeftButton, Qt::ShiftModifier, {160, 120});
    const VisibleRange r = Panel().Range();
    EXPECT_NEAR(r.xFrom, -60 * perPixelX, 1e-9);
    EXPECT_NEAR(r.xTo, 100 - 60 * perPixelX, 1e-9);
    EXPECT_NEAR(r.yFrom, 20 * perPixelY, 1e-9);  // down the screen is down the values
    EXPECT_NEAR(r.yTo, 100 + 20 * perPixelY, 1e-9);
    EXPECT_FALSE(Panel().IsZoomRectShown());
    EXPECT_EQ(Panel().ZoomRect(), (ui::Rect{}));
}

TEST_F(GraphInteractionTest, FittingTakesTheBoundsOfTheVisibleSeries) {
    graph.AddPoint(series, 10, 40, 0);
    graph.AddPoint(series, 30, 90, 0);
    Choose(graph::kFitPage);
    EXPECT_EQ(Panel().Range(), (VisibleRange{10, 30, 36, 99}));
    graph.SetVisibleRange(0, 100, 0, 100, 1);
    Choose(graph::kFitHeight);
    EXPECT_EQ(Panel().Range(), (VisibleRange{0, 100, 40, 90}));
    Choose(graph::kFitWidth);
    EXPECT_EQ(Panel().Range(), (VisibleRange{10, 30, 40, 90}));

    // Equal bounds are opened instead of giving an axis without extent.
    graph.ClearPoints(series, 0);
    graph.AddPoint(series, 20, 0, 0);
    Choose(graph::kFitPage);
    EXPECT_EQ(Panel().Range(), (VisibleRange{18, 22, -0.1, 0.1}));

    // Hidden series and empty graphs give no bounds: the range stays.
    graph.GetGraph(series)->SetVisible(false);
    Panel().OnFit(graph::kFitPage);
    EXPECT_EQ(Panel().Range(), (VisibleRange{18, 22, -0.1, 0.1}));
}

TEST_F(GraphInteractionTest, ExtendingALimitMovesTheSmallerOrLargerOneOfItsAxis) {
    graph.SetVisibleRange(100, 0, 0, 100, 0);  // x runs backwards
    Panel().ExtendXMin(-5, false);
    Panel().ExtendXMax(120, false);
    Panel().ExtendYMin(-1, false);
    Panel().ExtendYMax(130, true);
    EXPECT_EQ(Panel().Range(), (VisibleRange{120, -5, -1, 130}));
}

TEST_F(GraphInteractionTest, MarkersAreSetAtTheLastClickAndDrawnOnThePointAfterTheirSample) {
    Line(0, 100, 50);
    graph.RedrawParts(graph::kRedrawCurves);
    host.switches[graph::ViewSwitch::MarkersCleared] = true;

    // B first, sent though its item is greyed: A stays empty and is no marker at sample 0.
    Choose(graph::kFitPage, {5, 5}, [](const QMenu& menu) {
        EXPECT_TRUE(FindAction(menu, graph::kMarkerACommand)->isEnabled());
        EXPECT_FALSE(FindAction(menu, graph::kMarkerBCommand)->isEnabled());
    });
    ClickAt(PixelOf(30, 50));
    Panel().OnMenuCommand(graph::kMarkerBCommand);
    EXPECT_FALSE(host.switches[graph::ViewSwitch::MarkersCleared]);
    ASSERT_EQ(host.marks.markers.size(), 2u);
    EXPECT_EQ(host.marks.markers[0], "");
    const std::string coordinates = Panel().CoordinateText(PixelOf(30, 50));
    EXPECT_EQ(host.marks.markers[1], graph::SampleDigits(coordinates) + "#" + coordinates);

    ClickAt(PixelOf(9, 50));
    Choose(graph::kMarkerACommand);
    ASSERT_TRUE(graph::ParseMarker(host.marks.markers[0]));
    const long long sample = graph::ParseMarker(host.marks.markers[0])->sample;
    const QImage picture = Picture();
    EXPECT_EQ(picture.pixelColor(PixelOf(sample + 1, 50)), platform::ToQColor(0x00FF00));
    EXPECT_EQ(picture.pixelColor(PixelOf(1, 50)), platform::ToQColor(kBlue));

    Choose(graph::kClearMarkersCommand);
    EXPECT_TRUE(host.marks.markers.empty());
    EXPECT_TRUE(host.switches[graph::ViewSwitch::MarkersCleared]);
    EXPECT_EQ(host.refreshed, 1);
    EXPECT_EQ(Picture().pixelColor(PixelOf(sample + 1, 50)), platform::ToQColor(kBlue));

    // While the live page runs its markers cannot be set.
    host.context.liveMonitoring = true;
    Choose(graph::kFitPage, {5, 5}, [](const QMenu& menu) {
        for (int id : {graph::kMarkerACommand, graph::kMarkerBCommand, graph::kClearMarkersCommand})
            EXPECT_FALSE(FindAction(menu, id)->isEnabled()) << id;
    });
}

TEST_F(GraphInteractionTest, TheReadOutComparesTwoMarkersAndStaysEmptyForLevelRecords) {
    QTest::mouseMove(&Panel(), {200, 100});
    EXPECT_EQ(Panel().Readout(), Panel().CoordinateText({200, 100}));
    host.context.recordKind = "SLM5";
    QTest::mouseMove(&Panel(), {201, 100});
    EXPECT_EQ(Panel().Readout(), "");

    host.marks.markers = {"5#10:00:05#40.0#$0", "65#10:01:05#45.5#$0"};
    host.context.channelLevels = true;
    QTest::mouseMove(&Panel(), {202, 100});
    EXPECT_EQ(Panel().Readout(),
              "A: 10:00:05  40.0 dB\rB: 10:01:05  45.5 dB\r\rB-A: 00:01:00   5.5 dB");

    // Turned off, the read-out is gone.
    Panel().OnMenuCommand(graph::kReadoutCommand);
    QTest::mouseMove(&Panel(), {203, 100});
    EXPECT_EQ(Panel().Readout(), "");
}

TEST_F(GraphInteractionTest, ALabelIsAddedAtTheClickWithItsTextsCleanedAndACancelAddsNothing) {
    Line(0, 100, 50);
    host.marks.currentRecord = 2;
    host.context.recordKind = "SLM5";
    ClickAt(PixelOf(40, 50));
    op.ExpectDialog("CGraphLabelDlg", [](platform::ModalDialog& dialog) {
        auto& entry = static_cast<graph::CGraphLabelDlg&>(dialog);
        entry.m_strLabel = "door #2\r\nslam";
        entry.m_strAudioLabel = "rec";
        return IDOK;
    });
    Choose(graph::kInsertLabelCommand);
    ASSERT_EQ(host.marks.labels.size(), 1u);
    const std::optional<graph::GraphLabel> label = graph::ParseLabelRecord(host.marks.labels[0]);
    ASSERT_TRUE(label);
    EXPECT_EQ(label->record, 2);
    EXPECT_EQ(label->kind, "SLM5");
    EXPECT_EQ(label->text, "door  2  slam");
    EXPECT_EQ(label->second, "rec");
    EXPECT_NEAR(graph::LeadingNumber(label->xText), 40, 0.2);
    EXPECT_EQ(host.labelsAdded, 1);
    EXPECT_TRUE(host.audioShown);

    // The label hangs from its point: a black mark there and a black leader above.
    const QPoint at =
        PixelOf(graph::LeadingNumber(label->xText), graph::LeadingNumber(label->yText));
    const QImage picture = Picture();
    EXPECT_EQ(picture.pixelColor(at), Qt::black);
    EXPECT_EQ(picture.pixelColor(at + QPoint(5, -15)), Qt::black);

    op.ExpectDialog("CGraphLabelDlg", [](platform::ModalDialog&) { return IDCANCEL; });
    Choose(graph::kInsertLabelCommand);
    EXPECT_EQ(host.marks.labels.size(), 1u);

    // Another record's labels are not shown.
    host.marks.currentRecord = 3;
    graph.RedrawParts(graph::kRedrawCurves);
    EXPECT_EQ(Picture().pixelColor(at + QPoint(5, -15)), Qt::white);

    Choose(graph::kClearLabelsCommand);
    EXPECT_EQ(host.labelClears, 1);
    host.marks.labels.clear();
    Choose(graph::kClearLabelsCommand);
    EXPECT_EQ(host.labelClears, 1);
}

TEST_F(GraphInteractionTest, DisplaySwitchesFollowTheCommandsAndADoubleClickRedraws) {
    Choose(graph::kPointMarksCommand, {5, 5}, [](const QMenu& menu) {
        EXPECT_FALSE(FindAction(menu, graph::kPointMarksCommand)->isChecked());
        EXPECT_TRUE(FindAction(menu, graph::kStatusLastCommand)->isChecked());
    });
    EXPECT_TRUE(Panel().Options() & CGraphPanel::kPointMarks);
    EXPECT_TRUE(host.switches[graph::ViewSwitch::PointMarks]);
    Choose(graph::kAxisCommand);
    EXPECT_TRUE(Panel().Options() & CGraphPanel::kAxis);
    EXPECT_TRUE(host.switches[graph::ViewSwitch::Axis]);
    Choose(graph::kStatusLastCommand);
    EXPECT_FALSE(Panel().StatusHighlight());

    // The frame's "Points" ends the menu and shows the point list.
    Choose(graph::kPointListCommand, {5, 5}, [](const QMenu& menu) {
        EXPECT_EQ(menu.actions().back()->data().toInt(), graph::kPointListCommand);
        EXPECT_FALSE(menu.actions().back()->isChecked());
    });
    Choose(graph::kPointListCommand, {5, 5},
           [](const QMenu& menu) { EXPECT_TRUE(menu.actions().back()->isChecked()); });

    const int renders = host.renders;
    QTest::mouseDClick(&Panel(), Qt::LeftButton, {}, {50, 50});
    EXPECT_EQ(host.doubleClicks, 1);
    EXPECT_GT(host.renders, renders);
}

TEST_F(GraphInteractionTest, AnAppendedPointDrawsOnlyItsSegmentAnInsertedOneEverything) {
    Line(0, 50, 50);
    graph.RedrawParts(graph::kRedrawCurves);
    int renders = host.renders;
    graph.AddPoint(series, 51, 80, 1);
    EXPECT_EQ(host.renders, renders);  // no full paint
    EXPECT_EQ(Picture().pixelColor(PixelOf(51, 80)), platform::ToQColor(kBlue));
    graph.AddPoint(series, -1, 50, 1);  // before the first point: also a segment of its own
    EXPECT_EQ(host.renders, renders);

    graph.AddPoint(series, 20.5, 10, 1);
    EXPECT_GT(host.renders, renders);
    EXPECT_EQ(Picture().pixelColor(PixelOf(20.5, 10)), platform::ToQColor(kBlue));
    renders = host.renders;
    graph.AddPoint(series, 52, 80, 0);  // shown by a later repaint
    EXPECT_EQ(host.renders, renders);
}

TEST_F(GraphInteractionTest, StatusRowsReportIntervalsAndEventsAreDrawnOverTheCurves) {
    Line(0, 100, 50);
    host.context.channelLevels = true;
    host.context.statusColumn = 4;
    host.context.selectedSegment = 4;
    host.status = {{20, "LAST"}, {30, "NEXT"}, {5000, "LAST"}};
    host.intervals = {60, 99999};
    host.marks.eventStarts = {"4#80"};
    host.marks.eventEnds = {"4#90"};
    graph.RedrawParts(graph::kRedrawCurves);
    const QImage picture = Picture();
    EXPECT_EQ(host.statusColumn, 4);
    const QColor grey = platform::ToQColor(0x808080);
    EXPECT_EQ(picture.pixelColor(PixelOf(20, 50) + QPoint(3, 0)), platform::ToQColor(kBlue));
    EXPECT_EQ(picture.pixelColor(PixelOf(20, 50) + QPoint(2, 2)), grey);
    EXPECT_NE(picture.pixelColor(PixelOf(30, 50) + QPoint(2, 2)), grey);
    const QColor silver = platform::ToQColor(0xC0C0C0);
    EXPECT_EQ(picture.pixelColor(PixelOf(60, 90)), silver);
    int dotted = 0;
    for (int y = 0; y < picture.height(); ++y)
        dotted += picture.pixelColor(PixelOf(80, 0).x(), y) == silver;
    EXPECT_GT(dotted, picture.height() / 4);

    // The highlight goes with "View Status LAST".
    Panel().OnMenuCommand(graph::kStatusLastCommand);
    EXPECT_NE(Picture().pixelColor(PixelOf(20, 50) + QPoint(2, 2)), grey);
}
