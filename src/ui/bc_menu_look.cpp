// The look decisions that every image menu shares.
#include <optional>

#include "ui/bc_menu.h"
#include "ui/menu_look.h"

namespace ui {

namespace {
std::optional<bool> g_classicTheme;
}  // namespace

int BCMenu::GetWinVersion() {
    static const int version = WinVersionClass(true, 5, 1);
    return version;
}

BOOL BCMenu::IsClassicTheme() {
    if (!g_classicTheme) {
        const std::optional<std::string> theme = ReadThemeSetting();
        g_classicTheme = theme && IsClassicThemeName(*theme);
    }
    return *g_classicTheme ? TRUE : FALSE;
}

void BCMenu::ResetThemeTest() {
    g_classicTheme.reset();
}

BOOL BCMenu::IsLunaTheme() {
    return GetWinVersion() == 7 && !IsClassicTheme();
}

BOOL BCMenu::IsXPLook() {
    return (IsLunaTheme() ? s_nLunaLookMode : s_nOtherLookMode) == 1;
}

BOOL BCMenu::IsNewShell() {
    return GetWinVersion() >= 2;
}

COLORREF BCMenu::LightenColor(COLORREF colour, double factor) {
    return ui::LightenColor(colour, factor);
}

COLORREF BCMenu::DarkenColor(COLORREF colour, double factor) {
    return ui::DarkenColor(colour, factor);
}

MenuLookFlags BCMenu::LookFlags() {
    MenuLookFlags flags;
    flags.luna = IsLunaTheme();
    flags.newShell = IsNewShell();
    flags.xp3dImages = s_bXP3dImages;
    flags.highlightDisabled3D = s_bHighlightDisabled3D;
    flags.highlightDisabledXP = s_bHighlightDisabledXP;
    flags.hiColorImages = s_bHiColorImages;
    return flags;
}

}  // namespace ui
