#include "zip/zip_big_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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
        m_openError = errno == EISDIR ? "a folder, not an archive file" : std::strerror(errno);
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
    return true;
}

void CZipBigFile::Close() {
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

void CZipBigFile::Fail(const char* what) const {
    ThrowZipError(CZipException::kGeneric, m_path, std::string(what) + ": " + std::strerror(errno));
}

std::size_t CZipBigFile::Read(void* buffer, std::size_t size) {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::read(m_fd, static_cast<char*>(buffer) + done, size - done);
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

void CZipBigFile::Write(const void* data, std::size_t size) {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::write(m_fd, static_cast<const char*>(data) + done, size - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            Fail("write");
        done += static_cast<std::size_t>(n);
    }
}

void CZipBigFile::Seek(std::uint64_t position) {
    if (::lseek(m_fd, static_cast<off_t>(position), SEEK_SET) < 0)
        Fail("seek");
}

void CZipBigFile::SeekToEnd() {
    if (::lseek(m_fd, 0, SEEK_END) < 0)
        Fail("seek");
}

std::uint64_t CZipBigFile::GetPosition() const {
    const off_t position = ::lseek(m_fd, 0, SEEK_CUR);
    if (position < 0)
        Fail("seek");
    return static_cast<std::uint64_t>(position);
}

std::uint64_t CZipBigFile::GetLength() const {
    struct stat st {};
    if (::fstat(m_fd, &st) != 0)
        Fail("stat");
    return static_cast<std::uint64_t>(st.st_size);
}

void CZipBigFile::SetLength(std::uint64_t length) {
    if (::ftruncate(m_fd, static_cast<off_t>(length)) != 0)
        Fail("truncate");
}
