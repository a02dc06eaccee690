#include "platform/event_loop.h"

#include <poll.h>
#include <QCoreApplication>
#include <QEventLoop>
#include <QSocketNotifier>
#include <QTimer>

#include <atomic>
#include <memory>

#include "platform/clock.h"

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

}  // namespace platform
