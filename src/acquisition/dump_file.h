#pragma once
// The file that a download of the meter's memory goes into ("QS4160_DumpFile.kx9" in the
// program folder): a 64-byte header that names the meter, then the dump's bytes as they come.
// The start of a download creates it and writes the header; the dump decoder appends to it on
// the listener thread; the end of the download closes it.

#include <cstdio>
#include <mutex>
#include <string>
#include <string_view>

namespace acquisition {

class DumpFile {
public:
    static constexpr const char* kFileName = "QS4160_DumpFile.kx9";
    static constexpr size_t kHeaderSize = 64;

    DumpFile() = default;
    ~DumpFile() { Close(); }
    DumpFile(const DumpFile&) = delete;
    DumpFile& operator=(const DumpFile&) = delete;

    // 0xBA, then "<model> <serial number> V2.0 ", then 0xFF up to the header's end; the texts
    // are cut where they would not fit.
    static std::string Header(const std::string& model, const std::string& serialNumber);

    // Creates the file empty (an existing one is truncated) and keeps it open; closes the
    // open one first. On failure Error() tells why.
    bool Create(const std::string& path);
    // False, with Error() set, when not open or not every byte reached the file; the file is
    // then as it was before.
    bool Write(std::string_view bytes);
    bool IsOpen() const;
    void Close();
    // The errno of the last failure.
    int Error() const;

private:
    mutable std::mutex m_mutex;
    std::FILE* m_file = nullptr;
    int m_error = 0;
};

}  // namespace acquisition
