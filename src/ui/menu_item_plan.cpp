#include "ui/menu_item_plan.h"

#include <algorithm>

#include "ui/image_list.h"
#include "ui/system_colors.h"

namespace ui {

namespace {
using Kind = MenuPaintOp::Kind;

constexpr int kImageW = kMenuImageWidth;
constexpr int kImageH = kMenuImageHeight;

class Ops {
public:
    explicit Ops(std::vector<MenuPaintOp>& ops) : m_ops(ops) {}
    void Fill(const Rect& r, COLORREF c) { Add(Kind::Fill, r, c); }
    void Outline(const Rect& r, COLORREF c) { Add(Kind::Outline, r, c); }
    void Edge(const Rect& r, COLORREF topLeft, COLORREF bottomRight) {
        Add(Kind::Edge, r, topLeft).colour2 = bottomRight;
    }
    void Etched(const Rect& r) { Add(Kind::Etched, r, 0); }
    // `background` is what an embossed or dithered image is raised on.
    void Image(int x, int y, MenuImageDraw how, COLORREF background) {
        Add(Kind::Image, {x, y, x + kImageW, y + kImageH}, background).image = how;
    }
    void Glyph(Kind kind, const Rect& r, COLORREF c) { Add(kind, r, c); }
    void Text(const Rect& r, COLORREF c, const std::u16string& left,
              const std::optional<std::u16string>& right) {
        Add(Kind::Text, r, c).text = left;
        if (right)
            Add(Kind::TextRight, r, c).text = *right;
    }

private:
    MenuPaintOp& Add(Kind kind, const Rect& r, COLORREF c) {
        MenuPaintOp& op = m_ops.emplace_back();
        op.kind = kind;
        op.rect = r;
        op.colour = c;
        return op;
    }
    std::vector<MenuPaintOp>& m_ops;
};

MenuImageDraw DisabledImage(MenuLook look, const MenuLookFlags& flags) {
    if (flags.embossDisabled)
        return MenuImageDraw::Embossed;
    if (look == MenuLook::ThreeD && flags.hiColorImages)
        return MenuImageDraw::Greyed;
    return MenuImageDraw::Dithered;
}

MenuItemPlan PlanThreeD(const MenuLookFlags& flags, const MenuItemInput& item) {
    MenuItemPlan plan;
    Ops ops(plan.ops);
    const Rect& r = item.rect;
    const COLORREF bg = GetSysColor(flags.luna ? COLOR_3DFACE : COLOR_MENU);
    plan.selected = item.selected && (!item.disabled || flags.highlightDisabled3D);
    if (item.separator) {
        ops.Fill(r, bg);
        const int y = r.top + r.Height() / 2;
        ops.Etched({r.left, y, r.right, y + 2});
        return plan;
    }
    ops.Fill(r, bg);
    COLORREF textColour = GetSysColor(COLOR_MENUTEXT);
    if (plan.selected) {
        const int x0 = item.hasImage || item.checked ? r.left + kImageW + 5 : r.left;
        ops.Fill({x0, r.top, r.right, r.bottom}, GetSysColor(COLOR_HIGHLIGHT));
        textColour = GetSysColor(COLOR_HIGHLIGHTTEXT);
    }
    const int dy = std::max(0, (r.Height() - kImageH - 4) / 2);
    const Rect frame{r.left + 1, r.top + dy + 1, r.left + 1 + 18, r.top + dy + 1 + 17};
    const COLORREF shadow = GetSysColor(COLOR_3DSHADOW);
    const COLORREF hilight = GetSysColor(COLOR_3DHILIGHT);
    if (item.hasImage) {
        ops.Outline(frame, bg);
        if (item.checked) {
            if (!plan.selected)
                ops.Fill(frame, LightenColor(bg, 0.6));
            if (flags.newShell)
                ops.Edge(frame, shadow, hilight);
        } else if (plan.selected && !item.disabled && flags.newShell) {
            ops.Edge(frame, hilight, shadow);
        }
        ops.Image(r.left + 2, r.top + dy + 2,
                  item.disabled ? DisabledImage(MenuLook::ThreeD, flags) : MenuImageDraw::Normal,
                  bg);
    } else if (item.checked) {
        const Rect box{r.left + 2, r.top + dy + 2, r.left + 2 + kImageW, r.top + dy + 2 + kImageH};
        ops.Fill(box, plan.selected ? bg : LightenColor(bg, 0.6));
        if (flags.newShell)
            ops.Edge(box, shadow, hilight);
        const COLORREF mark = GetSysColor(COLOR_MENUTEXT);
        if (item.radio)
            ops.Glyph(Kind::RadioDot, {box.left + 5, box.top + 4, box.left + 11, box.top + 10},
                      mark);
        else
            ops.Glyph(Kind::CheckGlyph, {box.left + 4, box.top + 4, box.left + 11, box.top + 11},
                      mark);
    }
    const auto [left, right] = SplitAtLastTab(item.text);
    const Rect textRect{r.left + kImageW + 9, r.top, right ? r.right - kImageW : r.right, r.bottom};
    if (item.disabled && !plan.selected) {
        ops.Text(textRect.Offset(1, 1), hilight, left, right);
        ops.Text(textRect, GetSysColor(COLOR_GRAYTEXT), left, right);
    } else if (item.disabled) {
        ops.Text(textRect, bg, left, right);
    } else {
        ops.Text(textRect, textColour, left, right);
    }
    return plan;
}

MenuItemPlan PlanXP(const MenuLookFlags& flags, const MenuItemInput& item) {
    MenuItemPlan plan;
    Ops ops(plan.ops);
    const Rect& r = item.rect;
    const COLORREF body = DarkenColor(GetSysColor(COLOR_WINDOW), 0.02);
    const COLORREF face = GetSysColor(COLOR_3DFACE);
    const COLORREF band = flags.luna ? face : LightenColor(face, 0.25);
    const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
    const COLORREF selection = LightenColor(highlight, flags.luna ? 0.7 : 0.85);
    const int margin = flags.xp3dImages ? 7 : 4;
    const int bandWidth = kImageW + margin;
    const Rect bandRect{r.left, r.top, r.left + bandWidth, r.bottom};
    const Rect bodyRect{r.left + bandWidth, r.top, r.right, r.bottom};
    plan.selected = item.selected && (!item.disabled || flags.highlightDisabledXP);
    plan.offscreen = item.disabled && !flags.highlightDisabledXP;
    if (item.separator) {
        ops.Fill(bandRect, band);
        ops.Fill(bodyRect, body);
        const int y = r.top + r.Height() / 2;
        ops.Etched({bodyRect.left, y, bodyRect.right, y + 2});
        return plan;
    }
    if (plan.selected) {
        ops.Fill(r, selection);
    } else {
        ops.Fill(bandRect, band);
        ops.Fill(bodyRect, body);
    }
    const int imageX = r.left + (bandWidth - kImageW) / 2;
    const int imageY = r.top + (r.Height() - kImageH) / 2;
    const Rect box{imageX - 2, imageY - 2, imageX + kImageW + 2, imageY + kImageH + 2};
    const COLORREF boxColour = LightenColor(highlight, plan.selected ? 0.55 : 0.85);
    if (item.hasImage) {
        if (item.checked)
            ops.Fill(box, boxColour);
        if (item.disabled) {
            ops.Image(imageX, imageY, DisabledImage(MenuLook::XP, flags), band);
        } else if (flags.xp3dImages && item.imageVariants && plan.selected && !item.checked) {
            ops.Image(imageX + 1, imageY + 1, MenuImageDraw::ShadowVariant, band);
            ops.Image(imageX - 1, imageY - 1, MenuImageDraw::Normal, band);
        } else {
            ops.Image(imageX, imageY, MenuImageDraw::Normal, band);
        }
    } else if (item.checked) {
        ops.Fill(box, boxColour);
        ops.Outline(box, highlight);
        const int ox = std::max(0, box.Width() / 2 - 3);
        const int oy = std::max(0, box.Height() / 2 - 3);
        const int x = box.left + ox;
        const int y = box.top + oy;
        const COLORREF mark = GetSysColor(COLOR_MENUTEXT);
        if (item.radio)
            ops.Glyph(Kind::RadioDot, {x, y, x + 6, y + 6}, mark);
        else
            ops.Glyph(Kind::NarrowCheckGlyph, {x, y, x + 7, y + 6}, mark);
    }
    const auto [left, right] = SplitAtLastTab(item.text);
    const Rect textRect{r.left + kImageW + margin + 8, r.top, right ? r.right - kImageW : r.right,
                        r.bottom};
    COLORREF textColour = GetSysColor(COLOR_MENUTEXT);
    if (item.disabled) {
        const COLORREF grey = GetSysColor(COLOR_GRAYTEXT);
        textColour = flags.luna || plan.selected ? grey : LightenColor(grey, 0.4);
    }
    ops.Text(textRect, textColour, left, right);
    return plan;
}
}  // namespace

std::vector<MenuPaintOp> MenuItemPlan::All(MenuPaintOp::Kind kind) const {
    std::vector<MenuPaintOp> found;
    for (const MenuPaintOp& op : ops)
        if (op.kind == kind)
            found.push_back(op);
    return found;
}

MenuItemPlan PlanMenuItem(MenuLook look, const MenuLookFlags& flags, const MenuItemInput& item) {
    return look == MenuLook::XP ? PlanXP(flags, item) : PlanThreeD(flags, item);
}

std::pair<std::u16string, std::optional<std::u16string>> SplitAtLastTab(std::u16string_view text) {
    const size_t tab = text.rfind(u'\t');
    if (tab == std::u16string_view::npos)
        return {std::u16string(text), std::nullopt};
    return {std::u16string(text.substr(0, tab)), std::u16string(text.substr(tab + 1))};
}

MenuItemSize MeasureMenuItem(MenuLook look, bool xp3dImages, bool separator, int textWidth,
                             int menuLineHeight) {
    const bool xp = look == MenuLook::XP;
    const int margin = xp && xp3dImages ? 7 : 4;
    if (separator)
        return {0, xp ? 3 : std::max(menuLineHeight / 2, (kImageH + margin) / 2)};
    const int width = xp ? kImageW + textWidth + margin + 8 : textWidth + 2 * kImageW + 1;
    return {width, std::max(menuLineHeight, kImageH + margin)};
}

void AlignAccelerators(std::vector<std::u16string>& texts,
                       const std::function<int(std::u16string_view)>& measure) {
    int widest = 0;
    for (const std::u16string& text : texts) {
        const std::u16string before = text.substr(0, text.find(u'\t'));
        widest = std::max(widest, measure(before + u" "));
    }
    for (std::u16string& text : texts) {
        const size_t tab = text.find(u'\t');
        if (tab == std::u16string::npos)
            continue;
        std::u16string before = text.substr(0, tab);
        // A measure that never grows must not hang the menu.
        for (int blanks = 0; measure(before) < widest && blanks < 256; ++blanks)
            before += u' ';
        text = before + text.substr(tab);
    }
}

std::vector<std::pair<int, int>> CheckGlyphPixels(int x, int y, bool narrow) {
    static constexpr int kTop[7] = {2, 3, 4, 3, 2, 1, 0};
    const int length = narrow ? 2 : 3;
    std::vector<std::pair<int, int>> pixels;
    for (int column = 0; column < 7; ++column)
        for (int k = 0; k < length; ++k)
            pixels.emplace_back(x + column, y + kTop[column] + k);
    return pixels;
}

}  // namespace ui
