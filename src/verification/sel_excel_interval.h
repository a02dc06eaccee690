#pragma once
// The sound-card instructions: how the PC's sound card must be set for the bench's test tones.
// Modal, no parent; its result is not used.

#include <string>

#include "platform/operator.h"

class CSelExcelInterval : public platform::ModalDialog {
public:
    static constexpr int IDD = 256;
    static constexpr int IDC_TEXT = 1001;

    std::string DialogName() const override { return "CSelExcelInterval"; }
    int RunOnScreen() override;

    static const std::string& InstructionsText();
};
