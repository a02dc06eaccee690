#pragma once
// An off-screen drawing context: what is painted through it collects in an image of the
// target's clip box and reaches the target in one copy when the object goes, so a window
// repaints without flicker. On a printer or a PDF it paints on the target straight away.
//
//     CMemDC dc(painter);
//     dc->fillRect(...);   // target coordinates

#include <QImage>
#include <QPainter>
#include <QRect>
#include <memory>

namespace ui {

class CMemDC {
public:
    // The clip box is the target's clip region, or the whole device without one.
    explicit CMemDC(QPainter& target);
    CMemDC(QPainter& target, const QRect& clipBox);
    ~CMemDC();
    CMemDC(const CMemDC&) = delete;
    CMemDC& operator=(const CMemDC&) = delete;

    QPainter* operator->() { return m_painter; }
    QPainter& operator*() { return *m_painter; }
    bool IsOffScreen() const { return m_bMemDC; }
    const QRect& ClipBox() const { return m_rect; }

private:
    QPainter& m_target;
    QRect m_rect;
    bool m_bMemDC;
    QImage m_bitmap;
    std::unique_ptr<QPainter> m_ownPainter;
    QPainter* m_painter;
};

}  // namespace ui
