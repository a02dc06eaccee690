#include "platform/dialog_parent.h"

#include <QApplication>

namespace platform {

QWidget* DialogParent() {
    return QApplication::activeModalWidget();
}

}  // namespace platform
