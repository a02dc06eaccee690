#pragma once
// Runs the web-service stand-in (router.php under PHP's built-in server) on a free loopback
// port for the lifetime of the object, with a fresh state folder through which the test
// steers it and reads back what it received.

#include <sys/types.h>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace webstub {

struct RecordedRequest {
    struct File {
        std::string name;
        std::string type;
        int error = 0;
        std::string data;
    };
    std::string method;
    std::string uri;  // as sent, doubled slashes and all
    std::vector<std::pair<std::string, std::string>> headers;
    std::string body;  // raw body; PHP withholds it for multipart unless rawBodies is set
    std::vector<std::pair<std::string, std::string>> fields;  // as PHP parsed them, in order
    std::map<std::string, File> files;                        // as PHP parsed them

    // The value of a header (name compared without case), or empty.
    std::string Header(const std::string& name) const;
};

struct WebStubOptions {
    // PHP leaves bodies unparsed (no fields, no files) and hands every body over raw, so that
    // a test sees a multipart body byte for byte.
    bool rawBodies = false;
};

class WebStub {
public:
    explicit WebStub(WebStubOptions options = {});
    ~WebStub();
    WebStub(const WebStub&) = delete;
    WebStub& operator=(const WebStub&) = delete;

    // False when PHP could not be started; the reason is in StartError().
    bool Running() const { return m_pid > 0; }
    const std::string& StartError() const { return m_startError; }
    std::string Host() const { return "127.0.0.1"; }
    int Port() const { return m_port; }
    std::string PortText() const { return std::to_string(m_port); }
    const std::string& StateDir() const { return m_stateDir; }

    void WriteState(const std::string& relative, const std::string& content) const;
    void AppendState(const std::string& relative, const std::string& content) const;
    std::optional<std::string> ReadState(const std::string& relative) const;

    // A file for GET at this remote path (doubled slashes allowed).
    void ServeFile(const std::string& remotePath, const std::string& content) const;
    // The key file of a meter, as the bench downloads it.
    void ServeKeyFile(const std::string& serial, const std::string& keyText) const;
    // From the (after+1)-th download on, the file at this path reads `content` instead.
    void ChangeFileAfter(const std::string& remotePath, int after,
                         const std::string& content) const;
    void RequireBasicAuth(const std::string& user, const std::string& password) const;
    // One fault line, as "status 404" or "busy 5", for a script or path (see lib/stub.php).
    void AddFault(const std::string& target, const std::string& fault) const;
    // The literal reply body of a form script.
    void SetReply(const std::string& script, const std::string& body) const;

    std::vector<RecordedRequest> Requests() const;

private:
    bool Start(const WebStubOptions& options);
    void Stop();

    std::string m_stateDir;
    pid_t m_pid = -1;
    int m_port = 0;
    std::string m_startError;
};

// The folded form of a remote path, as the stand-in files it: "//a//b.txt" -> "a/b.txt".
std::string FoldPath(const std::string& remotePath);

}  // namespace webstub
