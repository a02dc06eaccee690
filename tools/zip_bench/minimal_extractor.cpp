// The least work that extracts an archive: the whole file read at once, the directory walked,
// each entry inflated with one reused zlib stream and written with open/write/close. No checks,
// no times, no modes: what no extractor can beat, the limit the bench measures against. Linked,
// each file is written unnamed, timed and linked as CZipArchive writes new files: the limit of
// an extractor that keeps its guarantees, with no CRC, mode, name or folder checks.

#include "minimal_extractor.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

namespace {

std::uint16_t U16(const unsigned char* p) {
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

std::uint32_t U32(const unsigned char* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

bool ReadAll(const std::string& path, std::vector<unsigned char>& bytes) {
    const int fd = ::open(path.c_str(), O_RDONLY);
    struct stat st {};
    if (fd < 0 || ::fstat(fd, &st) != 0)
        return false;
    bytes.resize(static_cast<std::size_t>(st.st_size));
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::read(fd, bytes.data() + done, bytes.size() - done);
        if (n <= 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    ::close(fd);
    return done == bytes.size();
}

bool WriteFile(const std::string& path, const unsigned char* data, std::size_t size) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0)
        return false;
    const bool written = ::write(fd, data, size) == static_cast<ssize_t>(size);
    return ::close(fd) == 0 && written;
}

// The DOS time read as UTC: the time zone's offset is no system call.
std::time_t DosSeconds(std::uint16_t time, std::uint16_t date) {
    std::tm fields{};
    fields.tm_year = (date >> 9) + 80;
    fields.tm_mon = ((date >> 5) & 0x0F) - 1;
    fields.tm_mday = date & 0x1F;
    fields.tm_hour = time >> 11;
    fields.tm_min = (time >> 5) & 0x3F;
    fields.tm_sec = (time & 0x1F) * 2;
    return ::timegm(&fields);
}

bool WriteLinked(int folder, const std::string& name, const unsigned char* data, std::size_t size,
                 std::time_t modified) {
    const int fd = ::openat(folder, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    if (fd < 0)
        return false;
    const timespec times[2] = {{modified, 0}, {modified, 0}};
    const bool written = ::write(fd, data, size) == static_cast<ssize_t>(size) &&
                         ::futimens(fd, times) == 0 &&
                         ::linkat(fd, "", folder, name.c_str(), AT_EMPTY_PATH) == 0;
    return ::close(fd) == 0 && written;
}

}  // namespace

int MinimalExtract(const std::string& archive, const std::string& folder, bool linked) {
    std::vector<unsigned char> bytes;
    if (!ReadAll(archive, bytes) || bytes.size() < 22)
        return 1;
    std::size_t end = bytes.size() - 22;
    while (end > 0 && U32(&bytes[end]) != 0x06054B50)
        --end;
    const std::uint16_t count = U16(&bytes[end + 10]);
    std::size_t at = U32(&bytes[end + 16]);
    ::mkdir(folder.c_str(), 0777);
    const int folderFd = linked ? ::open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC) : -1;
    z_stream stream{};
    inflateInit2(&stream, -15);
    std::vector<unsigned char> out;
    for (int i = 0; i < count; ++i) {
        const unsigned char* central = &bytes[at];
        const std::uint16_t method = U16(central + 10);
        const std::time_t modified = DosSeconds(U16(central + 12), U16(central + 14));
        const std::uint32_t compressed = U32(central + 20);
        const std::uint32_t size = U32(central + 24);
        const std::uint16_t nameLength = U16(central + 28);
        const std::string name(reinterpret_cast<const char*>(central + 46), nameLength);
        const unsigned char* local = &bytes[U32(central + 42)];
        const unsigned char* data = local + 30 + U16(local + 26) + U16(local + 28);
        at += 46 + nameLength + U16(central + 30) + U16(central + 32);
        if (!name.empty() && name.back() == '/')
            continue;
        const unsigned char* content = data;
        if (method == 8) {
            out.resize(size);
            inflateReset(&stream);
            stream.next_in = const_cast<unsigned char*>(data);
            stream.avail_in = compressed;
            stream.next_out = out.data();
            stream.avail_out = size;
            if (inflate(&stream, Z_FINISH) != Z_STREAM_END)
                return 1;
            content = out.data();
        }
        if (linked ? !WriteLinked(folderFd, name, content, size, modified)
                   : !WriteFile(folder + "/" + name, content, size)) {
            std::fprintf(stderr, "not written: %s\n", name.c_str());
            return 1;
        }
    }
    inflateEnd(&stream);
    if (folderFd >= 0)
        ::close(folderFd);
    return 0;
}
