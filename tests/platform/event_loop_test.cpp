#include "platform/event_loop.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QKeyEvent>
#include <QThread>
#include <QTimer>
#include <QWidget>
#include <memory>
#include <vector>

#include "platform/clock.h"
#include "platform/messages.h"
#include "platform/window_timers.h"

using namespace platform;

namespace {
class Recorder : public MessageTarget {
public:
    void OnMessage(unsigned message, std::uintptr_t wParam, std::intptr_t) override {
        received.push_back({message, wParam});
    }
    std::vector<std::pair<unsigned, std::uintptr_t>> received;
};

class EventLoopTest : public ::testing::Test {
protected:
    void TearDown() override { EventLoop::ClearQuit(); }
    ScopedClockSpeed fast{1000.0};
};
}  // namespace

TEST_F(EventLoopTest, WaitRunsForItsProgramTimeOrUntilItsAbortFlag) {
    Recorder target;
    PostMessage(&target, 7, 1, 0);
    auto start = Clock::TickCount();
    EXPECT_EQ(EventLoop::Wait(5000), EventLoop::WaitEnd::Elapsed);
    EXPECT_GE(Clock::TickCount() - start, 5000u);
    EXPECT_EQ(target.received.size(), 1u);

    // A flag set before the wait ends it after one pump; one set by a handler ends it too.
    int abort = 1;
    start = Clock::TickCount();
    EXPECT_EQ(EventLoop::Wait(100000, &abort), EventLoop::WaitEnd::Aborted);
    EXPECT_EQ(abort, 0);
    EXPECT_LT(Clock::TickCount() - start, 100000u);
    WindowTimers timers([&](int) { abort = 1; });
    timers.Set(1, 300);
    EXPECT_EQ(EventLoop::Wait(1000000, &abort), EventLoop::WaitEnd::Aborted);
    EXPECT_EQ(abort, 0);
}

TEST_F(EventLoopTest, QuitInsideAWaitEndsItAndStaysPendingForTheMainLoop) {
    WindowTimers timers([&](int) { EventLoop::RequestQuit(3); });
    timers.Set(1, 100);
    EXPECT_EQ(EventLoop::Wait(1000000), EventLoop::WaitEnd::Quit);
    EXPECT_TRUE(EventLoop::QuitPending());
    // A later wait returns at once, and so does the main loop, with the quit's exit code.
    EXPECT_EQ(EventLoop::Wait(1000000), EventLoop::WaitEnd::Quit);
    EXPECT_EQ(EventLoop::Run(), 3);
}

TEST_F(EventLoopTest, MainLoopHandlesEarlierPostsAndEndsOnAQuitFromAHandler) {
    Recorder target;
    PostMessage(&target, 1, 0, 0);
    EventLoop::RequestQuit(0);
    EXPECT_EQ(EventLoop::Run(), 0);
    EXPECT_EQ(target.received.size(), 1u);

    EventLoop::ClearQuit();
    QTimer::singleShot(1, [] { EventLoop::RequestQuit(5); });
    EXPECT_EQ(EventLoop::Run(), 5);
}

TEST_F(EventLoopTest, MessagesFromAnotherThreadArriveInOrderAndNoneToADestroyedTarget) {
    Recorder target;
    const unsigned message = RegisterWindowMessage("CSerialWnd_DefaultComMsg");
    EXPECT_GE(message, 0xC000u);
    EXPECT_EQ(message, RegisterWindowMessage("CSerialWnd_DefaultComMsg"));
    auto gone = std::make_unique<Recorder>();
    std::thread poster([&] {
        for (std::uintptr_t i = 0; i < 200; ++i)
            PostMessage(&target, message, i, 0);
        PostMessage(gone.get(), 1, 0, 0);
    });
    poster.join();
    gone.reset();
    EventLoop::ProcessPending();  // must not touch the destroyed target
    ASSERT_EQ(target.received.size(), 200u);
    for (std::uintptr_t i = 0; i < 200; ++i)
        EXPECT_EQ(target.received[i].second, i);
}

TEST_F(EventLoopTest, TimersRearmByIdAndKillIdempotently) {
    std::vector<int> fired;
    WindowTimers timers([&](int id) { fired.push_back(id); });
    timers.Set(1, 100000);
    timers.Set(1, 100);  // replaces the long one
    timers.Kill(2);      // never armed
    EXPECT_TRUE(timers.IsSet(1));
    EventLoop::Wait(1000);
    EXPECT_FALSE(fired.empty());
    timers.Kill(1);
    timers.Kill(1);
    EXPECT_FALSE(timers.IsSet(1));
    const size_t count = fired.size();
    EventLoop::Wait(1000);
    EXPECT_EQ(fired.size(), count);
}

TEST_F(EventLoopTest, PumpingOneWindowsInputHoldsTimersMessagesAndOtherInputInTheirOrder) {
    QWidget box;
    QWidget other;
    std::vector<std::string> happened;
    struct Keys : QObject {
        Keys(std::vector<std::string>& log, const char* name) : log(log), name(name) {}
        bool eventFilter(QObject*, QEvent* event) override {
            if (event->type() == QEvent::KeyPress)
                log.push_back(std::string(name) + " key");
            return false;
        }
        std::vector<std::string>& log;
        const char* name;
    } boxKeys(happened, "box"), otherKeys(happened, "other");
    box.installEventFilter(&boxKeys);
    other.installEventFilter(&otherKeys);
    struct Log : MessageTarget {
        explicit Log(std::vector<std::string>& log) : log(log) {}
        void OnMessage(unsigned message, std::uintptr_t, std::intptr_t) override {
            log.push_back("message " + std::to_string(message));
        }
        std::vector<std::string>& log;
    } target(happened);
    WindowTimers timers([&](int) {
        happened.push_back("timer");
        timers.Kill(1);
    });

    timers.Set(1, 1);
    // Until the timer is due, so that it falls due inside the pumping below.
    const QDeadlineTimer due(Clock::ToRealMs(1), Qt::PreciseTimer);
    while (!due.hasExpired())
        QThread::yieldCurrentThread();
    PostMessage(&target, 1, 0, 0);
    QCoreApplication::postEvent(&other, new QKeyEvent(QEvent::KeyPress, Qt::Key_A, {}));
    QCoreApplication::postEvent(&box, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, {}));
    PostMessage(&target, 2, 0, 0);
    EventLoop::PumpWindowInput(&box);
    EXPECT_EQ(happened, std::vector<std::string>{"box key"});

    // A message posted later waits behind the held ones.
    PostMessage(&target, 3, 0, 0);
    EventLoop::ProcessPending();
    EXPECT_EQ(happened, (std::vector<std::string>{"box key", "other key", "message 1", "message 2",
                                                  "timer", "message 3"}));
}
