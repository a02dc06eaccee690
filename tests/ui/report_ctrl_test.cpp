// The report list as data: rows and cells, per-cell colours, row filters and check boxes, the
// in-place editor's keys and the clicks that start it.
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "ui/report_ctrl.h"
#include "ui/system_colors.h"

using namespace ui;

namespace {

constexpr COLORREF kRed = 0x0000FF;
constexpr COLORREF kBlue = 0xFF0000;

struct Notice {
    unsigned message;
    int wParam;
    int lParam;
    bool operator==(const Notice&) const = default;
};

class ReportCtrlTest : public ::testing::Test {
protected:
    ReportCtrlTest() {
        list.SetParentNotify([this](unsigned m, int w, int l) { notices.push_back({m, w, l}); });
    }

    void Fill(int columns, int rows) {
        for (int c = 0; c < columns; ++c)
            list.InsertColumn(c, "C" + std::to_string(c));
        for (int r = 0; r < rows; ++r) {
            list.InsertItem(r, "r" + std::to_string(r));
            for (int c = 1; c < columns; ++c)
                list.SetItemText(r, c, "r" + std::to_string(r) + "c" + std::to_string(c));
        }
    }

    static ListClick Left(int row, int column, bool onCheckBox = false) {
        return {MouseButton::Left, false, row, column, onCheckBox};
    }

    CReportCtrl list;
    std::vector<Notice> notices;
};

}  // namespace

TEST_F(ReportCtrlTest, RowsCarryTheirTextsAndDefaultColoursInEveryColumn) {
    Fill(3, 2);
    EXPECT_EQ(list.InsertItem(99, "appended"), 2);
    EXPECT_EQ(list.InsertItem(0, "first"), 0);
    EXPECT_LT(list.InsertItem(-1, "never"), 0);
    EXPECT_EQ(list.GetItemCount(), 4);
    EXPECT_EQ(list.GetItemText(1, 2), "r0c2");
    EXPECT_EQ(list.GetItemText(3, 0), "appended");
    EXPECT_FALSE(list.SetItemText(0, 3, "no such column"));
    EXPECT_FALSE(list.SetItemText(4, 0, "no such row"));
    for (int row = 0; row < list.GetItemCount(); ++row) {
        ASSERT_NE(list.GetRowData(row), nullptr);
        EXPECT_EQ(list.GetRowData(row)->textColors.size(), 3u);
        EXPECT_EQ(list.GetRowData(row)->bkColors.size(), 3u);
        EXPECT_EQ(list.GetItemBkColor(row, 1), GetSysColor(COLOR_WINDOW));
    }
}

TEST_F(ReportCtrlTest, CountsAndDeletionsFollowTheirFilters) {
    EXPECT_EQ(list.DeleteAllItems(RVS_ALL), 0);
    Fill(2, 5);
    EXPECT_EQ(list.GetItemCount(RVS_ALL), 5);
    EXPECT_EQ(list.GetItemCount(0), 0);
    list.SetRowStates(1, RVS_SELECTED);
    list.SetRowStates(3, RVS_SELECTED | RVS_CHECKED);
    EXPECT_EQ(list.GetItemCount(RVS_SELECTED), 2);
    EXPECT_EQ(list.GetItemCount(RVS_SELECTED | RVS_CHECKED), 1);
    EXPECT_EQ(list.GetNextMatchingRow(RVS_SELECTED, -7), 1);
    EXPECT_EQ(list.GetNextMatchingRow(RVS_SELECTED, 1), 3);
    EXPECT_EQ(list.GetNextMatchingRow(RVS_SELECTED, 3), -1);

    EXPECT_EQ(list.DeleteAllItems(RVS_SELECTED), 2);
    EXPECT_EQ(list.GetItemText(1, 0), "r2");
    EXPECT_TRUE(list.DeleteItem(0, TRUE));
    EXPECT_TRUE(list.RowMatchesStates(0, RVS_SELECTED));  // the next row, now row 0
    EXPECT_FALSE(list.DeleteItem(2));
    EXPECT_EQ(list.DeleteAllItems(RVS_ALL), 2);
    EXPECT_EQ(list.GetRowData(0), nullptr);
}

TEST_F(ReportCtrlTest, ColoursGoToACellARowAColumnOrEverything) {
    Fill(3, 4);
    list.SetItemTextColor(-1, 2, kRed);
    for (int row = 0; row < 4; ++row) {
        EXPECT_EQ(list.GetItemTextColor(row, 2), kRed);
        EXPECT_NE(list.GetItemTextColor(row, 1), kRed);
    }
    list.SetItemTextColor(3, -1, kBlue);
    for (int column = 0; column < 3; ++column)
        EXPECT_EQ(list.GetItemTextColor(3, column), kBlue);
    list.SetItemBkColor(1, 1, kRed);
    EXPECT_EQ(list.GetItemBkColor(1, 0), GetSysColor(COLOR_WINDOW));
    list.SetItemBkColor(1, 1, CLR_DEFAULT);
    EXPECT_EQ(list.GetItemBkColor(1, 1), GetSysColor(COLOR_WINDOW));
    list.SetItemBkColor(-1, -1, kBlue);
    EXPECT_EQ(list.GetItemBkColor(2, 0), kBlue);
    EXPECT_EQ(list.GetItemBkColor(0, 99), 0xFFFFFFFF);
    EXPECT_EQ(list.GetItemTextColor(99, 0), 0xFFFFFFFF);
}

TEST_F(ReportCtrlTest, ColumnsInsertedOrDeletedMoveTheColoursWithTheCells) {
    Fill(3, 2);
    list.SetItemBkColor(0, 1, kRed);
    list.SetItemTextColor(1, 1, kBlue);
    EXPECT_EQ(list.InsertColumn(1, "new"), 1);
    EXPECT_EQ(list.GetItemBkColor(0, 2), kRed);
    EXPECT_EQ(list.GetItemTextColor(1, 2), kBlue);
    EXPECT_EQ(list.GetItemBkColor(0, 1), GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(list.GetItemText(0, 2), "r0c1");
    EXPECT_EQ(list.GetRowData(0)->bkColors.size(), 4u);

    EXPECT_TRUE(list.DeleteColumn(1));
    EXPECT_EQ(list.GetItemBkColor(0, 1), kRed);
    EXPECT_EQ(list.GetItemText(0, 1), "r0c1");
    EXPECT_FALSE(list.DeleteColumn(3));
    EXPECT_EQ(list.GetRowData(1)->textColors.size(), 3u);
}

TEST_F(ReportCtrlTest, ItemDataAndImagesTravelThroughSetItemAndGetItem) {
    Fill(2, 1);
    LVITEM item;
    item.mask = LVIF_PARAM | LVIF_IMAGE;
    item.iItem = 0;
    item.iSubItem = 1;
    item.lParam = 4242;
    item.iImage = 2;
    EXPECT_TRUE(list.SetItem(item));
    EXPECT_EQ(list.GetRowData(0)->itemData, 4242u);
    EXPECT_EQ(list.GetCellImage(0, 1), 2);
    EXPECT_EQ(list.GetCellImage(0, 0), -1);
    EXPECT_EQ(list.GetCellImage(3, 0), -1);

    LVITEM read;
    read.mask = LVIF_PARAM | LVIF_TEXT | LVIF_STATE;
    read.iItem = 0;
    read.iSubItem = 1;
    read.stateMask = LVIS_STATEIMAGEMASK;
    list.SetCheck(0, TRUE);
    EXPECT_TRUE(list.GetItem(read));
    EXPECT_EQ(read.lParam, 4242u);
    EXPECT_EQ(read.text, "r0c1");
    EXPECT_EQ(read.state, IndexToStateImageMask(2));
}

TEST_F(ReportCtrlTest, RowStatesBuildTheStateWordAndSingleCheckKeepsOneRow) {
    Fill(1, 4);
    EXPECT_EQ(list.GetRowStates(0), RVS_UNSELECTED | RVS_UNCHECKED | RVS_UNFOCUSED);
    EXPECT_FALSE(list.SetRowStates(0, 0));
    EXPECT_FALSE(list.SetRowStates(7, RVS_SELECTED));
    EXPECT_TRUE(list.SetRowStates(0, RVS_SELECTED | RVS_FOCUSED | RVS_CHECKED));
    EXPECT_EQ(list.GetRowStates(0), RVS_SELECTED | RVS_CHECKED | RVS_FOCUSED);
    list.SetRowStates(2, RVS_FOCUSED);
    EXPECT_TRUE(list.RowMatchesStates(0, RVS_UNFOCUSED));  // one row has the focus
    EXPECT_FALSE(list.RowMatchesStates(0, 0));
    EXPECT_TRUE(list.RowMatchesStates(3, RVS_ALL | RVS_SELECTED));

    EXPECT_EQ(list.SetAllRowStates(RVS_ALL, RVS_CHECKED), 4);
    EXPECT_EQ(list.GetItemCount(RVS_CHECKED), 4);
    list.SetCheckboxPolicy(RC_CHKBOX_SINGLE);
    EXPECT_EQ(list.SetAllRowStates(RVS_UNSELECTED, RVS_CHECKED), 3);
    EXPECT_EQ(list.GetItemCount(RVS_CHECKED), 1);
    EXPECT_TRUE(list.GetCheck(0));
    list.SetCheck(2, TRUE);
    EXPECT_EQ(list.GetItemCount(RVS_CHECKED), 1);
    EXPECT_TRUE(list.GetCheck(2));
    EXPECT_EQ(list.SetAllRowStates(0, RVS_CHECKED), 0);
}

TEST_F(ReportCtrlTest, CheckBoxClicksFollowThePolicyAndTellTheParent) {
    Fill(2, 3);
    list.SetExtendedStyle(LVS_EX_CHECKBOXES);
    list.OnMouse(Left(1, 0, true));
    EXPECT_TRUE(list.GetCheck(1));
    EXPECT_EQ(list.GetSelectedRow(), 1);
    EXPECT_TRUE(list.RowMatchesStates(1, RVS_FOCUSED));
    EXPECT_EQ(notices, (std::vector<Notice>{{WM_ON_CHKBOX, 1, int(WM_LBUTTONDOWN)}}));

    list.SetCheckboxPolicy(RC_CHKBOX_SINGLE);
    list.OnMouse(Left(2, 0, true));
    EXPECT_FALSE(list.GetCheck(1));
    EXPECT_TRUE(list.GetCheck(2));

    notices.clear();
    list.SetCheckboxPolicy(RC_CHKBOX_DISABLED);
    list.OnMouse(Left(0, 0, true));
    EXPECT_FALSE(list.GetCheck(0));
    list.SetCheckboxPolicy(RC_CHKBOX_NONE);
    list.OnMouse(Left(0, 0, true));
    EXPECT_TRUE(list.GetCheck(0));  // nobody undoes it
    // A click that only changes the selection sends nothing.
    list.OnMouse(Left(1, 1));
    EXPECT_EQ(list.GetSelectedRow(), 1);
    EXPECT_TRUE(notices.empty());
}

TEST_F(ReportCtrlTest, SecondClickOnTheCurrentRowEditsAndTabEnterEscAndArrowsMoveTheEditor) {
    Fill(3, 3);
    list.OnMouse(Left(1, 2));
    EXPECT_FALSE(list.IsEditing());  // editing is off unless turned on
    list.SetEditable();
    list.OnMouse(Left(0, 2));
    EXPECT_FALSE(list.IsEditing());  // a first click only selects
    list.OnMouse(Left(0, 2));
    ASSERT_TRUE(list.IsEditing());
    EXPECT_EQ(list.GetEditText(), "r0c2");

    list.SetEditText("changed");
    EXPECT_TRUE(list.PreTranslateKey(ListKey::Tab));
    EXPECT_EQ(list.GetItemText(0, 2), "changed");
    EXPECT_EQ(notices, (std::vector<Notice>{{WM_ITEM_EDITED, 0, 2}}));
    EXPECT_EQ(std::tuple(list.GetEditRow(), list.GetEditColumn()), std::tuple(0, 0));

    EXPECT_FALSE(list.PreTranslateKey(ListKey::Up));  // nothing above row 0
    EXPECT_EQ(list.GetEditRow(), 0);
    EXPECT_TRUE(list.PreTranslateKey(ListKey::Down));
    EXPECT_EQ(std::tuple(list.GetEditRow(), list.GetEditColumn()), std::tuple(1, 0));
    EXPECT_EQ(list.GetSelectedRow(), 1);

    list.SetEditText("typed");
    EXPECT_TRUE(list.PreTranslateKey(ListKey::Escape));
    EXPECT_FALSE(list.IsEditing());
    EXPECT_EQ(list.GetItemText(1, 0), "r1");

    EXPECT_TRUE(list.StartEdit(1, 1));
    list.SetEditText("r1c1");  // unchanged text is not written
    EXPECT_TRUE(list.PreTranslateKey(ListKey::Enter));
    EXPECT_EQ(notices.size(), 1u);
    EXPECT_TRUE(list.PreTranslateKey(ListKey::Space));  // swallowed, never toggles
    EXPECT_FALSE(list.PreTranslateKey(ListKey::Other));
}

TEST_F(ReportCtrlTest, EditorRefusesReadOnlyCellsAndDropsTheTextOfADeletedRow) {
    Fill(3, 3);
    list.SetEditable();
    list.SetColumnReadOnly(1);
    list.SetRowReadOnly(2);
    EXPECT_FALSE(list.StartEdit(0, 1));
    EXPECT_FALSE(list.StartEdit(2, 0));
    EXPECT_FALSE(list.StartEdit(0, 3));

    EXPECT_TRUE(list.StartEdit(0, 0));
    list.SetEditText("lost");
    EXPECT_TRUE(list.DeleteItem(0));
    EXPECT_FALSE(list.IsEditing());
    EXPECT_TRUE(notices.empty());
    EXPECT_EQ(list.GetItemText(0, 0), "r1");

    // Another row's deletion commits the edit first.
    EXPECT_TRUE(list.StartEdit(0, 2));
    list.SetEditText("kept");
    EXPECT_TRUE(list.DeleteItem(1));
    EXPECT_EQ(list.GetItemText(0, 2), "kept");
}

TEST_F(ReportCtrlTest, EditAlignmentFollowsTheColumnHeaderAndArrowsMoveTheSelection) {
    list.InsertColumn(0, "left");
    list.InsertColumn(1, "right", LVCFMT_RIGHT);
    list.InsertColumn(2, "centre", LVCFMT_CENTER);
    EXPECT_EQ(list.GetColumnEditAlign(1), ES_RIGHT);
    EXPECT_EQ(list.GetColumnEditAlign(2), ES_CENTER);
    EXPECT_EQ(list.GetColumnEditAlign(5), ES_LEFT);
    list.SetStyle(LVS_NOCOLUMNHEADER);
    EXPECT_EQ(list.GetColumnEditAlign(1), ES_LEFT);
    EXPECT_EQ(list.GetStyle() & kReportStyleForced, kReportStyleForced);
    list.SetExtendedStyle(0);
    EXPECT_EQ(list.GetExtendedStyle(), 0x22u);

    // Without the editor, Up and Down move the selection and stop at the ends.
    for (int r = 0; r < 3; ++r)
        list.InsertItem(r, "r" + std::to_string(r));
    list.DefaultKey(ListKey::Down);
    EXPECT_EQ(list.GetSelectedRow(), 0);
    for (int i = 0; i < 3; ++i)
        list.DefaultKey(ListKey::Down);
    EXPECT_EQ(list.GetSelectedRow(), 2);
    list.DefaultKey(ListKey::Up);
    EXPECT_EQ(list.GetSelectedRow(), 1);
    EXPECT_EQ(list.GetItemCount(RVS_SELECTED), 1);
}
