#include "acquisition/record_file.h"

namespace acquisition {

bool RecordFile::Create(const std::string& path) {
    Close();
    m_file = std::fopen(path.c_str(), "w+b");
    if (m_file)
        m_path = path;
    return m_file != nullptr;
}

bool RecordFile::Write(std::string_view bytes) {
    if (!m_file)
        return false;
    return std::fwrite(bytes.data(), 1, bytes.size(), m_file) == bytes.size() &&
           std::fflush(m_file) == 0;
}

bool RecordFile::Seek(long offset) {
    return m_file && std::fseek(m_file, offset, SEEK_SET) == 0;
}

void RecordFile::Close() {
    if (m_file)
        std::fclose(m_file);
    m_file = nullptr;
    m_path.clear();
}

}  // namespace acquisition
