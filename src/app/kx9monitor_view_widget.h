#pragma once
// The main view's widget, which fills the frame's window.

class CKX9MonitorView;
class QWidget;

// A new widget showing the view, owned by `parent`; the view must outlive it.
QWidget* CreateViewWidget(CKX9MonitorView& view, QWidget* parent);
