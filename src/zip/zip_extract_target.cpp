#include "zip/zip_extract_target.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>

#include "platform/files.h"
#include "platform/text.h"

namespace zip {

ExtractTarget::ExtractTarget(std::string path) : m_path(std::move(path)) {}

ExtractTarget::~ExtractTarget() {
    if (m_fd >= 0)
        ::close(m_fd);
    if (!m_committed && !m_temporary.empty())
        ::unlink(m_temporary.c_str());
}

bool ExtractTarget::Create() {
    const int slash = platform::ReverseFind(m_path, '/');
    if (slash > 0 && !platform::MakeDirectories(platform::Left(m_path, slash)))
        return false;
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100 && m_fd < 0; ++attempt) {
        m_temporary = platform::Format("%s.%d-%u.part", m_path.c_str(),
                                       static_cast<int>(::getpid()), counter++);
        // 0666 so that the mask of the process decides, as for any new file.
        m_fd = ::open(m_temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (m_fd < 0 && errno != EEXIST)
            break;
    }
    if (m_fd < 0)
        m_temporary.clear();
    return m_fd >= 0;
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

bool ExtractTarget::Finish() {
    const bool ok = ::close(m_fd) == 0;
    m_fd = -1;
    return ok;
}

bool ExtractTarget::Commit() {
    m_committed = std::rename(m_temporary.c_str(), m_path.c_str()) == 0;
    return m_committed;
}

}  // namespace zip
