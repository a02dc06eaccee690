#include "web/server_endpoint.h"

#include "platform/files.h"
#include "platform/text.h"

namespace web {

namespace {
void ReadSettings(const std::string& path, ServerEndpoint& endpoint) {
    platform::LineReader reader(path);
    std::string line;
    while (reader.ReadLine(line)) {
        const std::string text = platform::Trim(line);
        const int equals = platform::Find(text, '=');
        if (equals <= 0)
            continue;
        const std::string key = platform::ToUpper(platform::Trim(platform::Left(text, equals)));
        const std::string value = platform::Trim(platform::Mid(text, equals + 1));
        if (key == "SERVER_HOST" && !value.empty())
            endpoint.host = value;
        if (key == "DOWNLOAD_USER")
            endpoint.downloadUser = value;
        if (key == "DOWNLOAD_PASSWORD")
            endpoint.downloadPassword = value;
    }
}

void ReadAlternativeServer(const std::string& path, ServerEndpoint& endpoint) {
    platform::LineReader reader(path);
    std::string line;
    // A missing or blank line keeps the value it would replace.
    if (reader.ReadLine(line, 2048) && !platform::TrimRight(line).empty())
        endpoint.host = platform::TrimRight(line);
    if (reader.ReadLine(line, 2048) && !platform::TrimRight(line).empty())
        endpoint.port = platform::TrimRight(line);
}
}  // namespace

ServerEndpoint LoadServerEndpoint(const std::string& programDir) {
    ServerEndpoint endpoint;
    ReadSettings(platform::JoinPath(programDir, kSettingsFile), endpoint);
    ReadAlternativeServer(
        platform::JoinPath(programDir, std::string("\\") + kAlternativeServerFile), endpoint);
    return endpoint;
}

}  // namespace web
