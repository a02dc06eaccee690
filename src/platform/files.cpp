#include "platform/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return std::nullopt;
    std::string content;
    char buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0)
        content.append(buffer, n);
    const bool failed = std::ferror(f) != 0;
    std::fclose(f);
    if (failed)
        return std::nullopt;
    return content;
}

bool WriteFileAtomic(const std::string& path, std::string_view content, FileAccess access) {
    std::string temp = path + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0)
        return false;
    bool ok = true;
    for (size_t done = 0; ok && done < content.size();) {
        const ssize_t n = ::write(fd, content.data() + done, content.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        ok = n > 0;
        if (ok)
            done += static_cast<size_t>(n);
    }
    ok = ok && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    // Shared: the mode of the file being replaced, or an ordinary 0644.
    struct stat existing {};
    const mode_t mode = access == FileAccess::OwnerOnly        ? 0600
                        : ::stat(path.c_str(), &existing) == 0 ? (existing.st_mode & 07777)
                                                               : 0644;
    ok = ok && ::chmod(temp.c_str(), mode) == 0;
    ok = ok && ::rename(temp.c_str(), path.c_str()) == 0;
    if (!ok)
        ::unlink(temp.c_str());
    return ok;
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
