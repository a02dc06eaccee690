#pragma once
// The user-interface thread's message loop, its quit request and the message-pumping wait.
//
// A quit request is kept here until the main loop meets it: Qt forgets a quit that is asked
// for inside a nested loop or before the main loop runs, and the program relies on a quit
// posted during start-up ending it as soon as the main loop starts.

#include <cstdint>

class QObject;

namespace platform {

class EventLoop {
public:
    static void RequestQuit(int exitCode);
    static bool QuitPending();
    static int ExitCode();
    // Forgets a pending quit (tests that run several start-ups in one process).
    static void ClearQuit();

    // Runs the main loop until a quit request; returns its exit code. Events that were
    // posted before the quit are still handled.
    static int Run();

    enum class WaitEnd { Elapsed, Aborted, Quit, Input };
    // Handles events for `programMs` of program time. Ends early, after a turn of pumping,
    // when *abortFlag is non-zero (and clears it) or when a quit is pending.
    static WaitEnd Wait(std::uint32_t programMs, int* abortFlag = nullptr);
    // The same wait, ended as well (Input) as soon as the descriptor has bytes to read. It is
    // not a fixed wait: it does not count in Clock::FixedWaits.
    static WaitEnd WaitForInput(int fd, std::uint32_t programMs, int* abortFlag = nullptr);

    // Handles the events that are waiting now, without blocking.
    static void ProcessPending();
    // Handles, of the events waiting now, only the window system's (paints) and the user's
    // input to `window` and its children (nullptr: to no window). The program's timers and
    // posted messages wait (held_deliveries.h), and so does the input to other windows, the
    // user's closes too (a close asks its question, which nothing could answer here): all of it
    // is handled when the loop turns after this, a close once however often it was clicked,
    // and not at all where the click could not have been taken (a box has come up over its
    // window since, the window is gone or hidden, the program is ending). A box that opens
    // inside takes its input.
    static void PumpWindowInput(QObject* window);
};

}  // namespace platform
