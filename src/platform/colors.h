#pragma once
// Windows colour values (0x00BBGGRR) at the Qt edge.

#include <QColor>

#include "platform/win_types.h"

namespace platform {

inline QColor ToQColor(COLORREF c) {
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}
inline COLORREF FromQColor(const QColor& c) {
    return RGB(c.red(), c.green(), c.blue());
}

}  // namespace platform
