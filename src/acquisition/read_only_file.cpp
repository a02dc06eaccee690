#include "acquisition/read_only_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace acquisition {

int OpenToRead(const std::string& path) {
    return ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
}

ReadOnlyFile::ReadOnlyFile(const std::string& path)
    : m_fd(OpenToRead(path)), m_error(m_fd < 0 ? errno : 0) {}

ReadOnlyFile::~ReadOnlyFile() {
    if (m_fd >= 0)
        ::close(m_fd);
}

size_t ReadFully(int fd, long long offset, void* bytes, size_t count, bool* failed) {
    auto* const at = static_cast<unsigned char*>(bytes);
    size_t done = 0;
    bool failure = false;
    while (done < count) {
        const ssize_t n = ::pread(fd, at + done, count - done,
                                  static_cast<off_t>(offset) + static_cast<off_t>(done));
        if (n < 0 && errno == EINTR)
            continue;
        failure = n < 0;
        if (n <= 0)
            break;
        done += static_cast<size_t>(n);
    }
    if (failed)
        *failed = failure;
    return done;
}

bool ReadWhole(int fd, std::string& text) {
    text.clear();
    char block[65536];
    bool failed = false;
    for (long long offset = 0;; offset += static_cast<long long>(sizeof block)) {
        const size_t n = ReadFully(fd, offset, block, sizeof block, &failed);
        text.append(block, n);
        if (n < sizeof block)
            return !failed;
    }
}

}  // namespace acquisition
