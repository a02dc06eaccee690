#include "platform/event_loop.h"

#include <poll.h>
#include <QCoreApplication>
#include <QEventLoop>
#include <QPointer>
#include <QSocketNotifier>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <atomic>
#include <memory>
#include <utility>
#include <vector>

#include "platform/clock.h"
#include "platform/held_deliveries.h"

namespace platform {

namespace {
std::atomic<bool> g_quitPending{false};
std::atomic<int> g_exitCode{0};
}  // namespace

void EventLoop::RequestQuit(int exitCode) {
    g_exitCode = exitCode;
    g_quitPending = true;
    if (QCoreApplication::instance())
        QCoreApplication::exit(exitCode);
}

bool EventLoop::QuitPending() {
    return g_quitPending;
}
int EventLoop::ExitCode() {
    return g_exitCode;
}

void EventLoop::ClearQuit() {
    g_quitPending = false;
    g_exitCode = 0;
}

int EventLoop::Run() {
    if (!g_quitPending)
        QCoreApplication::exec();
    ProcessPending();
    return g_exitCode;
}

void EventLoop::ProcessPending() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

namespace {

// The user's input, and a window's close, which is the user's too: a close let through would
// ask its question where no input can answer it.
bool IsUserInput(const QEvent& event) {
    switch (event.type()) {
        case QEvent::Close:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::Wheel:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::ContextMenu:
            return true;
        default:
            return false;
    }
}

// Lets the user's input to one window through and keeps copies of the rest, which it posts
// again when it goes.
class InputGate : public QObject {
public:
    explicit InputGate(QObject* window) : m_window(window) {
        QCoreApplication::instance()->installEventFilter(this);
    }
    ~InputGate() override {
        QCoreApplication::instance()->removeEventFilter(this);
        for (auto& [receiver, event] : m_kept)
            if (receiver)
                QCoreApplication::postEvent(receiver, event.release());
    }
    InputGate(const InputGate&) = delete;
    InputGate& operator=(const InputGate&) = delete;

    bool eventFilter(QObject* receiver, QEvent* event) override {
        if (!IsUserInput(*event) || IsForWindow(receiver))
            return false;
        m_kept.emplace_back(receiver, std::unique_ptr<QEvent>(event->clone()));
        // A close held is not yet agreed to: the window stays as it is until it comes back.
        if (event->type() == QEvent::Close)
            event->ignore();
        return true;
    }

private:
    bool IsForWindow(QObject* receiver) const {
        if (!m_window)
            return false;
        QWidget* top =
            m_window->isWidgetType() ? static_cast<QWidget*>(m_window.data())->window() : nullptr;
        if (top && receiver == top->windowHandle())
            return true;
        for (QObject* object = receiver; object; object = object->parent())
            if (object == m_window || (top && object == top))
                return true;
        return false;
    }

    QPointer<QObject> m_window;
    std::vector<std::pair<QPointer<QObject>, std::unique_ptr<QEvent>>> m_kept;
};

bool Readable(int fd) {
    pollfd probe{fd, POLLIN, 0};
    return ::poll(&probe, 1, 0) > 0 && (probe.revents & POLLIN);
}

// Pumps until the program time passed, the abort flag or a quit, or `ready` (when given).
EventLoop::WaitEnd PumpFor(std::uint32_t programMs, int* abortFlag, const bool* ready) {
    const std::uint32_t start = Clock::TickCount();
    QTimer wake;
    wake.setSingleShot(true);
    wake.setTimerType(Qt::PreciseTimer);
    for (;;) {
        // Each turn handles what is waiting before it looks at the flags, so that a flag set
        // by a handler ends the wait without another sleep.
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        if (g_quitPending)
            return EventLoop::WaitEnd::Quit;
        if (abortFlag && *abortFlag) {
            *abortFlag = 0;
            return EventLoop::WaitEnd::Aborted;
        }
        if (ready && *ready)
            return EventLoop::WaitEnd::Input;
        const std::uint32_t elapsed = Clock::TickCount() - start;
        if (elapsed >= programMs)
            return EventLoop::WaitEnd::Elapsed;
        wake.start(Clock::ToRealMs(programMs - elapsed));
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
}

}  // namespace

EventLoop::WaitEnd EventLoop::Wait(std::uint32_t programMs, int* abortFlag) {
    const std::uint32_t start = Clock::TickCount();
    const WaitEnd end = PumpFor(programMs, abortFlag, nullptr);
    Clock::CountFixedWait(end == WaitEnd::Elapsed ? programMs : Clock::TickCount() - start);
    return end;
}

EventLoop::WaitEnd EventLoop::WaitForInput(int fd, std::uint32_t programMs, int* abortFlag) {
    bool ready = fd >= 0 && Readable(fd);
    if (ready)
        return WaitEnd::Input;
    std::unique_ptr<QSocketNotifier> notifier;
    if (fd >= 0) {
        notifier = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
        QObject::connect(notifier.get(), &QSocketNotifier::activated, [&ready, &notifier] {
            ready = true;
            notifier->setEnabled(false);
        });
    }
    return PumpFor(programMs, abortFlag, &ready);
}

void EventLoop::PumpWindowInput(QObject* window) {
    if (!QCoreApplication::instance())
        return;
    DeliveryHold hold;
    InputGate gate(window);
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

}  // namespace platform
