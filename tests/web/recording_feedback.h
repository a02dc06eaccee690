#pragma once
// A please-wait box that records what it was asked to show, whether it is still up and the
// wait cursor's turns.

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
    void SetWaitCursor(bool on) override { cursor.push_back(on); }

    std::vector<std::string> texts;
    std::vector<bool> cursor;
    bool shown = false;
};

}  // namespace webtest
