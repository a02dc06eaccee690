#include "ui/image_list.h"

namespace ui {

QImage ImageList::Fit(const QImage& image) {
    QImage fitted = image.convertToFormat(QImage::Format_ARGB32);
    if (fitted.width() != kMenuImageWidth || fitted.height() != kMenuImageHeight)
        fitted = fitted.scaled(kMenuImageWidth, kMenuImageHeight);
    return fitted;
}

int ImageList::Add(const QImage& image) {
    if (image.isNull())
        return -1;
    m_images.push_back(Fit(image));
    return Count() - 1;
}

bool ImageList::Replace(int index, const QImage& image) {
    if (index < 0 || index >= Count() || image.isNull())
        return false;
    m_images[static_cast<size_t>(index)] = Fit(image);
    return true;
}

int ImageList::AddStrip(const QImage& strip) {
    if (strip.isNull() || strip.height() < kMenuImageHeight)
        return 0;
    int added = 0;
    for (int x = 0; x + kMenuImageWidth <= strip.width(); x += kMenuImageWidth, ++added)
        m_images.push_back(Fit(strip.copy(x, 0, kMenuImageWidth, kMenuImageHeight)));
    return added;
}

QImage ImageList::Image(int index) const {
    if (index < 0 || index >= Count())
        return {};
    return m_images[static_cast<size_t>(index)];
}

}  // namespace ui
