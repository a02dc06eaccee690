#include "platform/messages.h"

#include <QCoreApplication>
#include <QObject>
#include <QPointer>
#include <QThread>
#include <map>
#include <mutex>
#include <string>
#include <utility>

#include "platform/held_deliveries.h"

namespace platform {

MessageTarget::MessageTarget() : m_context(std::make_unique<QObject>()) {}
MessageTarget::~MessageTarget() = default;

void PostMessage(MessageTarget* target, unsigned message, std::uintptr_t wParam,
                 std::intptr_t lParam) {
    if (!target)
        return;
    QMetaObject::invokeMethod(
        target->Context(),
        [target, message, wParam, lParam] {
            Deliver(
                [target, context = QPointer<QObject>(target->Context()), message, wParam, lParam] {
                    if (context)
                        target->OnMessage(message, wParam, lParam);
                });
        },
        Qt::QueuedConnection);
}

void PostTextMessage(MessageTarget* target, unsigned message, std::uintptr_t wParam,
                     std::intptr_t lParam, std::string text) {
    if (!target)
        return;
    QMetaObject::invokeMethod(
        target->Context(),
        [target, message, wParam, lParam, text = std::move(text)] {
            Deliver([target, context = QPointer<QObject>(target->Context()), message, wParam,
                     lParam, text] {
                if (context)
                    target->OnTextMessage(message, wParam, lParam, text);
            });
        },
        Qt::QueuedConnection);
}

unsigned RegisterWindowMessage(std::string_view name) {
    static std::mutex mutex;
    static std::map<std::string, unsigned, std::less<>> numbers;
    std::lock_guard lock(mutex);
    auto it = numbers.find(name);
    if (it != numbers.end())
        return it->second;
    const unsigned number = 0xC000u + static_cast<unsigned>(numbers.size());
    numbers.emplace(std::string(name), number);
    return number;
}

void PostToUiThread(std::function<void()> task) {
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [task = std::move(task)] { Deliver(task); },
        Qt::QueuedConnection);
}

bool IsUiThread() {
    auto* app = QCoreApplication::instance();
    return app && QThread::currentThread() == app->thread();
}

}  // namespace platform
