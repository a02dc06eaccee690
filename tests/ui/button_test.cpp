// The owner-drawn buttons and the off-screen drawing context, with pictures of a button in
// each of its states.
#include <gtest/gtest.h>

#include <QApplication>
#include <QEnterEvent>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QPdfWriter>

#include "platform/colors.h"
#include "platform/shell.h"
#include "support/test_env.h"
#include "ui/button_st.h"
#include "ui/mem_dc.h"
#include "ui/program_images.h"
#include "ui/system_colors.h"

using namespace ui;

namespace {

QColor Sys(int index) {
    return platform::ToQColor(GetSysColor(index));
}

// Pixels of the icon area whose colour is far from grey.
int Coloured(const QImage& image, const QRect& area) {
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            n += std::max({c.red(), c.green(), c.blue()}) -
                     std::min({c.red(), c.green(), c.blue()}) >
                 60;
        }
    return n;
}

void Hover(QWidget& w) {
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QApplication::sendEvent(&w, &enter);
}

void Leave(QWidget& w) {
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&w, &leave);
}

void Mouse(QWidget& w, QEvent::Type type) {
    QMouseEvent event(type, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(&w, &event);
}

}  // namespace

TEST(ButtonSTTest, TheGreyIconKeepsBlackAndTransparencyAndWeighsTheColours) {
    QImage icon(2, 2, QImage::Format_ARGB32);
    icon.setPixel(0, 0, qRgba(255, 0, 0, 255));
    icon.setPixel(1, 0, qRgba(0, 0, 0, 255));
    icon.setPixel(0, 1, qRgba(10, 200, 30, 128));
    icon.setPixel(1, 1, qRgba(0, 0, 0, 0));
    const QImage grey = CButtonST::GrayImage(icon);
    EXPECT_EQ(grey.pixel(0, 0), qRgba(76, 76, 76, 255));
    EXPECT_EQ(grey.pixel(1, 0), qRgba(0, 0, 0, 255));
    EXPECT_EQ(qAlpha(grey.pixel(0, 1)), 128);
    EXPECT_EQ(grey.pixel(1, 1), qRgba(0, 0, 0, 0));
}

TEST(ButtonSTTest, SettersAnswerAsTheButtonsCallersExpect) {
    CButtonST button;
    EXPECT_EQ(button.SetIcon(IDI_CANCEL_DOWNLOAD, CButtonST::BTNST_AUTO_GRAY), 0);
    EXPECT_EQ(button.SetIcon(99999), CButtonST::BTNST_INVALIDRESOURCE);
    EXPECT_EQ(button.SetPressedStyle(1), 0);
    EXPECT_EQ(button.SetPressedStyle(2), CButtonST::BTNST_INVALIDPRESSEDSTYLE);
    EXPECT_EQ(button.SetFlat(FALSE), 0);
    EXPECT_FALSE(button.IsFlat());
    button.SetURL(std::string(300, 'u'));
    EXPECT_EQ(button.URL().size(), 260u);
    button.SetTooltipText("Stop", FALSE);
    EXPECT_TRUE(button.toolTip().isEmpty());
    button.SetTooltipText("Stop");
    EXPECT_EQ(button.toolTip(), "Stop");

    // Bit value 2 of the type makes a check box, the owner-draw type (11) included.
    for (auto [style, checkBox, isDefault] : {std::tuple{0u, false, false},
                                              {1u, false, true},
                                              {3u, true, false},
                                              {11u, true, false},
                                              {9u, false, false}}) {
        CButtonST b;
        b.PreSubclassWindow(style);
        EXPECT_EQ(b.IsCheckBox(), checkBox) << style;
        EXPECT_EQ(b.IsDefaultButton(), isDefault) << style;
    }
}

TEST(ButtonSTTest, ClicksToggleACheckBoxOpenAnAddressAndADoubleClickIsASecondClick) {
    CButtonST box;
    box.PreSubclassWindow(3);
    box.click();
    EXPECT_EQ(box.GetCheck(), 1);
    box.click();
    EXPECT_EQ(box.GetCheck(), 0);
    CButtonST push;
    push.SetCheck(1);
    EXPECT_EQ(push.GetCheck(), 0);  // only a check box keeps a check

    std::vector<std::string> opened;
    platform::SetShellRecorder([&](const platform::ShellRequest& r) {
        opened.push_back(r.path);
        return true;
    });
    push.SetURL("http://127.0.0.1/manuale");
    int clicks = 0;
    QObject::connect(&push, &QPushButton::clicked, [&] { ++clicks; });
    push.resize(60, 24);
    Mouse(push, QEvent::MouseButtonPress);
    Mouse(push, QEvent::MouseButtonRelease);
    Mouse(push, QEvent::MouseButtonDblClick);
    Mouse(push, QEvent::MouseButtonRelease);
    platform::SetShellRecorder(nullptr);
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(opened,
              (std::vector<std::string>{"http://127.0.0.1/manuale", "http://127.0.0.1/manuale"}));
}

TEST(ButtonSTPictureTest, AFlatButtonShowsItsStates) {
    CButtonST button("Cancel Download");
    button.SetIcon(IDI_CANCEL_DOWNLOAD, CButtonST::BTNST_AUTO_GRAY);
    button.resize(180, 44);
    const QRect icon(3, 6, 32, 32);  // left of the caption, centred vertically
    const QColor face = Sys(COLOR_3DFACE);

    // Out: grey icon, no border.
    QImage out = button.grab().toImage();
    EXPECT_EQ(Coloured(out, icon), 0);
    EXPECT_EQ(out.pixelColor(0, 0), face);
    EXPECT_EQ(out.pixelColor(179, 43), face);

    // Hovered: the colour icon and a raised one-pixel border.
    Hover(button);
    ASSERT_TRUE(button.IsHovered());
    QImage in = button.grab().toImage();
    EXPECT_GT(Coloured(in, icon), 200);
    EXPECT_EQ(in.pixelColor(0, 0), Sys(COLOR_3DHILIGHT));
    EXPECT_EQ(in.pixelColor(179, 43), Sys(COLOR_3DSHADOW));

    // Pressed: the border sinks and the content moves one pixel right and down.
    button.setDown(true);
    QImage pressed = button.grab().toImage();
    EXPECT_EQ(pressed.pixelColor(0, 0), Sys(COLOR_3DSHADOW));
    EXPECT_EQ(pressed.pixelColor(179, 43), Sys(COLOR_3DHILIGHT));
    EXPECT_EQ(pressed.copy(icon.translated(1, 1)), in.copy(icon));
    button.setDown(false);

    // Leaving ends the hover; disabled draws a colourless icon and an embossed caption.
    Leave(button);
    EXPECT_FALSE(button.IsHovered());
    button.setEnabled(false);
    Hover(button);
    EXPECT_FALSE(button.IsHovered());
    const QImage disabled = button.grab().toImage();
    EXPECT_EQ(Coloured(disabled, icon), 0);
    int hilight = 0;
    for (int x = 40; x < 180; ++x)
        hilight += disabled.pixelColor(x, 22) == Sys(COLOR_3DSHADOW);
    EXPECT_GT(hilight, 0);
}

TEST(ButtonSTPictureTest, A3DButtonHasARaisedEdgeAndTheXPButtonARoundedField) {
    CButtonST raised("OK");
    raised.SetFlat(FALSE);
    raised.resize(80, 30);
    const QImage edge = raised.grab().toImage();
    EXPECT_EQ(edge.pixelColor(0, 0), Sys(COLOR_3DHILIGHT));
    EXPECT_EQ(edge.pixelColor(1, 1), Sys(COLOR_3DLIGHT));
    EXPECT_EQ(edge.pixelColor(79, 29), Sys(COLOR_3DDKSHADOW));
    EXPECT_EQ(edge.pixelColor(78, 28), Sys(COLOR_3DSHADOW));
    // A hovered 3-D button keeps its look.
    Hover(raised);
    EXPECT_FALSE(raised.IsHovered());

    CWinXPButtonST xp("OK");
    xp.resize(80, 30);
    Hover(xp);
    const QImage round = xp.grab().toImage();
    EXPECT_EQ(round.pixelColor(0, 15), QColor(Qt::white));  // the white outline, no 3-D border
    EXPECT_EQ(round.pixelColor(79, 15), QColor(Qt::white));
    EXPECT_NE(round.pixelColor(0, 0), QColor(Qt::white));  // the rounded corner leaves it out
    EXPECT_EQ(round.pixelColor(5, 5), Sys(COLOR_3DFACE));
}

TEST(MemDCTest, PaintingCollectsOffScreenAndReachesTheTargetInOneCopy) {
    QImage target(100, 50, QImage::Format_RGB32);
    target.fill(Qt::white);
    QPainter painter(&target);
    painter.setClipRect(10, 10, 40, 20);
    {
        CMemDC dc(painter);
        EXPECT_TRUE(dc.IsOffScreen());
        EXPECT_EQ(dc.ClipBox(), QRect(10, 10, 40, 20));
        dc->fillRect(0, 0, 100, 50, Qt::red);
        EXPECT_EQ(target.pixelColor(20, 15), QColor(Qt::white));  // not yet
    }
    EXPECT_EQ(target.pixelColor(20, 15), QColor(Qt::red));
    EXPECT_EQ(target.pixelColor(49, 29), QColor(Qt::red));
    EXPECT_EQ(target.pixelColor(5, 5), QColor(Qt::white));
    EXPECT_EQ(target.pixelColor(50, 30), QColor(Qt::white));

    // An empty clip box copies nothing and fails nothing.
    {
        CMemDC dc(painter, QRect());
        dc->fillRect(0, 0, 100, 50, Qt::blue);
    }
    EXPECT_EQ(target.pixelColor(5, 5), QColor(Qt::white));
}

TEST(MemDCTest, OnAPrinterItPaintsStraightOnTheTarget) {
    testenv::ScratchFolder folder;
    QPdfWriter pdf(QString::fromStdString(folder.File("dc.pdf")));
    QPainter painter(&pdf);
    {
        CMemDC dc(painter);
        EXPECT_FALSE(dc.IsOffScreen());
        EXPECT_EQ(&*dc, &painter);
        dc->drawLine(0, 0, 100, 100);
    }
    EXPECT_TRUE(painter.isActive());
    painter.drawLine(100, 0, 0, 100);
    EXPECT_TRUE(painter.end());
}
