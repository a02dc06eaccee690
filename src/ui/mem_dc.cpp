#include "ui/mem_dc.h"

#include <QPagedPaintDevice>

namespace ui {

namespace {

bool IsPrinting(const QPainter& target) {
    // Printers and PDF writers are paged devices.
    return dynamic_cast<const QPagedPaintDevice*>(target.device()) != nullptr;
}

QRect TargetClipBox(const QPainter& target) {
    if (target.hasClipping())
        return target.clipBoundingRect().toAlignedRect();
    const QPaintDevice* device = target.device();
    return device ? QRect(0, 0, device->width(), device->height()) : QRect();
}

}  // namespace

CMemDC::CMemDC(QPainter& target) : CMemDC(target, TargetClipBox(target)) {}

CMemDC::CMemDC(QPainter& target, const QRect& clipBox)
    : m_target(target), m_rect(clipBox), m_bMemDC(!IsPrinting(target)), m_painter(&target) {
    if (!m_bMemDC)
        return;
    // An empty clip box still gets a surface, so that painting through it does nothing harmful.
    m_bitmap =
        QImage(m_rect.isEmpty() ? QSize(1, 1) : m_rect.size(), QImage::Format_ARGB32_Premultiplied);
    m_bitmap.fill(Qt::transparent);
    m_ownPainter = std::make_unique<QPainter>(&m_bitmap);
    m_ownPainter->setFont(target.font());
    m_ownPainter->setPen(target.pen());
    m_ownPainter->setBrush(target.brush());
    m_ownPainter->translate(-m_rect.topLeft());
    m_painter = m_ownPainter.get();
}

CMemDC::~CMemDC() {
    if (!m_bMemDC)
        return;
    m_ownPainter->end();
    if (!m_rect.isEmpty())
        m_target.drawImage(m_rect.topLeft(), m_bitmap);
}

}  // namespace ui
