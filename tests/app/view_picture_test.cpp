// A picture of the main view's window with both lists of a recording filled: the cells show
// their own colours and texts, and the controls follow the window's size.
#include <gtest/gtest.h>

#include <QImage>
#include <QTableView>
#include <memory>

#include "app/kx9monitor_view_widget.h"
#include "platform/colors.h"
#include "platform/event_loop.h"
#include "support/record_kinds.h"
#include "ui/system_colors.h"
#include "view_test_support.h"

using namespace viewtest;

namespace {

int Count(const QImage& picture, const QRect& area, const std::function<bool(QColor)>& test) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += test(picture.pixelColor(x, y)) ? 1 : 0;
    return count;
}

QRect CellIn(QWidget& window, QTableView& list, int row, int column) {
    const QRect cell = list.visualRect(list.model()->index(row, column));
    return cell.translated(list.viewport()->mapTo(&window, QPoint(0, 0))).adjusted(1, 1, -1, -1);
}

QRect GeometryOf(const CKX9MonitorView& view, int id) {
    const ui::Rect r = view.FindControl(id)->rect;
    return QRect(r.left, r.top, r.Width(), r.Height());
}

}  // namespace

TEST_F(ViewTest, TheWindowShowsBothListsWithTheirCellsAndFollowsItsSize) {
    app.m_InstrStatus.m_strModel = "QS4060_rn0$1";
    app.m_InstrStatus.m_strSlm1Param = "Leq:A";
    app.m_InstrStatus.m_strSlm2Param = "LFmx:A";
    app.m_InstrStatus.m_strSlm3Param = "Lpk:C";
    std::unique_ptr<QWidget> window(CreateViewWidget(view, nullptr));
    ASSERT_TRUE(view.IsInitialised());

    frame.Mode().ChooseChannel(kSoundLevelMeter);
    view.SetupDataListColumns(kSoundLevelMeter);
    for (int row = 0; row < 6; ++row) {
        view.m_ReportList.InsertItem(row, "10:00:0" + std::to_string(row));
        for (int column = 1; column <= 3; ++column)
            view.m_ReportList.SetItemText(row, column, "9" + std::to_string(row) + ".0");
    }
    view.m_ReportList.SetItemBkColor(2, 1, 0x0000FF);    // red
    view.m_ReportList.SetItemTextColor(3, 2, 0xFF0000);  // blue
    app.m_DataBuffer[20 + 2 * 7] = 0xB1;                 // row 1, first level: 94.5
    app.m_DataBuffer[20 + 2 * 7 + 1] = 0x03;
    frame.m_recording.SetLayout(records::RecordLayout(kSoundLevelMeter), 8);
    frame.m_recording.SetLoadedPage(0, 20 + 8 * 12, "");
    view.m_DataList.SetItemCount(8);

    window->show();
    platform::EventLoop::ProcessPending();
    auto* report = window->findChild<QTableView*>("1000");
    auto* data = window->findChild<QTableView*>("1603");
    ASSERT_NE(report, nullptr);
    ASSERT_NE(data, nullptr);
    EXPECT_TRUE(report->isVisible());
    EXPECT_FALSE(data->isVisible());
    EXPECT_EQ(report->geometry(), GeometryOf(view, CKX9MonitorView::IDC_REPORT_LIST));

    QImage picture = window->grab().toImage();
    picture.save(QString::fromStdString(folder.File("view_report.png")));
    const QRect red = CellIn(*window, *report, 2, 1);
    const int redPixels = Count(picture, red, [](QColor c) { return c == QColor(255, 0, 0); });
    EXPECT_GT(redPixels, red.width() * red.height() / 2);
    EXPECT_LT(redPixels, red.width() * red.height());  // its text is drawn on it
    const QRect blue = CellIn(*window, *report, 3, 2);
    EXPECT_GT(Count(picture, blue, [](QColor c) { return c.blue() > 150 && c.red() < 100; }), 5);
    const QRect plain = CellIn(*window, *report, 3, 1);
    EXPECT_EQ(Count(picture, plain, [](QColor c) { return c.blue() > 150 && c.red() < 100; }), 0);

    view.ShowControl(CKX9MonitorView::IDC_REPORT_LIST, false);
    view.ShowControl(CKX9MonitorView::IDC_DATA_LIST, true);
    platform::EventLoop::ProcessPending();
    EXPECT_TRUE(data->isVisible());
    EXPECT_FALSE(report->isVisible());
    EXPECT_EQ(data->model()->data(data->model()->index(1, 1)).toString(), "94.5");
    picture = window->grab().toImage();
    picture.save(QString::fromStdString(folder.File("view_data.png")));
    const QRect value = CellIn(*window, *data, 1, 1);
    EXPECT_GT(Count(picture, value, [](QColor c) { return c.lightness() < 128; }), 5);
    const QColor background = platform::ToQColor(ui::GetSysColor(ui::COLOR_WINDOW));
    EXPECT_GT(Count(picture, value, [&](QColor c) { return c == background; }),
              value.width() * value.height() / 2);

    const QRect before = data->geometry();
    window->resize(CKX9MonitorView::kFormWidth - 100, CKX9MonitorView::kFormHeight + 40);
    platform::EventLoop::ProcessPending();
    EXPECT_EQ(data->geometry().right(), before.right() - 100);
    EXPECT_EQ(data->geometry(), GeometryOf(view, CKX9MonitorView::IDC_DATA_LIST));
}

TEST_F(ViewTest, TheWindowLetsGoOfAViewThatGoesFirst) {
    auto doomed = std::make_unique<CKX9MonitorView>(&frame.ViewUses());
    std::unique_ptr<QWidget> window(CreateViewWidget(*doomed, nullptr));
    doomed.reset();
    window->resize(300, 200);
    platform::EventLoop::ProcessPending();
    auto* report = window->findChild<QTableView*>("1000");
    ASSERT_NE(report, nullptr);
    EXPECT_EQ(report->model()->rowCount(), 0);
}
