#include "acquisition/dump_file.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace acquisition {

namespace {
constexpr unsigned char kHeaderMark = 0xBA;
constexpr unsigned char kUnused = 0xFF;
constexpr const char* kFormatVersion = "V2.0";
}  // namespace

std::string DumpFile::Header(const std::string& model, const std::string& serialNumber) {
    std::string text = model + ' ' + serialNumber + ' ' + kFormatVersion + ' ';
    text.resize(std::min(text.size(), kHeaderSize - 1));
    std::string header(1, static_cast<char>(kHeaderMark));
    header += text;
    header.resize(kHeaderSize, static_cast<char>(kUnused));
    return header;
}

bool DumpFile::Create(const std::string& path) {
    Close();
    std::lock_guard lock(m_mutex);
    m_file = std::fopen(path.c_str(), "wb");
    m_error = m_file ? 0 : errno;
    // Unbuffered: each write reaches the file or fails by itself, and nothing of a failed one
    // stays behind to be written later.
    if (m_file)
        std::setvbuf(m_file, nullptr, _IONBF, 0);
    return m_file != nullptr;
}

bool DumpFile::Write(std::string_view bytes) {
    std::lock_guard lock(m_mutex);
    if (!m_file) {
        m_error = EBADF;
        return false;
    }
    const long before = std::ftell(m_file);
    errno = 0;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), m_file) == bytes.size();
    if (!written) {
        m_error = errno ? errno : EIO;
        // The file keeps whole writes only: the part that went is taken back.
        std::clearerr(m_file);
        if (before >= 0 && ::ftruncate(::fileno(m_file), before) == 0)
            std::fseek(m_file, before, SEEK_SET);
    }
    return written;
}

bool DumpFile::IsOpen() const {
    std::lock_guard lock(m_mutex);
    return m_file != nullptr;
}

void DumpFile::Close() {
    std::lock_guard lock(m_mutex);
    if (m_file)
        std::fclose(m_file);
    m_file = nullptr;
}

int DumpFile::Error() const {
    std::lock_guard lock(m_mutex);
    return m_error;
}

}  // namespace acquisition
