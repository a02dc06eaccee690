#include "web/http_exchange.h"

#include <curl/curl.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <mutex>
#include <optional>
#include <string_view>

#include "platform/text.h"

namespace web {

namespace {
constexpr const char* kAgent = "KX9Monitor";
constexpr int kMaxRedirects = 5;
constexpr int kHttpPort = 80;

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

// The marks kept as they are: in a whole path, every printable one a request line may carry (a
// "%" there is an escape already made); in one piece of a path, RFC 3986's unreserved ones only,
// which nothing reads as a delimiter or an escape.
constexpr std::string_view kPathMarks = "!$%&'()*+,-./:;=?@[]_~";
constexpr std::string_view kUnreservedMarks = "-._~";

// Every byte but an ASCII letter, a digit and the given marks as %XX.
std::string PercentEscape(std::string_view text, std::string_view keptMarks) {
    std::string out;
    for (const unsigned char c : text) {
        const bool kept = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                          (c >= '0' && c <= '9') ||
                          keptMarks.find(static_cast<char>(c)) != std::string_view::npos;
        if (kept)
            out.push_back(static_cast<char>(c));
        else
            out += platform::Format("%%%02X", c);
    }
    return out;
}

struct CurlDeleter {
    void operator()(CURL* curl) const { curl_easy_cleanup(curl); }
};
struct ListDeleter {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
struct UrlDeleter {
    void operator()(CURLU* url) const { curl_url_cleanup(url); }
};

int PortOf(const HttpRequest& request) {
    return request.port > 0 && request.port < 65536 ? request.port : kHttpPort;
}

// The port stands in the address so that a relative redirect keeps it.
std::string ServerUrl(const HttpRequest& request) {
    return "http://" + request.host + ":" + std::to_string(PortOf(request));
}

std::string UrlPart(CURLU* url, CURLUPart part, unsigned flags = 0) {
    char* text = nullptr;
    if (curl_url_get(url, part, &text, flags) != CURLUE_OK || !text)
        return {};
    std::string value(text);
    curl_free(text);
    return value;
}

// The path (and query) that a redirect names when it stays on the request's own server. Only
// these are taken: the next request is built from the request's own server and account.
std::optional<std::string> SameServerTarget(const std::string& location,
                                            const HttpRequest& request) {
    std::unique_ptr<CURLU, UrlDeleter> url(curl_url());
    if (!url || curl_url_set(url.get(), CURLUPART_URL, location.c_str(), 0) != CURLUE_OK)
        return std::nullopt;
    const bool sameServer =
        platform::ToLower(UrlPart(url.get(), CURLUPART_SCHEME)) == "http" &&
        platform::ToLower(UrlPart(url.get(), CURLUPART_HOST)) == platform::ToLower(request.host) &&
        UrlPart(url.get(), CURLUPART_PORT, CURLU_DEFAULT_PORT) == std::to_string(PortOf(request));
    if (!sameServer)
        return std::nullopt;
    std::string target = UrlPart(url.get(), CURLUPART_PATH);
    const std::string query = UrlPart(url.get(), CURLUPART_QUERY);
    if (!query.empty())
        target += "?" + query;
    return target;
}

// libcurl gives one code for every limit: the time spent and the connection tell them apart.
HttpReply::TimeLimit TimeLimitReached(CURL* h, const HttpLimits& limits,
                                      std::chrono::steady_clock::duration spent) {
    // libcurl ends the exchange at its time, give or take its own few milliseconds.
    constexpr long kSlackMs = 5;
    const long spentMs =
        static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(spent).count());
    if (limits.totalTimeoutMs > 0 && spentMs + kSlackMs >= limits.totalTimeoutMs)
        return HttpReply::TimeLimit::Total;
    curl_off_t connected = 0;
    if (curl_easy_getinfo(h, CURLINFO_CONNECT_TIME_T, &connected) != CURLE_OK || connected == 0)
        return HttpReply::TimeLimit::Connect;
    return HttpReply::TimeLimit::Stall;
}

// One exchange with `url`; `location` receives the address of a redirect.
HttpReply PerformOnce(const std::string& url, const HttpRequest& request, const HttpLimits& limits,
                      std::string& location) {
    HttpReply reply;
    std::unique_ptr<CURL, CurlDeleter> curl(curl_easy_init());
    if (!curl) {
        reply.errorCode = CURLE_FAILED_INIT;
        reply.errorText = curl_easy_strerror(CURLE_FAILED_INIT);
        return reply;
    }
    CURL* h = curl.get();
    char errorBuffer[CURL_ERROR_SIZE] = "";
    curl_easy_setopt(h, CURLOPT_URL, url.c_str());
    curl_easy_setopt(h, CURLOPT_PATH_AS_IS, 1L);
    curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http");
    curl_easy_setopt(h, CURLOPT_ERRORBUFFER, errorBuffer);
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(h, CURLOPT_USERAGENT, kAgent);
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

    const auto start = std::chrono::steady_clock::now();
    const CURLcode code = curl_easy_perform(h);
    curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &reply.status);
    if (code == CURLE_OPERATION_TIMEDOUT)
        reply.timeLimit = TimeLimitReached(h, limits, std::chrono::steady_clock::now() - start);
    if (code == CURLE_OK) {
        reply.outcome = HttpReply::Outcome::Complete;
        const char* redirect = nullptr;
        if (curl_easy_getinfo(h, CURLINFO_REDIRECT_URL, &redirect) == CURLE_OK && redirect)
            location = redirect;
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
}  // namespace

std::string EscapePath(const std::string& path) {
    return PercentEscape(path, kPathMarks);
}

std::string EncodePathPart(const std::string& text) {
    return PercentEscape(text, kUnreservedMarks);
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
    const auto start = std::chrono::steady_clock::now();
    std::string url = ServerUrl(request) + EscapePath(request.path);
    for (int redirects = 0;; ++redirects) {
        HttpLimits left = limits;
        if (limits.totalTimeoutMs > 0) {
            const auto spent = std::chrono::duration_cast<std::chrono::milliseconds>(
                std::chrono::steady_clock::now() - start);
            left.totalTimeoutMs =
                std::max(1L, limits.totalTimeoutMs - static_cast<long>(spent.count()));
        }
        std::string location;
        reply = PerformOnce(url, request, left, location);
        if (!request.followRedirects || location.empty() || redirects == kMaxRedirects)
            return reply;
        const std::optional<std::string> target = SameServerTarget(location, request);
        if (!target)
            return reply;
        url = ServerUrl(request) + *target;
    }
}

}  // namespace web
