#pragma once
// Commands that a reply handler wants queued after it, and the queue's calls they go through.

#include <functional>
#include <string>
#include <vector>

#include "platform/win_types.h"

// The frame's SendCommand(code, arg1, arg2, param, urgent): a normal command joins the queue
// behind the others, an urgent one goes out next.
using SendCommandFn = std::function<void(int code, const std::string& arg1, const std::string& arg2,
                                         int param, BOOL urgent)>;

// The queue's WithdrawUnsent(code, arg1, arg2): takes a command built so off the queue unless it
// has gone out; whether there was one.
using WithdrawCommandFn =
    std::function<bool(int code, const std::string& arg1, const std::string& arg2)>;

struct FollowUp {
    int code = -1;
    bool urgent = false;
    bool operator==(const FollowUp&) const = default;
};

// Queues them in order, with empty arguments.
inline void QueueFollowUps(const std::vector<FollowUp>& followUps, const SendCommandFn& send) {
    for (const FollowUp& f : followUps)
        send(f.code, "", "", -1, f.urgent ? TRUE : FALSE);
}
