#include "web/http_exchange.h"

#include <curl/curl.h>

#include <memory>
#include <mutex>

#include "platform/text.h"

namespace web {

namespace {
constexpr const char* kAgent = "KX9Monitor";

void InitCurlOnce() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

struct Sink {
    std::string* body;
    std::size_t limit;
    bool overflow = false;
};

size_t Collect(char* data, size_t size, size_t count, void* user) {
    auto* sink = static_cast<Sink*>(user);
    const size_t n = size * count;
    if (sink->limit != 0 && sink->body->size() + n > sink->limit) {
        sink->overflow = true;
        return 0;  // stops the transfer
    }
    sink->body->append(data, n);
    return n;
}

bool IsPlainHost(const std::string& host) {
    if (host.empty())
        return false;
    for (unsigned char c : host)
        if (!std::isalnum(c) && c != '.' && c != '-' && c != '_')
            return false;
    return true;
}

bool IsLoopback(const std::string& host) {
    return host == "127.0.0.1" || host == "localhost";
}

struct CurlDeleter {
    void operator()(CURL* curl) const { curl_easy_cleanup(curl); }
};
struct ListDeleter {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
}  // namespace

std::string EscapePath(const std::string& path) {
    static const std::string kUnsafe = "\"#<>\\^`{|}";
    std::string out;
    for (unsigned char c : path) {
        if (c <= 0x20 || c >= 0x7F || kUnsafe.find(static_cast<char>(c)) != std::string::npos)
            out += platform::Format("%%%02X", c);
        else
            out.push_back(static_cast<char>(c));
    }
    return out;
}

HttpReply PerformHttp(const HttpRequest& request, const HttpLimits& limits) {
    HttpReply reply;
    if (!IsPlainHost(request.host)) {
        reply.errorCode = CURLE_URL_MALFORMAT;
        reply.errorText = "invalid server host \"" + request.host + "\"";
        return reply;
    }
    // Names under ".invalid" never resolve: answer here rather than ask a name server.
    if (platform::EndsWith(platform::ToLower(request.host), ".invalid")) {
        reply.errorCode = CURLE_COULDNT_RESOLVE_HOST;
        reply.errorText = "Could not resolve host: " + request.host;
        return reply;
    }
    InitCurlOnce();
    std::unique_ptr<CURL, CurlDeleter> curl(curl_easy_init());
    if (!curl) {
        reply.errorCode = CURLE_FAILED_INIT;
        reply.errorText = curl_easy_strerror(CURLE_FAILED_INIT);
        return reply;
    }
    CURL* h = curl.get();
    const std::string url = "http://" + request.host + EscapePath(request.path);
    char errorBuffer[CURL_ERROR_SIZE] = "";
    curl_easy_setopt(h, CURLOPT_URL, url.c_str());
    curl_easy_setopt(h, CURLOPT_PATH_AS_IS, 1L);
    curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http");
    curl_easy_setopt(h, CURLOPT_REDIR_PROTOCOLS_STR, "http");
    curl_easy_setopt(h, CURLOPT_ERRORBUFFER, errorBuffer);
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(h, CURLOPT_USERAGENT, kAgent);
    if (request.port > 0 && request.port < 65536)
        curl_easy_setopt(h, CURLOPT_PORT, static_cast<long>(request.port));
    // The loopback never goes through a proxy, whatever the environment says.
    if (IsLoopback(request.host))
        curl_easy_setopt(h, CURLOPT_PROXY, "");
    curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS, limits.connectTimeoutMs);
    if (limits.stallSeconds > 0) {
        curl_easy_setopt(h, CURLOPT_LOW_SPEED_LIMIT, 1L);
        curl_easy_setopt(h, CURLOPT_LOW_SPEED_TIME, limits.stallSeconds);
    }
    if (limits.totalTimeoutMs > 0)
        curl_easy_setopt(h, CURLOPT_TIMEOUT_MS, limits.totalTimeoutMs);
    if (request.followRedirects) {
        curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 1L);
        curl_easy_setopt(h, CURLOPT_MAXREDIRS, 5L);
    }
    if (!request.user.empty()) {
        curl_easy_setopt(h, CURLOPT_HTTPAUTH, static_cast<long>(CURLAUTH_BASIC));
        curl_easy_setopt(h, CURLOPT_USERNAME, request.user.c_str());
        curl_easy_setopt(h, CURLOPT_PASSWORD, request.password.c_str());
    }

    curl_slist* headers = nullptr;
    for (const auto& header : request.headers)
        headers = curl_slist_append(headers, header.c_str());
    // No Accept line, and a body goes out at once rather than after a 100-continue.
    headers = curl_slist_append(headers, "Accept:");
    headers = curl_slist_append(headers, "Expect:");
    std::unique_ptr<curl_slist, ListDeleter> headerList(headers);
    curl_easy_setopt(h, CURLOPT_HTTPHEADER, headers);
    if (request.post) {
        curl_easy_setopt(h, CURLOPT_POST, 1L);
        curl_easy_setopt(h, CURLOPT_POSTFIELDS, request.body.data());
        curl_easy_setopt(h, CURLOPT_POSTFIELDSIZE_LARGE,
                         static_cast<curl_off_t>(request.body.size()));
    }

    Sink sink{&reply.body, request.maxReplyBytes};
    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, Collect);
    curl_easy_setopt(h, CURLOPT_WRITEDATA, &sink);

    const CURLcode code = curl_easy_perform(h);
    curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &reply.status);
    if (code == CURLE_OK) {
        reply.outcome = HttpReply::Outcome::Complete;
        return reply;
    }
    reply.errorCode = code;
    reply.errorText = errorBuffer[0] ? errorBuffer : curl_easy_strerror(code);
    if (sink.overflow)
        reply.outcome = HttpReply::Outcome::TooLarge;
    else if (reply.status > 0)
        reply.outcome = HttpReply::Outcome::BrokenOff;
    else
        reply.outcome = HttpReply::Outcome::NotSent;
    reply.body.clear();
    return reply;
}

}  // namespace web
