#pragma once
// The state an update handler gives a menu entry: enabled, and checked when the handler says so.

#include <optional>

#include "platform/win_types.h"

struct CCmdUI {
    explicit CCmdUI(unsigned id) : m_nID(id) {}

    void Enable(BOOL enable = TRUE) { m_bEnabled = enable != FALSE; }
    void SetCheck(int check = 1) { m_checked = check != 0; }

    unsigned m_nID;
    bool m_bEnabled = true;
    std::optional<bool> m_checked;
};
