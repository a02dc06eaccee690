#include "app/kx9monitor_view_widget.h"

#include <QWidget>

QWidget* CreateViewWidget(CKX9MonitorView& /*view*/, QWidget* parent) {
    return new QWidget(parent);
}
