#pragma once
// Windows system colours by their indexes, read from the desktop palette at drawing time so that
// the owner-drawn parts follow the user's colour scheme.

#include "platform/win_types.h"

namespace ui {

enum SysColorIndex : int {
    COLOR_MENU = 4,
    COLOR_WINDOW = 5,
    COLOR_MENUTEXT = 7,
    COLOR_WINDOWTEXT = 8,
    COLOR_HIGHLIGHT = 13,
    COLOR_HIGHLIGHTTEXT = 14,
    COLOR_3DFACE = 15,
    COLOR_BTNFACE = 15,
    COLOR_3DSHADOW = 16,
    COLOR_GRAYTEXT = 17,
    COLOR_BTNTEXT = 18,
    COLOR_3DHILIGHT = 20,
    COLOR_3DDKSHADOW = 21,
    COLOR_3DLIGHT = 22,
};

// The colour of the index; the classic Windows scheme when no application runs.
COLORREF GetSysColor(int index);

// Height of one menu line (SM_CYMENU).
int MenuLineHeight();

}  // namespace ui
