#pragma once
// The urlencoded bodies of the form posts and the reading of their keyed replies. Values are
// not percent-encoded: the service's scripts expect them as they stand, with only the
// characters below turned into "-".

#include <string>
#include <string_view>
#include <vector>

namespace web {

enum class CleanUp {
    None,
    Ampersand,  // "&" becomes "-"
    Nine,       // each of & | # ~ , ` $ ^ ! becomes "-"
};

std::string CleanValue(std::string_view value, CleanUp rule);

struct FormField {
    std::string name;
    std::string value;
    CleanUp cleanUp = CleanUp::None;
    bool secret = false;  // never written to a log
};

// "name=value" pairs joined by "&", values cleaned; with maskSecrets the secret values are
// replaced by asterisks (the body as the log shows it).
std::string BuildFormBody(const std::vector<FormField>& fields, bool maskSecrets = false);

// Reply lines without their line ends (LF or CR LF).
std::vector<std::string> SplitReplyLines(std::string_view body);

// The answer carried by a reply line: the line without every occurrence of the key and of
// "</p>"; whatever else the line holds stays.
std::string AnswerFromLine(std::string_view line, std::string_view key);

// A line that says only that the server is busy.
bool IsBareBusyLine(std::string_view line);

}  // namespace web
