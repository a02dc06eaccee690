#pragma once
// A list of small images of one size, as menus and tool bars keep them.

#include <QImage>
#include <vector>

namespace ui {

constexpr int kMenuImageWidth = 16;
constexpr int kMenuImageHeight = 15;

class ImageList {
public:
    // Appends the image (scaled to the list's size when it differs); returns its index, or -1
    // for a null image.
    int Add(const QImage& image);
    bool Replace(int index, const QImage& image);
    // Cuts a strip of images laid side by side into the list; returns how many were added.
    int AddStrip(const QImage& strip);
    int Count() const { return static_cast<int>(m_images.size()); }
    // A null image outside the list.
    QImage Image(int index) const;

private:
    static QImage Fit(const QImage& image);
    std::vector<QImage> m_images;
};

}  // namespace ui
