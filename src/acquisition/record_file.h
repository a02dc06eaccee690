#pragma once
// The page file of a live recording: created empty, kept open for reading and writing in binary
// while the records arrive, closed when the run ends.

#include <cstdio>
#include <string>
#include <string_view>

namespace acquisition {

class RecordFile {
public:
    RecordFile() = default;
    ~RecordFile() { Close(); }
    RecordFile(const RecordFile&) = delete;
    RecordFile& operator=(const RecordFile&) = delete;

    // Closes the open file first; false when the new one cannot be created.
    bool Create(const std::string& path);
    bool IsOpen() const { return m_file != nullptr; }
    const std::string& Path() const { return m_path; }
    // False when not open or the bytes could not all be written.
    bool Write(std::string_view bytes);
    bool Seek(long offset);
    void Close();

private:
    std::FILE* m_file = nullptr;
    std::string m_path;
};

}  // namespace acquisition
