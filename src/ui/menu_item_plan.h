#pragma once
// How one item of an image menu is drawn, as a list of painting steps: the 3-D look and the XP
// look, with the measures, the accelerator alignment and the check glyph they use. Kept apart
// from painting so that the looks can be checked without a screen.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/win_types.h"
#include "ui/geometry.h"
#include "ui/menu_look.h"

namespace ui {

// The image-menu switches that drawing reads.
struct MenuLookFlags {
    bool luna = false;
    bool newShell = true;
    bool xp3dImages = true;
    bool highlightDisabled3D = true;
    bool highlightDisabledXP = false;
    bool embossDisabled = false;
    bool hiColorImages = false;
};

struct MenuItemInput {
    Rect rect;
    std::u16string text;  // the accelerator after a tab
    bool separator = false;
    bool checked = false;
    bool selected = false;
    bool disabled = false;
    bool radio = false;  // a dot instead of a tick
    bool hasImage = false;
    bool imageVariants = false;  // the washed, shadow and disabled copies exist
};

enum class MenuImageDraw { Normal, ShadowVariant, Greyed, Embossed, Dithered };

struct MenuPaintOp {
    enum class Kind {
        Fill,
        Outline,
        Edge,    // one-pixel 3-D rectangle: colour top-left, colour2 bottom-right
        Etched,  // etched line along the top of rect
        Image,   // at rect's top-left
        CheckGlyph,
        NarrowCheckGlyph,
        RadioDot,  // a 6 x 6 ellipse filling rect
        Text,
        TextRight,
    };
    Kind kind = Kind::Fill;
    Rect rect;
    COLORREF colour = 0;
    COLORREF colour2 = 0;
    MenuImageDraw image = MenuImageDraw::Normal;
    std::u16string text;
};

struct MenuItemPlan {
    bool selected = false;   // selection after the disabled-item rule of the look
    bool offscreen = false;  // painted through an off-screen context
    std::vector<MenuPaintOp> ops;

    // Copies of the steps of one kind, in order.
    std::vector<MenuPaintOp> All(MenuPaintOp::Kind kind) const;
};

MenuItemPlan PlanMenuItem(MenuLook look, const MenuLookFlags& flags, const MenuItemInput& item);

// The text before the last tab, and the text after it when there is a tab.
std::pair<std::u16string, std::optional<std::u16string>> SplitAtLastTab(std::u16string_view text);

struct MenuItemSize {
    int width = 0;
    int height = 0;
};
MenuItemSize MeasureMenuItem(MenuLook look, bool xp3dImages, bool separator, int textWidth,
                             int menuLineHeight);

// Pads the part before the first tab of every tabbed text with blanks until it is at least as
// wide as the widest such part of the menu plus a blank, so that accelerators line up.
void AlignAccelerators(std::vector<std::u16string>& texts,
                       const std::function<int(std::u16string_view)>& measure);

// The pixels of the check glyph with its top-left corner at (x, y).
std::vector<std::pair<int, int>> CheckGlyphPixels(int x, int y, bool narrow);

}  // namespace ui
