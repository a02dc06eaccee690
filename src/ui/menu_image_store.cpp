#include "ui/menu_image_store.h"

#include <algorithm>

#include "ui/menu_image_variants.h"

namespace ui {

MenuImageStore& MenuImageStore::Shared() {
    static MenuImageStore store;
    return store;
}

int MenuImageStore::FirstIndexOf(unsigned commandId) const {
    auto it = std::find(m_ids.begin(), m_ids.end(), commandId);
    return it == m_ids.end() ? -1 : static_cast<int>(it - m_ids.begin());
}

bool MenuImageStore::HasVariants(int index) const {
    if (index < 0 || index + kDisabledOffset >= static_cast<int>(m_ids.size()))
        return false;
    const unsigned id = m_ids[static_cast<size_t>(index)];
    for (int k = 1; k <= kDisabledOffset; ++k)
        if (m_ids[static_cast<size_t>(index + k)] != id)
            return false;
    return true;
}

int MenuImageStore::Add(const QImage& image, unsigned commandId, bool withVariants, bool luna) {
    if (image.isNull())
        return -1;
    const int existing = FirstIndexOf(commandId);
    if (existing >= 0) {
        m_images.Replace(existing, image);
        if (withVariants && HasVariants(existing)) {
            m_images.Replace(existing + kWashedOffset, MakeWashedImage(image));
            m_images.Replace(existing + kShadowOffset, MakeShadowImage(image, luna));
            m_images.Replace(existing + kDisabledOffset, MakeGreyedImage(image));
        }
        return existing;
    }
    const int index = m_images.Add(image);
    m_ids.push_back(commandId);
    if (withVariants) {
        m_images.Add(MakeWashedImage(image));
        m_images.Add(MakeShadowImage(image, luna));
        m_images.Add(MakeGreyedImage(image));
        m_ids.insert(m_ids.end(), 3, commandId);
    }
    return index;
}

void MenuImageStore::Clear() {
    m_images = ImageList();
    m_ids.clear();
}

}  // namespace ui
