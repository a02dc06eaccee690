#include "platform/operator.h"

#include <cstdio>

#include "platform/event_loop.h"
#include "platform/screen_operator.h"
#include "platform/text.h"

namespace platform {

namespace {
Operator* g_operator = nullptr;

// A box's text as one line of standard error.
std::string OneLine(const std::string& text) {
    std::string line;
    for (const std::string& part : Split(text, '\n'))
        if (const std::string piece = Trim(part); !piece.empty())
            line += (line.empty() ? "" : " ") + piece;
    return line;
}
}  // namespace

Operator& CurrentOperator() {
    static ScreenOperator screen;
    return g_operator ? *g_operator : screen;
}

void SetOperator(Operator* op) {
    g_operator = op;
}

int DismissedResult(unsigned type) {
    switch (type & 0x0F) {
        case MB_OKCANCEL:
            return IDCANCEL;
        case MB_YESNO:
            return IDNO;
        case MB_YESNOCANCEL:
            return IDCANCEL;
        default:
            return IDOK;
    }
}

int MessageBox(const std::string& text, const std::string& caption, unsigned type) {
    if (EventLoop::QuitPending()) {
        // Nobody will see it: a failure met while the program ends is still said somewhere.
        std::fprintf(stderr, "kx9monitor: not shown, the program is ending: %s\n",
                     OneLine(text).c_str());
        return DismissedResult(type);
    }
    return CurrentOperator().MessageBox(text, caption, type);
}

int AfxMessageBox(const std::string& text, unsigned type) {
    return MessageBox(text, "KX9Monitor", type);
}

std::optional<std::string> ChooseFile(const FileChoice& choice) {
    if (EventLoop::QuitPending())
        return std::nullopt;
    return CurrentOperator().ChooseFile(choice);
}

int RetryQuestion::Ask(const std::string& text, unsigned type) {
    const bool scripted = CurrentOperator().AnswersByScript();
    if (scripted && m_scriptedRetries >= kScriptedRetries)
        return DismissedResult(type);
    const int answer = AfxMessageBox(text, type);
    if (scripted && answer != DismissedResult(type))
        ++m_scriptedRetries;
    return answer;
}

int ModalDialog::DoModal() {
    if (EventLoop::QuitPending())
        return IDCANCEL;
    return CurrentOperator().RunModal(*this);
}

}  // namespace platform
