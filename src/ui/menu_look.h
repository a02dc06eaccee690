#pragma once
// What decides how image menus look: colour arithmetic, the Windows version classes, the
// classic-theme setting and the choice between the 3-D and the XP look.

#include <optional>
#include <string>
#include <string_view>

#include "platform/win_types.h"

namespace ui {

// Each of red, green and blue moved toward white (c + (255 - c) x factor) or toward black
// (c - c x factor), truncated; the colour is unchanged unless 0 < factor <= 1.
COLORREF LightenColor(COLORREF colour, double factor);
COLORREF DarkenColor(COLORREF colour, double factor);

// The version class of a Windows release: 0 old 9x, 2 other 9x, 3 98, 4 Me, 5 NT 4, 6 2000,
// 7 XP, 1 later NT.
int WinVersionClass(bool ntFamily, int major, int minor);

// Whether a theme file name ends, in any letter case, with "Windows Classic.theme".
bool IsClassicThemeName(std::string_view themeFile);

// The per-user setting that stands where Windows keeps the current theme: the key
// "Themes/Current" of the program's user settings file (kx9monitor/kx9monitor.ini in the
// user's configuration folder). Empty when it is not set.
constexpr const char* kThemeSettingKey = "Themes/Current";
std::optional<std::string> ReadThemeSetting();

enum class MenuLook { ThreeD, XP };
// A palette-based display always gets the 3-D look.
MenuLook ChooseMenuLook(bool paletteDisplay, bool xpLook);

}  // namespace ui
