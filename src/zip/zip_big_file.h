#pragma once
// The archive file: positioned POSIX I/O with 64-bit positions. The position and the length
// are kept here (the file is this object's alone), and small reads are served from a block
// read ahead, so that reading many small entries costs few system calls. Failures are zip
// exceptions that name the file and the system's reason.

#include <cstddef>
#include <cstdint>
#include <memory>
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
    void Seek(std::uint64_t position) { m_position = position; }
    void SeekToEnd() { m_position = m_length; }
    std::uint64_t GetPosition() const { return m_position; }
    std::uint64_t GetLength() const { return m_length; }
    void SetLength(std::uint64_t length);

private:
    static constexpr std::size_t kReadAhead = 1 << 16;

    std::size_t ReadAt(char* buffer, std::size_t size, std::uint64_t position);
    [[noreturn]] void Fail(const char* what) const;

    int m_fd = -1;
    std::string m_path;
    std::string m_openError;
    std::uint64_t m_position = 0;
    std::uint64_t m_length = 0;
    std::unique_ptr<char[]> m_readAhead;
    std::uint64_t m_readAheadStart = 0;
    std::size_t m_readAheadSize = 0;  // 0: nothing read ahead
};
