#pragma once
// One HTTP exchange with the web service over libcurl. It blocks the calling thread until the
// reply is in, as the program's web calls always have; nothing stays open afterwards.

#include <cstddef>
#include <string>
#include <vector>

namespace web {

struct HttpRequest {
    std::string host;
    int port = 0;      // 0: the protocol's default
    std::string path;  // sent as it stands, doubled slashes included
    bool post = false;
    std::vector<std::string> headers;  // "Name: value"
    std::string body;
    std::string user;  // Basic authentication when not empty
    std::string password;
    // Redirects are followed only to the same host and port, so that neither the account nor
    // the reply can come from another server; any other redirect is the reply.
    bool followRedirects = false;
    std::size_t maxReplyBytes = 0;  // 0: no limit
};

// Network limits in real time: they measure the network, not the program.
struct HttpLimits {
    long connectTimeoutMs = 30000;
    long stallSeconds = 60;  // a reply that moves no byte for this long is given up
    // The exchange in all, redirects included (0: none). The web client spends it over a
    // whole call, busy retries and pauses included.
    long totalTimeoutMs = 120000;
};

struct HttpReply {
    enum class Outcome {
        Complete,   // the whole reply arrived (whatever its status)
        NotSent,    // no reply at all: no connection, refused, timed out before the status
        BrokenOff,  // the status arrived, the body did not arrive whole
        TooLarge,   // the body passed maxReplyBytes; what arrived is dropped
    };
    // The limit that ended an exchange cut short by time.
    enum class TimeLimit {
        None,
        Connect,  // no connection within connectTimeoutMs
        Stall,    // no byte for stallSeconds
        Total,    // the exchange's whole time passed
    };
    Outcome outcome = Outcome::NotSent;
    TimeLimit timeLimit = TimeLimit::None;
    int errorCode = 0;  // libcurl's code when the exchange failed
    std::string errorText;
    long status = 0;
    std::string body;

    // A whole reply with a success status: only such a reply carries an answer.
    bool Answered() const { return outcome == Outcome::Complete && status >= 200 && status < 300; }
};

HttpReply PerformHttp(const HttpRequest& request, const HttpLimits& limits);

// The path with the bytes that may not stand in a request line escaped (%XX); slashes, doubled
// or not, are kept.
std::string EscapePath(const std::string& path);
// A text as one piece of a path: every byte but a letter, a digit, "-", ".", "_" and "~" becomes
// %XX, so that nothing in it ends the piece or the path ("/", "?", "#") or reads as an escape.
// The bytes are the text's own (Latin-1), as the service always received them.
std::string EncodePathPart(const std::string& text);

}  // namespace web
