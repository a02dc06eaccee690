#pragma once
// A please-wait box that records what it was asked to show and whether it is still up.

#include <string>
#include <vector>

#include "web/wait_feedback.h"

namespace webtest {

class RecordingFeedback : public web::WaitFeedback {
public:
    void ShowPleaseWait(const std::string& text) override {
        texts.push_back(text);
        shown = true;
    }
    void HidePleaseWait() override { shown = false; }
    void SetWaitCursor(bool) override {}

    std::vector<std::string> texts;
    bool shown = false;
};

}  // namespace webtest
