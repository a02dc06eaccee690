#pragma once
// The station's client of the web service: file downloads, the form posts of the service's
// scripts and the multipart uploads, all blocking on the user-interface thread. Its pauses
// (before a download, between busy replies) pump messages through the wait function, and every
// step of a post or of a report upload goes to the instrument log.

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/win_types.h"
#include "web/form_body.h"
#include "web/http_exchange.h"
#include "web/server_endpoint.h"
#include "web/wait_feedback.h"

namespace web {

// What became of a report upload.
struct ReportUpload {
    // "1" when the service answered with a PDF and it was stored as the report (ReportPathFor);
    // "ERROR_OPEN_FILE", "ERROR_MEMORY", "ERROR_SIZE" when the file cannot be read; "ERROR"
    // after five empty or broken replies, or when the service answered with its error text;
    // the empty string (after a message box) when the report cannot be written.
    std::string result;
    // The service's error text, when it answered with text instead of a PDF: the reply from
    // its second line on, the lines joined, each "<br>" a line break.
    std::optional<std::string> serviceError;
};

// How the last form post ended, beyond the answer it returned: a post never fails to its
// caller, so a caller for whom "no such line" and "no reply" differ asks here.
struct PostOutcome {
    enum class Kind {
        KeyLine,    // a whole reply with a success status, and a line carried the key
        NoKeyLine,  // a whole reply with a success status, no line with the key; or nothing sent
        Busy,       // the server stayed busy through the retries
        Failed,     // no whole reply with a success status
    };
    Kind kind = Kind::NoKeyLine;
    // For Failed: what went wrong, in words for the operator (the status, the time-out, the
    // reply too long, ...).
    std::string failure;
};

// Why a post that was not busy brought no answer to go by, in words for the operator; nothing
// when a reply line carried its key.
std::optional<std::string> PostFailure(const PostOutcome& outcome, const std::string& replyKey);

class WebClient {
public:
    using LogWriter = std::function<void(const std::string& text)>;
    using WaitFunction = std::function<void(std::uint32_t programMs)>;

    WebClient();

    void SetEndpoint(const ServerEndpoint& endpoint);
    const std::string& ServerHost() const { return m_strServerHost; }
    const std::string& ServerPort() const { return m_strServerPort; }
    // The port of the form posts and uploads; empty: the protocol's default.
    const std::string& PostPort() const { return m_strPostPort; }
    // What is wrong with the settings file the endpoint came from; empty when nothing is.
    const std::string& SettingsProblem() const { return m_strSettingsProblem; }
    // The same as a paragraph of its own for the box of a failure, which it may explain; empty
    // when nothing is wrong.
    std::string SettingsNote() const;
    // SRVPATH: the base path every remote path starts with.
    const std::string& SrvPath() const { return m_strSrvPath; }
    void SetSrvPath(const std::string& path) { m_strSrvPath = path; }
    // The reason of the last failed download; empty after a successful one.
    const std::string& HttpError() const { return m_strHttpError; }

    // The instrument log (WriteInstrLog); by default nothing is logged.
    void SetInstrLog(LogWriter writer) { m_writeInstrLog = std::move(writer); }
    // The message-pumping wait; by default platform::EventLoop::Wait.
    void SetWaitFunction(WaitFunction wait) { m_wait = std::move(wait); }
    // Not owned; nullptr: nothing is shown.
    void SetWaitFeedback(WaitFeedback* feedback);
    WaitFeedback& Feedback() const { return *m_feedback; }
    // The network limits; the total time bounds each call as a whole, its retries and pauses
    // included.
    void SetLimits(const HttpLimits& limits) { m_limits = limits; }

    // The body of remotePath as text, or "-1" with HttpError() telling why. With save the
    // body also replaces localPath byte for byte; a failed download leaves localPath as it was.
    std::string DownloadHttpFile(const std::string& remotePath, const std::string& localPath,
                                 bool save);
    // The key file of the instrument with this serial number as text, kept nowhere, or "-1"
    // with HttpError() telling why. A serial that names no key file (KeyFilePath) is refused
    // before any request, as a key file the server does not have would be.
    std::string DownloadKeyFile(const std::string& serial);

    // Form posts: each returns the value of its reply key, "ERROR" when the server stayed busy,
    // the empty string when no reply line carried the key.
    BOOL HttpLogUser(const std::string& logFileName, const std::string& text);
    std::string HttpSendMail(const std::string& destAddress, const std::string& subject,
                             const std::string& text);
    std::string HttpFindAcrediaUser(const std::string& technicianCode, const std::string& password,
                                    int sendMail);
    std::string HttpAddAcrediaUser(const std::string& technicianCode, const std::string& password,
                                   const std::string& mailAddress);
    std::string HttpFindCertifAccredia(int mode, const std::string& certificateNumber);
    std::string HttpFindCertifDate(const std::string& serial);
    std::string HttpFindCertifDateCalib(const std::string& serial);
    std::string HttpFindMicSubstDate(const std::string& serial);
    std::string QueryServerTime();
    const PostOutcome& LastPost() const { return m_lastPost; }

    // Uploads a verification file. Only a PDF reply replaces the report kept beside it, and only
    // once it has arrived whole: an earlier report stays until then.
    ReportUpload HttpUploadFilePost(const std::string& vpgPath);
    // Sends a log file to the service's log upload, once. "1" when the service answered, the
    // file errors as above, "ERROR" otherwise.
    std::string UploadLogFile(const std::string& path);

private:
    struct FormPost {
        const char* script;
        std::vector<FormField> fields;
        const char* replyKey;
        std::string firstLogLine;
        bool logged = true;
    };
    struct FormReply {
        std::string answer;
        PostOutcome outcome;
    };
    struct FormLines {
        std::vector<std::string> lines;
        std::string failure;  // empty when a whole reply with a success status came
    };
    // The end of one call in real time.
    class CallDeadline {
    public:
        explicit CallDeadline(const HttpLimits& limits);
        bool Passed() const;
        // The limits of the call's next exchange: whatever time the call has left.
        HttpLimits ForExchange() const;

    private:
        HttpLimits m_limits;
        std::chrono::steady_clock::time_point m_end;
    };

    std::string PostWithBusyRetry(const FormPost& post);
    FormReply ExchangeForm(const FormPost& post, const CallDeadline& deadline);
    // The reply lines of one post, logging the exchange as it goes; no lines, and the reason,
    // when no whole reply with a success status arrived.
    FormLines SendForm(const FormPost& post, const CallDeadline& deadline);
    // Why a reply carries no answer, in words for the operator; empty when it does.
    std::string FailureOf(const HttpReply& reply, std::size_t maxReplyBytes) const;
    HttpReply Post(const std::string& script, const std::vector<std::string>& headers,
                   const std::string& body, const CallDeadline& deadline,
                   std::size_t maxReplyBytes);
    // The download's request (host and port) or a post's (host and the posts' port).
    HttpRequest RequestTo(const std::string& path, bool post) const;
    void Log(const std::string& text);
    void Wait(std::uint32_t programMs);

    std::string m_strServerHost;
    std::string m_strServerPort;
    std::string m_strPostPort;
    std::string m_strSettingsProblem;
    std::string m_strDownloadUser;
    std::string m_strDownloadPassword;
    std::string m_strSrvPath;
    std::string m_strHttpError;
    LogWriter m_writeInstrLog;
    WaitFunction m_wait;
    NoWaitFeedback m_noFeedback;
    WaitFeedback* m_feedback = &m_noFeedback;
    HttpLimits m_limits;
    PostOutcome m_lastPost;
};

}  // namespace web
