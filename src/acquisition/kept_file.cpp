#include "acquisition/kept_file.h"
#include "acquisition/read_only_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace acquisition {

namespace {

std::int64_t Nanoseconds(const struct timespec& time) {
    return static_cast<std::int64_t>(time.tv_sec) * 1000000000 + time.tv_nsec;
}

// The status-change time moves with every write and cannot be set back, so a rewrite that keeps
// the size and puts the modification time back (a copy that keeps times) is still told.
template <typename Identity>
Identity IdentityOf(const struct stat& status) {
    return {status.st_dev, status.st_ino, status.st_size, Nanoseconds(status.st_mtim),
            Nanoseconds(status.st_ctim)};
}

}  // namespace

bool KeptFile::Open(const std::string& path) {
    Close();
    const int fd = OpenToRead(path);
    struct stat status {};
    if (fd < 0 || ::fstat(fd, &status) != 0) {
        if (fd >= 0)
            ::close(fd);
        return false;
    }
    m_path = path;
    m_fd = fd;
    m_identity = IdentityOf<Identity>(status);
    return true;
}

void KeptFile::Close() {
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    m_path.clear();
    m_identity = {};
}

bool KeptFile::IsCurrent(const std::string& path) const {
    struct stat status {};
    return m_fd >= 0 && path == m_path && ::stat(path.c_str(), &status) == 0 &&
           IdentityOf<Identity>(status) == m_identity;
}

bool KeptFile::ReadAll(std::string& text) const {
    return ReadWhole(m_fd, text);
}

bool KeptFile::Reads(std::string_view text) const {
    char block[65536];
    // One byte more than is left is asked for, so that a longer file is told in the same read.
    for (size_t offset = 0;;) {
        const size_t left = text.size() - offset;
        const ssize_t n =
            ::pread(m_fd, block, std::min(sizeof block, left + 1), static_cast<off_t>(offset));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 || static_cast<size_t>(n) > left ||
            std::memcmp(block, text.data() + offset, static_cast<size_t>(n)) != 0)
            return false;
        if (n == 0)
            return left == 0;
        offset += static_cast<size_t>(n);
    }
}

}  // namespace acquisition
