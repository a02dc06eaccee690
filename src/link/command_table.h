#pragma once
// The vocabulary of the meter's protocol: every command code with its text and reply time-out.

#include <optional>
#include <vector>

// Where the "%s" of a command text takes its value from.
enum class CommandArgument {
    None,
    First,       // arg1
    Second,      // arg2
    Both,        // arg1, then arg2
    SecondHead,  // the first four characters of arg2
};

// The family that every setting's command and reply begin with: "SET:<key>:...".
inline constexpr const char* kSettingFamily = "SET:";

struct CommandRow {
    int code;
    const char* text;  // without CR LF
    int timeoutMs;
    CommandArgument argument;
};

// The row of `code`, if the table has one.
std::optional<CommandRow> FindCommandRow(int code);
// Every row, in code order.
const std::vector<CommandRow>& CommandTable();
