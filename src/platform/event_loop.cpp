#include "platform/event_loop.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <atomic>

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

EventLoop::WaitEnd EventLoop::Wait(std::uint32_t programMs, int* abortFlag) {
    const std::uint32_t start = Clock::TickCount();
    QTimer wake;
    wake.setSingleShot(true);
    wake.setTimerType(Qt::PreciseTimer);
    for (;;) {
        const std::uint32_t elapsed = Clock::TickCount() - start;
        const std::uint32_t remaining = elapsed >= programMs ? 0 : programMs - elapsed;
        if (remaining > 0) {
            wake.start(Clock::ToRealMs(remaining));
            QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
        }
        // Once more without blocking, so that everything that arrived is handled.
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        if (g_quitPending)
            return WaitEnd::Quit;
        if (abortFlag && *abortFlag) {
            *abortFlag = 0;
            return WaitEnd::Aborted;
        }
        if (remaining == 0)
            return WaitEnd::Elapsed;
    }
}

}  // namespace platform
