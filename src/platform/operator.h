#pragma once
// The operator: every message box, modal dialog and file chooser of the program goes through
// the current Operator. On screen it is Qt; in tests and unattended runs a script answers.
//
// While a quit is pending, boxes and dialogs return at once (Cancel, No, or OK for a box that
// has only OK), as they do on Windows when the quit message is already in the queue; a box's
// text then goes to standard error.

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
    // True when a script answers instead of a person, who could mend what keeps failing.
    virtual bool AnswersByScript() const { return false; }
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

// The question of a loop that tries again for as long as the operator says so ("Riprovare ?").
// A person may go on as long as they like. A script's answers go on kScriptedRetries times;
// then the loop is told No (or Cancel) without being asked, so that a run nobody watches ends
// with the loop's failure instead of going round for ever. One object per loop.
class RetryQuestion {
public:
    static constexpr int kScriptedRetries = 3;

    // The box's answer to `text` (AfxMessageBox), or its dismissed answer.
    int Ask(const std::string& text, unsigned type);

private:
    int m_scriptedRetries = 0;
};

}  // namespace platform
