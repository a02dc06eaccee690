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
        // Each turn handles what is waiting before it looks at the flags, so that a flag set
        // by a handler ends the wait without another sleep.
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        if (g_quitPending)
            return WaitEnd::Quit;
        if (abortFlag && *abortFlag) {
            *abortFlag = 0;
            return WaitEnd::Aborted;
        }
        const std::uint32_t elapsed = Clock::TickCount() - start;
        if (elapsed >= programMs)
            return WaitEnd::Elapsed;
        wake.start(Clock::ToRealMs(programMs - elapsed));
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
}

}  // namespace platform
