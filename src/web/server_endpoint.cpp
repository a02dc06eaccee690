#include "web/server_endpoint.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

#include "platform/files.h"
#include "platform/text.h"

namespace web {

namespace {
// Far more than the few lines the file holds; anything larger is not this file.
constexpr off_t kMaxSettingsBytes = 64 * 1024;
constexpr const char* kRequiredKeys[] = {"SERVER_HOST", "DOWNLOAD_USER", "DOWNLOAD_PASSWORD"};

bool IsTextByte(unsigned char c) {
    return c >= 0x20 ? c != 0x7F : c == '\t' || c == '\r' || c == '\n';
}

bool IsPortText(const std::string& text) {
    if (text.empty() || text.size() > 5)
        return false;
    for (const char c : text)
        if (c < '0' || c > '9')
            return false;
    const int port = platform::Atoi(text);
    return port > 0 && port < 65536;
}

// The file's text, or what keeps it from being read as one.
struct SettingsText {
    std::string text;
    std::string problem;
};

SettingsText ReadSettingsText(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return {};
    if (S_ISDIR(info.st_mode))
        return {{}, "e' una cartella, non un file"};
    if (!S_ISREG(info.st_mode))
        return {{}, "non e' un file ordinario"};
    if (info.st_size > kMaxSettingsBytes)
        return {{},
                platform::Format("e' troppo grande (%lld byte) per un file di impostazioni",
                                 static_cast<long long>(info.st_size))};
    errno = 0;
    const std::optional<std::string> content = platform::ReadWholeFile(path);
    if (!content)
        return {{}, std::string("non si puo' leggere (") + std::strerror(errno) + ")"};
    for (size_t at = 0; at < content->size(); ++at) {
        if (!IsTextByte(static_cast<unsigned char>((*content)[at])))
            return {{},
                    platform::Format("non e' un file di testo (byte 0x%02X in posizione %zu)",
                                     static_cast<unsigned char>((*content)[at]), at)};
    }
    if (platform::Trim(*content).empty())
        return {{}, "e' vuoto"};
    return {*content, {}};
}

// Reads the settings into `endpoint` and says what is wrong with them, if anything.
std::string ReadSettings(const std::string& path, ServerEndpoint& endpoint) {
    const SettingsText settings = ReadSettingsText(path);
    if (!settings.problem.empty())
        return settings.problem;
    if (settings.text.empty())
        return {};
    std::vector<std::string> given;
    std::string postPort;
    bool postPortGiven = false;
    for (const std::string& line : platform::Split(settings.text, '\n')) {
        const std::string text = platform::Trim(platform::Remove(line, '\r'));
        const int equals = platform::Find(text, '=');
        if (equals <= 0)
            continue;
        const std::string key = platform::ToUpper(platform::Trim(platform::Left(text, equals)));
        const std::string value = platform::Trim(platform::Mid(text, equals + 1));
        if (!value.empty())
            given.push_back(key);
        if (key == "SERVER_HOST" && !value.empty())
            endpoint.host = value;
        if (key == "DOWNLOAD_USER")
            endpoint.downloadUser = value;
        if (key == "DOWNLOAD_PASSWORD")
            endpoint.downloadPassword = value;
        if (key == "POST_PORT") {
            postPort = value;
            postPortGiven = true;
        }
    }
    std::vector<std::string> missing;
    for (const char* key : kRequiredKeys)
        if (std::find(given.begin(), given.end(), key) == given.end())
            missing.push_back(key);
    std::string problem;
    if (missing.size() == 1)
        problem = "manca " + missing[0];
    for (size_t i = 0; missing.size() > 1 && i < missing.size(); ++i)
        problem += (i == 0 ? "mancano " : i + 1 == missing.size() ? " e " : ", ") + missing[i];
    if (postPortGiven) {
        if (IsPortText(postPort)) {
            endpoint.postPort = postPort;
        } else {
            problem += problem.empty() ? "" : "; ";
            problem += "POST_PORT non e' un numero di porta (\"" + postPort + "\")";
        }
    }
    return problem;
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
    const std::string settingsPath = platform::JoinPath(programDir, kSettingsFile);
    if (const std::string problem = ReadSettings(settingsPath, endpoint); !problem.empty())
        endpoint.settingsProblem = settingsPath + ": " + problem;
    ReadAlternativeServer(
        platform::JoinPath(programDir, std::string("\\") + kAlternativeServerFile), endpoint);
    return endpoint;
}

}  // namespace web
