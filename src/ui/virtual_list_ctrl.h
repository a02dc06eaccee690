#pragma once
// A list that keeps no rows: it knows its columns and how many rows it has, and asks its owner
// for a cell's text whenever a window shows that cell (an owner-data list). Its selection and
// focus are its own.

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "ui/list_common.h"

namespace ui {

class VirtualListCtrl : public ListContent {
public:
    VirtualListCtrl() = default;
    ~VirtualListCtrl() override;
    VirtualListCtrl(const VirtualListCtrl&) = delete;
    VirtualListCtrl& operator=(const VirtualListCtrl&) = delete;

    // The text of a cell, asked for on demand (LVN_GETDISPINFO).
    using TextSource = std::function<std::string(int row, int column)>;
    void SetTextSource(TextSource source) { m_source = std::move(source); }
    // The image of a row, shown in its first column (-1: none).
    using ImageSource = std::function<int(int row)>;
    void SetImageSource(ImageSource source) { m_imageSource = std::move(source); }

    int InsertColumn(int column, const std::string& heading, int format = LVCFMT_LEFT,
                     int width = 100);
    BOOL DeleteColumn(int column);
    int GetColumnCount() const { return static_cast<int>(m_columns.size()); }

    // Sets the number of rows; the selection is forgotten.
    void SetItemCount(int count);
    // One row more before `row` (at the end when past it), or one row less: the rows after
    // it and the selection move with them. The new row's index, or -1 (FALSE) for a row that
    // is not there.
    int InsertItem(int row) { return InsertItems(row, 1); }
    // `count` rows more before `row` in one step, as InsertItem makes one.
    int InsertItems(int row, int count);
    BOOL DeleteItem(int row);
    int GetItemCount() const { return m_count; }
    BOOL DeleteAllItems();
    std::string GetItemText(int row, int column) const;

    // The first selected row, -1 when none.
    int GetSelectedRow() const;
    BOOL SetSelectedRow(int row);
    BOOL EnsureVisible(int row);
    // Asks the window to fetch the rows' texts again (-1, -1: every row).
    void RedrawItems(int first = -1, int last = -1);

    void SetExtendedStyle(unsigned style);
    unsigned GetExtendedStyle() const override { return m_exStyle; }
    void SetStyle(unsigned style) { m_style = style; }
    unsigned GetStyle() const override { return m_style; }

    // --- ListContent
    int RowCount() const override { return m_count; }
    int ColumnCount() const override { return GetColumnCount(); }
    ListColumn Column(int column) const override;
    std::string CellText(int row, int column) const override { return GetItemText(row, column); }
    int CellImage(int row, int column) const override;
    bool IsRowSelected(int row) const override { return m_selected.contains(row); }
    void OnMouse(const ListClick& click) override;
    BOOL PreTranslateKey(ListKey /*key*/) override { return FALSE; }
    void DefaultKey(ListKey key) override;
    void SetObserver(ListObserver* observer) override { m_observer = observer; }

private:
    ListObserver& Observer() const { return m_observer ? *m_observer : m_noObserver; }
    bool IsValidRow(int row) const { return row >= 0 && row < m_count; }

    std::vector<ListColumn> m_columns;
    int m_count = 0;
    std::set<int> m_selected;
    int m_focused = -1;
    unsigned m_style = 0;
    unsigned m_exStyle = 0;
    TextSource m_source;
    ImageSource m_imageSource;
    ListObserver* m_observer = nullptr;
    mutable ListObserver m_noObserver;
};

}  // namespace ui
