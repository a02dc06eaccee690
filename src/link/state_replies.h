#pragma once
// The replies that report the meter's state: the acquisition state, which also carries out a
// pending request to start or stop datalogging or to start a memory download, and the screen
// text, which is answered with key presses until the meter shows its measurement screen.
//
// These functions decide; the frame acts. They update the setup records themselves and
// return the meter mode's new flags, the warning to show and the commands to queue (in the order
// to queue them, with empty arguments: QueueFollowUps). The operator's Yes/No answers come
// from `confirm`, asked with the exclamation icon; it returns true for Yes.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "link/follow_up.h"
#include "link/instr_status.h"
#include "link/meter_mode.h"

using ConfirmFn = std::function<bool(const std::string& question)>;

// The monitoring-state reply: "STT:MONITOR:" and the state from this offset on; a shorter
// reply carries none.
inline constexpr int kMonitorValueOffset = 12;
inline constexpr size_t kMonitorReplyMinimum = 13;

struct AcquisitionReplyOutcome {
    bool acquiring = false;            // the mode's new acquiring flag
    bool dataLogging = false;          // its new datalogging flag
    int pendingOp = kNoPendingOp;      // its new pending operation
    bool startRecordingBlink = false;  // arm timer 6 at 1000 ms
    std::string warning;               // exclamation box, when not empty
    bool clearStatusText = false;      // empty the status window's text before queueing
    std::vector<FollowUp> commands;
};

// Code 11. Before calling, the frame creates and shows the status window if it does not exist
// (MeterMode::OnStatusDlgOpened) and appends the reply to its text. `dataLogging` and
// `pendingOp` are the mode's before the reply. Sets the datalogging flag and the
// integration mode of both records from the reply. A question answered No leaves the meter
// as it is and skips the status refresh.
AcquisitionReplyOutcome OnAcquisitionStateReply(std::string_view reply, bool dataLogging,
                                                int pendingOp, CInstrStatus& current,
                                                CInstrStatus& edited, const ConfirmFn& confirm);

// The current integration time as the datalogging question shows it: "SS:10" -> "10 s".
std::string IntegrationTimeText(const std::string& integrationTime);

struct DisplayReplyOutcome {
    bool checkDisplay = true;  // the mode's screen check: false ends the screen loop
    bool refuseDump = false;   // the download refused and ended
    std::string warning;       // exclamation box, shown before the commands are queued
    std::vector<FollowUp> commands;
};

// Code 100 while the mode checks the display: the reply is the text on the meter's screen. In
// scheduler mode nobody is asked and a running program is left.
DisplayReplyOutcome OnDisplayStateReply(std::string_view reply, bool schedulerMode,
                                        const ConfirmFn& confirm);
