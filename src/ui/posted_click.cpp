#include "ui/posted_click.h"

#include <QAbstractButton>
#include <QPointer>

#include "platform/messages.h"

namespace ui {

void OnClickedLater(QAbstractButton* button, QObject* context, std::function<void()> handler) {
    QObject::connect(button, &QAbstractButton::clicked, context,
                     [context = QPointer<QObject>(context), handler = std::move(handler)] {
                         platform::PostToUiThread([context, handler] {
                             if (context)
                                 handler();
                         });
                     });
}

}  // namespace ui
