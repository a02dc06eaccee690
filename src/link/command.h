#pragma once
// One instrument command: a code of the command table turned into a line of the meter's text
// protocol, with the time within which its reply must come.

#include <string>

class CCommand {
public:
    // Codes without a row in the table give an invalid command with an empty text, which the
    // queue refuses.
    CCommand(int code, const std::string& arg1, const std::string& arg2, int param = -1);
    virtual ~CCommand() = default;

    std::string GetText() const { return m_strText; }
    int GetCode() const { return m_nCode; }
    int GetTimeout() const { return m_nTimeout; }
    std::string GetName() const { return m_strName; }
    int IsValid() const { return m_nValid; }

private:
    int m_nValid = 0;
    std::string m_strName;
    int m_nTimeout = 0;
    int m_nCode = -1;
    std::string m_strText;  // ends with CR LF
};

// The line of `code` as the meter receives it, its CR LF included; empty for a code without a
// row.
std::string CommandLine(int code, const std::string& arg1 = {}, const std::string& arg2 = {});
// The same without its CR LF, for the exchanges that add it.
std::string CommandText(int code, const std::string& arg1 = {}, const std::string& arg2 = {});
