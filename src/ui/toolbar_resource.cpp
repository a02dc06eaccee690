#include "ui/toolbar_resource.h"

#include <map>

namespace ui {

namespace {
std::map<int, ToolbarResource>& Registry() {
    static std::map<int, ToolbarResource> registry;
    return registry;
}
}  // namespace

int ToolbarResource::ImageIndexOf(unsigned commandId) const {
    int image = 0;
    for (unsigned button : buttons) {
        if (button == 0)
            continue;
        if (button == commandId)
            return image;
        ++image;
    }
    return -1;
}

ImageList ToolbarResource::Images() const {
    ImageList list;
    list.AddStrip(bitmap);
    return list;
}

void RegisterToolbarResource(int id, ToolbarResource resource) {
    Registry()[id] = std::move(resource);
}

const ToolbarResource* FindToolbarResource(int id) {
    auto it = Registry().find(id);
    return it == Registry().end() ? nullptr : &it->second;
}

}  // namespace ui
