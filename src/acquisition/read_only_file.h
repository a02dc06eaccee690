#pragma once
// Files the operator chose, or that a data set names (its page files, label file, scheduler
// log), opened for reading without waiting for a writer: where such a path names a FIFO, a
// blocking open would hold the user-interface thread until some program wrote to it. Opened so,
// a FIFO's reads fail, as a folder's do (neither can be read at an offset), and the program says
// what it says of any file it cannot read. Regular files take no notice of the flag.

#include <cstddef>
#include <string>

namespace acquisition {

// The descriptor, or -1 with errno set.
int OpenToRead(const std::string& path);

// A file opened by OpenToRead, closed with its owner.
class ReadOnlyFile {
public:
    explicit ReadOnlyFile(const std::string& path);
    ~ReadOnlyFile();
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

    // -1 when the file could not be opened.
    int Get() const { return m_fd; }
    // The errno of an open that failed.
    int Error() const { return m_error; }

private:
    int m_fd;
    int m_error;
};

// Up to `count` bytes at `offset`: fewer at the end of the file or where a read failed, which
// `failed` then tells when given.
size_t ReadFully(int fd, long long offset, void* bytes, size_t count, bool* failed = nullptr);
// The whole file from its start; false on a read error.
bool ReadWhole(int fd, std::string& text);

}  // namespace acquisition
