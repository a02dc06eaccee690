#pragma once
// The report list as data: rows of cells, each cell with its own text colour and background,
// row states (selection, focus, check box) applied and matched through row filters, and the
// in-place cell editor's state with its keys. The report writers fill it row by row without
// any window; ReportListWidget shows it and hands it the operator's clicks and keys.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/win_types.h"
#include "ui/list_common.h"

namespace ui {

// Row filters, and the same bits as commands on a row.
constexpr unsigned RVS_ALL = 0x01;
constexpr unsigned RVS_SELECTED = 0x02;
constexpr unsigned RVS_UNSELECTED = 0x04;
constexpr unsigned RVS_CHECKED = 0x08;
constexpr unsigned RVS_UNCHECKED = 0x10;
constexpr unsigned RVS_FOCUSED = 0x20;
constexpr unsigned RVS_UNFOCUSED = 0x40;

// Check-box policies.
constexpr int RC_CHKBOX_NONE = 0;      // clicks on check boxes are not handled
constexpr int RC_CHKBOX_NORMAL = 1;    // each box on its own
constexpr int RC_CHKBOX_SINGLE = 2;    // at most one checked row
constexpr int RC_CHKBOX_DISABLED = 3;  // a click is undone

// Messages the list sends its parent.
constexpr unsigned WM_ON_CHKBOX = 0xA710;    // row, mouse message
constexpr unsigned WM_ITEM_EDITED = 0xA712;  // row, column

// The style every report list has, whatever it is created with.
constexpr unsigned kReportStyleCleared = 0x2202;
constexpr unsigned kReportStyleForced = 0x50300001;
constexpr unsigned kReportExStyleForced = LVS_EX_FULLROWSELECT | LVS_EX_SUBITEMIMAGES;

// The record every row carries.
struct ReportRowData {
    std::uint32_t itemData = 0;
    std::vector<COLORREF> textColors;  // one per column
    std::vector<COLORREF> bkColors;    // one per column
};

class CReportCtrl : public ListContent {
public:
    CReportCtrl();
    ~CReportCtrl() override;
    CReportCtrl(const CReportCtrl&) = delete;
    CReportCtrl& operator=(const CReportCtrl&) = delete;

    // Where WM_ON_CHKBOX and WM_ITEM_EDITED go: (message, wParam, lParam).
    using ParentNotify = std::function<void(unsigned, int, int)>;
    void SetParentNotify(ParentNotify notify) { m_notify = std::move(notify); }

    // --- rows and cells
    int InsertItem(int row, const std::string& text, int image = -1);
    BOOL SetItemText(int row, int column, const std::string& text);
    std::string GetItemText(int row, int column) const;
    BOOL DeleteItem(int row, BOOL selectNext = FALSE);
    int DeleteAllItems(unsigned filter = RVS_ALL);
    int GetItemCount(unsigned filter = RVS_ALL) const;
    BOOL IsValidRow(int row) const { return row >= 0 && row < static_cast<int>(m_rows.size()); }
    BOOL SetItem(const LVITEM& item);
    BOOL GetItem(LVITEM& item) const;
    int GetCellImage(int row, int column) const;
    BOOL EnsureVisible(int row);
    // Repaints the rows; nothing changes.
    void RedrawItems(int first, int last);

    // --- columns
    int InsertColumn(int column, const std::string& heading, int format = LVCFMT_LEFT,
                     int width = -1, int subItem = -1);
    BOOL DeleteColumn(int column);
    int GetColumnCount() const { return static_cast<int>(m_columns.size()); }
    int GetColumnEditAlign(int column) const;
    // Not editable through the in-place editor.
    void SetColumnReadOnly(int column, BOOL readOnly = TRUE);
    void SetRowReadOnly(int row, BOOL readOnly = TRUE);

    // --- colours; -1 (CLR_DEFAULT) stands for the system's window text and window colours
    void SetItemTextColor(int row, int column, COLORREF color, BOOL redraw = TRUE);
    void SetItemBkColor(int row, int column, COLORREF color, BOOL redraw = TRUE);
    COLORREF GetItemTextColor(int row, int column) const;
    COLORREF GetItemBkColor(int row, int column) const;
    // The row's record; nullptr for an invalid row.
    const ReportRowData* GetRowData(int row) const;

    // --- row states
    BOOL SetRowStates(int row, unsigned flags);
    unsigned GetRowStates(int row) const;
    BOOL RowMatchesStates(int row, unsigned filter) const;
    int GetNextMatchingRow(unsigned filter, int after = -1) const;
    int SetAllRowStates(unsigned filter, unsigned flags);
    void SetCheckboxPolicy(int policy) { m_nCheckboxPolicy = policy; }
    int GetCheckboxPolicy() const { return m_nCheckboxPolicy; }
    BOOL GetCheck(int row) const;
    BOOL SetCheck(int row, BOOL checked);
    // The first selected row, -1 when none.
    int GetSelectedRow() const { return GetNextMatchingRow(RVS_SELECTED); }

    // --- styles
    void SetExtendedStyle(unsigned style);
    unsigned GetExtendedStyle() const override { return m_exStyle; }
    void SetStyle(unsigned style);
    unsigned GetStyle() const override { return m_style; }
    BOOL HasColumnHeader() const { return (m_style & LVS_NOCOLUMNHEADER) == 0; }
    // The small images the window draws in cells; the editor makes room for them.
    void SetSmallImageCount(int count) { m_nSmallImages = count; }
    int GetSmallImageCount() const { return m_nSmallImages; }

    // --- in-place editing
    void SetEditable(BOOL editable = TRUE);
    BOOL IsEditable() const { return m_bEditable; }
    BOOL StartEdit(int row, int column);
    BOOL EndEdit(BOOL commit = TRUE);
    BOOL IsEditing() const;
    int GetEditRow() const { return m_nEditRow; }
    int GetEditColumn() const { return m_nEditColumn; }
    // The alignment the editor was made with; the window reads it.
    int GetEditAlign() const { return m_nEditAlign; }
    // What the editor holds; the window writes what the operator types.
    const std::string& GetEditText() const { return m_strEditText; }
    void SetEditText(const std::string& text) { m_strEditText = text; }

    // --- ListContent
    int RowCount() const override { return static_cast<int>(m_rows.size()); }
    int ColumnCount() const override { return GetColumnCount(); }
    ListColumn Column(int column) const override;
    std::string CellText(int row, int column) const override { return GetItemText(row, column); }
    COLORREF CellTextColor(int row, int column) const override;
    COLORREF CellBkColor(int row, int column) const override;
    int CellImage(int row, int column) const override { return GetCellImage(row, column); }
    bool IsRowSelected(int row) const override;
    int CheckState(int row) const override;
    void OnMouse(const ListClick& click) override;
    BOOL PreTranslateKey(ListKey key) override;
    void DefaultKey(ListKey key) override;
    void SetObserver(ListObserver* observer) override { m_observer = observer; }

private:
    struct Row {
        std::vector<std::string> texts;  // at least one: the item's own text
        std::vector<int> images;         // as texts
        bool selected = false;
        bool focused = false;
        bool checked = false;
        ReportRowData data;
    };

    ListObserver& Observer() const { return m_observer ? *m_observer : m_noObserver; }
    void Changed(int first, int last) const { Observer().RowsChanged(first, last); }
    static void SetColor(std::vector<COLORREF>& colors, int column, COLORREF color);
    void RemoveRow(int row);
    void ClearRows();
    bool SetSelected(int row, bool on);
    bool SetFocused(int row, bool on);
    bool ApplyStates(int row, unsigned flags);
    void UncheckAllButFirstChecked(int after);
    bool CheckBoxStep(const ListClick& click, bool wasChecked);
    void DefaultMouse(const ListClick& click);
    void SelectOnly(int row);
    bool IsReadOnlyColumn(int column) const;
    bool IsReadOnlyRow(int row) const;
    void Notify(unsigned message, int wParam, int lParam) const;

    std::vector<unsigned> m_readOnlyColumns;
    std::vector<unsigned> m_readOnlyRows;
    BOOL m_bEditable = FALSE;
    int m_nEditRow = -1;
    int m_nEditColumn = -1;
    int m_nCheckboxPolicy = RC_CHKBOX_NORMAL;
    int m_nEditAlign = ES_LEFT;
    std::string m_strEditText;

    std::vector<ListColumn> m_columns;
    std::vector<Row> m_rows;
    unsigned m_style = kReportStyleForced;
    unsigned m_exStyle = kReportExStyleForced;
    int m_nSmallImages = 0;
    ParentNotify m_notify;
    ListObserver* m_observer = nullptr;
    mutable ListObserver m_noObserver;
};

}  // namespace ui
