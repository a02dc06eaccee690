#pragma once
// The operator: every message box, modal dialog and file chooser of the program goes through
// the current Operator. On screen it is Qt; in tests and unattended runs a script answers.
//
// While a quit is pending, boxes and dialogs return at once (Cancel, No, or OK for a box that
// has only OK), as they do on Windows when the quit message is already in the queue.

#include <optional>
#include <string>

#include "platform/win_types.h"

namespace platform {

class ModalDialog {
public:
    virtual ~ModalDialog() = default;
    // The name scripts know the dialog by: its class name, as "CSetHystogramRange".
    virtual std::string DialogName() const = 0;
    // Shows the real dialog on screen and returns IDOK, IDCANCEL or another result.
    virtual int RunOnScreen() = 0;
    // Runs the dialog through the current operator.
    int DoModal();
};

struct FileChoice {
    bool save = false;
    std::string title;
    std::string folder;
    std::string fileName;
    std::string filter;  // as "Verification files (*.vpg)"
};

class Operator {
public:
    virtual ~Operator() = default;
    virtual int MessageBox(const std::string& text, const std::string& caption, unsigned type) = 0;
    virtual int RunModal(ModalDialog& dialog) = 0;
    virtual std::optional<std::string> ChooseFile(const FileChoice& choice) = 0;
};

// The operator in charge; the screen operator unless one was installed.
Operator& CurrentOperator();
// Installs an operator (not owned); nullptr puts the screen operator back.
void SetOperator(Operator* op);

int MessageBox(const std::string& text, const std::string& caption, unsigned type);
// A box captioned with the program's name.
int AfxMessageBox(const std::string& text, unsigned type = MB_OK);
std::optional<std::string> ChooseFile(const FileChoice& choice);

// The answer of a box with these buttons when nobody may answer it.
int DismissedResult(unsigned type);

}  // namespace platform
