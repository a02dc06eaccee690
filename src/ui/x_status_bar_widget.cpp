#include "ui/x_status_bar_widget.h"

#include <QApplication>
#include <QFontMetrics>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>

#include "platform/colors.h"
#include "platform/qt_text.h"
#include "ui/system_colors.h"

namespace ui {

namespace {
constexpr int kGripSize = 17;

QRect ToQRect(const Rect& r) {
    return QRect(r.left, r.top, r.Width(), r.Height());
}

QColor Sys(int index) {
    return platform::ToQColor(GetSysColor(index));
}

void Draw3dRect(QPainter& painter, const Rect& r, const QColor& topLeft,
                const QColor& bottomRight) {
    painter.fillRect(QRect(r.left, r.top, r.Width() - 1, 1), topLeft);
    painter.fillRect(QRect(r.left, r.top, 1, r.Height() - 1), topLeft);
    painter.fillRect(QRect(r.right - 1, r.top, 1, r.Height()), bottomRight);
    painter.fillRect(QRect(r.left, r.bottom - 1, r.Width(), 1), bottomRight);
}

int ToQtFlags(std::uint32_t format) {
    int flags = 0;
    if (format & DT_CENTER)
        flags |= Qt::AlignHCenter;
    else if (format & DT_RIGHT)
        flags |= Qt::AlignRight;
    else
        flags |= Qt::AlignLeft;
    if (format & DT_VCENTER)
        flags |= Qt::AlignVCenter;
    else if (format & DT_BOTTOM)
        flags |= Qt::AlignBottom;
    else
        flags |= Qt::AlignTop;
    if (format & DT_WORDBREAK)
        flags |= Qt::TextWordWrap;
    if (format & DT_SINGLELINE)
        flags |= Qt::TextSingleLine;
    return flags;
}

QFont FontOf(const PaneFont& pane, const QFont& barFont) {
    QFont font = barFont;
    if (!pane.face.empty())
        font.setFamily(platform::ToQt(pane.face));
    if (pane.pointSize > 0)
        font.setPointSize(pane.pointSize);
    font.setBold(pane.bold);
    font.setItalic(pane.italic);
    font.setUnderline(pane.underline);
    return font;
}
}  // namespace

XStatusBarWidget::XStatusBarWidget(XStatusBar& bar, QWidget* parent)
    : QStatusBar(parent), m_bar(bar), m_timers([this](int id) {
          if (id == kScrollTimerId)
              update();
      }) {
    setSizeGripEnabled(false);
    setMouseTracking(true);
    m_bar.SetChangedHandler([this] {
        PlaceChildren();
        update();
    });
}

XStatusBarWidget::~XStatusBarWidget() {
    m_timers.KillAll();
    m_bar.SetChangedHandler(nullptr);
}

void XStatusBarWidget::SetPaneWindow(int index, QWidget* child) {
    if (QWidget* old = m_children[index])
        if (old != child)
            delete old;
    m_children[index] = child;
    if (child) {
        child->setParent(this);
        child->show();
    }
    PlaceChildren();
}

QSize XStatusBarWidget::sizeHint() const {
    return QSize(QStatusBar::sizeHint().width(), fontMetrics().height() + 8);
}

QSize XStatusBarWidget::minimumSizeHint() const {
    return QSize(0, fontMetrics().height() + 8);
}

bool XStatusBarWidget::ShowsGrip() const {
    return !window()->isMaximized();
}

std::vector<Rect> XStatusBarWidget::CurrentRects() const {
    return m_bar.PaneRects(width(), height(), ShowsGrip() ? kGripSize : 0);
}

void XStatusBarWidget::PlaceChildren() {
    const std::vector<Rect> rects = CurrentRects();
    for (auto& [index, child] : m_children) {
        const XPaneInfo* info = m_bar.GetPaneInfoEx(index);
        if (!child)
            continue;
        const bool shown = info && info->Kind() == XSB_WINDOW;
        child->setVisible(shown);
        if (shown)
            child->setGeometry(ToQRect(rects[static_cast<size_t>(index)]));
    }
}

void XStatusBarWidget::resizeEvent(QResizeEvent* event) {
    QStatusBar::resizeEvent(event);
    PlaceChildren();
}

void XStatusBarWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Sys(COLOR_3DFACE));
    const std::vector<Rect> rects = CurrentRects();
    for (int i = 0; i < m_bar.GetCount(); ++i)
        PaintPane(painter, i, rects[static_cast<size_t>(i)]);
    if (m_bar.AnyScrolling()) {
        if (!m_timers.IsSet(kScrollTimerId))
            m_timers.Set(kScrollTimerId, kScrollIntervalMs);
    } else {
        m_timers.Kill(kScrollTimerId);
    }
    if (ShowsGrip())
        PaintGrip(painter);
}

void XStatusBarWidget::PaintPane(QPainter& painter, int index, const Rect& pane) {
    const unsigned style = m_bar.GetPaneStyle(index);
    if (style & SBPS_POPOUT)
        Draw3dRect(painter, pane, Sys(COLOR_3DHILIGHT), Sys(COLOR_3DSHADOW));
    else if (!(style & SBPS_NOBORDERS))
        Draw3dRect(painter, pane, Sys(COLOR_3DSHADOW), Sys(COLOR_3DHILIGHT));
    const Rect inside = pane.Inflated(-1);
    if (inside.Width() <= 0 || inside.Height() <= 0)
        return;
    painter.fillRect(ToQRect(inside), platform::ToQColor(m_bar.BackgroundNow(index)));
    const XPaneInfo* info = m_bar.GetPaneInfoEx(index);
    painter.save();
    painter.setClipRect(ToQRect(inside));
    if (info->IsText())
        PaintText(painter, index, inside);
    else if (info->Kind() == XSB_BITMAP)
        PaintBitmap(painter, index, inside);
    painter.restore();
}

void XStatusBarWidget::PaintText(QPainter& painter, int index, const Rect& area) {
    XPaneInfo& info = *m_bar.GetPaneInfoEx(index);
    std::string text = m_bar.TextToShow(index);
    if (text.empty())
        return;
    const bool tiled = (info.m_dwMode & XSB_TILE) != 0;
    const bool hScroll = (info.m_dwMode & XSB_HSCROLL) != 0;
    const bool vScroll = (info.m_dwMode & XSB_VSCROLL) != 0;
    if (tiled)
        text += "  ";
    const QString shown = platform::ToQt(text);
    painter.setFont(FontOf(info.m_font, font()));
    painter.setPen(platform::ToQColor(m_bar.TextColorNow(index)));
    std::uint32_t format = info.Format();
    if (hScroll)
        format &= ~(DT_CENTER | DT_RIGHT);
    const int flags = ToQtFlags(format);
    const QRect extent = painter.fontMetrics().boundingRect(QRect(0, 0, 30000, 30000),
                                                            Qt::AlignLeft | Qt::AlignTop, shown);
    const int w = std::max(1, extent.width());
    const int h = std::max(1, extent.height());
    if (info.IsScrolling())
        info.StepScroll(w, h, area);
    const int x0 = area.left - (hScroll ? info.m_nHScroll : 0);
    const int y0 = area.top - (vScroll ? info.m_nVScroll : 0);
    if (tiled && (hScroll || vScroll)) {
        for (int y = vScroll ? y0 : area.top; y < area.bottom; y += h) {
            for (int x = hScroll ? x0 : area.left; x < area.right; x += w) {
                painter.drawText(
                    QRect(x, y, hScroll ? w : area.right - x, vScroll ? h : area.Height()), flags,
                    shown);
                if (!hScroll)
                    break;
            }
            if (!vScroll)
                break;
        }
        return;
    }
    painter.drawText(QRect(x0, y0, area.right - x0, area.bottom - y0), flags, shown);
}

void XStatusBarWidget::PaintBitmap(QPainter& painter, int index, const Rect& area) {
    XPaneInfo& info = *m_bar.GetPaneInfoEx(index);
    const std::string name = m_bar.IsPaneOn(index) ? info.m_strTextOn : info.m_strTextOff;
    if (name.empty())
        return;
    const QImage image(platform::SystemNameToQt(name));
    if (image.isNull())
        return;
    const int w = image.width();
    const int h = image.height();
    const bool tiled = (info.m_dwMode & XSB_TILE) != 0;
    const bool hScroll = (info.m_dwMode & XSB_HSCROLL) != 0;
    const bool vScroll = (info.m_dwMode & XSB_VSCROLL) != 0;
    if (info.IsScrolling())
        info.StepScroll(w, h, area);
    const int x0 = area.left - (hScroll ? info.m_nHScroll : 0);
    const int y0 = area.top - (vScroll ? info.m_nVScroll : 0);
    if (tiled) {
        const bool alongOnly = hScroll && !vScroll;
        const bool downOnly = vScroll && !hScroll;
        for (int y = downOnly || !alongOnly ? y0 : area.top; y < area.bottom; y += h) {
            for (int x = alongOnly || !downOnly ? x0 : area.left; x < area.right; x += w) {
                painter.drawImage(QPoint(x, y), image);
                if (downOnly)
                    break;
            }
            if (alongOnly)
                break;
        }
        return;
    }
    if (info.IsScrolling()) {
        painter.drawImage(QPoint(x0, y0), image);
        return;
    }
    if (info.m_dwMode & XSB_STRETCH) {
        painter.drawImage(ToQRect(area), image);
        return;
    }
    const std::uint32_t format = info.Format();
    int x = area.left;
    int y = area.top;
    if (format & DT_CENTER)
        x = area.left + (area.Width() - w) / 2;
    else if (format & DT_RIGHT)
        x = area.right - w;
    if (format & DT_VCENTER)
        y = area.top + (area.Height() - h) / 2;
    else if (format & DT_BOTTOM)
        y = area.bottom - h;
    painter.drawImage(QPoint(x, y), image);
}

void XStatusBarWidget::PaintGrip(QPainter& painter) {
    const int right = width() - 1;
    const int bottom = height() - 1;
    for (int i = 1; i <= kGripSize; ++i) {
        const int shade = i % 4;
        if (shade == 2)
            continue;
        painter.setPen(Sys(shade == 1 ? COLOR_3DHILIGHT : COLOR_3DSHADOW));
        painter.drawLine(QPoint(right - i + 1, bottom), QPoint(right, bottom - i + 1));
    }
}

void XStatusBarWidget::Forward(QMouseEvent* event) {
    if (!m_owner)
        return;
    QMouseEvent copy(event->type(), event->position(), event->globalPosition(), event->button(),
                     event->buttons(), event->modifiers());
    QApplication::sendEvent(m_owner, &copy);
}

void XStatusBarWidget::mousePressEvent(QMouseEvent* event) {
    Forward(event);
    QStatusBar::mousePressEvent(event);
}

void XStatusBarWidget::mouseReleaseEvent(QMouseEvent* event) {
    Forward(event);
    QStatusBar::mouseReleaseEvent(event);
}

void XStatusBarWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    Forward(event);
    QStatusBar::mouseDoubleClickEvent(event);
}

void XStatusBarWidget::mouseMoveEvent(QMouseEvent* event) {
    Forward(event);
    QStatusBar::mouseMoveEvent(event);
}

}  // namespace ui
