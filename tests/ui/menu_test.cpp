#include <gtest/gtest.h>

#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QSettings>
#include <algorithm>

#include "platform/colors.h"
#include "support/test_env.h"
#include "ui/bc_menu.h"
#include "ui/menu_image_store.h"
#include "ui/menu_look.h"
#include "ui/program_images.h"
#include "ui/system_colors.h"
#include "ui/toolbar_resource.h"

using namespace ui;

namespace {
constexpr int kTestToolbar = 9130;
constexpr unsigned ID_OPEN = 57601;
constexpr unsigned ID_EXIT = 57665;
constexpr unsigned ID_SOFTWARE = 33025;
constexpr unsigned ID_FIRMWARE = 33033;
constexpr unsigned ID_EXPIRY = 33034;
constexpr unsigned ID_ABOUT = 57664;

QImage Solid(QColor colour) {
    QImage image(kMenuImageWidth, kMenuImageHeight, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    for (int y = 3; y < 12; ++y)
        for (int x = 3; x < 13; ++x)
            image.setPixelColor(x, y, colour);
    return image;
}

// Open and about on a tool bar that starts with a separator.
ToolbarResource TestToolbar() {
    ToolbarResource toolbar;
    toolbar.buttons = {0, ID_OPEN, 0, ID_ABOUT};
    toolbar.bitmap = QImage(2 * kMenuImageWidth, kMenuImageHeight, QImage::Format_ARGB32);
    QPainter painter(&toolbar.bitmap);
    painter.drawImage(0, 0, Solid(Qt::red));
    painter.drawImage(kMenuImageWidth, 0, Solid(Qt::blue));
    return toolbar;
}

MenuTemplate FrameMenu() {
    return MenuTemplateBuilder()
        .Popup(u"&File")
        .Item(ID_OPEN, u"&Apri rapporto\tCtrl+O")
        .Separator()
        .Item(ID_EXIT, u"&Esci")
        .EndPopup()
        .Popup(u"&Strumenti")
        .Popup(u"Aggiornamenti")
        .Item(ID_SOFTWARE, u"Aggiornamento software")
        .Item(ID_FIRMWARE, u"Aggiornamento firmware", MF_GRAYED)
        .EndPopup()
        .Item(ID_EXPIRY, u"Aggiorna data scadenza taratura")
        .Item(ID_SOFTWARE, u"Aggiornamento software")
        .EndPopup()
        .Item(ID_ABOUT, u"Info")
        .Build();
}

class MenuTest : public ::testing::Test {
protected:
    MenuTest() {
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope,
                           QString::fromStdString(folder.Path()));
        BCMenu::ResetThemeTest();
        MenuImageStore::Shared().Clear();
        RegisterToolbarResource(kTestToolbar, TestToolbar());
    }
    ~MenuTest() override { BCMenu::ResetThemeTest(); }

    void SetTheme(const char* theme) {
        QSettings(QSettings::IniFormat, QSettings::UserScope, "kx9monitor", "kx9monitor")
            .setValue(kThemeSettingKey, theme);
        BCMenu::ResetThemeTest();
    }

    testenv::ScratchFolder folder;
};
}  // namespace

TEST(MenuLookTest, ColourFactorsOutsideTheRangeKeepTheColour) {
    const COLORREF c = RGB(100, 50, 0);
    EXPECT_EQ(LightenColor(c, 1.5), c);
    EXPECT_EQ(DarkenColor(c, -0.1), c);
    EXPECT_EQ(LightenColor(c, 0.5), RGB(177, 152, 127));
    EXPECT_EQ(BCMenu::DarkenColor(c, 0.5), RGB(50, 25, 0));
    EXPECT_EQ(BCMenu::GetWinVersion(), 7);  // the release class with the XP look
}

TEST_F(MenuTest, ClassicThemeSettingInAnyLetterCaseGivesTheThreeDLook) {
    EXPECT_FALSE(BCMenu::IsClassicTheme());
    EXPECT_TRUE(BCMenu::IsXPLook());
    EXPECT_FALSE(IsClassicThemeName("C:\\WINDOWS\\Resources\\Themes\\Luna.theme"));

    SetTheme("C:\\WINDOWS\\Resources\\Themes\\windows classic.Theme");
    EXPECT_TRUE(BCMenu::IsClassicTheme());
    EXPECT_FALSE(BCMenu::IsXPLook());

    // Read once per run: a later change is seen only after a new test.
    QSettings(QSettings::IniFormat, QSettings::UserScope, "kx9monitor", "kx9monitor")
        .setValue(kThemeSettingKey, "Luna.theme");
    EXPECT_TRUE(BCMenu::IsClassicTheme());
}

TEST_F(MenuTest, TemplateBuildsPopupsAndTurnsTopLevelEntriesIntoMenuBarEntries) {
    BCMenu menu;
    ASSERT_TRUE(menu.LoadMenu(FrameMenu()));
    EXPECT_TRUE(menu.IsMenuBar());
    ASSERT_EQ(menu.GetMenuItemCount(), 3);
    EXPECT_EQ(menu.GetItemData(0)->m_nFlags, MF_BYPOSITION | MF_POPUP);
    EXPECT_EQ(menu.GetItemData(2)->m_nFlags, MF_BYPOSITION);

    BCMenu* file = menu.GetSubMenu(0);
    ASSERT_NE(file, nullptr);
    ASSERT_EQ(file->GetMenuItemCount(), 3);
    EXPECT_EQ(file->GetItemData(1)->m_nFlags, MF_SEPARATOR | MF_OWNERDRAW);
    BCMenu* updates = menu.GetSubMenu(1)->GetSubMenu(0);
    ASSERT_NE(updates, nullptr);
    EXPECT_EQ(updates->GetItemData(1)->m_nFlags, MF_GRAYED | MF_OWNERDRAW);

    // The Qt menus mirror the records; accelerators stand a blank after the widest text.
    QMenu* qt = menu.GetMenu();
    ASSERT_EQ(qt->actions().size(), 3);
    EXPECT_EQ(qt->actions()[0]->menu(), file->GetMenu());
    EXPECT_EQ(file->GetMenu()->actions()[0]->text(), "&Apri rapporto \tCtrl+O");
    EXPECT_FALSE(updates->GetMenu()->actions()[1]->isEnabled());
    EXPECT_EQ(BCMenu::CommandIdOf(file->GetMenu()->actions()[2]), ID_EXIT);
    EXPECT_EQ(BCMenu::CommandIdOf(file->GetMenu()->actions()[1]), 0u);

    // A missing or empty menu changes nothing; a registered one replaces the old entries.
    EXPECT_FALSE(menu.LoadMenu(MenuTemplate{}));
    EXPECT_FALSE(menu.LoadMenu(4711));
    EXPECT_EQ(menu.GetMenuItemCount(), 3);
    RegisterMenuResource(128, FrameMenu());
    EXPECT_TRUE(menu.LoadMenu(0x10000 | 128));
    EXPECT_EQ(menu.GetMenuItemCount(), 3);
}

TEST_F(MenuTest, ACommandIsFoundDepthFirstAndModifiedInEveryItemWithoutAStrayRecord) {
    BCMenu menu;
    menu.LoadMenu(FrameMenu());
    int position = -1;
    BCMenu* tools = menu.GetSubMenu(1);
    EXPECT_EQ(menu.FindItemById(ID_SOFTWARE, position), tools->GetSubMenu(0));
    EXPECT_EQ(position, 0);
    EXPECT_EQ(menu.FindNextItemById(ID_SOFTWARE, position), tools->GetSubMenu(0));
    EXPECT_EQ(menu.FindNextItemById(ID_SOFTWARE, position), tools);
    EXPECT_EQ(position, 2);
    EXPECT_EQ(menu.FindNextItemById(ID_SOFTWARE, position), nullptr);
    EXPECT_EQ(position, -1);

    ImageList images;
    images.Add(Solid(Qt::green));
    EXPECT_TRUE(menu.ModifyItem(u"Software", ID_SOFTWARE, &images, 0));
    const BCMenuData* nested = tools->GetSubMenu(0)->GetItemData(0);
    const BCMenuData* direct = tools->GetItemData(2);
    EXPECT_EQ(nested->GetAnsiString(), "Software");
    EXPECT_EQ(direct->GetAnsiString(), "Software");
    EXPECT_GE(nested->m_nSharedImage, 0);
    EXPECT_EQ(nested->m_nSharedImage, direct->m_nSharedImage);
    EXPECT_FALSE(direct->m_pAction->icon().isNull());

    EXPECT_FALSE(menu.ModifyItemAnsi("Nuovo", 4711, &images, 0));
    EXPECT_EQ(menu.GetMenuItemCount(), 3);
    EXPECT_EQ(tools->GetMenuItemCount(), 3);
}

TEST_F(MenuTest, StoringACommandImageAgainReplacesItInPlace) {
    MenuImageStore& store = MenuImageStore::Shared();
    const int first = store.Add(Solid(Qt::red), ID_OPEN, true, false);
    EXPECT_EQ(store.Count(), 4);  // the image and its three copies
    EXPECT_EQ(store.Add(Solid(Qt::blue), ID_OPEN, true, false), first);
    EXPECT_EQ(store.Count(), 4);
    EXPECT_EQ(store.Image(first).pixelColor(5, 5), QColor(Qt::blue));
    // The shadow copy follows the new image's shape, not its colour.
    EXPECT_NE(store.Image(first + MenuImageStore::kShadowOffset).pixelColor(5, 5),
              QColor(Qt::blue));
    EXPECT_EQ(store.Image(first + MenuImageStore::kShadowOffset).pixelColor(0, 0).alpha(), 0);
    EXPECT_FALSE(store.HasVariants(store.Add(Solid(Qt::red), ID_EXIT, false, false)));
    EXPECT_EQ(store.Add(QImage(), ID_ABOUT, true, false), -1);
}

TEST_F(MenuTest, ToolbarImagesGoToTheCommandsOnTheToolbarOnly) {
    BCMenu menu;
    menu.LoadMenu(FrameMenu());
    EXPECT_FALSE(menu.LoadToolbar(4711));
    EXPECT_TRUE(menu.LoadToolbar(kTestToolbar));
    const BCMenuData* open = menu.GetSubMenu(0)->GetItemData(0);
    const BCMenuData* about = menu.GetItemData(2);
    ASSERT_GE(open->m_nSharedImage, 0);
    ASSERT_GE(about->m_nSharedImage, 0);
    EXPECT_EQ(menu.GetSubMenu(0)->GetItemData(2)->m_nSharedImage, -1);
    // The separator in front of the first button does not shift the images.
    const MenuImageStore& store = MenuImageStore::Shared();
    EXPECT_EQ(store.Image(open->m_nSharedImage).pixelColor(5, 5), QColor(Qt::red));
    EXPECT_EQ(store.Image(about->m_nSharedImage).pixelColor(5, 5), QColor(Qt::blue));

    BCMenu appended;
    appended.AppendItem(u"Esci", MF_STRING, ID_EXIT, kTestToolbar);
    appended.AppendItem(u"Info", MF_STRING, ID_ABOUT);  // takes what the store holds
    EXPECT_EQ(appended.GetItemData(0)->m_nSharedImage, -1);
    EXPECT_EQ(appended.GetItemData(1)->m_nSharedImage, about->m_nSharedImage);
}

TEST_F(MenuTest, UpdatesReachTheQtEntriesAndOutliveADetachedMenusObject) {
    QMenuBar bar;
    std::unique_ptr<QMenu> detached;
    {
        BCMenu menu;
        menu.LoadMenu(FrameMenu());
        menu.LoadToolbar(kTestToolbar);
        EXPECT_EQ(menu.GetMenuState(ID_FIRMWARE) & MF_GRAYED, MF_GRAYED);
        EXPECT_EQ(menu.GetMenuState(4711), kNoMenuItem);
        EXPECT_TRUE(menu.EnableMenuItem(ID_FIRMWARE, true));
        EXPECT_TRUE(menu.CheckMenuItem(ID_EXPIRY, true));
        BCMenu* tools = menu.GetSubMenu(1);
        EXPECT_TRUE(tools->GetSubMenu(0)->GetItemData(1)->m_pAction->isEnabled());
        EXPECT_TRUE(tools->GetItemData(1)->m_pAction->isChecked());
        EXPECT_EQ(menu.GetMenuState(ID_EXPIRY) & MF_CHECKED, MF_CHECKED);

        detached.reset(menu.Detach());
        EXPECT_EQ(menu.GetMenu(), nullptr);
        // The object still drives its entries while the window keeps the menu.
        menu.EnableMenuItem(ID_EXIT, false);
    }
    ASSERT_TRUE(detached);
    BCMenu::InstallOnMenuBar(*detached, bar);
    ASSERT_EQ(bar.actions().size(), 3);
    QMenu* file = bar.actions()[0]->menu();
    ASSERT_NE(file, nullptr);
    EXPECT_FALSE(file->actions()[2]->isEnabled());
    EXPECT_FALSE(file->actions()[0]->icon().isNull());
    EXPECT_EQ(BCMenu::CommandIdOf(bar.actions()[2]), ID_ABOUT);
}

TEST_F(MenuTest, AcceleratorsLineUpWithoutTouchingTextsWithoutATab) {
    std::vector<std::u16string> texts = {u"Apri\tCtrl+O", u"Esci", u"Aggiornamento\tF5"};
    AlignAccelerators(texts, [](std::u16string_view s) { return static_cast<int>(s.size()) * 7; });
    EXPECT_EQ(texts[0], u"Apri          \tCtrl+O");  // as wide as "Aggiornamento "
    EXPECT_EQ(texts[1], u"Esci");
    // A measure that never grows ends the padding.
    std::vector<std::u16string> odd = {u"a\tb"};
    AlignAccelerators(odd, [](std::u16string_view) { return 0; });
    EXPECT_EQ(odd[0], u"a\tb");
}

TEST_F(MenuTest, ProgramToolbarHasAnImageForEveryButton) {
    RegisterProgramImages();
    const ToolbarResource* toolbar = FindToolbarResource(IDR_MAINFRAME_TOOLBAR);
    ASSERT_NE(toolbar, nullptr);
    const ImageList images = toolbar->Images();
    ASSERT_EQ(images.Count(), std::count_if(toolbar->buttons.begin(), toolbar->buttons.end(),
                                            [](unsigned id) { return id != 0; }));
    for (int i = 0; i < images.Count(); ++i) {
        const QImage image = images.Image(i);
        EXPECT_EQ(image.pixelColor(1, 1).alpha(), 0) << i;  // the background stays clear
        int inked = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                inked += image.pixelColor(x, y).alpha() > 0;
        EXPECT_GT(inked, 30) << i;
    }
    EXPECT_FALSE(ProgramIcon(IDI_CANCEL_DOWNLOAD).isNull());
}

namespace {
struct MenuPicture {
    QImage image;
    std::vector<QRect> items;  // in the menu's order
    std::vector<bool> separators;
};

// The menu as it shows on screen.
MenuPicture Grab(QMenu& menu) {
    menu.ensurePolished();
    menu.adjustSize();
    MenuPicture picture;
    picture.image = menu.grab().toImage();
    for (QAction* action : menu.actions()) {
        picture.items.push_back(menu.actionGeometry(action));
        picture.separators.push_back(action->isSeparator());
    }
    return picture;
}

// The rightmost pixel of text (dark on the menu's light body) within the rectangle, or -1.
int RightmostInk(const QImage& image, const QRect& rect) {
    int right = -1;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            if (qGray(image.pixel(x, y)) < 100)
                right = std::max(right, x);
    return right;
}

// The most pixels of the shadow colour in one row of the rectangle: the separator's etched line
// runs across most of the menu.
int ShadowLine(const QImage& image, const QRect& rect) {
    const QRgb shadow = platform::ToQColor(GetSysColor(COLOR_3DSHADOW)).rgb();
    int longest = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        int count = 0;
        for (int x = rect.left(); x <= rect.right(); ++x)
            count += (image.pixel(x, y) & 0xFFFFFF) == (shadow & 0xFFFFFF);
        longest = std::max(longest, count);
    }
    return longest;
}
}  // namespace

TEST_F(MenuTest, SeparatorsShowBetweenTheGroupsAndTheWidestItemEndsShortOfTheEdge) {
    const MenuTemplate menus = MenuTemplateBuilder()
                                   .Popup(u"&File")
                                   .Item(ID_OPEN, u"&Apri rapporto\tCtrl+O")
                                   .Separator()
                                   .Item(ID_EXIT, u"&Esci")
                                   .EndPopup()
                                   .Popup(u"&Strumenti")
                                   .Item(ID_EXPIRY, u"Impostazioni connessione")
                                   .Separator()
                                   .Item(ID_FIRMWARE, u"Aggiornamento database strumenti / utenti")
                                   .Separator()
                                   .Item(ID_SOFTWARE, u"Aggiornamento software")
                                   .EndPopup()
                                   .Build();
    for (const char* theme : {"", "C:\\WINDOWS\\Resources\\Themes\\Windows Classic.theme"}) {
        SetTheme(theme);
        SCOPED_TRACE(BCMenu::IsXPLook() ? "XP look" : "3-D look");
        BCMenu menu;
        menu.LoadMenu(menus);
        for (int popup : {0, 1}) {
            SCOPED_TRACE(popup);
            const MenuPicture shown = Grab(*menu.GetSubMenu(popup)->GetMenu());
            const int width = shown.image.width();
            int bottom = 0;
            int widest = -1;
            for (size_t i = 0; i < shown.items.size(); ++i) {
                const QRect& item = shown.items[i];
                SCOPED_TRACE(i);
                // Each item below the one before it, as wide as the menu's inside.
                EXPECT_EQ(item.top(), bottom);
                bottom = item.bottom() + 1;
                EXPECT_GE(item.width(), width - 4);
                if (shown.separators[i]) {
                    EXPECT_EQ(item.height(), BCMenu::IsXPLook()
                                                 ? 3
                                                 : std::max(MenuLineHeight() / 2, (15 + 4) / 2));
                    EXPECT_GE(ShadowLine(shown.image, item), width / 2);
                } else {
                    EXPECT_GE(item.height(), 15 + 4);
                    EXPECT_LT(ShadowLine(shown.image, item), width / 2);
                    widest = std::max(widest, RightmostInk(shown.image, item));
                }
            }
            EXPECT_LE(bottom, shown.image.height());
            // No text reaches into the last 16 pixels, not even a long entry without an
            // accelerator; the accelerator of "File" ends right there.
            EXPECT_LE(widest, width - 1 - 16);
            if (popup == 0) {
                EXPECT_GE(widest, width - 1 - 16 - 3);
            }
        }
    }
}
