#pragma once
// Draws and measures the items of image menus (BCMenu) in the look that BCMenu chooses, and
// BCMenuMemDC, the off-screen context some items are drawn through.

#include <QImage>
#include <QPainter>
#include <QProxyStyle>
#include <memory>

#include "ui/geometry.h"

namespace ui {

class BCMenuStyle : public QProxyStyle {
    Q_OBJECT
public:
    // The one style of every image menu; it lives as long as the application.
    static BCMenuStyle* Instance();

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;
    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget = nullptr) const override;

private:
    BCMenuStyle();
};

// Drawing through it lands in an image of the rectangle, with the target's coordinates, and is
// copied onto the target when it goes; on a printer it draws straight onto the target.
class BCMenuMemDC {
public:
    BCMenuMemDC(QPainter& target, const Rect& rect);
    ~BCMenuMemDC();
    BCMenuMemDC(const BCMenuMemDC&) = delete;
    BCMenuMemDC& operator=(const BCMenuMemDC&) = delete;

    QPainter& Painter() { return m_painter ? *m_painter : m_target; }
    bool IsOffscreen() const { return m_painter != nullptr; }

private:
    QPainter& m_target;
    Rect m_rect;
    QImage m_image;
    std::unique_ptr<QPainter> m_painter;
};

// Whether the screen shows colours through a palette (8 bits or fewer).
bool IsPaletteDisplay();

}  // namespace ui
