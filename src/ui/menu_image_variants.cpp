#include "ui/menu_image_variants.h"

#include <QPainter>
#include <functional>

#include "platform/colors.h"
#include "ui/menu_look.h"
#include "ui/system_colors.h"

namespace ui {

namespace {
QImage OnFace(const QImage& image) {
    QImage copy(image.size(), QImage::Format_ARGB32);
    copy.fill(platform::ToQColor(GetSysColor(COLOR_3DFACE)));
    QPainter painter(&copy);
    painter.drawImage(0, 0, image);
    return copy;
}

QRgb BackgroundOf(const QImage& copy) {
    return copy.width() > 1 && copy.height() > 1 ? copy.pixel(1, 1) : copy.pixel(0, 0);
}

QRgb Rgb(COLORREF c) {
    return qRgb(GetRValue(c), GetGValue(c), GetBValue(c));
}

COLORREF Ref(QRgb c) {
    return RGB(qRed(c), qGreen(c), qBlue(c));
}

// Every pixel that is not background goes through `change`; background pixels become
// transparent, or `background` when one is given.
QImage Recolour(const QImage& image, const std::function<QRgb(QRgb)>& change,
                std::optional<COLORREF> background = std::nullopt) {
    if (image.isNull())
        return {};
    QImage copy = OnFace(image);
    const QRgb bg = BackgroundOf(copy);
    for (int y = 0; y < copy.height(); ++y)
        for (int x = 0; x < copy.width(); ++x) {
            const QRgb p = copy.pixel(x, y);
            if (p != bg)
                copy.setPixel(x, y, change(p));
            else
                copy.setPixel(x, y, background ? Rgb(*background) : qRgba(0, 0, 0, 0));
        }
    return copy;
}

// A mask is painted twice: in COLOR_3DHILIGHT one pixel right and down, then in COLOR_3DSHADOW
// in place, over `fill`.
QImage Raised(const QImage& image, COLORREF fill, const std::function<bool(QRgb, QRgb)>& inMask) {
    if (image.isNull())
        return {};
    const QImage copy = OnFace(image);
    const QRgb bg = BackgroundOf(copy);
    QImage out(copy.size(), QImage::Format_ARGB32);
    out.fill(Rgb(fill));
    const QRgb hilight = Rgb(GetSysColor(COLOR_3DHILIGHT));
    const QRgb shadow = Rgb(GetSysColor(COLOR_3DSHADOW));
    for (int pass = 0; pass < 2; ++pass) {
        const int shift = pass == 0 ? 1 : 0;
        for (int y = 0; y < copy.height(); ++y)
            for (int x = 0; x < copy.width(); ++x)
                if (inMask(copy.pixel(x, y), bg) && x + shift < out.width() &&
                    y + shift < out.height())
                    out.setPixel(x + shift, y + shift, pass == 0 ? hilight : shadow);
    }
    return out;
}
}  // namespace

QImage MakeWashedImage(const QImage& image) {
    return Recolour(image, [](QRgb p) { return Rgb(LightenColor(Ref(p), 0.3)); });
}

QImage MakeShadowImage(const QImage& image, bool luna) {
    const COLORREF shadow = GetSysColor(COLOR_3DSHADOW);
    const QRgb colour = Rgb(luna ? shadow : LightenColor(shadow, 0.49));
    return Recolour(image, [colour](QRgb) { return colour; });
}

QImage MakeGreyedImage(const QImage& image, std::optional<COLORREF> background) {
    const COLORREF shadow = GetSysColor(COLOR_3DSHADOW);
    return Recolour(
        image,
        [shadow](QRgb p) {
            const double level = (qRed(p) + qGreen(p) + qBlue(p)) / 3.0 / 255.0;
            return Rgb(LightenColor(shadow, level));
        },
        background);
}

QImage MakeEmbossedImage(const QImage& image, COLORREF background) {
    return Raised(image, background, [](QRgb p, QRgb bg) { return p != bg; });
}

QImage MakeDitheredImage(const QImage& image, COLORREF band) {
    const QRgb face = Rgb(GetSysColor(COLOR_3DFACE));
    const QRgb hilight = Rgb(GetSysColor(COLOR_3DHILIGHT));
    return Raised(image, band, [face, hilight](QRgb p, QRgb) { return p != face && p != hilight; });
}

}  // namespace ui
