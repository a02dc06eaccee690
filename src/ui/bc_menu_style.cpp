#include "ui/bc_menu_style.h"

#include <QApplication>
#include <QFontMetrics>
#include <QMenu>
#include <QPaintDevice>
#include <QScreen>
#include <QStyleOptionMenuItem>
#include <algorithm>

#include "platform/colors.h"
#include "ui/bc_menu.h"
#include "ui/menu_image_store.h"
#include "ui/menu_image_variants.h"
#include "ui/menu_item_plan.h"
#include "ui/system_colors.h"

namespace ui {

namespace {
QRect ToQRect(const Rect& r) {
    return QRect(r.left, r.top, r.Width(), r.Height());
}

QColor Colour(COLORREF c) {
    return platform::ToQColor(c);
}

struct ItemImage {
    QImage image;
    int storeIndex = -1;
    bool variants = false;
};

ItemImage ImageOf(const QStyleOptionMenuItem& item, const QWidget* widget) {
    ItemImage found;
    const MenuImageStore& store = MenuImageStore::Shared();
    if (const auto* menu = qobject_cast<const QMenu*>(widget)) {
        const unsigned id = BCMenu::CommandIdOf(menu->actionAt(item.rect.center()));
        found.storeIndex = id ? store.FirstIndexOf(id) : -1;
    }
    if (found.storeIndex >= 0) {
        found.image = store.Image(found.storeIndex);
        found.variants = store.HasVariants(found.storeIndex);
    } else if (!item.icon.isNull()) {
        found.image = item.icon.pixmap(kMenuImageWidth, kMenuImageHeight).toImage();
    }
    return found;
}

QImage ImageFor(const MenuPaintOp& op, const ItemImage& item) {
    const MenuImageStore& store = MenuImageStore::Shared();
    switch (op.image) {
        case MenuImageDraw::ShadowVariant:
            return item.variants ? store.Image(item.storeIndex + MenuImageStore::kShadowOffset)
                                 : MakeShadowImage(item.image, BCMenu::IsLunaTheme());
        case MenuImageDraw::Greyed:
            return item.variants ? store.Image(item.storeIndex + MenuImageStore::kDisabledOffset)
                                 : MakeGreyedImage(item.image);
        case MenuImageDraw::Embossed:
            return MakeEmbossedImage(item.image, op.colour);
        case MenuImageDraw::Dithered:
            return MakeDitheredImage(item.image, op.colour);
        case MenuImageDraw::Normal:
            break;
    }
    return item.image;
}

void Execute(QPainter& painter, const MenuItemPlan& plan, const ItemImage& image) {
    const QColor shadow = Colour(GetSysColor(COLOR_3DSHADOW));
    const QColor hilight = Colour(GetSysColor(COLOR_3DHILIGHT));
    for (const MenuPaintOp& op : plan.ops) {
        const QRect r = ToQRect(op.rect);
        switch (op.kind) {
            case MenuPaintOp::Kind::Fill:
                painter.fillRect(r, Colour(op.colour));
                break;
            case MenuPaintOp::Kind::Outline:
                painter.setPen(Colour(op.colour));
                painter.setBrush(Qt::NoBrush);
                painter.drawRect(r.adjusted(0, 0, -1, -1));
                break;
            case MenuPaintOp::Kind::Edge:
                painter.fillRect(QRect(r.left(), r.top(), r.width() - 1, 1), Colour(op.colour));
                painter.fillRect(QRect(r.left(), r.top(), 1, r.height() - 1), Colour(op.colour));
                painter.fillRect(QRect(r.right(), r.top(), 1, r.height()), Colour(op.colour2));
                painter.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), Colour(op.colour2));
                break;
            case MenuPaintOp::Kind::Etched:
                painter.fillRect(QRect(r.left(), r.top(), r.width(), 1), shadow);
                painter.fillRect(QRect(r.left(), r.top() + 1, r.width(), 1), hilight);
                break;
            case MenuPaintOp::Kind::Image:
                if (!image.image.isNull())
                    painter.drawImage(r.topLeft(), ImageFor(op, image));
                break;
            case MenuPaintOp::Kind::CheckGlyph:
            case MenuPaintOp::Kind::NarrowCheckGlyph:
                for (const auto& [x, y] : CheckGlyphPixels(
                         r.left(), r.top(), op.kind == MenuPaintOp::Kind::NarrowCheckGlyph))
                    painter.fillRect(QRect(x, y, 1, 1), Colour(op.colour));
                break;
            case MenuPaintOp::Kind::RadioDot:
                painter.save();
                painter.setRenderHint(QPainter::Antialiasing);
                painter.setPen(Qt::NoPen);
                painter.setBrush(Colour(op.colour));
                painter.drawEllipse(r);
                painter.restore();
                break;
            case MenuPaintOp::Kind::Text:
            case MenuPaintOp::Kind::TextRight: {
                const int align =
                    op.kind == MenuPaintOp::Kind::Text ? Qt::AlignLeft : Qt::AlignRight;
                painter.setPen(Colour(op.colour));
                painter.drawText(
                    r, align | Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextShowMnemonic,
                    QString::fromStdU16String(op.text));
                break;
            }
        }
    }
}

MenuLook CurrentLook() {
    return ChooseMenuLook(IsPaletteDisplay(), BCMenu::IsXPLook());
}
}  // namespace

bool IsPaletteDisplay() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen && screen->depth() <= 8;
}

BCMenuStyle::BCMenuStyle() = default;

BCMenuStyle* BCMenuStyle::Instance() {
    static QPointer<BCMenuStyle> style;
    if (!style) {
        style = new BCMenuStyle;
        style->setParent(qApp);
    }
    return style;
}

void BCMenuStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                              const QWidget* widget) const {
    const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
    if (element != CE_MenuItem || !item ||
        (item->menuItemType != QStyleOptionMenuItem::Normal &&
         item->menuItemType != QStyleOptionMenuItem::DefaultItem &&
         item->menuItemType != QStyleOptionMenuItem::SubMenu &&
         item->menuItemType != QStyleOptionMenuItem::Separator)) {
        QProxyStyle::drawControl(element, option, painter, widget);
        return;
    }
    const ItemImage image = ImageOf(*item, widget);
    MenuItemInput input;
    input.rect = {item->rect.left(), item->rect.top(), item->rect.left() + item->rect.width(),
                  item->rect.top() + item->rect.height()};
    input.text = item->text.toStdU16String();
    input.separator = item->menuItemType == QStyleOptionMenuItem::Separator;
    input.checked = item->checkType != QStyleOptionMenuItem::NotCheckable && item->checked;
    input.radio = item->checkType == QStyleOptionMenuItem::Exclusive;
    input.selected = (item->state & State_Selected) != 0;
    input.disabled = (item->state & State_Enabled) == 0;
    input.hasImage = !image.image.isNull();
    input.imageVariants = image.variants;
    MenuLookFlags flags = BCMenu::LookFlags();
    flags.embossDisabled = widget && widget->property(BCMenu::kEmbossProperty).toBool();
    const MenuItemPlan plan = PlanMenuItem(CurrentLook(), flags, input);

    painter->save();
    painter->setFont(item->font);
    if (plan.offscreen) {
        BCMenuMemDC memDC(*painter, input.rect);
        memDC.Painter().setFont(QApplication::font("QMenu"));
        Execute(memDC.Painter(), plan, image);
    } else {
        Execute(*painter, plan, image);
    }
    if (item->menuItemType == QStyleOptionMenuItem::SubMenu) {
        QStyleOption arrow(*item);
        arrow.rect = QRect(item->rect.right() - 14, item->rect.top(), 12, item->rect.height());
        arrow.palette.setColor(QPalette::ButtonText,
                               Colour(GetSysColor(plan.selected && CurrentLook() == MenuLook::ThreeD
                                                      ? COLOR_HIGHLIGHTTEXT
                                                      : COLOR_MENUTEXT)));
        QProxyStyle::drawPrimitive(PE_IndicatorArrowRight, &arrow, painter, widget);
    }
    painter->restore();
}

QSize BCMenuStyle::sizeFromContents(ContentsType type, const QStyleOption* option,
                                    const QSize& size, const QWidget* widget) const {
    const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
    if (type != CT_MenuItem || !item)
        return QProxyStyle::sizeFromContents(type, option, size, widget);
    const bool separator = item->menuItemType == QStyleOptionMenuItem::Separator;
    const qsizetype tab = item->text.indexOf(u'\t');
    const QFontMetrics metrics(item->font);
    // The menu adds the accelerator's own width; the measure keeps a gap before it.
    int textWidth =
        metrics
            .boundingRect(QRect(), Qt::TextSingleLine | Qt::TextShowMnemonic, item->text.left(tab))
            .width();
    if (tab >= 0)
        textWidth += metrics.horizontalAdvance(QStringLiteral("    "));
    // The drawing ends an accelerator 16 pixels before the item's right edge. Windows widens
    // every owner-drawn item by a margin of its own; here the measure takes those 16 pixels
    // for every item, so that the widest ends there too, whether it has an accelerator or not,
    // and a sub-menu's arrow has room.
    textWidth += kMenuImageWidth;
    const MenuItemSize measured = MeasureMenuItem(CurrentLook(), BCMenu::s_bXP3dImages, separator,
                                                  textWidth, MenuLineHeight());
    // Qt leaves out an item of no width; every item is as wide as the menu anyway.
    return QSize(std::max(1, measured.width), measured.height);
}

BCMenuMemDC::BCMenuMemDC(QPainter& target, const Rect& rect) : m_target(target), m_rect(rect) {
    const QPaintDevice* device = target.device();
    if ((device && device->devType() == QInternal::Printer) || rect.Width() <= 0 ||
        rect.Height() <= 0)
        return;
    m_image = QImage(rect.Width(), rect.Height(), QImage::Format_ARGB32_Premultiplied);
    m_image.fill(Qt::transparent);
    m_painter = std::make_unique<QPainter>(&m_image);
    m_painter->translate(-rect.left, -rect.top);
    m_painter->setFont(target.font());
}

BCMenuMemDC::~BCMenuMemDC() {
    if (!m_painter)
        return;
    m_painter->end();
    m_target.drawImage(QPoint(m_rect.left, m_rect.top), m_image);
}

}  // namespace ui
