#pragma once
// The main view's window: the form's lists, charts and logo, placed and shown as the view
// says, with the lists' clicks handed to the view's handlers, and the view's graph windows as
// its children while it exists.

#include <QImage>
#include <vector>

class QWidget;
class CKX9MonitorView;

// Builds the view's window as a child of `parent` and runs the view's initial update when it
// has not run yet (the view's services should be installed before). The window lets go of the
// view when the view goes first.
QWidget* CreateViewWidget(CKX9MonitorView& view, QWidget* parent);

// The view's small images (16 x 16), by index: page, folder, mark, clock, information,
// warning, error.
std::vector<QImage> ViewImages();
