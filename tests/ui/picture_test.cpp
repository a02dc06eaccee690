// One picture of each user-interface component, so that a broken layout or paint shows.
#include <gtest/gtest.h>

#include <QDir>
#include <QFontMetrics>
#include <QImage>
#include <QMenu>
#include <QSettings>

#include "platform/colors.h"
#include "support/test_env.h"
#include "ui/bc_menu.h"
#include "ui/menu_image_store.h"
#include "ui/program_images.h"
#include "ui/system_colors.h"
#include "ui/x_status_bar.h"
#include "ui/x_status_bar_widget.h"

using namespace ui;

namespace {
int CountColour(const QImage& image, const QRect& area, const QColor& colour) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += image.pixelColor(x, y) == colour;
    return count;
}
}  // namespace

TEST(PictureTest, StatusBarPanesShowTheirWindowsColours) {
    XStatusBar bar;
    bar.SetIndicators({ID_SEPARATOR, 1, 2});
    bar.SetPaneInfo(1, 1, SBPS_NORMAL, 150);
    bar.SetPaneInfo(2, 2, SBPS_NORMAL, 150);
    bar.SetPaneText(1, "Error :connection failure");
    bar.SetPaneColors(1, 0x0000FF, 0xFFFF00);  // red on, cyan off
    bar.SetPaneText(2, "Instr.Date: 2024/05/01");
    bar.SetPaneColors(2, 0xFF0000, 0xFF0000);  // blue
    bar.SetPaneStyle(2, SBPS_DISABLED);
    XStatusBarWidget widget(bar);
    widget.resize(500, 24);
    const QImage picture = widget.grab().toImage();

    const std::vector<Rect> rects = bar.PaneRects(500, 24, 17);
    const QRect red(rects[1].left + 1, rects[1].top + 1, rects[1].Width() - 2,
                    rects[1].Height() - 2);
    const QRect blue(rects[2].left + 1, rects[2].top + 1, rects[2].Width() - 2,
                     rects[2].Height() - 2);
    const int redPixels = CountColour(picture, red, QColor(255, 0, 0));
    EXPECT_GT(redPixels, red.width() * red.height() / 2);
    EXPECT_LT(redPixels, red.width() * red.height());  // the text is drawn on it
    EXPECT_GT(CountColour(picture, blue, QColor(0, 0, 255)), blue.width() * blue.height() / 2);
    // The stretching message pane keeps the bar's face colour.
    EXPECT_EQ(picture.pixelColor(rects[0].left + 5, 12),
              platform::ToQColor(GetSysColor(COLOR_MENU)));
}

TEST(PictureTest, ImageMenuDrawsItsImagesAndTheXPBand) {
    testenv::ScratchFolder folder;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope,
                       QString::fromStdString(folder.Path()));
    BCMenu::ResetThemeTest();
    MenuImageStore::Shared().Clear();
    RegisterProgramImages();
    BCMenu menu;
    menu.AppendItem(u"&Apri rapporto\tCtrl+O", MF_STRING, 57601, IDR_MAINFRAME_TOOLBAR);
    menu.AppendItem(u"", MF_STRING, 0);
    menu.AppendItem(u"&Esci", MF_GRAYED, 57665);
    QMenu* qt = menu.GetMenu();
    qt->resize(qt->sizeHint());
    const QImage picture = qt->grab().toImage();
    ASSERT_GT(picture.width(), 60);
    // The open image's yellow folder sits in the first row's image band.
    int yellow = 0;
    for (int y = 0; y < 22; ++y)
        for (int x = 0; x < 24; ++x) {
            const QColor c = picture.pixelColor(x, y);
            yellow += c.red() > 200 && c.green() > 150 && c.blue() < 120;
        }
    EXPECT_GT(yellow, 20);
    // The disabled item: image band and body in the XP colours, grey text.
    const QRect exit = qt->actionGeometry(qt->actions()[2]);
    if (BCMenu::IsXPLook()) {
        const COLORREF face = GetSysColor(COLOR_3DFACE);
        const QColor band =
            platform::ToQColor(BCMenu::IsLunaTheme() ? face : LightenColor(face, 0.25));
        const QColor body = platform::ToQColor(DarkenColor(GetSysColor(COLOR_WINDOW), 0.02));
        EXPECT_EQ(picture.pixelColor(exit.left() + 2, exit.center().y()), band);
        EXPECT_EQ(picture.pixelColor(exit.right() - 2, exit.center().y()), body);
    }
    // The accelerator stands apart from the item text.
    const QRect open = qt->actionGeometry(qt->actions()[0]);
    EXPECT_GT(open.width(),
              QFontMetrics(qt->font()).horizontalAdvance("Apri rapporto Ctrl+O") + 40);
}
