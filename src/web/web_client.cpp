#include "web/web_client.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <new>

#include "platform/event_loop.h"
#include "platform/files.h"
#include "platform/operator.h"
#include "platform/qt_text.h"
#include "platform/text.h"
#include "web/multipart_upload.h"
#include "web/service_paths.h"

namespace web {

namespace {
constexpr const char* kFormContentType = "Content-Type: application/x-www-form-urlencoded";

class WaitCursor {
public:
    explicit WaitCursor(WaitFeedback& feedback) : m_feedback(feedback) {
        m_feedback.SetWaitCursor(true);
    }
    ~WaitCursor() { m_feedback.SetWaitCursor(false); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    WaitFeedback& m_feedback;
};

struct FileContents {
    std::string contents;
    std::string error;  // one of the upload's result codes
};

FileContents ReadFileToUpload(const std::string& path) {
    const std::string native = platform::ToNativePath(path);
    struct stat info {};
    if (::stat(native.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return {{}, "ERROR_OPEN_FILE"};
    std::FILE* file = std::fopen(native.c_str(), "rb");
    if (!file)
        return {{}, "ERROR_OPEN_FILE"};
    FileContents result;
    long size = -1;
    if (std::fseek(file, 0, SEEK_END) == 0)
        size = std::ftell(file);
    std::rewind(file);
    if (size < 0) {
        result.error = "ERROR_SIZE";
    } else {
        try {
            result.contents.resize(static_cast<size_t>(size));
        } catch (const std::bad_alloc&) {
            result.error = "ERROR_MEMORY";
        }
        if (result.error.empty() && std::fread(result.contents.data(), 1, result.contents.size(),
                                               file) < result.contents.size())
            result.error = "ERROR_SIZE";
    }
    std::fclose(file);
    if (!result.error.empty())
        result.contents.clear();
    return result;
}

// A limit as the operator reads it.
std::string Duration(long ms) {
    return ms % 1000 == 0 ? platform::Format("%ld s", ms / 1000) : platform::Format("%ld ms", ms);
}

// The text of a body: zero bytes, which a text cannot hold, are left out.
std::string BodyText(const std::string& body) {
    return platform::Remove(body, '\0');
}
}  // namespace

WebClient::WebClient()
    : m_strServerHost(kPlaceholderHost),
      m_strServerPort(kDefaultPort),
      m_strSrvPath(kServerPath),
      m_wait([](std::uint32_t ms) { platform::EventLoop::Wait(ms); }) {}

void WebClient::SetEndpoint(const ServerEndpoint& endpoint) {
    m_strServerHost = endpoint.host;
    m_strServerPort = endpoint.port;
    m_strPostPort = endpoint.postPort;
    m_strSettingsProblem = endpoint.settingsProblem;
    m_strDownloadUser = endpoint.downloadUser;
    m_strDownloadPassword = endpoint.downloadPassword;
}

WebClient::CallDeadline::CallDeadline(const HttpLimits& limits)
    : m_limits(limits),
      m_end(std::chrono::steady_clock::now() + std::chrono::milliseconds(limits.totalTimeoutMs)) {}

bool WebClient::CallDeadline::Passed() const {
    return m_limits.totalTimeoutMs > 0 && std::chrono::steady_clock::now() >= m_end;
}

HttpLimits WebClient::CallDeadline::ForExchange() const {
    HttpLimits limits = m_limits;
    if (m_limits.totalTimeoutMs > 0) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            m_end - std::chrono::steady_clock::now());
        // A spent call still makes its exchange fail the way a timed-out one does.
        limits.totalTimeoutMs = std::max(1L, static_cast<long>(left.count()));
    }
    return limits;
}

void WebClient::SetWaitFeedback(WaitFeedback* feedback) {
    m_feedback = feedback ? feedback : &m_noFeedback;
}

void WebClient::Log(const std::string& text) {
    if (m_writeInstrLog)
        m_writeInstrLog(text);
}

void WebClient::Wait(std::uint32_t programMs) {
    if (m_wait)
        m_wait(programMs);
}

HttpRequest WebClient::RequestTo(const std::string& path, bool post) const {
    HttpRequest request;
    request.host = m_strServerHost;
    // The posts' port is the protocol's own but where the settings name another (stand-ins
    // that listen on a free port).
    request.port = platform::Atoi(post ? m_strPostPort : m_strServerPort);
    request.path = path;
    return request;
}

std::string WebClient::DownloadHttpFile(const std::string& remotePath, const std::string& localPath,
                                        bool save) {
    m_strHttpError.clear();
    const CallDeadline deadline(m_limits);
    HttpRequest request = RequestTo(remotePath, false);
    request.user = m_strDownloadUser;
    request.password = m_strDownloadPassword;
    request.followRedirects = true;
    request.maxReplyBytes = kMaxDownloadBytes;
    Wait(kDownloadPauseMs);
    const HttpReply reply = PerformHttp(request, deadline.ForExchange());

    using Outcome = HttpReply::Outcome;
    if (reply.outcome == Outcome::NotSent) {
        m_strHttpError =
            platform::Format("Failed in call to HttpSendRequest %d, %s, %s", reply.errorCode,
                             reply.errorText.c_str(), remotePath.c_str());
    } else if (reply.status == 401 || reply.status == 407) {
        m_strHttpError = "error reading file";
    } else if (reply.status != 200) {
        m_strHttpError = platform::Format("Failed to retrieve a HTTP status, Status Code:%d\n",
                                          static_cast<int>(reply.status));
    } else if (reply.outcome == Outcome::TooLarge) {
        m_strHttpError = platform::Format("File too large: more than %zu bytes, %s",
                                          kMaxDownloadBytes, remotePath.c_str());
    } else if (reply.outcome == Outcome::BrokenOff) {
        m_strHttpError = "Error in call to InternetReadFile: " + reply.errorText;
    } else if (save && !platform::WriteFileAtomic(platform::ToNativePath(localPath), reply.body)) {
        m_strHttpError = platform::Format("%d", errno);
    } else if (const std::string text = BodyText(reply.body); text.empty()) {
        // The file holds what the server sent, an emptied list included; the text is nothing.
        m_strHttpError = "read null";
    } else {
        return text;
    }
    return "-1";
}

std::string WebClient::DownloadKeyFile(const std::string& serial) {
    const std::optional<std::string> path = KeyFilePath(serial);
    if (!path) {
        m_strHttpError = "Invalid serial number: it holds \"/\" or \"\\\"";
        return "-1";
    }
    return DownloadHttpFile(m_strSrvPath + *path, "", false);
}

HttpReply WebClient::Post(const std::string& script, const std::vector<std::string>& headers,
                          const std::string& body, const CallDeadline& deadline,
                          std::size_t maxReplyBytes) {
    HttpRequest request = RequestTo(m_strSrvPath + script, true);
    request.post = true;
    request.headers = headers;
    request.body = body;
    request.maxReplyBytes = maxReplyBytes;
    return PerformHttp(request, deadline.ForExchange());
}

std::string WebClient::SettingsNote() const {
    if (m_strSettingsProblem.empty())
        return {};
    return "\n\nImpostazioni del servizio web non valide:\n" + m_strSettingsProblem;
}

std::optional<std::string> PostFailure(const PostOutcome& outcome, const std::string& replyKey) {
    switch (outcome.kind) {
        case PostOutcome::Kind::KeyLine:
        case PostOutcome::Kind::Busy:
            return std::nullopt;
        case PostOutcome::Kind::NoKeyLine:
            return "la risposta del server non contiene " + replyKey;
        case PostOutcome::Kind::Failed:
            break;
    }
    return outcome.failure;
}

std::string WebClient::FailureOf(const HttpReply& reply, std::size_t maxReplyBytes) const {
    using TimeLimit = HttpReply::TimeLimit;
    switch (reply.timeLimit) {
        case TimeLimit::Total:
            return "tempo scaduto: risposta del server non completa entro " +
                   Duration(m_limits.totalTimeoutMs);
        case TimeLimit::Stall:
            return platform::Format("tempo scaduto: nessun dato dal server per %ld s",
                                    m_limits.stallSeconds);
        case TimeLimit::Connect:
            return "tempo scaduto: nessuna connessione con il server entro " +
                   Duration(m_limits.connectTimeoutMs);
        case TimeLimit::None:
            break;
    }
    switch (reply.outcome) {
        case HttpReply::Outcome::TooLarge:
            return platform::Format("risposta del server troppo lunga (oltre %zu byte)",
                                    maxReplyBytes);
        case HttpReply::Outcome::NotSent:
            return "nessuna risposta dal server (" + reply.errorText + ")";
        case HttpReply::Outcome::BrokenOff:
            return "risposta del server interrotta (" + reply.errorText + ")";
        case HttpReply::Outcome::Complete:
            break;
    }
    if (reply.Answered())
        return {};
    if (reply.status >= 300 && reply.status < 400)
        return platform::Format(
            "il server ha risposto con lo stato HTTP %ld (rinvio ad altro indirizzo non seguito)",
            reply.status);
    return platform::Format("il server ha risposto con lo stato HTTP %ld", reply.status);
}

WebClient::FormLines WebClient::SendForm(const FormPost& post, const CallDeadline& deadline) {
    if (post.logged) {
        Log(post.firstLogLine);
        Log(m_strSrvPath + post.script);
        Log(BuildFormBody(post.fields, true));
    }
    const HttpReply reply =
        Post(post.script, {kFormContentType}, BuildFormBody(post.fields), deadline, kMaxReplyBytes);
    // Half a reply could carry a cut value, and an error page any key: neither is read.
    if (!reply.Answered())
        return {{}, FailureOf(reply, kMaxReplyBytes)};
    return {SplitReplyLines(reply.body), {}};
}

WebClient::FormReply WebClient::ExchangeForm(const FormPost& post, const CallDeadline& deadline) {
    using Kind = PostOutcome::Kind;
    FormReply reply;
    const FormLines sent = SendForm(post, deadline);
    if (!sent.failure.empty()) {
        reply.outcome = {Kind::Failed, sent.failure};
        return reply;
    }
    for (const auto& line : sent.lines) {
        if (post.logged)
            Log(line);
        if (IsBareBusyLine(line)) {
            reply.answer = line;
            reply.outcome.kind = Kind::Busy;
            break;
        }
        if (platform::Contains(line, post.replyKey)) {
            reply.answer = AnswerFromLine(line, post.replyKey);
            reply.outcome.kind =
                platform::Contains(reply.answer, "BUSY") ? Kind::Busy : Kind::KeyLine;
            break;
        }
    }
    return reply;
}

std::string WebClient::PostWithBusyRetry(const FormPost& post) {
    WaitCursor cursor(*m_feedback);
    const CallDeadline deadline(m_limits);
    for (int exchange = 0; exchange < kBusyExchanges; ++exchange) {
        const FormReply reply = ExchangeForm(post, deadline);
        m_lastPost = reply.outcome;
        if (reply.outcome.kind != PostOutcome::Kind::Busy)
            return reply.answer;
        Wait(kBusyPauseMs);
        // A server that stays busy past the call's time is given up as if it had stayed
        // busy through every retry.
        if (deadline.Passed())
            break;
    }
    return "ERROR";
}

BOOL WebClient::HttpLogUser(const std::string& logFileName, const std::string& text) {
    WaitCursor cursor(*m_feedback);
    const FormPost post{
        kLogUserScript,
        {{"log_file", logFileName, CleanUp::None}, {"log_info", text, CleanUp::Nine}},
        "RESULT=OK",
        "HTTP_log_user - " + logFileName + " - " + text};
    BOOL found = FALSE;
    const FormLines sent = SendForm(post, CallDeadline(m_limits));
    for (const auto& line : sent.lines) {
        Log(line);
        if (platform::Contains(line, post.replyKey))
            found = TRUE;
    }
    m_lastPost = {sent.failure.empty()
                      ? (found ? PostOutcome::Kind::KeyLine : PostOutcome::Kind::NoKeyLine)
                      : PostOutcome::Kind::Failed,
                  sent.failure};
    return found;
}

std::string WebClient::HttpSendMail(const std::string& destAddress, const std::string& subject,
                                    const std::string& text) {
    return PostWithBusyRetry({kSendMailScript,
                              {{"user", kFormUser},
                               {"mail_subj", subject, CleanUp::Nine},
                               {"mail_txt", text, CleanUp::Nine},
                               {"dest_addr_mail", destAddress, CleanUp::None}},
                              kResultKey,
                              "HTTP_send_mail_to_corvanex"});
}

std::string WebClient::HttpFindAcrediaUser(const std::string& technicianCode,
                                           const std::string& password, int sendMail) {
    return PostWithBusyRetry({kFindAcrediaUserScript,
                              {{"user", kFormUser},
                               {"user_id", technicianCode, CleanUp::Ampersand},
                               {"user_psw", password, CleanUp::Ampersand, true},
                               {"send_user_mail", sendMail ? "1" : "0"}},
                              kResultKey,
                              "HTTP_find_acredia_user"});
}

std::string WebClient::HttpAddAcrediaUser(const std::string& technicianCode,
                                          const std::string& password,
                                          const std::string& mailAddress) {
    return PostWithBusyRetry({kAddAcrediaUserScript,
                              {{"user", kFormUser},
                               {"user_id", technicianCode, CleanUp::Nine},
                               {"user_psw", password, CleanUp::Nine, true},
                               {"user_mail", mailAddress, CleanUp::Nine}},
                              kResultKey,
                              "HTTP_add_acredia_user"});
}

std::string WebClient::HttpFindCertifAccredia(int mode, const std::string& certificateNumber) {
    if (certificateNumber.empty()) {
        m_lastPost = {};
        return "";
    }
    return PostWithBusyRetry({kFindCertifAccrediaScript,
                              {{"user", kFormUser},
                               {"cert_num", certificateNumber, CleanUp::Ampersand},
                               {"mode", platform::Format("%d", mode)}},
                              kResultKey,
                              "HTTP_find_certif_ACCREDIA - " + certificateNumber});
}

std::string WebClient::HttpFindCertifDate(const std::string& serial) {
    return PostWithBusyRetry({kFindCertifDateScript,
                              {{"user", kFormUser}, {"instr_sn", serial, CleanUp::Ampersand}},
                              kCertDateKey,
                              "HTTP_find_certif_date - " + serial});
}

std::string WebClient::HttpFindCertifDateCalib(const std::string& serial) {
    if (serial.empty()) {
        m_lastPost = {};
        return "";
    }
    return PostWithBusyRetry({kFindCertifDateCalibScript,
                              {{"user", kFormUser}, {"instr_sn", serial, CleanUp::Ampersand}},
                              kCertDateKey,
                              "HTTP_find_certif_date_calib - " + serial});
}

std::string WebClient::HttpFindMicSubstDate(const std::string& serial) {
    return PostWithBusyRetry({kFindMicSubstDateScript,
                              {{"user", kFormUser}, {"instr_sn", serial, CleanUp::Ampersand}},
                              "MIC_SOBST_DATE=",
                              "HTTP_find_mic_sobst_date - " + serial});
}

std::string WebClient::QueryServerTime() {
    return PostWithBusyRetry({kGetTimeScript, {{"user", kFormUser}}, "TIME=", "", false});
}

ReportUpload WebClient::HttpUploadFilePost(const std::string& vpgPath) {
    const CallDeadline deadline(m_limits);
    for (int attempt = 0; attempt < kUploadAttempts && !deadline.Passed(); ++attempt) {
        const FileContents file = ReadFileToUpload(vpgPath);
        if (!file.error.empty())
            return {file.error, std::nullopt};
        const MultipartBody upload = BuildMultipartUpload(UploadFileName(vpgPath), file.contents);
        Log("HTTP_upload_file_post - " + platform::SystemNameToText(vpgPath));
        Log(m_strSrvPath + kUploadReportScript);
        const HttpReply reply = Post(kUploadReportScript, {upload.contentType}, upload.body,
                                     deadline, kMaxReportReplyBytes);
        // A reply that broke off, or an error page, is no report.
        if (reply.Answered() && !reply.body.empty()) {
            if (!IsPdfReport(reply.body)) {
                const std::string text = ServiceErrorText(reply.body);
                Log(text);
                return {"ERROR", text};
            }
            const std::string reportPath = platform::ToNativePath(ReportPathFor(vpgPath));
            if (!platform::WriteFileAtomic(reportPath, reply.body)) {
                platform::AfxMessageBox("ERROR: Unable to open file", MB_ICONSTOP);
                return {"", std::nullopt};
            }
            return {"1", std::nullopt};
        }
        Log("");
        Wait(kUploadPauseMs);
    }
    return {"ERROR", std::nullopt};
}

std::string WebClient::UploadLogFile(const std::string& path) {
    const FileContents file = ReadFileToUpload(path);
    if (!file.error.empty())
        return file.error;
    const MultipartBody upload = BuildMultipartUpload(UploadFileName(path), file.contents);
    const HttpReply reply = Post(kUploadLogScript, {upload.contentType}, upload.body,
                                 CallDeadline(m_limits), kMaxReplyBytes);
    return reply.Answered() && !reply.body.empty() ? "1" : "ERROR";
}

}  // namespace web
