#include "platform/event_loop.h"

#include <gtest/gtest.h>

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <memory>
#include <vector>

#include "platform/clock.h"
#include "platform/messages.h"
#include "platform/operator.h"
#include "platform/screen_operator.h"
#include "platform/scripted_operator.h"
#include "platform/window_timers.h"
#include "support/dialog_steps.h"

using namespace platform;

namespace {
class Recorder : public MessageTarget {
public:
    void OnMessage(unsigned message, std::uintptr_t wParam, std::intptr_t) override {
        received.push_back({message, wParam});
    }
    std::vector<std::pair<unsigned, std::uintptr_t>> received;
};

// A window whose close asks first, as the main window's does: the asking decides.
class AskingWindow : public QWidget {
public:
    int asked = 0;

protected:
    void closeEvent(QCloseEvent* event) override {
        ++asked;
        event->ignore();
    }
};

// What the window system sends when the user clicks a window's close box.
void ClickClose(QWidget& window) {
    QCoreApplication::postEvent(window.windowHandle(), new QCloseEvent);
}

// A close clicked during a pump that holds input, the pump over.
void ClickCloseWhileInputIsHeld(QWidget& window) {
    ClickClose(window);
    EventLoop::PumpWindowInput(nullptr);
}

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

// The user's close is held with the rest of the input, asked once when the loop turns after the
// pumps however many times it was clicked, and dropped where a click could not have been taken.
TEST_F(EventLoopTest, ACloseClickedWhileInputIsHeldIsAskedOnceAfterThePumps) {
    AskingWindow window;
    window.show();
    EventLoop::ProcessPending();
    ClickClose(window);
    ClickClose(window);
    // One more from a pump inside the pump, as a handler run there may start.
    QMetaObject::invokeMethod(
        &window, [&] { ClickCloseWhileInputIsHeld(window); }, Qt::QueuedConnection);
    EventLoop::PumpWindowInput(nullptr);
    EXPECT_EQ(window.asked, 0);
    EventLoop::ProcessPending();
    EXPECT_EQ(window.asked, 1);
    EXPECT_TRUE(window.isVisible());
    EventLoop::ProcessPending();
    EXPECT_EQ(window.asked, 1);
}

TEST_F(EventLoopTest, AHeldCloseIsDroppedBehindABoxForAHiddenOrGoneWindowAndWhenTheProgramEnds) {
    ScreenOperator screen;
    ScopedOperator onScreen(screen);
    AskingWindow window;
    window.show();
    EventLoop::ProcessPending();

    // A box opened before the loop turns, as a new session's question after its exchange: the
    // window behind it takes no click.
    ClickCloseWhileInputIsHeld(window);
    int askedDuringTheBox = -1;
    testenv::WhenDialogShown([&](QDialog& box) {
        EventLoop::ProcessPending();
        askedDuringTheBox = window.asked;
        static_cast<QMessageBox&>(box).button(QMessageBox::Ok)->click();
    });
    platform::AfxMessageBox("Do you want to save current data?", MB_OK);
    EventLoop::ProcessPending();
    EXPECT_EQ(askedDuringTheBox, 0);
    EXPECT_EQ(window.asked, 0);

    ClickCloseWhileInputIsHeld(window);
    window.hide();
    EventLoop::ProcessPending();
    EXPECT_EQ(window.asked, 0);
    window.show();

    auto gone = std::make_unique<AskingWindow>();
    gone->show();
    EventLoop::ProcessPending();
    ClickCloseWhileInputIsHeld(*gone);
    gone.reset();
    EventLoop::ProcessPending();

    ClickCloseWhileInputIsHeld(window);
    EventLoop::RequestQuit(0);
    EventLoop::ProcessPending();
    EXPECT_EQ(window.asked, 0);
}

// What a queued click's handler does inside a pump: the program's own close of a window is not
// the user's and goes through, and a box it opens takes the keys, or nothing could answer it.
TEST_F(EventLoopTest, InsideAPumpTheProgramsClosesGoThroughAndABoxOpenedThereTakesItsInput) {
    ScreenOperator screen;
    ScopedOperator onScreen(screen);
    QWidget other;
    other.show();
    EventLoop::ProcessPending();
    bool closed = false;
    int answer = 0;
    QMetaObject::invokeMethod(
        &other,
        [&] {
            closed = other.close();
            testenv::WhenDialogShown([](QDialog& box) {
                QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, {});
                QCoreApplication::sendEvent(&box, &escape);
            });
            answer = platform::AfxMessageBox("Confirm stop downloading ?", MB_YESNO);
        },
        Qt::QueuedConnection);
    EventLoop::PumpWindowInput(nullptr);
    EXPECT_TRUE(closed);
    EXPECT_FALSE(other.isVisible());
    EXPECT_EQ(answer, IDNO);
}
