#include "ui/button_st.h"

#include <QApplication>
#include <QEnterEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

#include "platform/colors.h"
#include "platform/shell.h"
#include "ui/program_images.h"
#include "ui/system_colors.h"

namespace ui {

namespace {

constexpr int kMaxUrl = 260;

QColor Sys(int index) {
    return platform::ToQColor(GetSysColor(index));
}

// The raised edge of a push button: light outside top-left, dark outside bottom-right.
void DrawRaisedEdge(QPainter& p, const QRect& r) {
    const int l = r.left(), t = r.top(), rt = r.right(), b = r.bottom();
    p.setPen(Sys(COLOR_3DHILIGHT));
    p.drawLine(l, t, rt - 1, t);
    p.drawLine(l, t, l, b - 1);
    p.setPen(Sys(COLOR_3DLIGHT));
    p.drawLine(l + 1, t + 1, rt - 2, t + 1);
    p.drawLine(l + 1, t + 1, l + 1, b - 2);
    p.setPen(Sys(COLOR_3DDKSHADOW));
    p.drawLine(l, b, rt, b);
    p.drawLine(rt, t, rt, b);
    p.setPen(Sys(COLOR_3DSHADOW));
    p.drawLine(l + 1, b - 1, rt - 1, b - 1);
    p.drawLine(rt - 1, t + 1, rt - 1, b - 1);
}

}  // namespace

CButtonST::CButtonST(QWidget* parent) : CButtonST(QString(), parent) {}

CButtonST::CButtonST(const QString& caption, QWidget* parent) : QPushButton(caption, parent) {
    SetDefaultColors(FALSE);
    setMouseTracking(true);
    setAttribute(Qt::WA_Hover);
    connect(this, &QPushButton::clicked, this, &CButtonST::OnClicked);
}

void CButtonST::PreSubclassWindow(unsigned style) {
    unsigned type = style & 0x0F;
    m_bIsCheckBox = (type & 0x02) != 0;
    m_bIsDefault = type == 1;
    setDefault(m_bIsDefault);
}

int CButtonST::SetIcon(int iconIn, int iconOut) {
    const auto load = [](int id) {
        const QIcon icon = ProgramIcon(id);
        const QList<QSize> sizes = icon.availableSizes();
        return sizes.isEmpty() ? QImage() : icon.pixmap(sizes.first()).toImage();
    };
    const QImage in = load(iconIn);
    if (iconOut == BTNST_NO_ICON || iconOut == BTNST_AUTO_GRAY)
        return SetIcon(in, iconOut);
    return SetIcon(in, load(iconOut));
}

int CButtonST::SetIcon(const QImage& in, int iconOut) {
    return SetIcon(in, iconOut == BTNST_AUTO_GRAY ? GrayImage(in) : QImage());
}

int CButtonST::SetIcon(const QImage& in, const QImage& out) {
    m_iconIn = QImage();
    m_iconOut = QImage();
    update();
    if (in.isNull())
        return BTNST_INVALIDRESOURCE;
    m_iconIn = in;
    m_iconOut = out;
    return BTNST_OK;
}

QImage CButtonST::GrayImage(const QImage& image) {
    QImage grey = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < grey.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(grey.scanLine(y));
        for (int x = 0; x < grey.width(); ++x) {
            const QRgb c = line[x];
            if ((c & 0xFFFFFF) == 0)
                continue;
            const int level =
                static_cast<int>(0.299 * qRed(c) + 0.587 * qGreen(c) + 0.114 * qBlue(c));
            line[x] = qRgba(level, level, level, qAlpha(c));
        }
    }
    return grey;
}

int CButtonST::SetFlat(BOOL flat, BOOL repaint) {
    m_bIsFlat = flat != FALSE;
    if (repaint)
        update();
    return BTNST_OK;
}

int CButtonST::SetPressedStyle(int style, BOOL repaint) {
    if (style == 0)
        m_ptPressedOffset = {1, 1};
    else if (style == 1)
        m_ptPressedOffset = {0, 2};
    else
        return BTNST_INVALIDPRESSEDSTYLE;
    if (repaint)
        update();
    return BTNST_OK;
}

int CButtonST::SetCheck(int check, BOOL repaint) {
    if (m_bIsCheckBox) {
        m_bChecked = check == 1 || check == 2;
        if (repaint)
            update();
    }
    return BTNST_OK;
}

int CButtonST::SetDefaultColors(BOOL repaint) {
    for (int i : {BTNST_COLOR_BK_IN, BTNST_COLOR_BK_OUT, BTNST_COLOR_BK_FOCUS})
        m_crColors[i] = GetSysColor(COLOR_3DFACE);
    for (int i : {BTNST_COLOR_FG_IN, BTNST_COLOR_FG_OUT, BTNST_COLOR_FG_FOCUS})
        m_crColors[i] = GetSysColor(COLOR_BTNTEXT);
    if (repaint)
        update();
    return BTNST_OK;
}

void CButtonST::SetTooltipText(const QString& text, BOOL activate) {
    setToolTip(activate ? text : QString());
}

int CButtonST::SetURL(const std::string& url) {
    m_strURL = url.substr(0, kMaxUrl);
    return BTNST_OK;
}

void CButtonST::OnClicked() {
    setFocus(Qt::MouseFocusReason);
    if (m_bIsCheckBox) {
        m_bChecked = !m_bChecked;
        update();
    } else if (!m_strURL.empty()) {
        platform::OpenDocument(m_strURL);
    }
}

bool CButtonST::IsPressed() const {
    return isDown() || (m_bIsCheckBox && m_bChecked);
}

void CButtonST::StartHover() {
    if (!m_bIsFlat || m_bMouseOnButton || !isEnabled())
        return;
    if (!m_bAlwaysTrack && !QApplication::activeWindow())
        return;
    m_bMouseOnButton = true;
    update();
}

void CButtonST::CancelHover() {
    if (m_bIsFlat && m_bMouseOnButton) {
        m_bMouseOnButton = false;
        update();
    }
}

void CButtonST::enterEvent(QEnterEvent* event) {
    QPushButton::enterEvent(event);
    if (!(QApplication::mouseButtons() & Qt::LeftButton))
        StartHover();
}

void CButtonST::mouseMoveEvent(QMouseEvent* event) {
    QPushButton::mouseMoveEvent(event);
    if ((event->buttons() & Qt::LeftButton) && !m_bMouseOnButton)
        return;
    if (rect().contains(event->position().toPoint()))
        StartHover();
    else
        CancelHover();
}

void CButtonST::leaveEvent(QEvent* event) {
    QPushButton::leaveEvent(event);
    CancelHover();
}

void CButtonST::focusOutEvent(QFocusEvent* event) {
    QPushButton::focusOutEvent(event);
    CancelHover();
}

void CButtonST::changeEvent(QEvent* event) {
    QPushButton::changeEvent(event);
    switch (event->type()) {
        case QEvent::EnabledChange:
            if (!isEnabled())
                CancelHover();
            break;
        case QEvent::ActivationChange:
            if (!isActiveWindow())
                CancelHover();
            break;
        case QEvent::PaletteChange:
            SetDefaultColors();
            break;
        default:
            break;
    }
}

void CButtonST::OnDrawBackground(QPainter& painter, const QRect& rect, bool pressed) {
    const int index = m_bMouseOnButton || pressed ? BTNST_COLOR_BK_IN
                      : hasFocus()                ? BTNST_COLOR_BK_FOCUS
                                                  : BTNST_COLOR_BK_OUT;
    painter.fillRect(rect, platform::ToQColor(m_crColors[index]));
}

void CButtonST::OnDrawBorder(QPainter& painter, const QRect& rect, bool pressed) {
    const QColor light = Sys(COLOR_3DHILIGHT), dark = Sys(COLOR_3DSHADOW);
    const QColor& topLeft = pressed ? dark : light;
    const QColor& bottomRight = pressed ? light : dark;
    painter.setPen(topLeft);
    painter.drawLine(rect.topLeft(), rect.topRight());
    painter.drawLine(rect.topLeft(), rect.bottomLeft());
    painter.setPen(bottomRight);
    painter.drawLine(rect.bottomLeft(), rect.bottomRight());
    painter.drawLine(rect.topRight(), rect.bottomRight());
}

void CButtonST::DrawIconImage(QPainter& painter, const QRect& item, QRect& caption, bool pressed,
                              bool disabled) {
    const bool useOut = !m_iconOut.isNull() && !pressed && (m_bIsCheckBox || !m_bMouseOnButton);
    const QImage& image = useOut ? m_iconOut : m_iconIn;
    const QSize size = image.size();
    QPoint at;
    if (!text().isEmpty()) {
        at.setX(item.left() + m_ptImageOrg.x());
        caption.setLeft(caption.left() + m_ptImageOrg.x() + size.width());
    } else {
        at.setX(item.left() + (item.width() - size.width()) / 2);
    }
    at.setY(item.top() + (item.height() - size.height()) / 2);
    if (pressed && !m_bIsCheckBox)
        at += m_ptPressedOffset;
    if (disabled) {
        QStyleOption option;
        option.initFrom(this);
        painter.drawPixmap(
            at, style()->generatedIconPixmap(QIcon::Disabled, QPixmap::fromImage(image), &option));
    } else {
        painter.drawImage(at, image);
    }
}

void CButtonST::DrawCaption(QPainter& painter, QRect caption, bool pressed, bool disabled) {
    if (pressed && !m_bIsCheckBox)
        caption.translate(m_ptPressedOffset);
    const int flags = Qt::AlignCenter | Qt::TextWordWrap;
    painter.setFont(font());
    if (disabled) {
        painter.setPen(Sys(COLOR_3DHILIGHT));
        painter.drawText(caption.translated(1, 1), flags, text());
        painter.setPen(Sys(COLOR_3DSHADOW));
        painter.drawText(caption, flags, text());
        return;
    }
    const int index = m_bMouseOnButton || pressed ? BTNST_COLOR_FG_IN : BTNST_COLOR_FG_OUT;
    painter.setPen(platform::ToQColor(m_crColors[index]));
    painter.drawText(caption, flags, text());
}

void CButtonST::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const bool pressed = IsPressed();
    const bool focused = hasFocus();
    const bool disabled = !isEnabled();
    QRect item = rect();
    if (!m_bIsFlat && (focused || m_bIsDefault || isDefault())) {
        painter.setPen(Qt::black);
        painter.drawRect(item.adjusted(0, 0, -1, -1));
        item.adjust(1, 1, -1, -1);
    }
    OnDrawBackground(painter, item, pressed);
    if (pressed && !m_bIsFlat) {
        painter.setPen(Sys(COLOR_3DSHADOW));
        painter.drawRect(item.adjusted(0, 0, -1, -1));
    } else if (pressed && m_bDrawBorder) {
        OnDrawBorder(painter, item, true);
    } else if (!pressed && !m_bIsFlat) {
        DrawRaisedEdge(painter, item);
    } else if (m_bMouseOnButton && m_bDrawBorder) {
        OnDrawBorder(painter, item, false);
    }
    QRect caption = item;
    if (!m_iconIn.isNull())
        DrawIconImage(painter, item, caption, pressed, disabled);
    if (!text().isEmpty())
        DrawCaption(painter, caption, pressed, disabled);
    if ((!m_bIsFlat || m_bDrawFlatFocus) && focused) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = item.adjusted(3, 3, -3, -3);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
}

void CWinXPButtonST::SetRounded(bool rounded, bool repaint) {
    m_bIsRounded = rounded;
    if (repaint)
        update();
}

void CWinXPButtonST::OnDrawBackground(QPainter& painter, const QRect& rect, bool pressed) {
    if (!IsHovered() && !pressed) {
        CButtonST::OnDrawBackground(painter, rect, pressed);
        return;
    }
    painter.save();
    painter.setPen(Qt::white);
    painter.setBrush(platform::ToQColor(Color(BTNST_COLOR_BK_IN)));
    const QRect r = rect.adjusted(0, 0, -1, -1);
    if (m_bIsRounded)
        painter.drawRoundedRect(r, 4, 4);
    else
        painter.drawRect(r);
    painter.restore();
}

void CWinXPButtonST::OnDrawBorder(QPainter&, const QRect&, bool) {}

}  // namespace ui
