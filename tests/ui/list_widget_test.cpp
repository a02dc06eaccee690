// The list windows: clicks reach the list with the cell under the pointer, the in-place editor
// sits on its cell and takes the list's keys, and the anchor layout keeps controls in place.
#include <gtest/gtest.h>

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>

#include "platform/event_loop.h"
#include "ui/control_anchor_layout.h"
#include "ui/latin1_fields.h"
#include "ui/report_list_widget.h"
#include "ui/virtual_list_ctrl.h"

using namespace ui;

namespace {

void Key(QWidget* widget, int key, const QString& text = {}) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(widget, &press);
}

void Click(QTableView& view, int row, int column, bool twice = false) {
    const QPoint at = view.visualRect(view.model()->index(row, column)).center();
    QMouseEvent press(twice ? QEvent::MouseButtonDblClick : QEvent::MouseButtonPress, at,
                      view.viewport()->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(view.viewport(), &press);
}

}  // namespace

TEST(ListWidgetTest, TheEditorTakesTypingAndTabCommitsItToTheCell) {
    CReportCtrl list;
    list.InsertColumn(0, "Name", LVCFMT_LEFT, 80);
    list.InsertColumn(1, "Level", LVCFMT_RIGHT, 80);
    list.InsertItem(0, "first");
    list.SetItemText(0, 1, "94.0");
    list.InsertItem(1, "second");
    ReportListWidget widget(list);
    widget.resize(300, 120);
    widget.show();
    platform::EventLoop::ProcessPending();

    list.SetEditable();
    Click(widget, 0, 1);
    Click(widget, 0, 1);
    ASSERT_TRUE(list.IsEditing());
    QLineEdit* editor = widget.Editor();
    ASSERT_NE(editor, nullptr);
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(editor->geometry(), widget.visualRect(widget.model()->index(0, 1)));
    EXPECT_EQ(editor->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    EXPECT_EQ(editor->text(), "94.0");

    editor->selectAll();
    Key(editor, Qt::Key_9, "9");
    Key(editor, Qt::Key_5, "5");
    Key(editor, Qt::Key_Tab);
    EXPECT_EQ(list.GetItemText(0, 1), "95");
    EXPECT_EQ(list.GetEditColumn(), 0);  // wrapped to the first column
    Key(editor, Qt::Key_Escape);
    EXPECT_FALSE(list.IsEditing());
    EXPECT_FALSE(editor->isVisible());
}

TEST(ListWidgetTest, TheEditorKeepsOnlyWhatTheReportCanHold) {
    ui::Latin1Fields latin1Fields(*QCoreApplication::instance());
    CReportCtrl list;
    list.InsertColumn(0, "Name", LVCFMT_LEFT, 80);
    list.InsertItem(0, "C77");
    ReportListWidget widget(list);
    widget.resize(300, 120);
    widget.show();
    platform::EventLoop::ProcessPending();
    list.SetEditable();
    Click(widget, 0, 0);
    Click(widget, 0, 0);
    ASSERT_TRUE(list.IsEditing());
    widget.Editor()->end(false);
    Key(widget.Editor(), Qt::Key_unknown, QString::fromUtf8("€"));
    Key(widget.Editor(), Qt::Key_Return);
    EXPECT_EQ(list.GetItemText(0, 0), "C77");
}

TEST(ListWidgetTest, ClicksAndHeadersFollowTheVirtualList) {
    VirtualListCtrl list;
    list.InsertColumn(0, "Time", LVCFMT_LEFT, 90);
    list.InsertColumn(1, "LAeq", LVCFMT_LEFT, 60);
    list.SetTextSource([](int row, int column) { return std::to_string(row * 10 + column); });
    list.SetItemCount(30);
    ListCtrlWidget widget(list);
    widget.resize(200, 150);
    widget.show();
    platform::EventLoop::ProcessPending();
    EXPECT_EQ(widget.horizontalHeader()->sectionSize(0), 90);
    EXPECT_EQ(widget.model()->data(widget.model()->index(3, 1)).toString(), "31");

    int doubleClicked = -1;
    QObject::connect(&widget, &ListCtrlWidget::listDoubleClicked,
                     [&](int row, int) { doubleClicked = row; });
    Click(widget, 2, 0);
    Click(widget, 2, 0, true);
    EXPECT_EQ(list.GetSelectedRow(), 2);
    EXPECT_EQ(doubleClicked, 2);

    list.SetItemCount(0);
    EXPECT_EQ(widget.model()->rowCount(), 0);
}

TEST(ListWidgetTest, RowsInsertedAndDeletedOneAtATimeCarryTheSelectionAlong) {
    VirtualListCtrl list;
    list.InsertColumn(0, "X");
    list.SetTextSource([](int row, int) { return std::to_string(row); });
    list.SetItemCount(3);
    ListCtrlWidget widget(list);
    list.SetSelectedRow(1);

    EXPECT_EQ(list.InsertItem(0), 0);
    EXPECT_EQ(list.GetSelectedRow(), 2);
    EXPECT_EQ(list.InsertItem(99), 4);  // past the end: appended
    EXPECT_EQ(list.InsertItem(-1), -1);
    EXPECT_EQ(widget.model()->rowCount(), 5);

    EXPECT_TRUE(list.DeleteItem(0));
    EXPECT_EQ(list.GetSelectedRow(), 1);
    EXPECT_TRUE(list.DeleteItem(1));
    EXPECT_EQ(list.GetSelectedRow(), -1);
    EXPECT_FALSE(list.DeleteItem(3));
    EXPECT_EQ(list.GetItemCount(), 3);
    EXPECT_EQ(widget.model()->rowCount(), 3);
}

TEST(ListWidgetTest, AWindowOutlivingItsListShowsNothing) {
    auto list = std::make_unique<CReportCtrl>();
    list->InsertColumn(0, "A");
    list->InsertItem(0, "x");
    ReportListWidget widget(*list);
    list.reset();
    EXPECT_EQ(widget.model()->rowCount(), 0);
    EXPECT_EQ(widget.Content(), nullptr);
}

TEST(AnchorLayoutTest, EachFlagWordMovesItsEdgesAsDocumented) {
    ControlAnchorLayout layout;
    EXPECT_TRUE(layout.Apply(100, 100).empty());  // nothing before the form is attached
    layout.Attach(400, 200);
    layout.Register(1, {0, 0, 400, 150}, 6, 2);    // stretches; bottom scales
    layout.Register(2, {10, 10, 200, 180}, 1, 2);  // moves in proportion, keeps its width
    layout.Register(3, {100, 160, 380, 190}, 6, 4);
    layout.Register(4, {50, 50, 60, 60}, 0, 0);

    const auto placed = layout.Apply(300, 100);
    ASSERT_EQ(placed.size(), 4u);
    EXPECT_EQ(placed[0].second, (Rect{0, 0, 300, 75}));
    EXPECT_EQ(placed[1].second, (Rect{7, 10, 197, 90}));
    EXPECT_EQ(placed[2].second, (Rect{100, 80, 280, 90}));
    EXPECT_EQ(placed[3].second, (Rect{50, 50, 60, 60}));
}
