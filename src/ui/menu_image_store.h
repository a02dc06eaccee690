#pragma once
// The image store that every image menu shares: one image per command id, followed in the XP
// look by its washed, shadow and disabled copies under the same id.

#include <QImage>
#include <vector>

#include "ui/image_list.h"

namespace ui {

class MenuImageStore {
public:
    static MenuImageStore& Shared();

    // Stores the command's image; a command stored before keeps its place and gets the new
    // image (and new copies, when it has them). Returns the index of the image, -1 for a null
    // image.
    int Add(const QImage& image, unsigned commandId, bool withVariants, bool luna);
    // The first index that holds the command, or -1.
    int FirstIndexOf(unsigned commandId) const;
    // Whether the three entries after `index` are the copies of its image.
    bool HasVariants(int index) const;
    QImage Image(int index) const { return m_images.Image(index); }
    int Count() const { return m_images.Count(); }
    void Clear();

    static constexpr int kWashedOffset = 1;
    static constexpr int kShadowOffset = 2;
    static constexpr int kDisabledOffset = 3;

private:
    ImageList m_images;
    std::vector<unsigned> m_ids;
};

}  // namespace ui
