#include "zip/zip_extract_target.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <string_view>

#include "platform/files.h"
#include "platform/text.h"

namespace zip {

namespace {

// 0666 so that the mask of the process decides, as for any new file. O_EXCL never follows a
// link and never opens what is there already.
int CreateNew(const std::string& path) {
    return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
}

std::string FolderOf(const std::string& path) {
    const int slash = platform::ReverseFind(path, '/');
    return slash > 0 ? platform::Left(path, slash) : std::string(slash == 0 ? "/" : ".");
}

bool IsDigits(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// ".<pid>-<n>.part", as Create names its temporaries.
bool IsPartName(std::string_view name) {
    constexpr std::string_view kSuffix = ".part";
    if (name.size() < 1 + kSuffix.size() || name.front() != '.' || !name.ends_with(kSuffix))
        return false;
    name = name.substr(1, name.size() - 1 - kSuffix.size());
    const std::size_t dash = name.find('-');
    return dash != std::string_view::npos && IsDigits(name.substr(0, dash)) &&
           IsDigits(name.substr(dash + 1));
}

// A temporary whose extraction still runs is locked; the kernel lets go of a killed one's lock.
bool RemoveIfAbandoned(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return false;
    const bool removed = ::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::unlink(path.c_str()) == 0;
    ::close(fd);
    return removed;
}

}  // namespace

ExtractTarget::ExtractTarget(std::string path)
    : m_path(std::move(path)), m_folder(FolderOf(m_path)) {}

ExtractTarget::~ExtractTarget() {
    if (m_fd >= 0)
        ::close(m_fd);
    if (m_created && !m_committed)
        ::unlink(m_temporary.c_str());
}

// The data goes to a short temporary beside the target and is renamed over it only when whole:
// a stopped or killed extraction never leaves half a file under the entry's name, and a name
// that is already at the system's length limit still extracts.
bool ExtractTarget::Create() {
    static std::atomic<unsigned> counter{0};
    bool folderMade = false;
    for (int attempt = 0; attempt < 100 && m_fd < 0; ++attempt) {
        m_temporary = platform::Format("%s/.%d-%u.part", m_folder.c_str(),
                                       static_cast<int>(::getpid()), counter++);
        m_fd = CreateNew(m_temporary);
        if (m_fd < 0 && errno == ENOENT && !folderMade) {
            folderMade = platform::MakeDirectories(m_folder);
            if (!folderMade)
                break;
            continue;
        }
        if (m_fd < 0 && errno != EEXIST)
            break;
    }
    m_created = m_fd >= 0;
    // Where a file system has no locks the clean-up cannot take one either and removes nothing.
    if (m_created)
        ::flock(m_fd, LOCK_EX);
    return m_created;
}

bool ExtractTarget::Write(const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(m_fd, data, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

bool ExtractTarget::Commit() {
    const bool closed = ::close(m_fd) == 0;
    m_fd = -1;
    if (!closed)
        return false;
    m_committed = std::rename(m_temporary.c_str(), m_path.c_str()) == 0;
    return m_committed;
}

int RemoveAbandonedParts(const std::string& folder) {
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return 0;
    int removed = 0;
    while (const dirent* entry = ::readdir(dir))
        if (IsPartName(entry->d_name) &&
            RemoveIfAbandoned(platform::JoinPath(folder, entry->d_name)))
            ++removed;
    ::closedir(dir);
    return removed;
}

}  // namespace zip
