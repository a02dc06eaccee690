#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>

#include "platform/colors.h"
#include "ui/image_list.h"
#include "ui/menu_image_variants.h"
#include "ui/menu_item_plan.h"
#include "ui/system_colors.h"

using namespace ui;
using Kind = MenuPaintOp::Kind;

namespace {
MenuItemInput Item(std::u16string text) {
    MenuItemInput item;
    item.rect = {0, 0, 200, 22};
    item.text = std::move(text);
    return item;
}

bool Fills(const MenuItemPlan& plan, COLORREF colour) {
    const auto fills = plan.All(Kind::Fill);
    return std::any_of(fills.begin(), fills.end(),
                       [colour](const MenuPaintOp& op) { return op.colour == colour; });
}

MenuLookFlags Classic() {
    MenuLookFlags flags;
    flags.luna = false;
    return flags;
}
}  // namespace

TEST(MenuDrawingTest, PaletteDisplaysAlwaysGetTheThreeDLook) {
    EXPECT_EQ(ChooseMenuLook(true, true), MenuLook::ThreeD);
    EXPECT_EQ(ChooseMenuLook(false, true), MenuLook::XP);
    EXPECT_EQ(ChooseMenuLook(false, false), MenuLook::ThreeD);
}

TEST(MenuDrawingTest, DisabledItemNeverShowsTheXPSelectionButDoesInTheThreeDLook) {
    MenuItemInput item = Item(u"Aggiornamento firmware");
    item.selected = true;
    item.disabled = true;

    const MenuItemPlan xp = PlanMenuItem(MenuLook::XP, Classic(), item);
    EXPECT_FALSE(xp.selected);
    EXPECT_TRUE(xp.offscreen);
    EXPECT_FALSE(Fills(xp, LightenColor(GetSysColor(COLOR_HIGHLIGHT), 0.85)));
    ASSERT_EQ(xp.All(Kind::Text).size(), 1u);
    EXPECT_EQ(xp.All(Kind::Text)[0].colour, LightenColor(GetSysColor(COLOR_GRAYTEXT), 0.4));

    const MenuItemPlan threeD = PlanMenuItem(MenuLook::ThreeD, Classic(), item);
    EXPECT_TRUE(threeD.selected);
    EXPECT_TRUE(Fills(threeD, GetSysColor(COLOR_HIGHLIGHT)));
    const auto texts = threeD.All(Kind::Text);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].colour, GetSysColor(COLOR_MENU));  // the background colour

    item.selected = false;
    const MenuItemPlan idle = PlanMenuItem(MenuLook::ThreeD, Classic(), item);
    const auto twice = idle.All(Kind::Text);
    ASSERT_EQ(twice.size(), 2u);
    EXPECT_EQ(twice[0].colour, GetSysColor(COLOR_3DHILIGHT));
    EXPECT_EQ(twice[0].rect, twice[1].rect.Offset(1, 1));
    EXPECT_EQ(twice[1].colour, GetSysColor(COLOR_GRAYTEXT));
}

TEST(MenuDrawingTest, OnlyATabbedTextHasARightAlignedPart) {
    for (MenuLook look : {MenuLook::ThreeD, MenuLook::XP}) {
        const MenuItemPlan plain = PlanMenuItem(look, Classic(), Item(u"Esci"));
        EXPECT_TRUE(plain.All(Kind::TextRight).empty());
        EXPECT_EQ(plain.All(Kind::Text)[0].rect.right, 200);

        const MenuItemPlan tabbed = PlanMenuItem(look, Classic(), Item(u"Apri\tCtrl+O"));
        ASSERT_EQ(tabbed.All(Kind::TextRight).size(), 1u);
        EXPECT_EQ(tabbed.All(Kind::TextRight)[0].text, u"Ctrl+O");
        EXPECT_EQ(tabbed.All(Kind::Text)[0].text, u"Apri");
        EXPECT_EQ(tabbed.All(Kind::Text)[0].rect.right, 200 - 16);
    }
    const auto [left, right] = SplitAtLastTab(u"a\tb\tc");
    EXPECT_EQ(left, u"a\tb");
    EXPECT_EQ(right, u"c");
}

TEST(MenuDrawingTest, TextColumnsStartWhereEachLookPutsThem) {
    MenuLookFlags flags = Classic();
    EXPECT_EQ(PlanMenuItem(MenuLook::ThreeD, flags, Item(u"x")).All(Kind::Text)[0].rect.left, 25);
    EXPECT_EQ(PlanMenuItem(MenuLook::XP, flags, Item(u"x")).All(Kind::Text)[0].rect.left,
              16 + 7 + 8);
    flags.xp3dImages = false;
    EXPECT_EQ(PlanMenuItem(MenuLook::XP, flags, Item(u"x")).All(Kind::Text)[0].rect.left,
              16 + 4 + 8);
}

TEST(MenuDrawingTest, SelectedImageWithCopiesIsRaisedOverItsShadowInTheXPLook) {
    MenuItemInput item = Item(u"Apri");
    item.hasImage = true;
    item.imageVariants = true;
    item.selected = true;
    const auto images = PlanMenuItem(MenuLook::XP, Classic(), item).All(Kind::Image);
    ASSERT_EQ(images.size(), 2u);
    EXPECT_EQ(images[0].image, MenuImageDraw::ShadowVariant);
    EXPECT_EQ(images[1].image, MenuImageDraw::Normal);
    EXPECT_EQ(images[0].rect.left - images[1].rect.left, 2);
    EXPECT_EQ(images[0].rect.top - images[1].rect.top, 2);

    item.imageVariants = false;
    EXPECT_EQ(PlanMenuItem(MenuLook::XP, Classic(), item).All(Kind::Image).size(), 1u);

    // Disabled images: dithered, greyed once full-colour images are loaded, embossed on request.
    item.disabled = true;
    MenuLookFlags flags = Classic();
    EXPECT_EQ(PlanMenuItem(MenuLook::ThreeD, flags, item).All(Kind::Image)[0].image,
              MenuImageDraw::Dithered);
    flags.hiColorImages = true;
    EXPECT_EQ(PlanMenuItem(MenuLook::ThreeD, flags, item).All(Kind::Image)[0].image,
              MenuImageDraw::Greyed);
    EXPECT_EQ(PlanMenuItem(MenuLook::XP, flags, item).All(Kind::Image)[0].image,
              MenuImageDraw::Dithered);
    flags.embossDisabled = true;
    EXPECT_EQ(PlanMenuItem(MenuLook::XP, flags, item).All(Kind::Image)[0].image,
              MenuImageDraw::Embossed);
}

TEST(MenuDrawingTest, CheckMarksWithoutImages) {
    MenuItemInput item = Item(u"Cross reference");
    item.checked = true;
    const MenuItemPlan xp = PlanMenuItem(MenuLook::XP, Classic(), item);
    ASSERT_EQ(xp.All(Kind::NarrowCheckGlyph).size(), 1u);
    ASSERT_EQ(xp.All(Kind::Outline).size(), 1u);
    const Rect box = xp.All(Kind::Outline)[0].rect;
    EXPECT_EQ(xp.All(Kind::Outline)[0].colour, GetSysColor(COLOR_HIGHLIGHT));
    const Rect glyph = xp.All(Kind::NarrowCheckGlyph)[0].rect;
    EXPECT_EQ(glyph.left - box.left, box.Width() / 2 - 3);
    EXPECT_EQ(glyph.top - box.top, box.Height() / 2 - 3);

    item.radio = true;
    const MenuItemPlan threeD = PlanMenuItem(MenuLook::ThreeD, Classic(), item);
    ASSERT_EQ(threeD.All(Kind::RadioDot).size(), 1u);
    const Rect dot = threeD.All(Kind::RadioDot)[0].rect;
    EXPECT_EQ(dot.Width(), 6);
    EXPECT_EQ(dot.left, 2 + 5);
    // Not selected: the box is the background lightened by 0.6, with a sunken edge.
    EXPECT_TRUE(Fills(threeD, LightenColor(GetSysColor(COLOR_MENU), 0.6)));
    ASSERT_EQ(threeD.All(Kind::Edge).size(), 1u);
    EXPECT_EQ(threeD.All(Kind::Edge)[0].colour, GetSysColor(COLOR_3DSHADOW));
}

TEST(MenuDrawingTest, CheckGlyphIsSevenColumnsDippingInTheThird) {
    const auto wide = CheckGlyphPixels(10, 20, false);
    const auto narrow = CheckGlyphPixels(10, 20, true);
    EXPECT_EQ(wide.size(), 21u);
    EXPECT_EQ(narrow.size(), 14u);
    const auto lowest = std::max_element(wide.begin(), wide.end(),
                                         [](auto a, auto b) { return a.second < b.second; });
    EXPECT_EQ(*lowest, std::make_pair(12, 26));
    EXPECT_EQ(wide.front(), std::make_pair(10, 22));
}

TEST(MenuDrawingTest, ItemMeasuresFollowTheLook) {
    const MenuItemSize xp = MeasureMenuItem(MenuLook::XP, true, false, 100, 19);
    EXPECT_EQ(xp.width, 16 + 100 + 7 + 8);
    EXPECT_EQ(xp.height, 22);
    EXPECT_EQ(MeasureMenuItem(MenuLook::XP, false, false, 100, 19).height, 19);
    EXPECT_EQ(MeasureMenuItem(MenuLook::ThreeD, true, false, 100, 19).width, 100 + 33);
    EXPECT_EQ(MeasureMenuItem(MenuLook::XP, true, true, 100, 19).height, 3);
    EXPECT_EQ(MeasureMenuItem(MenuLook::ThreeD, true, true, 100, 19).height, 9);
}

TEST(MenuDrawingTest, ImageCopiesRecolourOnlyTheImagePixels) {
    QImage image(kMenuImageWidth, kMenuImageHeight, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    image.setPixelColor(5, 5, QColor(255, 0, 0));

    const QImage washed = MakeWashedImage(image);
    EXPECT_EQ(washed.pixelColor(5, 5), QColor(255, 76, 76));
    EXPECT_EQ(washed.pixelColor(1, 1).alpha(), 0);

    const COLORREF shadow = GetSysColor(COLOR_3DSHADOW);
    EXPECT_EQ(MakeShadowImage(image, true).pixelColor(5, 5), platform::ToQColor(shadow));
    EXPECT_EQ(MakeShadowImage(image, false).pixelColor(5, 5),
              platform::ToQColor(LightenColor(shadow, 0.49)));

    const QImage greyed = MakeGreyedImage(image, RGB(0, 0, 255));
    EXPECT_EQ(greyed.pixelColor(5, 5), platform::ToQColor(LightenColor(shadow, 1.0 / 3.0)));
    EXPECT_EQ(greyed.pixelColor(0, 0), QColor(0, 0, 255));

    const QImage embossed = MakeEmbossedImage(image, RGB(10, 20, 30));
    EXPECT_EQ(embossed.pixelColor(5, 5), platform::ToQColor(shadow));
    EXPECT_EQ(embossed.pixelColor(6, 6), platform::ToQColor(GetSysColor(COLOR_3DHILIGHT)));
    EXPECT_EQ(embossed.pixelColor(0, 0), QColor(10, 20, 30));
}
