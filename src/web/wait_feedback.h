#pragma once
// What the operator sees while the station talks to the server: the frame's please-wait box
// (its text, shown or hidden) and the wait cursor. The frame implements it; without one
// nothing is shown.

#include <string>

namespace web {

class WaitFeedback {
public:
    virtual ~WaitFeedback() = default;
    // Creates the box when it has none, puts the text in and shows it at once.
    virtual void ShowPleaseWait(const std::string& text) = 0;
    virtual void HidePleaseWait() = 0;
    virtual void SetWaitCursor(bool on) = 0;
};

class NoWaitFeedback : public WaitFeedback {
public:
    void ShowPleaseWait(const std::string&) override {}
    void HidePleaseWait() override {}
    void SetWaitCursor(bool) override {}
};

}  // namespace web
