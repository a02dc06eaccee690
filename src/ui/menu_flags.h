#pragma once
// Menu item flags with the Windows values that image menus store in their item records.

namespace ui {

constexpr unsigned MF_STRING = 0x0000;
constexpr unsigned MF_GRAYED = 0x0001;
constexpr unsigned MF_DISABLED = 0x0002;
constexpr unsigned MF_CHECKED = 0x0008;
constexpr unsigned MF_POPUP = 0x0010;
constexpr unsigned MF_END = 0x0080;
constexpr unsigned MF_OWNERDRAW = 0x0100;
constexpr unsigned MF_BYPOSITION = 0x0400;
constexpr unsigned MF_SEPARATOR = 0x0800;
// What GetMenuState answers for an id that the menu does not hold.
constexpr unsigned kNoMenuItem = 0xFFFFFFFF;

}  // namespace ui
