#include "ui/menu_look.h"

#include <QCoreApplication>
#include <QSettings>

#include "platform/qt_text.h"
#include "platform/text.h"

namespace ui {

namespace {
int Lighten(int c, double factor) {
    return static_cast<int>(c + (255 - c) * factor);
}
int Darken(int c, double factor) {
    return static_cast<int>(c - c * factor);
}
bool ValidFactor(double factor) {
    return factor > 0.0 && factor <= 1.0;
}
}  // namespace

COLORREF LightenColor(COLORREF colour, double factor) {
    if (!ValidFactor(factor))
        return colour;
    return RGB(Lighten(GetRValue(colour), factor), Lighten(GetGValue(colour), factor),
               Lighten(GetBValue(colour), factor));
}

COLORREF DarkenColor(COLORREF colour, double factor) {
    if (!ValidFactor(factor))
        return colour;
    return RGB(Darken(GetRValue(colour), factor), Darken(GetGValue(colour), factor),
               Darken(GetBValue(colour), factor));
}

int WinVersionClass(bool ntFamily, int major, int minor) {
    if (!ntFamily) {
        if (major < 4)
            return 0;
        if (major == 4 && minor == 10)
            return 3;
        if (major == 4 && minor == 90)
            return 4;
        return 2;
    }
    if (major == 4)
        return 5;
    if (major == 5 && minor == 0)
        return 6;
    if (major == 5 && minor == 1)
        return 7;
    return 1;
}

bool IsClassicThemeName(std::string_view themeFile) {
    return platform::EndsWith(platform::ToLower(themeFile), "windows classic.theme");
}

std::optional<std::string> ReadThemeSetting() {
    if (!QCoreApplication::instance())
        return std::nullopt;
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, "kx9monitor", "kx9monitor");
    const QVariant value = settings.value(kThemeSettingKey);
    if (!value.isValid())
        return std::nullopt;
    return platform::FromQt(value.toString());
}

MenuLook ChooseMenuLook(bool paletteDisplay, bool xpLook) {
    return !paletteDisplay && xpLook ? MenuLook::XP : MenuLook::ThreeD;
}

}  // namespace ui
