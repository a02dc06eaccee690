#include "webstub/webstub_process.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace webstub {

namespace {
namespace fs = std::filesystem;

int FreeLoopbackPort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0)
        return 0;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    int port = 0;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        port = ntohs(address.sin_port);
    ::close(fd);
    return port;
}

bool Accepts(int port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0)
        return false;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<uint16_t>(port));
    const bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return ok;
}

std::string Decode64(const QJsonValue& value) {
    return QByteArray::fromBase64(value.toString().toLatin1()).toStdString();
}

std::string ToLower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
    return s;
}
}  // namespace

std::string RecordedRequest::Header(const std::string& name) const {
    for (const auto& [key, value] : headers)
        if (ToLower(key) == ToLower(name))
            return value;
    return {};
}

std::string FoldPath(const std::string& remotePath) {
    std::string folded;
    for (char c : remotePath) {
        if (c == '/' && (folded.empty() || folded.back() == '/'))
            continue;
        folded.push_back(c);
    }
    return folded;
}

WebStub::WebStub(WebStubOptions options) {
    std::string pattern = (fs::temp_directory_path() / "kx9webstub-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("mkdtemp failed");
    m_stateDir = pattern;
    // A port taken between the probe and PHP's bind makes PHP exit: try another.
    for (int attempt = 0; attempt < 3 && !Start(options); ++attempt) {
    }
}

WebStub::~WebStub() {
    Stop();
    std::error_code ec;
    fs::remove_all(m_stateDir, ec);
}

bool WebStub::Start(const WebStubOptions& options) {
    m_port = FreeLoopbackPort();
    if (m_port == 0) {
        m_startError = "no free loopback port";
        return false;
    }
    const std::string listen = "127.0.0.1:" + std::to_string(m_port);
    std::vector<std::string> args = {"php",
                                     "-d",
                                     "upload_max_filesize=64M",
                                     "-d",
                                     "post_max_size=64M",
                                     "-d",
                                     "display_errors=stderr",
                                     "-d",
                                     "log_errors=0"};
    if (options.rawBodies) {
        args.push_back("-d");
        args.push_back("enable_post_data_reading=0");
    }
    for (const char* arg : {"-S", listen.c_str(), "-t", m_stateDir.c_str(), KX9_WEBSTUB_ROUTER})
        args.push_back(arg);
    std::vector<char*> argv;
    for (auto& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);

    std::vector<std::string> environment;
    for (char** e = environ; *e; ++e)
        if (std::strncmp(*e, "KX9_WEBSTUB_STATE=", 18) != 0 &&
            std::strncmp(*e, "PHP_CLI_SERVER_WORKERS=", 23) != 0)
            environment.emplace_back(*e);
    environment.push_back("KX9_WEBSTUB_STATE=" + m_stateDir);
    std::vector<char*> envp;
    for (auto& entry : environment)
        envp.push_back(entry.data());
    envp.push_back(nullptr);

    const int logFd = ::open((m_stateDir + "/server.log").c_str(),
                             O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    const pid_t parent = ::getpid();
    const pid_t pid = ::fork();
    if (pid == 0) {
        // Only async-signal-safe calls from here on.
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (::getppid() != parent)
            ::_exit(127);
        if (logFd >= 0) {
            ::dup2(logFd, STDOUT_FILENO);
            ::dup2(logFd, STDERR_FILENO);
        }
        const int nullFd = ::open("/dev/null", O_RDONLY);
        if (nullFd >= 0)
            ::dup2(nullFd, STDIN_FILENO);
        ::execvpe("php", argv.data(), envp.data());
        ::_exit(127);
    }
    if (logFd >= 0)
        ::close(logFd);
    if (pid < 0) {
        m_startError = std::string("fork: ") + std::strerror(errno);
        return false;
    }
    m_pid = pid;

    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(15);
    while (std::chrono::steady_clock::now() < deadline) {
        int status = 0;
        if (::waitpid(m_pid, &status, WNOHANG) == m_pid) {
            m_pid = -1;
            m_startError = "php exited: " + ReadState("server.log").value_or("");
            return false;
        }
        if (Accepts(m_port))
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    Stop();
    m_startError = "php did not accept connections";
    return false;
}

void WebStub::Stop() {
    if (m_pid <= 0)
        return;
    ::kill(m_pid, SIGTERM);
    int status = 0;
    while (::waitpid(m_pid, &status, 0) < 0 && errno == EINTR) {
    }
    m_pid = -1;
}

void WebStub::WriteState(const std::string& relative, const std::string& content) const {
    const fs::path path = fs::path(m_stateDir) / relative;
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary | std::ios::trunc) << content;
}

void WebStub::AppendState(const std::string& relative, const std::string& content) const {
    const fs::path path = fs::path(m_stateDir) / relative;
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary | std::ios::app) << content;
}

std::optional<std::string> WebStub::ReadState(const std::string& relative) const {
    std::ifstream in(fs::path(m_stateDir) / relative, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void WebStub::ServeFile(const std::string& remotePath, const std::string& content) const {
    std::string folded = FoldPath(remotePath);
    if (!folded.empty() && folded.front() == '/')
        folded.erase(0, 1);
    WriteState("files/" + folded, content);
}

void WebStub::ServeKeyFile(const std::string& serial, const std::string& keyText) const {
    ServeFile("//qs4060krtn_vp//hash_keys//" + serial + "hash.txt", keyText);
}

void WebStub::ChangeFileAfter(const std::string& remotePath, int after,
                              const std::string& content) const {
    ServeFile(remotePath + ".changed", content);
    std::string folded = FoldPath(remotePath);
    if (!folded.empty() && folded.front() == '/')
        folded.erase(0, 1);
    AddFault(folded, "changes " + std::to_string(after));
}

void WebStub::RequireBasicAuth(const std::string& user, const std::string& password) const {
    WriteState("auth", user + ":" + password);
}

void WebStub::AddFault(const std::string& target, const std::string& fault) const {
    AppendState("faults", target + " " + fault + "\n");
}

void WebStub::SetReply(const std::string& script, const std::string& body) const {
    WriteState("replies/" + script, body);
}

std::vector<RecordedRequest> WebStub::Requests() const {
    std::vector<fs::path> files;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(fs::path(m_stateDir) / "requests", ec))
        if (entry.path().extension() == ".json")
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    std::vector<RecordedRequest> requests;
    for (const auto& file : files) {
        std::ifstream in(file, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        const QJsonObject json =
            QJsonDocument::fromJson(QByteArray::fromStdString(s.str())).object();
        RecordedRequest request;
        request.method = json["method"].toString().toStdString();
        request.uri = Decode64(json["uri"]);
        for (const auto& header : json["headers"].toArray())
            request.headers.emplace_back(header[0].toString().toStdString(),
                                         header[1].toString().toStdString());
        request.body = Decode64(json["body"]);
        for (const auto& field : json["fields"].toArray())
            request.fields.emplace_back(field[0].toString().toStdString(), Decode64(field[1]));
        const QJsonObject uploaded = json["files"].toObject();
        for (auto it = uploaded.begin(); it != uploaded.end(); ++it) {
            const QJsonObject f = it.value().toObject();
            request.files[it.key().toStdString()] = {Decode64(f["name"]),
                                                     f["type"].toString().toStdString(),
                                                     f["error"].toInt(), Decode64(f["data"])};
        }
        requests.push_back(std::move(request));
    }
    return requests;
}

}  // namespace webstub
