#include "link/command.h"

#include "link/command_table.h"
#include "platform/text.h"

namespace {
constexpr int kRunCode = 12;  // "KEY:RUN" keeps an empty name

std::string Fill(const CommandRow& row, const std::string& arg1, const std::string& arg2) {
    const std::string text = row.text;
    switch (row.argument) {
        case CommandArgument::None:
            return text;
        case CommandArgument::First:
            return platform::ReplaceAll(text, "%s", arg1);
        case CommandArgument::Second:
            return platform::ReplaceAll(text, "%s", arg2);
        case CommandArgument::SecondHead:
            return platform::ReplaceAll(text, "%s", platform::Left(arg2, 4));
        case CommandArgument::Both: {
            const int first = platform::Find(text, "%s");
            const std::string withFirst = text.substr(0, static_cast<size_t>(first)) + arg1;
            return withFirst +
                   platform::ReplaceAll(text.substr(static_cast<size_t>(first) + 2), "%s", arg2);
        }
    }
    return text;
}
}  // namespace

CCommand::CCommand(int code, const std::string& arg1, const std::string& arg2, int /*param*/)
    : m_nCode(code) {
    if (code != kRunCode)
        m_strName = arg1;
    const auto row = FindCommandRow(code);
    if (!row)
        return;
    m_nValid = 1;
    m_nTimeout = row->timeoutMs;
    m_strText = Fill(*row, arg1, arg2) + "\r\n";
}

std::string CommandLine(int code, const std::string& arg1, const std::string& arg2) {
    return CCommand(code, arg1, arg2).GetText();
}

std::string CommandText(int code, const std::string& arg1, const std::string& arg2) {
    const auto row = FindCommandRow(code);
    return row ? Fill(*row, arg1, arg2) : std::string();
}
