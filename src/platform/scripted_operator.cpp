#include "platform/scripted_operator.h"

namespace platform {

namespace {
int FirstButton(unsigned type) {
    return (type & 0x0F) >= MB_YESNOCANCEL ? IDYES : IDOK;
}
}  // namespace

ScriptedOperator& ScriptedOperator::ExpectBox(std::string textPart, int answer) {
    m_expectedBoxes.push_back({std::move(textPart), answer});
    return *this;
}

ScriptedOperator& ScriptedOperator::AlwaysAnswer(std::string textPart, int answer) {
    m_standingBoxes.push_back({std::move(textPart), answer});
    return *this;
}

ScriptedOperator& ScriptedOperator::ExpectDialog(std::string name, DialogHandler handler) {
    m_expectedDialogs[std::move(name)].push_back(std::move(handler));
    return *this;
}

ScriptedOperator& ScriptedOperator::AlwaysRunDialog(std::string name, DialogHandler handler) {
    m_standingDialogs[std::move(name)] = std::move(handler);
    return *this;
}

ScriptedOperator& ScriptedOperator::ExpectFileChoice(std::optional<std::string> answer) {
    m_fileChoices.push_back(std::move(answer));
    return *this;
}

std::vector<std::string> ScriptedOperator::Unmet() const {
    std::vector<std::string> unmet;
    for (const auto& rule : m_expectedBoxes)
        unmet.push_back("box: " + rule.textPart);
    for (const auto& [name, handlers] : m_expectedDialogs)
        for (size_t i = 0; i < handlers.size(); ++i)
            unmet.push_back("dialog: " + name);
    for (size_t i = 0; i < m_fileChoices.size(); ++i)
        unmet.push_back("file choice");
    return unmet;
}

void ScriptedOperator::Unexpected(const std::string& what) {
    m_failures.push_back(what);
    if (m_onUnexpected)
        m_onUnexpected(what);
}

int ScriptedOperator::MessageBox(const std::string& text, const std::string&, unsigned type) {
    m_shown.push_back(text);
    if (m_onShown)
        m_onShown(text);
    if (!m_expectedBoxes.empty() &&
        text.find(m_expectedBoxes.front().textPart) != std::string::npos) {
        const int answer = m_expectedBoxes.front().answer;
        m_expectedBoxes.pop_front();
        return answer;
    }
    for (const auto& rule : m_standingBoxes)
        if (text.find(rule.textPart) != std::string::npos)
            return rule.answer;
    if (m_lenient)
        return FirstButton(type);
    Unexpected(
        "unexpected message box: " + text +
        (m_expectedBoxes.empty() ? "" : " (expected: " + m_expectedBoxes.front().textPart + ")"));
    return DismissedResult(type);
}

int ScriptedOperator::RunModal(ModalDialog& dialog) {
    const std::string name = dialog.DialogName();
    m_shown.push_back("dialog:" + name);
    if (m_onShown)
        m_onShown("dialog:" + name);
    auto expected = m_expectedDialogs.find(name);
    if (expected != m_expectedDialogs.end() && !expected->second.empty()) {
        DialogHandler handler = std::move(expected->second.front());
        expected->second.pop_front();
        if (expected->second.empty())
            m_expectedDialogs.erase(expected);
        return handler(dialog);
    }
    auto standing = m_standingDialogs.find(name);
    if (standing != m_standingDialogs.end())
        return standing->second(dialog);
    if (!m_lenient)
        Unexpected("unexpected dialog: " + name);
    return IDCANCEL;
}

std::optional<std::string> ScriptedOperator::ChooseFile(const FileChoice& choice) {
    m_shown.push_back("file:" + choice.title);
    if (m_fileChoices.empty()) {
        if (!m_lenient)
            Unexpected("unexpected file choice: " + choice.title);
        return std::nullopt;
    }
    auto answer = std::move(m_fileChoices.front());
    m_fileChoices.pop_front();
    return answer;
}

}  // namespace platform
