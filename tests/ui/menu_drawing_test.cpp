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

TEST(MenuDrawingTest, DisabledItemNeverShowsTheXPSelectionButDoesInTheThreeDLook) {
    EXPECT_EQ(ChooseMenuLook(true, true), MenuLook::ThreeD);  // palette displays
    EXPECT_EQ(ChooseMenuLook(false, true), MenuLook::XP);
    MenuItemInput item = Item(u"Aggiornamento firmware");
    item.selected = true;
    item.disabled = true;

    const MenuItemPlan xp = PlanMenuItem(MenuLook::XP, Classic(), item);
    EXPECT_FALSE(xp.selected);
    EXPECT_TRUE(xp.offscreen);
    EXPECT_FALSE(Fills(xp, LightenColor(GetSysColor(COLOR_HIGHLIGHT), 0.85)));
    ASSERT_EQ(xp.All(Kind::Text).size(), 1u);

    const MenuItemPlan threeD = PlanMenuItem(MenuLook::ThreeD, Classic(), item);
    EXPECT_TRUE(threeD.selected);
    EXPECT_TRUE(Fills(threeD, GetSysColor(COLOR_HIGHLIGHT)));
    ASSERT_EQ(threeD.All(Kind::Text).size(), 1u);

    // Not selected, the 3D look embosses the text: a light copy one pixel down and right.
    item.selected = false;
    const auto twice = PlanMenuItem(MenuLook::ThreeD, Classic(), item).All(Kind::Text);
    ASSERT_EQ(twice.size(), 2u);
    EXPECT_EQ(twice[0].colour, GetSysColor(COLOR_3DHILIGHT));
    EXPECT_EQ(twice[0].rect, twice[1].rect.Offset(1, 1));
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
    const auto drawn = [&](MenuLook look) {
        return PlanMenuItem(look, flags, item).All(Kind::Image)[0].image;
    };
    EXPECT_EQ(drawn(MenuLook::ThreeD), MenuImageDraw::Dithered);
    flags.hiColorImages = true;
    EXPECT_EQ(drawn(MenuLook::ThreeD), MenuImageDraw::Greyed);
    EXPECT_EQ(drawn(MenuLook::XP), MenuImageDraw::Dithered);
    flags.embossDisabled = true;
    EXPECT_EQ(drawn(MenuLook::XP), MenuImageDraw::Embossed);
}

TEST(MenuDrawingTest, CheckMarksWithoutImages) {
    MenuItemInput item = Item(u"Cross reference");
    item.checked = true;
    const MenuItemPlan xp = PlanMenuItem(MenuLook::XP, Classic(), item);
    EXPECT_EQ(xp.All(Kind::NarrowCheckGlyph).size(), 1u);
    EXPECT_EQ(xp.All(Kind::Outline).size(), 1u);

    item.radio = true;
    const MenuItemPlan threeD = PlanMenuItem(MenuLook::ThreeD, Classic(), item);
    EXPECT_EQ(threeD.All(Kind::RadioDot).size(), 1u);
    // Not selected: the box is the background lightened by 0.6, with a sunken edge.
    EXPECT_TRUE(Fills(threeD, LightenColor(GetSysColor(COLOR_MENU), 0.6)));
    EXPECT_EQ(threeD.All(Kind::Edge).size(), 1u);
    EXPECT_EQ(CheckGlyphPixels(10, 20, false).size(), 21u);  // seven columns of three
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
