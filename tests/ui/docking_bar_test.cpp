// The resizable docking bar: its sizes in the settings file, its edges and the clamped drag,
// and a bar docked in a main window.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMouseEvent>
#include <QSettings>

#include "platform/files.h"
#include "support/test_env.h"
#include "ui/sizing_control_bar.h"

using namespace ui;
using M = SizingBarModel;

namespace {

class DockingBarTest : public ::testing::Test {
protected:
    DockingBarTest() {
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope,
                           QString::fromStdString(folder.Path()));
    }
    std::string Ini() const { return folder.File("kx9monitor/kx9monitor.ini"); }

    testenv::ScratchFolder folder;
};

void Mouse(QWidget* w, QEvent::Type type, QPoint at, Qt::MouseButton button) {
    const QPointF global = w->mapToGlobal(QPointF(at));
    QMouseEvent event(type, QPointF(at), global, button,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : button, Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}

}  // namespace

TEST_F(DockingBarTest, StoredSizesComeBackRaisedToTheMinimum) {
    M model;
    model.SetAllSizes(150, 120);
    model.SaveState("Graph", 59422);
    const std::string ini = platform::ReadWholeFile(Ini()).value_or("");
    EXPECT_NE(ini.find("[Graph-SCBar-59422]"), std::string::npos);
    EXPECT_NE(ini.find("sizeFloatCY=120"), std::string::npos);

    platform::WriteFileAtomic(Ini(),
                              "[Graph-SCBar-59422]\nsizeHorzCX=10\nsizeHorzCY=5\nsizeVertCX=-3\n"
                              "sizeVertCY=400\nsizeFloatCX=abc\n");
    M loaded;
    loaded.SetAllSizes(90, 80);
    loaded.LoadState("Graph", 59422);
    EXPECT_EQ(loaded.Horz(), (BarSize{33, 32}));
    EXPECT_EQ(loaded.Vert(), (BarSize{33, 400}));
    // A garbled or missing value keeps the size the bar had.
    EXPECT_EQ(loaded.Float(), (BarSize{90, 80}));
    // Another bar's section is apart.
    M other;
    other.LoadState("Graph", 1);
    EXPECT_EQ(other.Horz(), (BarSize{200, 200}));
}

TEST_F(DockingBarTest, OnlyTheInnerEdgeDragsAndTheDragStaysBetweenMinimumAndRoom) {
    EXPECT_EQ(M::HitTest(BarDock::Top, 300, 100, 150, 97), M::HTBOTTOM);
    EXPECT_EQ(M::HitTest(BarDock::Top, 300, 100, 150, 2), M::HTCLIENT);
    EXPECT_EQ(M::HitTest(BarDock::Bottom, 300, 100, 150, 2), M::HTTOP);
    EXPECT_EQ(M::HitTest(BarDock::Left, 100, 300, 97, 150), M::HTRIGHT);
    EXPECT_EQ(M::HitTest(BarDock::Right, 100, 300, 2, 150), M::HTLEFT);
    EXPECT_EQ(M::HitTest(BarDock::Right, 100, 300, 97, 150), M::HTCLIENT);
    EXPECT_EQ(M::HitTest(BarDock::Floating, 100, 300, 2, 150), M::HTCLIENT);

    M model;
    model.SetAllSizes(200, 200);
    EXPECT_FALSE(model.BeginResize(BarDock::Floating, M::HTLEFT, 100));
    ASSERT_TRUE(model.BeginResize(BarDock::Top, M::HTBOTTOM, 100));
    EXPECT_FALSE(model.BeginResize(BarDock::Top, M::HTBOTTOM, 100));  // already dragging
    EXPECT_EQ(model.TrackMaximum(), 296);
    EXPECT_TRUE(model.ResizeTo(0, 500));
    EXPECT_EQ(model.Horz().cy, 296);
    EXPECT_TRUE(model.ResizeTo(0, -500));
    EXPECT_EQ(model.Horz().cy, M::kMinCY);
    model.EndResize();
    EXPECT_FALSE(model.ResizeTo(0, 10));

    // The left edge grows when it moves left.
    ASSERT_TRUE(model.BeginResize(BarDock::Right, M::HTLEFT, 500));
    model.ResizeTo(-50, 7);
    EXPECT_EQ(model.Vert().cx, 250);
    model.EndResize();

    // A frame without room: the maximum is the minimum, never below it.
    ASSERT_TRUE(model.BeginResize(BarDock::Left, M::HTRIGHT, -1000));
    EXPECT_EQ(model.TrackMaximum(), M::kMinCX);
    model.ResizeTo(80, 0);
    EXPECT_EQ(model.Vert().cx, M::kMinCX);
}

TEST_F(DockingBarTest, ADockedBarTakesItsSizeFollowsItsEdgeAndKeepsTheSize) {
    QMainWindow window;
    window.setCentralWidget(new QLabel("central"));
    window.resize(600, 400);
    auto* bar = new CSizingControlBar;
    ASSERT_TRUE(bar->Create("Point List", &window, 150, 120, true, 59422));
    bar->SetContent(new QLabel("points"));
    bar->DockOn(BarDock::Left);
    window.show();
    QApplication::processEvents();
    EXPECT_EQ(bar->Dock(), BarDock::Left);
    EXPECT_EQ(bar->width(), 150);
    // With a gripper: a title bar with a close button.
    auto* close = bar->findChild<QAbstractButton*>("qt_dockwidget_closebutton");
    ASSERT_NE(close, nullptr);
    EXPECT_TRUE(close->isVisible());

    // The picture: the bar's title drawn in dark ink at the top of the bar.
    const QImage picture = window.grab().toImage();
    int ink = 0;
    for (int y = bar->y(); y < bar->y() + 20; ++y)
        for (int x = bar->x(); x < bar->x() + 100; ++x)
            ink += picture.pixelColor(x, y).lightness() < 100;
    EXPECT_GT(ink, 10);

    // Drag the right edge 60 pixels; a right click ends the drag where it got to.
    auto* edges = bar->findChild<QWidget*>("edges");
    ASSERT_NE(edges, nullptr);
    const QPoint edge(edges->width() - 2, edges->height() / 2);
    Mouse(edges, QEvent::MouseButtonPress, edge, Qt::LeftButton);
    ASSERT_TRUE(bar->Model().IsTracking());
    Mouse(edges, QEvent::MouseMove, edge + QPoint(60, 0), Qt::LeftButton);
    Mouse(edges, QEvent::MouseButtonPress, edge + QPoint(60, 0), Qt::RightButton);
    EXPECT_FALSE(bar->Model().IsTracking());
    Mouse(edges, QEvent::MouseMove, edge + QPoint(120, 0), Qt::NoButton);
    QApplication::processEvents();
    EXPECT_EQ(bar->Model().Vert().cx, 210);
    EXPECT_EQ(bar->width(), 210);
    // A press inside the bar drags nothing.
    Mouse(edges, QEvent::MouseButtonPress, QPoint(edges->width() / 2, 20), Qt::LeftButton);
    EXPECT_FALSE(bar->Model().IsTracking());

    bar->SaveState("Graph");
    EXPECT_NE(platform::ReadWholeFile(Ini()).value_or("").find("sizeVertCX=210"),
              std::string::npos);

    // Without a gripper the bar has no title bar.
    auto* plain = new CSizingControlBar;
    ASSERT_TRUE(plain->Create("Plain", &window, 100, 80, false, 2, CBRS_ALIGN_TOP));
    plain->DockOn(BarDock::Top);
    QApplication::processEvents();
    EXPECT_EQ(plain->allowedAreas(), Qt::TopDockWidgetArea);
    EXPECT_EQ(plain->height(), 80);
    EXPECT_EQ(plain->titleBarWidget()->height(), 0);
}
