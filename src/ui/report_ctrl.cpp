#include "ui/report_ctrl.h"

#include <algorithm>

#include "ui/system_colors.h"

namespace ui {

namespace {
constexpr int kDefaultColumnWidth = 100;
constexpr unsigned kChecked = 2;  // state image index of a checked box
}  // namespace

unsigned ListClick::Message() const {
    switch (button) {
        case MouseButton::Left:
            return doubleClick ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN;
        case MouseButton::Right:
            return doubleClick ? WM_RBUTTONDBLCLK : WM_RBUTTONDOWN;
        case MouseButton::Middle:
            break;
    }
    return doubleClick ? WM_MBUTTONDBLCLK : WM_MBUTTONDOWN;
}

CReportCtrl::CReportCtrl() = default;

CReportCtrl::~CReportCtrl() {
    if (m_observer)
        m_observer->ListDestroyed();
}

// --- rows and cells

int CReportCtrl::InsertItem(int row, const std::string& text, int image) {
    EndEdit(TRUE);
    if (row < 0)
        return -1;
    row = std::min(row, RowCount());
    const size_t cells = std::max<size_t>(1, m_columns.size());
    Row record;
    record.texts.assign(cells, std::string());
    record.images.assign(cells, -1);
    record.texts[0] = text;
    record.images[0] = image;
    record.data.textColors.assign(m_columns.size(), GetSysColor(COLOR_WINDOWTEXT));
    record.data.bkColors.assign(m_columns.size(), GetSysColor(COLOR_WINDOW));
    Observer().BeginInsertRows(row, row);
    m_rows.insert(m_rows.begin() + row, std::move(record));
    Observer().EndInsertRows();
    return row;
}

BOOL CReportCtrl::SetItemText(int row, int column, const std::string& text) {
    EndEdit(TRUE);
    if (!IsValidRow(row) || column < 0 || column >= static_cast<int>(m_rows[row].texts.size()))
        return FALSE;
    m_rows[row].texts[column] = text;
    Changed(row, row);
    return TRUE;
}

std::string CReportCtrl::GetItemText(int row, int column) const {
    if (!IsValidRow(row) || column < 0 || column >= static_cast<int>(m_rows[row].texts.size()))
        return std::string();
    return m_rows[row].texts[column];
}

BOOL CReportCtrl::DeleteItem(int row, BOOL selectNext) {
    // The text typed into a row that goes away goes with it.
    EndEdit(m_nEditRow != row);
    if (!IsValidRow(row))
        return FALSE;
    if (selectNext && IsValidRow(row + 1))
        SetSelected(row + 1, true);
    RemoveRow(row);
    return TRUE;
}

int CReportCtrl::DeleteAllItems(unsigned filter) {
    EndEdit(FALSE);
    if (filter & RVS_ALL) {
        const int count = RowCount();
        ClearRows();
        return count;
    }
    int deleted = 0;
    for (int row = RowCount() - 1; row >= 0; --row)
        if (RowMatchesStates(row, filter)) {
            RemoveRow(row);
            ++deleted;
        }
    return deleted;
}

int CReportCtrl::GetItemCount(unsigned filter) const {
    if (filter & RVS_ALL)
        return RowCount();
    int count = 0;
    for (int row = 0; row < RowCount(); ++row)
        count += RowMatchesStates(row, filter) ? 1 : 0;
    return count;
}

BOOL CReportCtrl::SetItem(const LVITEM& item) {
    if (!IsValidRow(item.iItem))
        return FALSE;
    Row& row = m_rows[item.iItem];
    const bool cell = item.iSubItem >= 0 && item.iSubItem < static_cast<int>(row.texts.size());
    if ((item.mask & (LVIF_TEXT | LVIF_IMAGE)) && !cell)
        return FALSE;
    if (item.mask & LVIF_PARAM)
        row.data.itemData = item.lParam;
    if (item.mask & LVIF_TEXT)
        row.texts[item.iSubItem] = item.text;
    if (item.mask & LVIF_IMAGE)
        row.images[item.iSubItem] = item.iImage;
    if (item.mask & LVIF_STATE) {
        if (item.stateMask & LVIS_SELECTED)
            SetSelected(item.iItem, (item.state & LVIS_SELECTED) != 0);
        if (item.stateMask & LVIS_FOCUSED)
            SetFocused(item.iItem, (item.state & LVIS_FOCUSED) != 0);
        if (item.stateMask & LVIS_STATEIMAGEMASK)
            row.checked = ((item.state & LVIS_STATEIMAGEMASK) >> 12) == kChecked;
    }
    Changed(item.iItem, item.iItem);
    return TRUE;
}

BOOL CReportCtrl::GetItem(LVITEM& item) const {
    if (!IsValidRow(item.iItem))
        return FALSE;
    const Row& row = m_rows[item.iItem];
    const bool cell = item.iSubItem >= 0 && item.iSubItem < static_cast<int>(row.texts.size());
    if ((item.mask & (LVIF_TEXT | LVIF_IMAGE)) && !cell)
        return FALSE;
    if (item.mask & LVIF_TEXT)
        item.text = row.texts[item.iSubItem];
    if (item.mask & LVIF_IMAGE)
        item.iImage = row.images[item.iSubItem];
    if (item.mask & LVIF_PARAM)
        item.lParam = row.data.itemData;
    if (item.mask & LVIF_STATE) {
        const unsigned state = (row.selected ? LVIS_SELECTED : 0) |
                               (row.focused ? LVIS_FOCUSED : 0) |
                               IndexToStateImageMask(row.checked ? kChecked : 1);
        item.state = state & item.stateMask;
    }
    return TRUE;
}

int CReportCtrl::GetCellImage(int row, int column) const {
    if (!IsValidRow(row) || column < 0 || column >= static_cast<int>(m_rows[row].images.size()))
        return -1;
    return m_rows[row].images[column];
}

BOOL CReportCtrl::EnsureVisible(int row) {
    if (!IsValidRow(row))
        return FALSE;
    Observer().EnsureVisible(row);
    return TRUE;
}

void CReportCtrl::RedrawItems(int first, int last) {
    Changed(first, last);
}

void CReportCtrl::RemoveRow(int row) {
    Observer().BeginRemoveRows(row, row);
    m_rows.erase(m_rows.begin() + row);
    Observer().EndRemoveRows();
}

void CReportCtrl::ClearRows() {
    Observer().BeginReset();
    m_rows.clear();
    Observer().EndReset();
}

// --- columns

int CReportCtrl::InsertColumn(int column, const std::string& heading, int format, int width,
                              int /*subItem*/) {
    EndEdit(TRUE);
    if (column < 0)
        return -1;
    column = std::min(column, GetColumnCount());
    const bool first = m_columns.empty();
    Observer().BeginReset();
    m_columns.insert(m_columns.begin() + column,
                     ListColumn{heading, format, width < 0 ? kDefaultColumnWidth : width});
    const COLORREF text = GetSysColor(COLOR_WINDOWTEXT);
    const COLORREF background = GetSysColor(COLOR_WINDOW);
    for (Row& row : m_rows) {
        // The item's own text becomes the first column's.
        if (!first) {
            row.texts.insert(row.texts.begin() + column, std::string());
            row.images.insert(row.images.begin() + column, -1);
        }
        row.data.textColors.insert(row.data.textColors.begin() + column, text);
        row.data.bkColors.insert(row.data.bkColors.begin() + column, background);
    }
    Observer().EndReset();
    return column;
}

BOOL CReportCtrl::DeleteColumn(int column) {
    EndEdit(TRUE);
    if (column < 0 || column >= GetColumnCount())
        return FALSE;
    Observer().BeginReset();
    m_columns.erase(m_columns.begin() + column);
    for (Row& row : m_rows) {
        if (row.texts.size() > 1) {
            row.texts.erase(row.texts.begin() + column);
            row.images.erase(row.images.begin() + column);
        } else {
            row.texts[0].clear();
            row.images[0] = -1;
        }
        row.data.textColors.erase(row.data.textColors.begin() + column);
        row.data.bkColors.erase(row.data.bkColors.begin() + column);
    }
    Observer().EndReset();
    return TRUE;
}

int CReportCtrl::GetColumnEditAlign(int column) const {
    if (!HasColumnHeader() || column < 0 || column >= GetColumnCount())
        return ES_LEFT;
    switch (m_columns[column].format & LVCFMT_JUSTIFYMASK) {
        case LVCFMT_CENTER:
            return ES_CENTER;
        case LVCFMT_RIGHT:
            return ES_RIGHT;
        default:
            return ES_LEFT;
    }
}

ListColumn CReportCtrl::Column(int column) const {
    if (column < 0 || column >= GetColumnCount())
        return ListColumn{};
    return m_columns[column];
}

void CReportCtrl::SetColumnReadOnly(int column, BOOL readOnly) {
    std::erase(m_readOnlyColumns, static_cast<unsigned>(column));
    if (readOnly)
        m_readOnlyColumns.push_back(static_cast<unsigned>(column));
}

void CReportCtrl::SetRowReadOnly(int row, BOOL readOnly) {
    std::erase(m_readOnlyRows, static_cast<unsigned>(row));
    if (readOnly)
        m_readOnlyRows.push_back(static_cast<unsigned>(row));
}

bool CReportCtrl::IsReadOnlyColumn(int column) const {
    return std::ranges::find(m_readOnlyColumns, static_cast<unsigned>(column)) !=
           m_readOnlyColumns.end();
}

bool CReportCtrl::IsReadOnlyRow(int row) const {
    return std::ranges::find(m_readOnlyRows, static_cast<unsigned>(row)) != m_readOnlyRows.end();
}

// --- colours

void CReportCtrl::SetColor(std::vector<COLORREF>& colors, int column, COLORREF color) {
    if (column >= 0)
        colors.at(column) = color;
    else
        std::ranges::fill(colors, color);
}

void CReportCtrl::SetItemTextColor(int row, int column, COLORREF color, BOOL /*redraw*/) {
    if (color == CLR_DEFAULT)
        color = GetSysColor(COLOR_WINDOWTEXT);
    const int cell = column >= 0 && column < GetColumnCount() ? column : -1;
    if (IsValidRow(row)) {
        SetColor(m_rows[row].data.textColors, cell, color);
        Changed(row, row);
        return;
    }
    for (Row& each : m_rows)
        SetColor(each.data.textColors, cell, color);
    Changed(-1, -1);
}

// A valid row alone or a valid column alone colours that row or column, as the text colour
// does; no caller relies on anything else.
void CReportCtrl::SetItemBkColor(int row, int column, COLORREF color, BOOL /*redraw*/) {
    if (color == CLR_DEFAULT)
        color = GetSysColor(COLOR_WINDOW);
    const int cell = column >= 0 && column < GetColumnCount() ? column : -1;
    if (IsValidRow(row)) {
        SetColor(m_rows[row].data.bkColors, cell, color);
        Changed(row, row);
        return;
    }
    for (Row& each : m_rows)
        SetColor(each.data.bkColors, cell, color);
    Changed(-1, -1);
}

COLORREF CReportCtrl::GetItemTextColor(int row, int column) const {
    if (!IsValidRow(row) || column < 0 || column >= GetColumnCount())
        return CLR_DEFAULT;
    return m_rows[row].data.textColors[column];
}

COLORREF CReportCtrl::GetItemBkColor(int row, int column) const {
    if (!IsValidRow(row) || column < 0 || column >= GetColumnCount())
        return CLR_DEFAULT;
    return m_rows[row].data.bkColors[column];
}

const ReportRowData* CReportCtrl::GetRowData(int row) const {
    return IsValidRow(row) ? &m_rows[row].data : nullptr;
}

COLORREF CReportCtrl::CellTextColor(int row, int column) const {
    return GetItemTextColor(row, column);
}

COLORREF CReportCtrl::CellBkColor(int row, int column) const {
    return GetItemBkColor(row, column);
}

// --- row states

bool CReportCtrl::SetSelected(int row, bool on) {
    if (!IsValidRow(row))
        return false;
    if (on && (m_style & LVS_SINGLESEL))
        for (Row& each : m_rows)
            each.selected = false;
    m_rows[row].selected = on;
    return true;
}

bool CReportCtrl::SetFocused(int row, bool on) {
    if (!IsValidRow(row))
        return false;
    // One row of a list has the focus.
    if (on)
        for (Row& each : m_rows)
            each.focused = false;
    m_rows[row].focused = on;
    return true;
}

unsigned CReportCtrl::GetRowStates(int row) const {
    if (!IsValidRow(row))
        return 0;
    const Row& r = m_rows[row];
    return (r.selected ? RVS_SELECTED : RVS_UNSELECTED) |
           (r.checked ? RVS_CHECKED : RVS_UNCHECKED) | (r.focused ? RVS_FOCUSED : RVS_UNFOCUSED);
}

BOOL CReportCtrl::RowMatchesStates(int row, unsigned filter) const {
    if (!IsValidRow(row) || filter == 0)
        return FALSE;
    if (filter & RVS_ALL)
        return TRUE;
    return (GetRowStates(row) & filter) == filter;
}

int CReportCtrl::GetNextMatchingRow(unsigned filter, int after) const {
    for (int row = std::max(after, -1) + 1; row < RowCount(); ++row)
        if (RowMatchesStates(row, filter))
            return row;
    return -1;
}

bool CReportCtrl::ApplyStates(int row, unsigned flags) {
    bool ok = true;
    if (flags & RVS_SELECTED)
        ok = SetSelected(row, true) && ok;
    if (flags & RVS_UNSELECTED)
        ok = SetSelected(row, false) && ok;
    if (flags & RVS_CHECKED)
        m_rows[row].checked = true;
    if (flags & RVS_UNCHECKED)
        m_rows[row].checked = false;
    if (flags & RVS_FOCUSED)
        ok = SetFocused(row, true) && ok;
    if (flags & RVS_UNFOCUSED)
        ok = SetFocused(row, false) && ok;
    return ok;
}

BOOL CReportCtrl::SetRowStates(int row, unsigned flags) {
    if (!IsValidRow(row) || flags == 0)
        return FALSE;
    const bool ok = ApplyStates(row, flags);
    // Under the single-check policy the row just checked is the only checked one.
    if ((flags & RVS_CHECKED) && m_nCheckboxPolicy == RC_CHKBOX_SINGLE)
        for (int other = 0; other < RowCount(); ++other)
            if (other != row)
                m_rows[other].checked = false;
    Changed(-1, -1);
    return ok ? TRUE : FALSE;
}

int CReportCtrl::SetAllRowStates(unsigned filter, unsigned flags) {
    if (filter == 0 || flags == 0)
        return 0;
    int count = 0;
    for (int row = 0; row < RowCount(); ++row)
        if (RowMatchesStates(row, filter)) {
            ApplyStates(row, flags);
            ++count;
        }
    if ((flags & RVS_CHECKED) && m_nCheckboxPolicy == RC_CHKBOX_SINGLE)
        UncheckAllButFirstChecked(GetNextMatchingRow(RVS_CHECKED));
    Changed(-1, -1);
    return count;
}

void CReportCtrl::UncheckAllButFirstChecked(int first) {
    if (first < 0)
        return;
    for (int row = first + 1; row < RowCount(); ++row)
        m_rows[row].checked = false;
}

BOOL CReportCtrl::GetCheck(int row) const {
    return IsValidRow(row) && m_rows[row].checked ? TRUE : FALSE;
}

BOOL CReportCtrl::SetCheck(int row, BOOL checked) {
    return SetRowStates(row, checked ? RVS_CHECKED : RVS_UNCHECKED);
}

bool CReportCtrl::IsRowSelected(int row) const {
    return IsValidRow(row) && m_rows[row].selected;
}

int CReportCtrl::CheckState(int row) const {
    if (!(m_exStyle & LVS_EX_CHECKBOXES) || !IsValidRow(row))
        return -1;
    return m_rows[row].checked ? 1 : 0;
}

// --- styles

void CReportCtrl::SetExtendedStyle(unsigned style) {
    m_exStyle = style | kReportExStyleForced;
    Changed(-1, -1);
}

void CReportCtrl::SetStyle(unsigned style) {
    m_style = (style & ~kReportStyleCleared) | kReportStyleForced;
    Changed(-1, -1);
}

// --- in-place editing

void CReportCtrl::SetEditable(BOOL editable) {
    if (!editable)
        EndEdit(TRUE);
    m_bEditable = editable;
}

BOOL CReportCtrl::IsEditing() const {
    return m_bEditable && IsValidRow(m_nEditRow) && m_nEditColumn >= 0 &&
           m_nEditColumn < GetColumnCount();
}

BOOL CReportCtrl::StartEdit(int row, int column) {
    if (IsReadOnlyColumn(column) || IsReadOnlyRow(row) || !m_bEditable || !IsValidRow(row) ||
        column < 0 || column >= GetColumnCount())
        return FALSE;
    if (IsEditing() && m_nEditRow == row && m_nEditColumn == column)
        return TRUE;
    EndEdit(TRUE);
    m_nEditRow = row;
    m_nEditColumn = column;
    for (Row& each : m_rows)
        each.selected = false;
    SetSelected(row, true);
    SetFocused(row, true);
    m_nEditAlign = GetColumnEditAlign(column);
    m_strEditText = GetItemText(row, column);
    Changed(-1, -1);
    Observer().EditorOpened();
    return TRUE;
}

BOOL CReportCtrl::EndEdit(BOOL commit) {
    if (!IsEditing()) {
        if (m_nEditRow != -1 || m_nEditColumn != -1) {
            m_nEditRow = m_nEditColumn = -1;
            Observer().EditorClosed();
        }
        return FALSE;
    }
    const int row = m_nEditRow;
    const int column = m_nEditColumn;
    const bool write = commit && m_strEditText != m_rows[row].texts[column];
    if (write)
        m_rows[row].texts[column] = m_strEditText;
    // Closed before the parent hears of it, so that whatever it does next finds no editor.
    m_nEditRow = m_nEditColumn = -1;
    Observer().EditorClosed();
    if (write) {
        Changed(row, row);
        Notify(WM_ITEM_EDITED, row, column);
    }
    return write ? TRUE : FALSE;
}

// --- clicks and keys

void CReportCtrl::SelectOnly(int row) {
    for (Row& each : m_rows)
        each.selected = false;
    SetSelected(row, true);
    SetFocused(row, true);
}

void CReportCtrl::DefaultMouse(const ListClick& click) {
    const bool selecting = click.button != MouseButton::Middle;
    if (!IsValidRow(click.row)) {
        if (selecting)
            for (Row& each : m_rows)
                each.selected = false;
    } else if (click.onCheckBox && click.button == MouseButton::Left &&
               (m_exStyle & LVS_EX_CHECKBOXES)) {
        m_rows[click.row].checked = !m_rows[click.row].checked;
    } else if (selecting) {
        SelectOnly(click.row);
    }
    Changed(-1, -1);
}

bool CReportCtrl::CheckBoxStep(const ListClick& click, bool wasChecked) {
    const int row = click.row;
    if (!IsValidRow(row) || m_nCheckboxPolicy == RC_CHKBOX_NONE ||
        m_rows[row].checked == wasChecked)
        return false;
    if (m_nCheckboxPolicy == RC_CHKBOX_DISABLED) {
        m_rows[row].checked = wasChecked;
        Changed(row, row);
        return true;
    }
    if (m_nCheckboxPolicy == RC_CHKBOX_SINGLE && !wasChecked) {
        for (Row& each : m_rows)
            each.checked = false;
        m_rows[row].checked = true;
    }
    SelectOnly(row);
    Changed(-1, -1);
    Notify(WM_ON_CHKBOX, row, static_cast<int>(click.Message()));
    return true;
}

void CReportCtrl::OnMouse(const ListClick& click) {
    const bool wasChecked = IsValidRow(click.row) && m_rows[click.row].checked;
    const bool wasEditing = IsEditing();
    EndEdit(TRUE);
    const bool left = click.button == MouseButton::Left;
    const bool wasCurrent = left && RowMatchesStates(click.row, RVS_SELECTED | RVS_FOCUSED);
    DefaultMouse(click);
    const bool handled = CheckBoxStep(click, wasChecked);
    // A second click on the current row edits the cell under it.
    if (left && m_bEditable && !handled && !wasEditing && wasCurrent)
        StartEdit(click.row, click.column);
}

BOOL CReportCtrl::PreTranslateKey(ListKey key) {
    if (!IsEditing())
        return key == ListKey::Space;  // never toggles a check box
    const int row = m_nEditRow;
    const int column = m_nEditColumn;
    switch (key) {
        case ListKey::Tab:
            EndEdit(TRUE);
            StartEdit(row, (column + 1) % GetColumnCount());
            return TRUE;
        case ListKey::Enter:
            EndEdit(TRUE);
            return TRUE;
        case ListKey::Escape:
            EndEdit(FALSE);
            return TRUE;
        case ListKey::Up:
        case ListKey::Down: {
            const int next = key == ListKey::Up ? row - 1 : row + 1;
            if (!IsValidRow(next))
                return FALSE;
            EndEdit(TRUE);
            StartEdit(next, column);
            EnsureVisible(next);
            return TRUE;
        }
        default:
            return FALSE;
    }
}

void CReportCtrl::DefaultKey(ListKey key) {
    if ((key != ListKey::Up && key != ListKey::Down) || m_rows.empty())
        return;
    int current = GetNextMatchingRow(RVS_FOCUSED);
    if (current < 0)
        current = GetSelectedRow();
    int next = current < 0 ? 0 : current + (key == ListKey::Up ? -1 : 1);
    next = std::clamp(next, 0, RowCount() - 1);
    SelectOnly(next);
    Changed(-1, -1);
    EnsureVisible(next);
}

void CReportCtrl::Notify(unsigned message, int wParam, int lParam) const {
    if (m_notify)
        m_notify(message, wParam, lParam);
}

}  // namespace ui
