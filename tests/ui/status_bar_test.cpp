#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QWidget>

#include "platform/colors.h"
#include "platform/event_loop.h"
#include "ui/system_colors.h"
#include "ui/x_status_bar.h"
#include "ui/x_status_bar_widget.h"

using namespace ui;

namespace {
XStatusBar LinkBar() {
    XStatusBar bar;
    bar.SetIndicators({ID_SEPARATOR, 101, 102, 103});
    return bar;
}
}  // namespace

TEST(XStatusBarTest, PanesStartInMenuColoursAndShowTheirOwnOrTheFrameworkText) {
    XStatusBar bar = LinkBar();
    const COLORREF menu = GetSysColor(COLOR_MENU);
    EXPECT_EQ(bar.GetPaneInfoEx(1)->m_crBkOn, menu);
    EXPECT_EQ(bar.GetPaneStyle(0), SBPS_NOBORDERS | SBPS_STRETCH);

    bar.SetBasePaneText(2, "Ready");
    EXPECT_EQ(bar.TextToShow(2), "Ready");
    bar.SetPaneText(2, "On", "Off");
    bar.SetPaneColors(2, 0x00FF00, 0x000080);
    EXPECT_EQ(bar.TextToShow(2), "On");
    bar.SetPaneStyle(2, SBPS_DISABLED);
    EXPECT_EQ(bar.TextToShow(2), "Off");
    EXPECT_EQ(bar.BackgroundNow(2), 0x000080u);
    EXPECT_EQ(bar.TextColorNow(2), bar.GetPaneInfoEx(2)->m_crTextOff);
    // An off state without off text falls back to the framework text too.
    bar.SetPaneText(2, "On", "");
    EXPECT_EQ(bar.TextToShow(2), "Ready");

    // New indicators reset every pane; XSB_DEFAULT_COLOR stands for the menu colour.
    bar.SetIndicators({ID_SEPARATOR, 101, 102});
    EXPECT_EQ(bar.GetPaneInfoEx(2)->m_strTextOn, "");
    bar.GetPaneInfoEx(2)->SetColors(XSB_DEFAULT_COLOR, 0x0000FF);
    EXPECT_EQ(bar.GetPaneInfoEx(2)->m_crBkOn, menu);
}

TEST(XStatusBarTest, WritesRepaintTheirPaneAndWritesOutsideThePanesAreRefused) {
    XStatusBar bar = LinkBar();
    int repaints = 0;
    bar.SetChangedHandler([&] { ++repaints; });
    EXPECT_TRUE(bar.SetPaneText(1, "Disconnected"));
    EXPECT_TRUE(bar.SetPaneColors(1, 0x00FFFF, 0x000080));
    EXPECT_EQ(bar.BackgroundNow(1), 0x00FFFFu);
    EXPECT_EQ(repaints, 2);

    // The scheduler's panes 9 and 10 on a bar without them: nothing happens.
    EXPECT_FALSE(bar.SetPaneText(9, "Instr.Date: 2024/05/01"));
    EXPECT_FALSE(bar.SetPaneColors(10, 0, 0));
    EXPECT_EQ(bar.GetPaneInfoEx(9), nullptr);
    EXPECT_EQ(repaints, 2);
}

TEST(XStatusBarTest, ScrollingTextRestartsFromTheFarSideOnceItHasMovedByItsWidth) {
    XPaneInfo pane;
    pane.m_dwMode = XSB_TEXT | XSB_HSCROLL;
    const Rect area{10, 2, 110, 20};
    for (int i = 0; i < 50; ++i)
        pane.StepScroll(50, 14, area);
    EXPECT_EQ(pane.m_nHScroll, 50);
    pane.StepScroll(50, 14, area);
    EXPECT_EQ(pane.m_nHScroll, -100);  // drawn from left + 100: the right edge
    pane.StepScroll(50, 14, area);
    EXPECT_EQ(pane.m_nHScroll, -99);

    XPaneInfo tiled;
    tiled.m_dwMode = XSB_TEXT | XSB_VSCROLL | XSB_TILE;
    for (int i = 0; i < 15; ++i)
        tiled.StepScroll(50, 14, area);
    EXPECT_EQ(tiled.m_nVScroll, 1);
    EXPECT_EQ(tiled.m_nHScroll, 0);
}

TEST(XStatusBarTest, StretchingPanesShareWhatTheFixedOnesLeave) {
    XStatusBar bar = LinkBar();
    bar.SetPaneInfo(1, 101, SBPS_NORMAL, 60);
    bar.SetPaneInfo(2, 102, SBPS_STRETCH, 0);
    bar.SetPaneInfo(3, 103, SBPS_NORMAL, 40);
    const std::vector<Rect> rects = bar.PaneRects(400, 22, 17);
    ASSERT_EQ(rects.size(), 4u);
    EXPECT_EQ(rects[1].Width(), 64);
    EXPECT_EQ(rects[3].Width(), 44);
    EXPECT_EQ(rects[0].Width() + rects[2].Width(), 400 - 17 - 2 - 3 * 2 - 64 - 44);
    EXPECT_EQ(rects[3].right, 400 - 17);
    for (size_t i = 1; i < rects.size(); ++i)
        EXPECT_EQ(rects[i].left, rects[i - 1].right + 2);
}

TEST(XStatusBarWidgetTest, ScrollTimerRunsOnlyWhileAPaneScrolls) {
    XStatusBar bar = LinkBar();
    XStatusBarWidget widget(bar);
    widget.resize(400, 24);
    bar.SetPaneText(1, "Downloading");
    bar.GetPaneInfoEx(1)->m_dwMode = XSB_TEXT | XSB_HSCROLL;
    widget.grab();
    EXPECT_TRUE(widget.IsScrollTimerRunning());
    const int offset = bar.GetPaneInfoEx(1)->m_nHScroll;
    widget.grab();
    EXPECT_EQ(bar.GetPaneInfoEx(1)->m_nHScroll, offset + 1);

    bar.GetPaneInfoEx(1)->m_dwMode = XSB_TEXT;
    EXPECT_TRUE(widget.IsScrollTimerRunning());
    widget.grab();
    EXPECT_FALSE(widget.IsScrollTimerRunning());
}

TEST(XStatusBarWidgetTest, MouseEventsGoToTheOwnerOnlyWhenOneIsSet) {
    struct Owner : QWidget {
        std::vector<QPointF> presses;
        void mousePressEvent(QMouseEvent* e) override { presses.push_back(e->position()); }
    } owner;
    XStatusBar bar = LinkBar();
    XStatusBarWidget widget(bar);
    widget.resize(300, 24);
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(30, 5), QPointF(30, 5), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&widget, &press);
    widget.SetMouseOwner(&owner);
    QApplication::sendEvent(&widget, &press);
    EXPECT_EQ(owner.presses, std::vector<QPointF>{QPointF(30, 5)});
}

TEST(XStatusBarWidgetTest, WindowPaneCarriesItsChildOverThePane) {
    XStatusBar bar = LinkBar();
    XStatusBarWidget widget(bar);
    widget.resize(400, 24);
    auto* child = new QWidget;
    widget.SetPaneWindow(3, child);
    EXPECT_FALSE(child->isVisibleTo(&widget));  // still a text pane
    bar.GetPaneInfoEx(3)->m_dwMode = XSB_WINDOW;
    bar.Invalidate();
    EXPECT_TRUE(child->isVisibleTo(&widget));
    const Rect pane = bar.PaneRects(400, 24, 17)[3];
    EXPECT_EQ(child->geometry(), QRect(pane.left, pane.top, pane.Width(), pane.Height()));
}
