#pragma once
// Which server the station talks to. The defaults come from the settings file
// "webservice.ini" in the program folder (KEY=value lines):
//     SERVER_HOST=<host name of the web service>
//     DOWNLOAD_USER=<account for file downloads>
//     DOWNLOAD_PASSWORD=<its password>
//     POST_PORT=<port of the form posts and uploads>   (optional: the protocol's default)
// and the alternative-server file "alt_www.dll", when present, replaces host and port with its
// first two lines. Downloads go to host and port; form posts and uploads to the host at the
// posts' port.

#include <string>

namespace web {

inline constexpr const char* kSettingsFile = "webservice.ini";
inline constexpr const char* kAlternativeServerFile = "alt_www.dll";
// A name that never resolves: without settings the station reaches no server.
inline constexpr const char* kPlaceholderHost = "webservice.invalid";
inline constexpr const char* kDefaultPort = "80";

struct ServerEndpoint {
    std::string host = kPlaceholderHost;
    std::string port = kDefaultPort;  // decimal text: the downloads'
    std::string downloadUser;
    std::string downloadPassword;
    // Decimal text; empty: the protocol's default port.
    std::string postPort;
    // What is wrong with "webservice.ini", in words for the operator, naming the file; empty
    // when it is sound or absent.
    std::string settingsProblem{};
};

ServerEndpoint LoadServerEndpoint(const std::string& programDir);

}  // namespace web
