#pragma once

#include "platform/operator.h"

namespace platform {

// The operator at the screen: Qt message boxes, dialogs and file choosers.
class ScreenOperator : public Operator {
public:
    int MessageBox(const std::string& text, const std::string& caption, unsigned type) override;
    int RunModal(ModalDialog& dialog) override;
    std::optional<std::string> ChooseFile(const FileChoice& choice) override;
};

}  // namespace platform
