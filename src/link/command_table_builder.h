#pragma once
// Builds the command table (command_table.h) row by row, refusing a code it already holds: a
// second row would otherwise send its text under the first one's code, and only the meter
// would notice.

#include <initializer_list>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "link/command_table.h"

class CommandTableBuilder {
public:
    // "SET:<key>:?".
    void Read(int code, const std::string& key, int timeout = 2000);
    // "SET:<key>:%s".
    void Write(int code, const std::string& key, CommandArgument argument, int timeout = 2000);
    // Keys read from `firstRead` on and written from `firstWrite` on, `step` codes apart.
    void Pairs(int firstRead, int firstWrite, int step, CommandArgument argument,
               std::initializer_list<const char*> keys);
    // Throws std::logic_error, naming the code and both texts, when the table holds `code`;
    // the table is then left as it was.
    void Add(int code, std::string text, int timeout, CommandArgument argument);

    // Every row, in code order; their texts live as long as the builder.
    std::vector<CommandRow> Rows() const;

private:
    std::vector<std::unique_ptr<std::string>> m_texts;
    std::map<int, CommandRow> m_rows;
};

// The rows of every command the program sends.
void AddProgramCommands(CommandTableBuilder& table);
