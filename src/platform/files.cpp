#include "platform/files.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <system_error>

namespace platform {

std::string CurrentDirectory() {
    std::error_code ec;
    std::string dir = std::filesystem::current_path(ec).string();
    if (dir.empty() || dir.back() != '/')
        dir.push_back('/');
    return dir;
}

std::string ToNativePath(std::string_view path) {
    std::string out(path);
    for (char& c : out)
        if (c == '\\')
            c = '/';
    return out;
}

std::string JoinPath(std::string_view folder, std::string_view relative) {
    std::string head = ToNativePath(folder);
    std::string tail = ToNativePath(relative);
    while (!head.empty() && head.back() == '/' && head.size() > 1)
        head.pop_back();
    size_t skip = 0;
    while (skip < tail.size() && tail[skip] == '/')
        ++skip;
    if (head.empty())
        return tail;
    if (head == "/")
        return "/" + tail.substr(skip);
    return head + "/" + tail.substr(skip);
}

bool FileExists(const std::string& path) {
    return ::access(path.c_str(), F_OK) == 0;
}

bool RemoveFile(const std::string& path) {
    return ::unlink(path.c_str()) == 0;
}

bool MakeDirectories(const std::string& path) {
    std::error_code ec;
    std::filesystem::create_directories(path, ec);
    return !ec && std::filesystem::is_directory(path, ec);
}

std::optional<std::string> ReadWholeFile(const std::string& path) {
    return ReadFileHead(path, std::string::npos);
}

std::optional<std::string> ReadFileHead(const std::string& path, size_t maxBytes) {
    // Opened without waiting, and read only when it is a plain file: a FIFO or a device in a
    // file's place would hold the thread until a writer came, or never end.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return std::nullopt;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        const int error = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
        ::close(fd);
        errno = error;
        return std::nullopt;
    }
    std::string content;
    char buffer[65536];
    while (content.size() < maxBytes) {
        const ssize_t n = ::read(fd, buffer, std::min(sizeof buffer, maxBytes - content.size()));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            const int error = errno;
            ::close(fd);
            errno = error;
            return std::nullopt;
        }
        if (n == 0)
            break;
        content.append(buffer, static_cast<size_t>(n));
    }
    ::close(fd);
    return content;
}

namespace {

// Temporaries are named "<file>.kx9tmp-XXXXXX": the mark tells ours from a technician's
// "port.ini.backup", and mkstemp fills the six random letters or digits.
constexpr std::string_view kTemporaryMark = ".kx9tmp-";
constexpr size_t kTemporaryRandomChars = 6;

bool IsTemporaryName(std::string_view name) {
    const size_t tail = kTemporaryMark.size() + kTemporaryRandomChars;
    if (name.size() <= tail)
        return false;
    const std::string_view random = name.substr(name.size() - kTemporaryRandomChars);
    return name.substr(name.size() - tail, kTemporaryMark.size()) == kTemporaryMark &&
           std::all_of(random.begin(), random.end(), [](char c) {
               return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
           });
}

// Removes a temporary that no living writer holds locked.
bool RemoveIfAbandoned(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool removed = ::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::unlink(path.c_str()) == 0;
    ::close(fd);
    return removed;
}

}  // namespace

bool WriteFileAtomic(const std::string& path, std::string_view content, FileAccess access) {
    AtomicFileWriter writer(path, access);
    return writer.Write(content) && writer.Commit();
}

AtomicFileWriter::AtomicFileWriter(const std::string& path, FileAccess access)
    : m_path(path),
      m_temp(path + std::string(kTemporaryMark) + std::string(kTemporaryRandomChars, 'X')),
      m_access(access) {
    m_fd = ::mkostemp(m_temp.data(), O_CLOEXEC);
    if (m_fd < 0) {
        m_temp.clear();
        return;
    }
    // Held until the rename, so that a start-up's clean-up leaves this temporary alone; the
    // kernel lets go of it when the process dies. Where a file system has no locks the
    // clean-up cannot take one either and removes nothing, so the write goes on without.
    ::flock(m_fd, LOCK_EX);
}

AtomicFileWriter::~AtomicFileWriter() {
    Discard();
}

bool AtomicFileWriter::Write(std::string_view bytes) {
    for (size_t done = 0; !m_failed && IsOpen() && done < bytes.size();) {
        const ssize_t n = ::write(m_fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        m_failed = n <= 0;
        if (!m_failed)
            done += static_cast<size_t>(n);
    }
    return IsOpen() && !m_failed;
}

bool AtomicFileWriter::Commit() {
    if (!IsOpen())
        return false;
    // The data of another writer of the temporary is the same file's, so this flushes it too.
    bool ok = !m_failed && ::fsync(m_fd) == 0;
    if (ok) {
        // mkstemp creates 0600. Shared: the mode of the file being replaced, or an ordinary 0644.
        struct stat existing {};
        const int errorBefore = errno;
        const mode_t mode = m_access == FileAccess::OwnerOnly        ? 0600
                            : ::stat(m_path.c_str(), &existing) == 0 ? (existing.st_mode & 07777)
                                                                     : 0644;
        errno = errorBefore;
        ok = ::fchmod(m_fd, mode) == 0 && ::rename(m_temp.c_str(), m_path.c_str()) == 0;
    }
    if (ok) {
        ::close(m_fd);
        m_fd = -1;
        return true;
    }
    Discard();
    return false;
}

void AtomicFileWriter::Discard() {
    if (!IsOpen())
        return;
    // The failure's reason outlives the clean-up.
    const int error = errno;
    ::unlink(m_temp.c_str());
    ::close(m_fd);
    m_fd = -1;
    errno = error;
}

int RemoveStaleTemporaries(const std::string& folder) {
    namespace fs = std::filesystem;
    std::error_code ec;
    int removed = 0;
    // Symbolic links are not followed, and the walk stops one level down: the program folder
    // may be a home folder, and the program writes only there and in its own subfolders.
    fs::recursive_directory_iterator it(folder, fs::directory_options::skip_permission_denied, ec);
    for (; !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        const fs::directory_entry& entry = *it;
        if (it.depth() >= 1)
            it.disable_recursion_pending();
        std::error_code typeError;
        if (entry.is_regular_file(typeError) && !entry.is_symlink(typeError) &&
            IsTemporaryName(entry.path().filename().string()) &&
            RemoveIfAbandoned(entry.path().string()))
            ++removed;
    }
    return removed;
}

LineReader::LineReader(const std::string& path) : m_file(std::fopen(path.c_str(), "rb")) {}

LineReader::~LineReader() {
    if (m_file)
        std::fclose(m_file);
}

bool LineReader::ReadLine(std::string& line, size_t maxChars) {
    line.clear();
    if (!m_file || maxChars == 0)
        return false;
    int c = EOF;
    bool any = false;
    while (line.size() < maxChars && (c = std::getc(m_file)) != EOF) {
        any = true;
        if (c == '\n')
            break;
        line.push_back(static_cast<char>(c));
    }
    if (!any)
        return false;
    if (c == '\n') {
        while (!line.empty() && line.back() == '\r')
            line.pop_back();
    }
    return true;
}

}  // namespace platform
