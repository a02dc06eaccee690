#include "link/command_table_builder.h"

#include <stdexcept>

#include "platform/text.h"

void CommandTableBuilder::Read(int code, const std::string& key, int timeout) {
    Add(code, kSettingFamily + key + ":?", timeout, CommandArgument::None);
}

void CommandTableBuilder::Write(int code, const std::string& key, CommandArgument argument,
                                int timeout) {
    Add(code, kSettingFamily + key + ":%s", timeout, argument);
}

void CommandTableBuilder::Pairs(int firstRead, int firstWrite, int step, CommandArgument argument,
                                std::initializer_list<const char*> keys) {
    int offset = 0;
    for (const char* key : keys) {
        Read(firstRead + offset, key);
        Write(firstWrite + offset, key, argument);
        offset += step;
    }
}

void CommandTableBuilder::Add(int code, std::string text, int timeout, CommandArgument argument) {
    if (const auto held = m_rows.find(code); held != m_rows.end())
        throw std::logic_error(platform::Format("Command code %d is \"%s\" and again \"%s\"", code,
                                                held->second.text, text.c_str()));
    m_texts.push_back(std::make_unique<std::string>(std::move(text)));
    m_rows[code] = {code, m_texts.back()->c_str(), timeout, argument};
}

std::vector<CommandRow> CommandTableBuilder::Rows() const {
    std::vector<CommandRow> rows;
    for (const auto& [code, row] : m_rows)
        rows.push_back(row);
    return rows;
}
