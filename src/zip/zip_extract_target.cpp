#include "zip/zip_extract_target.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>

#include "platform/files.h"
#include "platform/text.h"

namespace zip {

namespace {

// 0666 so that the mask of the process decides, as for any new file. O_EXCL never follows a
// link and never opens what is there already.
int CreateNew(const std::string& path) {
    return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
}

}  // namespace

ExtractTarget::ExtractTarget(std::string path) : m_path(std::move(path)) {}

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
    const int slash = platform::ReverseFind(m_path, '/');
    const std::string folder = slash > 0 ? platform::Left(m_path, slash) : std::string(".");
    static std::atomic<unsigned> counter{0};
    bool folderMade = false;
    for (int attempt = 0; attempt < 100 && m_fd < 0; ++attempt) {
        m_temporary = platform::Format("%s/.%d-%u.part", folder.c_str(),
                                       static_cast<int>(::getpid()), counter++);
        m_fd = CreateNew(m_temporary);
        if (m_fd < 0 && errno == ENOENT && !folderMade) {
            folderMade = platform::MakeDirectories(folder);
            if (!folderMade)
                break;
            continue;
        }
        if (m_fd < 0 && errno != EEXIST)
            break;
    }
    m_created = m_fd >= 0;
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

}  // namespace zip
