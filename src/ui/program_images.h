#pragma once
// The program's own small images, drawn in code: the frame's tool bar (resource 130), whose
// images the image menu shows, and the icons and pictures of the dialogs.

#include <QIcon>
#include <QImage>

#include "ui/toolbar_resource.h"

namespace ui {

constexpr int IDR_MAINFRAME = 128;          // the program icon
constexpr int IDR_MAINFRAME_TOOLBAR = 130;  // the frame's tool bar
constexpr int IDI_CANCEL_DOWNLOAD = 341;    // the "Cancel Download" button
constexpr int IDB_METER_LINK = 343;         // a meter cabled to the PC, in the port settings

// Open, save, print, 3-D graph, 3-D graph properties, cross reference, data, about.
ToolbarResource MainToolbar();
// Makes the program's tool bars known to the image menus.
void RegisterProgramImages();
// A null icon for an id the program has no icon for.
QIcon ProgramIcon(int id);
// A null image for an id the program has no picture for.
QImage ProgramBitmap(int id);

}  // namespace ui
