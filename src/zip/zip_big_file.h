#pragma once
// The archive file: plain POSIX I/O with 64-bit positions. Failures are zip exceptions that
// name the file and the system's reason.

#include <cstddef>
#include <cstdint>
#include <string>

class CZipBigFile {
public:
    enum class Mode { kRead, kReadWrite, kCreate };

    CZipBigFile() = default;
    virtual ~CZipBigFile();
    CZipBigFile(const CZipBigFile&) = delete;
    CZipBigFile& operator=(const CZipBigFile&) = delete;

    // Closes the file open before, if any. False when the new file cannot be opened or is not
    // a regular file (OpenError() tells why); the file open before then stays open.
    bool Open(const std::string& path, Mode mode);
    const std::string& OpenError() const { return m_openError; }
    void Close();
    bool IsOpen() const { return m_fd >= 0; }
    const std::string& GetFilePath() const { return m_path; }

    // Fewer bytes than asked only at the end of the file.
    std::size_t Read(void* buffer, std::size_t size);
    void Write(const void* data, std::size_t size);
    void Seek(std::uint64_t position);
    void SeekToEnd();
    std::uint64_t GetPosition() const;
    std::uint64_t GetLength() const;
    void SetLength(std::uint64_t length);

private:
    [[noreturn]] void Fail(const char* what) const;

    int m_fd = -1;
    std::string m_path;
    std::string m_openError;
};
