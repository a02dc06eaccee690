#include "ui/system_colors.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPalette>
#include <algorithm>

#include "platform/colors.h"

namespace ui {

namespace {
COLORREF Classic(int index) {
    switch (index) {
        case COLOR_WINDOW:
        case COLOR_HIGHLIGHTTEXT:
        case COLOR_3DHILIGHT:
            return RGB(255, 255, 255);
        case COLOR_MENUTEXT:
        case COLOR_WINDOWTEXT:
        case COLOR_BTNTEXT:
            return RGB(0, 0, 0);
        case COLOR_HIGHLIGHT:
            return RGB(10, 36, 106);
        case COLOR_3DSHADOW:
        case COLOR_GRAYTEXT:
            return RGB(128, 128, 128);
        case COLOR_3DDKSHADOW:
            return RGB(64, 64, 64);
        default:
            return RGB(212, 208, 200);
    }
}
}  // namespace

COLORREF GetSysColor(int index) {
    if (!qApp)
        return Classic(index);
    const QPalette palette = QGuiApplication::palette();
    auto from = [&](QPalette::ColorRole role, QPalette::ColorGroup group = QPalette::Active) {
        return platform::FromQColor(palette.color(group, role));
    };
    switch (index) {
        case COLOR_MENU:
            return from(QPalette::Window);
        case COLOR_3DFACE:
            return from(QPalette::Button);
        case COLOR_WINDOW:
            return from(QPalette::Base);
        case COLOR_MENUTEXT:
            return from(QPalette::WindowText);
        case COLOR_WINDOWTEXT:
            return from(QPalette::Text);
        case COLOR_HIGHLIGHT:
            return from(QPalette::Highlight);
        case COLOR_HIGHLIGHTTEXT:
            return from(QPalette::HighlightedText);
        case COLOR_3DSHADOW:
            return from(QPalette::Dark);
        case COLOR_GRAYTEXT:
            return from(QPalette::WindowText, QPalette::Disabled);
        case COLOR_BTNTEXT:
            return from(QPalette::ButtonText);
        case COLOR_3DHILIGHT:
            return from(QPalette::Light);
        case COLOR_3DDKSHADOW:
            return from(QPalette::Shadow);
        case COLOR_3DLIGHT:
            return from(QPalette::Midlight);
        default:
            return Classic(index);
    }
}

int MenuLineHeight() {
    if (!qApp)
        return 19;
    return std::max(19, QFontMetrics(QApplication::font("QMenu")).height() + 6);
}

}  // namespace ui
