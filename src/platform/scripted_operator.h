#pragma once
// An operator that answers by script: for tests, and for runs without anybody at the screen.
//
// Expected boxes are answered in the order they were expected; a box whose text does not
// contain the next expected part may still match a standing rule. Anything else is
// unexpected: its text is kept in Failures(), reported to the unexpected-handler, and
// answered as if dismissed (or with the lenient answer, when one is set).

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/operator.h"

namespace platform {

class ScriptedOperator : public Operator {
public:
    using DialogHandler = std::function<int(ModalDialog&)>;

    // The next box must contain `textPart`; it is answered with `answer`.
    ScriptedOperator& ExpectBox(std::string textPart, int answer = IDOK);
    // Every box containing `textPart` is answered with `answer`, however often it comes.
    ScriptedOperator& AlwaysAnswer(std::string textPart, int answer);
    // The next showing of the dialog `name` runs `handler`, which may fill the dialog's
    // fields and returns its result. Several handlers of one name serve one showing each.
    ScriptedOperator& ExpectDialog(std::string name, DialogHandler handler);
    // Every showing of `name` that no expected handler serves runs `handler`.
    ScriptedOperator& AlwaysRunDialog(std::string name, DialogHandler handler);
    ScriptedOperator& ExpectFileChoice(std::optional<std::string> answer);

    // Unexpected boxes are answered with the box's first button (OK or Yes) instead of
    // failing; unexpected dialogs are cancelled. For unattended runs.
    void SetLenient(bool lenient) { m_lenient = lenient; }
    // Called with a description of every unexpected box or dialog (tests: ADD_FAILURE).
    void SetUnexpectedHandler(std::function<void(const std::string&)> handler) {
        m_onUnexpected = std::move(handler);
    }
    // Called with every box's text as it is shown (unattended runs print them).
    void SetShownHandler(std::function<void(const std::string&)> handler) {
        m_onShown = std::move(handler);
    }

    // Every box text and dialog name shown so far, in order ("dialog:" before a dialog name).
    const std::vector<std::string>& Shown() const { return m_shown; }
    const std::vector<std::string>& Failures() const { return m_failures; }
    // Expectations that were never met, described.
    std::vector<std::string> Unmet() const;

    int MessageBox(const std::string& text, const std::string& caption, unsigned type) override;
    int RunModal(ModalDialog& dialog) override;
    std::optional<std::string> ChooseFile(const FileChoice& choice) override;
    bool AnswersByScript() const override { return true; }

private:
    struct BoxRule {
        std::string textPart;
        int answer;
    };
    void Unexpected(const std::string& what);

    std::deque<BoxRule> m_expectedBoxes;
    std::vector<BoxRule> m_standingBoxes;
    std::map<std::string, std::deque<DialogHandler>> m_expectedDialogs;
    std::map<std::string, DialogHandler> m_standingDialogs;
    std::deque<std::optional<std::string>> m_fileChoices;
    bool m_lenient = false;
    std::function<void(const std::string&)> m_onUnexpected;
    std::function<void(const std::string&)> m_onShown;
    std::vector<std::string> m_shown;
    std::vector<std::string> m_failures;
};

// Installs an operator for the lifetime of this object.
class ScopedOperator {
public:
    explicit ScopedOperator(Operator& op) { SetOperator(&op); }
    ~ScopedOperator() { SetOperator(nullptr); }
    ScopedOperator(const ScopedOperator&) = delete;
    ScopedOperator& operator=(const ScopedOperator&) = delete;
};

}  // namespace platform
