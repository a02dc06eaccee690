#include "ui/virtual_list_ctrl.h"

#include <algorithm>
#include <limits>

namespace ui {

VirtualListCtrl::~VirtualListCtrl() {
    if (m_observer)
        m_observer->ListDestroyed();
}

int VirtualListCtrl::InsertColumn(int column, const std::string& heading, int format, int width) {
    if (column < 0)
        return -1;
    column = std::min(column, GetColumnCount());
    Observer().BeginReset();
    m_columns.insert(m_columns.begin() + column, ListColumn{heading, format, width});
    Observer().EndReset();
    return column;
}

BOOL VirtualListCtrl::DeleteColumn(int column) {
    if (column < 0 || column >= GetColumnCount())
        return FALSE;
    Observer().BeginReset();
    m_columns.erase(m_columns.begin() + column);
    Observer().EndReset();
    return TRUE;
}

ListColumn VirtualListCtrl::Column(int column) const {
    if (column < 0 || column >= GetColumnCount())
        return ListColumn{};
    return m_columns[column];
}

void VirtualListCtrl::SetItemCount(int count) {
    Observer().BeginReset();
    m_count = std::max(0, count);
    m_selected.clear();
    m_focused = -1;
    Observer().EndReset();
}

int VirtualListCtrl::InsertItems(int row, int count) {
    if (row < 0 || count < 1 || count > std::numeric_limits<int>::max() - m_count)
        return -1;
    row = std::min(row, m_count);
    Observer().BeginInsertRows(row, row + count - 1);
    m_count += count;
    std::set<int> moved;
    for (int selected : m_selected)
        moved.insert(selected >= row ? selected + count : selected);
    m_selected = std::move(moved);
    if (m_focused >= row)
        m_focused += count;
    Observer().EndInsertRows();
    return row;
}

BOOL VirtualListCtrl::DeleteItem(int row) {
    if (!IsValidRow(row))
        return FALSE;
    Observer().BeginRemoveRows(row, row);
    --m_count;
    std::set<int> moved;
    for (int selected : m_selected)
        if (selected != row)
            moved.insert(selected > row ? selected - 1 : selected);
    m_selected = std::move(moved);
    if (m_focused == row)
        m_focused = -1;
    else if (m_focused > row)
        --m_focused;
    Observer().EndRemoveRows();
    return TRUE;
}

BOOL VirtualListCtrl::DeleteAllItems() {
    SetItemCount(0);
    return TRUE;
}

int VirtualListCtrl::CellImage(int row, int column) const {
    if (column != 0 || !IsValidRow(row) || !m_imageSource)
        return -1;
    return m_imageSource(row);
}

std::string VirtualListCtrl::GetItemText(int row, int column) const {
    if (!IsValidRow(row) || column < 0 || column >= GetColumnCount() || !m_source)
        return std::string();
    return m_source(row, column);
}

int VirtualListCtrl::GetSelectedRow() const {
    return m_selected.empty() ? -1 : *m_selected.begin();
}

BOOL VirtualListCtrl::SetSelectedRow(int row) {
    m_selected.clear();
    if (!IsValidRow(row)) {
        Observer().RowsChanged(-1, -1);
        return FALSE;
    }
    m_selected.insert(row);
    m_focused = row;
    Observer().RowsChanged(-1, -1);
    return TRUE;
}

BOOL VirtualListCtrl::EnsureVisible(int row) {
    if (!IsValidRow(row))
        return FALSE;
    Observer().EnsureVisible(row);
    return TRUE;
}

void VirtualListCtrl::RedrawItems(int first, int last) {
    Observer().RowsChanged(first, last);
}

void VirtualListCtrl::SetExtendedStyle(unsigned style) {
    m_exStyle = style;
    Observer().RowsChanged(-1, -1);
}

void VirtualListCtrl::OnMouse(const ListClick& click) {
    if (click.button == MouseButton::Middle)
        return;
    SetSelectedRow(click.row);
}

void VirtualListCtrl::DefaultKey(ListKey key) {
    if ((key != ListKey::Up && key != ListKey::Down) || m_count == 0)
        return;
    const int current = m_focused >= 0 ? m_focused : GetSelectedRow();
    const int next =
        std::clamp(current < 0 ? 0 : current + (key == ListKey::Up ? -1 : 1), 0, m_count - 1);
    SetSelectedRow(next);
    EnsureVisible(next);
}

}  // namespace ui
