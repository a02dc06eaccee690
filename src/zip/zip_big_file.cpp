#include "zip/zip_big_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "zip/zip_exception.h"

CZipBigFile::~CZipBigFile() {
    Close();
}

namespace {

const char* KindOfFile(mode_t mode) {
    if (S_ISDIR(mode))
        return "a folder";
    if (S_ISCHR(mode))
        return "a character device";
    if (S_ISBLK(mode))
        return "a block device";
    if (S_ISFIFO(mode))
        return "a pipe";
    if (S_ISSOCK(mode))
        return "a socket";
    return "not a regular file";
}

}  // namespace

bool CZipBigFile::Open(const std::string& path, Mode mode) {
    int flags = O_RDONLY;
    if (mode == Mode::kReadWrite)
        flags = O_RDWR;
    if (mode == Mode::kCreate)
        flags = O_RDWR | O_CREAT | O_TRUNC;
    // Without O_NONBLOCK a pipe would wait for a writer; on a regular file it has no effect.
    const int fd = ::open(path.c_str(), flags | O_CLOEXEC | O_NONBLOCK, 0666);
    if (fd < 0) {
        // A socket cannot be opened at all: say what it is, as for the other kinds below.
        const int reason = errno;
        struct stat st {};
        m_openError = ::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode)
                          ? std::string(KindOfFile(st.st_mode)) + ", not an archive file"
                          : std::strerror(reason);
        errno = reason;
        return false;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        m_openError = std::string(KindOfFile(st.st_mode)) + ", not an archive file";
        ::close(fd);
        errno = EINVAL;
        return false;
    }
    // Only now: a file that cannot be opened leaves the one open before in place.
    Close();
    m_fd = fd;
    m_path = path;
    m_position = 0;
    m_length = static_cast<std::uint64_t>(st.st_size);
    return true;
}

void CZipBigFile::Close() {
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    m_readAheadSize = 0;
}

void CZipBigFile::Fail(const char* what) const {
    ThrowZipError(CZipException::kGeneric, m_path, std::string(what) + ": " + std::strerror(errno));
}

std::size_t CZipBigFile::ReadAt(char* buffer, std::size_t size, std::uint64_t position) {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n =
            ::pread(m_fd, buffer + done, size - done, static_cast<off_t>(position + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            Fail("read");
        if (n == 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    return done;
}

std::size_t CZipBigFile::Read(void* buffer, std::size_t size) {
    auto* out = static_cast<char*>(buffer);
    std::size_t done = 0;
    while (done < size) {
        if (m_position >= m_readAheadStart && m_position < m_readAheadStart + m_readAheadSize) {
            const auto offset = static_cast<std::size_t>(m_position - m_readAheadStart);
            const std::size_t part = std::min(size - done, m_readAheadSize - offset);
            std::memcpy(out + done, m_readAhead.get() + offset, part);
            done += part;
            m_position += part;
            continue;
        }
        if (size - done >= kReadAhead) {
            const std::size_t n = ReadAt(out + done, size - done, m_position);
            done += n;
            m_position += n;
            break;  // whole, or at the end of the file
        }
        if (!m_readAhead)
            m_readAhead.reset(new char[kReadAhead]);
        m_readAheadStart = m_position;
        m_readAheadSize = ReadAt(m_readAhead.get(), kReadAhead, m_position);
        if (m_readAheadSize == 0)
            break;
    }
    return done;
}

void CZipBigFile::Write(const void* data, std::size_t size) {
    m_readAheadSize = 0;
    const auto* in = static_cast<const char*>(data);
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n =
            ::pwrite(m_fd, in + done, size - done, static_cast<off_t>(m_position + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            Fail("write");
        done += static_cast<std::size_t>(n);
    }
    m_position += size;
    m_length = std::max(m_length, m_position);
}

void CZipBigFile::SetLength(std::uint64_t length) {
    m_readAheadSize = 0;
    if (::ftruncate(m_fd, static_cast<off_t>(length)) != 0)
        Fail("truncate");
    m_length = length;
}
