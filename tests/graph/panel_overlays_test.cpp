// Where the panel puts events, labels and markers, and the zoom rectangle's handles and drags.
#include <gtest/gtest.h>

#include "graph/panel_overlays.h"
#include "graph/rect_tracker.h"

using namespace graph;

namespace {

const ui::Rect kPanel{0, 0, 400, 200};
constexpr int kLineY = 180;  // nine tenths of the bottom

PixelLine Vertical(int x) {
    return {x, kPanel.bottom, x, kPanel.top};
}

}  // namespace

TEST(PanelOverlaysTest, AnEventIsDrawnOnlyWhereItTouchesTheSelectedSegment) {
    const EventSpan inOne{4, 10, 4, 30};
    const auto both = PlanEvent(inOne, 4, 100, 300, kPanel);
    ASSERT_TRUE(both);
    EXPECT_EQ(both->lines,
              (std::vector<PixelLine>{Vertical(100), Vertical(300), {100, kLineY, 300, kLineY}}));
    EXPECT_EQ(both->textCentre, 200);
    EXPECT_EQ(both->textTop, kLineY);

    const EventSpan across{3, 10, 6, 30};
    const auto start = PlanEvent({4, 10, 6, 30}, 4, 100, 300, kPanel);
    ASSERT_TRUE(start);
    EXPECT_EQ(start->lines, (std::vector<PixelLine>{Vertical(100), {100, kLineY, 400, kLineY}}));
    EXPECT_EQ(start->textCentre, 250);
    const auto end = PlanEvent(across, 6, 100, 300, kPanel);
    ASSERT_TRUE(end);
    EXPECT_EQ(end->lines, (std::vector<PixelLine>{Vertical(300), {300, kLineY, 0, kLineY}}));
    EXPECT_EQ(end->textCentre, 150);
    const auto middle = PlanEvent(across, 5, 100, 300, kPanel);
    ASSERT_TRUE(middle);
    EXPECT_EQ(middle->lines, (std::vector<PixelLine>{{0, kLineY, 400, kLineY}}));

    EXPECT_FALSE(PlanEvent(across, 7, 100, 300, kPanel));
    EXPECT_FALSE(PlanEvent(inOne, 5, 100, 300, kPanel));
    EXPECT_FALSE(PlanEvent(inOne, -1, 100, 300, kPanel));  // the live page
}

TEST(PanelOverlaysTest, ALabelHangsAboveAndRightOfItsPoint) {
    CAxisScale x;
    CAxisScale y;
    x.Init(0, 399, 0, 399);
    y.Init(199, 0, 0, 199);
    const LabelPlan plan = PlanLabel({0, "SLM5", "100 ", "99.00 dB", "door", ""}, x, y);
    EXPECT_EQ(plan.anchor, (PixelPoint{100, 100}));
    EXPECT_EQ(plan.leader, (PixelLine{100, 100, 105, 85}));
    EXPECT_EQ(plan.underline, (PixelLine{105, 85, 131, 85}));  // 6.5 pixels a character
    EXPECT_EQ(plan.textAt, (PixelPoint{105, 70}));
    EXPECT_EQ(PixelOf(x, 1e300), 1000000000);
}

TEST(PanelOverlaysTest, AMarkerStandsOnThePointAfterItsSampleOfItsOwnSeries) {
    CPointsCollection ordered;
    CPointsCollection inOrder(false);
    for (int i = 0; i < 20; ++i) {
        ordered.AddPoint(i, i, true);
        inOrder.AddPoint(19 - i, i, true);
    }
    EXPECT_EQ(FindPointAtX(ordered, 9 + 1), 10);
    EXPECT_EQ(FindPointAtX(inOrder, 9 + 1), 9);
    EXPECT_EQ(FindPointAtX(ordered, 10.5), -1);
    EXPECT_EQ(FindPointAtX(ordered, 20), -1);

    const Marker levels{9, "t#50#$2"};
    EXPECT_TRUE(MarkerBelongsTo(levels, true, 2, 4));
    EXPECT_FALSE(MarkerBelongsTo(levels, true, 1, 2));
    const Marker profile{9, "t#50"};
    EXPECT_TRUE(MarkerBelongsTo(profile, false, 0, 0));
    EXPECT_FALSE(MarkerBelongsTo(profile, false, 5, 5));  // never on the "UR" series
    EXPECT_FALSE(MarkerBelongsTo(profile, true, 0, 0));
}

TEST(RectTrackerTest, HandlesResizeTheInsideMovesAndOutsideIsNoDrag) {
    RectTracker tracker;
    tracker.SetRect({50, 60, 10, 20});  // corners in any order
    EXPECT_EQ(tracker.GetRect(), (ui::Rect{10, 20, 50, 60}));
    EXPECT_EQ(tracker.HitTest(11, 21), RectTracker::kTopLeft);
    EXPECT_EQ(tracker.HitTest(49, 59), RectTracker::kBottomRight);
    EXPECT_EQ(tracker.HitTest(30, 21), RectTracker::kTop);
    EXPECT_EQ(tracker.HitTest(30, 40), RectTracker::kInside);
    EXPECT_EQ(tracker.HitTest(5, 40), RectTracker::kOutside);

    EXPECT_FALSE(tracker.BeginDrag(5, 40));
    EXPECT_FALSE(tracker.EndDrag());

    ASSERT_TRUE(tracker.BeginDrag(30, 40));
    tracker.DragTo(35, 30);
    EXPECT_TRUE(tracker.EndDrag());
    EXPECT_EQ(tracker.GetRect(), (ui::Rect{15, 10, 55, 50}));

    // Dragging the bottom-right handle past the top-left corner turns the rectangle over.
    ASSERT_TRUE(tracker.BeginDrag(54, 49));
    tracker.DragTo(4, 4);
    EXPECT_TRUE(tracker.EndDrag());
    EXPECT_EQ(tracker.GetRect(), (ui::Rect{5, 5, 15, 10}));

    ASSERT_TRUE(tracker.BeginDrag(10, 7));
    EXPECT_FALSE(tracker.EndDrag());  // a click that moved nothing
}
