#include "app/operator_script.h"

#include <algorithm>
#include <map>
#include <optional>
#include <vector>

#include "platform/files.h"
#include "platform/text.h"
#include "web/code_entry_form.h"
#include "web/login_form.h"

namespace {

using Fields = std::map<std::string, std::string>;

std::optional<int> Answer(const std::string& word) {
    static const std::map<std::string, int> answers = {
        {"OK", IDOK}, {"CANCEL", IDCANCEL}, {"YES", IDYES}, {"NO", IDNO}};
    const auto it = answers.find(platform::ToUpper(word));
    return it == answers.end() ? std::nullopt : std::optional<int>(it->second);
}

// The fields each scripted dialog takes.
const std::map<std::string, std::vector<std::string>>& DialogFields() {
    static const std::map<std::string, std::vector<std::string>> fields = {
        {"CSetHystogramRange", {"code", "password", "authorised"}},
        {"CSetLabelDlg", {"text"}},
    };
    return fields;
}

int RunScripted(platform::ModalDialog& dialog, int answer, const Fields& fields) {
    if (auto* login = dynamic_cast<CSetHystogramRange*>(&dialog)) {
        if (fields.count("code"))
            login->m_strCode = fields.at("code");
        if (fields.count("password"))
            login->m_strPassword = fields.at("password");
        if (fields.count("authorised"))
            login->m_bAuthorised = platform::Atoi(fields.at("authorised"));
        if (answer == IDOK && !login->OnOK())
            return IDCANCEL;
    } else if (auto* entry = dynamic_cast<CSetLabelDlg*>(&dialog)) {
        if (fields.count("text"))
            entry->m_strText = fields.at("text");
        if (answer == IDOK && !entry->OnOK())
            return IDCANCEL;
    }
    return answer;
}

std::string Unescape(const std::string& text) {
    return platform::ReplaceAll(text, "\\n", "\n");
}

// The rules below add their rule to the operator; each returns why the line is not one, or
// nothing.

// box <OK|CANCEL|YES|NO> <text part>
std::string AddBoxRule(const std::vector<std::string>& words, const std::string& line,
                       platform::ScriptedOperator& op) {
    if (words.size() < 3 || !Answer(words[1]))
        return "expected: box <OK|CANCEL|YES|NO> <text part>";
    const int at = platform::Find(line, words[1]) + static_cast<int>(words[1].size());
    op.AlwaysAnswer(Unescape(platform::Trim(platform::Mid(line, at))), *Answer(words[1]));
    return {};
}

// dialog <Name> <OK|CANCEL> [field=value]...
std::string AddDialogRule(const std::vector<std::string>& words, platform::ScriptedOperator& op) {
    if (words.size() < 3 || !Answer(words[2]))
        return "expected: dialog <Name> <OK|CANCEL> [field=value]...";
    const std::string& name = words[1];
    const auto known = DialogFields().find(name);
    Fields fields;
    for (size_t i = 3; i < words.size(); ++i) {
        const int equals = platform::Find(words[i], '=');
        const std::string field = platform::Left(words[i], equals);
        const bool takes = known != DialogFields().end() &&
                           std::ranges::find(known->second, field) != known->second.end();
        if (equals <= 0 || !takes)
            return "unknown field of " + name;
        fields[field] = platform::Mid(words[i], equals + 1);
    }
    const int answer = *Answer(words[2]);
    op.AlwaysRunDialog(name, [answer, fields](platform::ModalDialog& dialog) {
        return RunScripted(dialog, answer, fields);
    });
    return {};
}

std::string AddRule(const std::string& line, platform::ScriptedOperator& op) {
    std::vector<std::string> words;
    for (const std::string& word : platform::Split(line, ' '))
        if (!word.empty())
            words.push_back(word);
    if (words[0] == "box")
        return AddBoxRule(words, line, op);
    if (words[0] == "dialog")
        return AddDialogRule(words, op);
    return "unknown rule";
}

}  // namespace

bool ParseOperatorScript(const std::string& text, platform::ScriptedOperator& op,
                         std::string& error) {
    int number = 0;
    for (const std::string& raw : platform::Split(text, '\n')) {
        ++number;
        const std::string line = platform::Trim(platform::Remove(raw, '\r'));
        if (line.empty() || line[0] == '#')
            continue;
        if (const std::string why = AddRule(line, op); !why.empty()) {
            error = platform::Format("line %d: %s: %s", number, why.c_str(), line.c_str());
            return false;
        }
    }
    return true;
}

bool LoadOperatorScript(const std::string& path, platform::ScriptedOperator& op,
                        std::string& error) {
    const auto text = platform::ReadWholeFile(path);
    if (!text) {
        error = "cannot read " + path;
        return false;
    }
    return ParseOperatorScript(*text, op, error);
}
