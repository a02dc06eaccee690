#include "web/form_body.h"

#include "platform/text.h"

namespace web {

namespace {
constexpr std::string_view kNineCharacters = "&|#~,`$^!";
constexpr const char* kMask = "*****";
}  // namespace

std::string CleanValue(std::string_view value, CleanUp rule) {
    std::string out(value);
    for (char& c : out) {
        if (rule == CleanUp::Ampersand && c == '&')
            c = '-';
        if (rule == CleanUp::Nine && kNineCharacters.find(c) != std::string_view::npos)
            c = '-';
    }
    return out;
}

std::string BuildFormBody(const std::vector<FormField>& fields, bool maskSecrets) {
    std::string body;
    for (const auto& field : fields) {
        if (!body.empty())
            body += '&';
        body += field.name;
        body += '=';
        body += maskSecrets && field.secret ? kMask : CleanValue(field.value, field.cleanUp);
    }
    return body;
}

std::vector<std::string> SplitReplyLines(std::string_view body) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < body.size()) {
        size_t end = body.find('\n', start);
        if (end == std::string_view::npos)
            end = body.size();
        std::string line(body.substr(start, end - start));
        while (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return lines;
}

std::string AnswerFromLine(std::string_view line, std::string_view key) {
    return platform::ReplaceAll(platform::ReplaceAll(line, key, ""), "</p>", "");
}

bool IsBareBusyLine(std::string_view line) {
    return platform::Trim(line) == "BUSY";
}

}  // namespace web
