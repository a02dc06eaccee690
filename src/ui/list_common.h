#pragma once
// What the program's list controls share: column records, the Windows list constants callers
// pass, the clicks and keys a list window hands to its list, and the interface through which a
// list window reads a list and hears about its changes.

#include <cstdint>
#include <string>

#include "platform/win_types.h"

namespace ui {

// Column alignment (LVCFMT_*), as in a header item.
constexpr int LVCFMT_LEFT = 0;
constexpr int LVCFMT_RIGHT = 1;
constexpr int LVCFMT_CENTER = 2;
constexpr int LVCFMT_JUSTIFYMASK = 3;

// Edit-box alignment (ES_*).
constexpr int ES_LEFT = 0;
constexpr int ES_CENTER = 1;
constexpr int ES_RIGHT = 2;

// Extended list styles (LVS_EX_*).
constexpr unsigned LVS_EX_GRIDLINES = 0x01;
constexpr unsigned LVS_EX_SUBITEMIMAGES = 0x02;
constexpr unsigned LVS_EX_CHECKBOXES = 0x04;
constexpr unsigned LVS_EX_FULLROWSELECT = 0x20;
constexpr unsigned LVS_EX_ONECLICKACTIVATE = 0x40;
constexpr unsigned LVS_EX_UNDERLINEHOT = 0x800;

// List window styles (LVS_*).
constexpr unsigned LVS_SINGLESEL = 0x0004;
constexpr unsigned LVS_SHOWSELALWAYS = 0x0008;
constexpr unsigned LVS_NOCOLUMNHEADER = 0x4000;

// Item fields and states (LVIF_*, LVIS_*).
constexpr unsigned LVIF_TEXT = 0x01;
constexpr unsigned LVIF_IMAGE = 0x02;
constexpr unsigned LVIF_PARAM = 0x04;
constexpr unsigned LVIF_STATE = 0x08;
constexpr unsigned LVIS_FOCUSED = 0x01;
constexpr unsigned LVIS_SELECTED = 0x02;
// The check box lives in the state image: index 1 unchecked, 2 checked.
constexpr unsigned LVIS_STATEIMAGEMASK = 0xF000;
constexpr unsigned IndexToStateImageMask(unsigned index) {
    return index << 12;
}

// Mouse messages, as a list reports them to its parent.
constexpr unsigned WM_LBUTTONDOWN = 0x0201;
constexpr unsigned WM_LBUTTONDBLCLK = 0x0203;
constexpr unsigned WM_RBUTTONDOWN = 0x0204;
constexpr unsigned WM_RBUTTONDBLCLK = 0x0206;
constexpr unsigned WM_MBUTTONDOWN = 0x0207;
constexpr unsigned WM_MBUTTONDBLCLK = 0x0209;

// The colour that means "the system's colour for this".
constexpr COLORREF CLR_DEFAULT = 0xFFFFFFFF;

struct ListColumn {
    std::string heading;
    int format = LVCFMT_LEFT;
    int width = 100;
};

// One list item as callers read and write it (LVITEM).
struct LVITEM {
    unsigned mask = 0;
    int iItem = 0;
    int iSubItem = 0;
    unsigned state = 0;
    unsigned stateMask = 0;
    std::string text;
    int iImage = -1;
    std::uint32_t lParam = 0;
};

enum class MouseButton { Left, Right, Middle };

// A click as the list window saw it: the cell under the pointer (row -1 below the last row)
// and whether it hit the row's check box.
struct ListClick {
    MouseButton button = MouseButton::Left;
    bool doubleClick = false;
    int row = -1;
    int column = -1;
    bool onCheckBox = false;

    unsigned Message() const;
};

enum class ListKey { Tab, Enter, Escape, Up, Down, Space, Other };

// What a list window hears from its list. The begin and end calls bracket a change of the
// rows or the columns; the others come after their change.
class ListObserver {
public:
    virtual ~ListObserver() = default;
    virtual void BeginInsertRows(int /*first*/, int /*last*/) {}
    virtual void EndInsertRows() {}
    virtual void BeginRemoveRows(int /*first*/, int /*last*/) {}
    virtual void EndRemoveRows() {}
    virtual void BeginReset() {}
    virtual void EndReset() {}
    // Texts, colours, images or states of the rows first..last changed; -1, -1: any row.
    virtual void RowsChanged(int /*first*/, int /*last*/) {}
    virtual void EnsureVisible(int /*row*/) {}
    virtual void EditorOpened() {}
    virtual void EditorClosed() {}
    // The list is going away; the window must not read it any more.
    virtual void ListDestroyed() {}
};

// What a list window shows and where it sends the operator's clicks and keys.
class ListContent {
public:
    virtual ~ListContent() = default;

    virtual int RowCount() const = 0;
    virtual int ColumnCount() const = 0;
    virtual ListColumn Column(int column) const = 0;
    virtual std::string CellText(int row, int column) const = 0;
    // CLR_DEFAULT: the system's colour.
    virtual COLORREF CellTextColor(int /*row*/, int /*column*/) const { return CLR_DEFAULT; }
    virtual COLORREF CellBkColor(int /*row*/, int /*column*/) const { return CLR_DEFAULT; }
    virtual int CellImage(int /*row*/, int /*column*/) const { return -1; }
    virtual bool IsRowSelected(int row) const = 0;
    // -1 when the list shows no check boxes, else 0 or 1.
    virtual int CheckState(int /*row*/) const { return -1; }
    virtual unsigned GetExtendedStyle() const = 0;
    virtual unsigned GetStyle() const = 0;

    virtual void OnMouse(const ListClick& click) = 0;
    // TRUE when the key is used up; FALSE lets the window handle it the normal way.
    virtual BOOL PreTranslateKey(ListKey key) = 0;
    // The normal handling of a key the list did not use: Up and Down move the selection.
    virtual void DefaultKey(ListKey key) = 0;

    // One observer at a time (the window); nullptr detaches it.
    virtual void SetObserver(ListObserver* observer) = 0;
};

}  // namespace ui
