#pragma once
// The variants of a menu image that the two menu looks draw: washed, shadow, greyed, embossed
// and dithered. Each is made from the image drawn over COLOR_3DFACE; the colour of pixel (1,1)
// after that is taken as the background and stays transparent.

#include <QImage>
#include <optional>

#include "platform/win_types.h"

namespace ui {

QImage MakeWashedImage(const QImage& image);
QImage MakeShadowImage(const QImage& image, bool luna);
// `background`, when given, fills the background pixels instead of leaving them transparent.
QImage MakeGreyedImage(const QImage& image, std::optional<COLORREF> background = std::nullopt);
// Raised in COLOR_3DHILIGHT and COLOR_3DSHADOW on `background`.
QImage MakeEmbossedImage(const QImage& image, COLORREF background);
// Pixels that are neither COLOR_3DFACE nor COLOR_3DHILIGHT, raised on `band`.
QImage MakeDitheredImage(const QImage& image, COLORREF band);

}  // namespace ui
