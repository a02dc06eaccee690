#include "platform/event_loop.h"

#include <poll.h>
#include <QApplication>
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

bool IsUserInput(const QEvent& event) {
    switch (event.type()) {
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

// Whether `receiver` is `window`, one of its children or its native window.
bool IsWithin(QObject* receiver, QObject* window) {
    if (!window)
        return false;
    QWidget* top = window->isWidgetType() ? static_cast<QWidget*>(window)->window() : nullptr;
    if (top && receiver == top->windowHandle())
        return true;
    for (QObject* object = receiver; object; object = object->parent())
        if (object == window || (top && object == top))
            return true;
    return false;
}

// The windows whose close the user clicked while input was held, each asked once.
std::vector<QPointer<QWidget>> g_heldCloses;

// Asked as the click would have been, unless the window went, was hidden or is now behind a
// box that came up since (Qt drops a click on a window a box blocks, and so the rest of the held
// input), or the program is leaving.
void AskHeldClose(const QPointer<QWidget>& window) {
    std::erase_if(g_heldCloses,
                  [&window](const QPointer<QWidget>& held) { return !held || held == window; });
    if (!window || !window->isVisible() || g_quitPending)
        return;
    if (const QWidget* modal = QApplication::activeModalWidget(); modal && modal != window)
        return;
    window->close();
}

// A close held is a program delivery: it comes back once no hold is left, after the timers and
// replies that fell due before it.
void HoldClose(QWidget* window) {
    for (const QPointer<QWidget>& held : g_heldCloses)
        if (held == window)
            return;
    g_heldCloses.emplace_back(window);
    Deliver([window = QPointer<QWidget>(window)] { AskHeldClose(window); });
}

// Lets the user's input to one window through and keeps copies of the rest, which it posts
// again when it goes. A close that the user clicked is held too: it would ask its question
// where no input can answer it.
class InputGate : public QObject {
public:
    explicit InputGate(QObject* window)
        : m_window(window), m_modalBefore(QApplication::activeModalWidget()) {
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
        if (event->type() == QEvent::Close)
            return HoldsClose(receiver, *event);
        if (!IsUserInput(*event) || IsLetThrough(receiver))
            return false;
        m_kept.emplace_back(receiver, std::unique_ptr<QEvent>(event->clone()));
        return true;
    }

private:
    // The user's close reaches the window's widget as a spontaneous event; the program's own
    // closes (QWidget::close, a dialog's end) do not, and go through.
    bool HoldsClose(QObject* receiver, QEvent& event) {
        if (!event.spontaneous() || !receiver->isWidgetType() || IsLetThrough(receiver))
            return false;
        HoldClose(static_cast<QWidget*>(receiver));
        // Not agreed to: the window stays as it is until the close is asked.
        event.ignore();
        return true;
    }

    bool IsLetThrough(QObject* receiver) const {
        if (IsWithin(receiver, m_window))
            return true;
        // A box that came up inside the pump (a queued click's handler opened it) takes its
        // input: nothing else could answer it.
        QWidget* modal = QApplication::activeModalWidget();
        return modal && modal != m_modalBefore && IsWithin(receiver, modal);
    }

    QPointer<QObject> m_window;
    QPointer<QWidget> m_modalBefore;
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
