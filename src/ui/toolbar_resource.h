#pragma once
// Tool-bar images by resource id: the command of every button and one strip of 16 x 15 images,
// one per button that is not a separator. Image menus take their item images from here.

#include <QImage>
#include <vector>

#include "ui/image_list.h"

namespace ui {

struct ToolbarResource {
    std::vector<unsigned> buttons;  // command ids in button order; 0 is a separator
    QImage bitmap;                  // the images side by side

    // The image index of the command's button, or -1 when no button has the command.
    int ImageIndexOf(unsigned commandId) const;
    ImageList Images() const;
};

void RegisterToolbarResource(int id, ToolbarResource resource);
// nullptr when no tool bar has the id.
const ToolbarResource* FindToolbarResource(int id);

}  // namespace ui
