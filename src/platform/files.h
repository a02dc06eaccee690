#pragma once
// Files as the program uses them: names written Windows-style ("\\folder\\file") joined to the
// program folder, text read line by line into bounded buffers, and rewrites that never leave a
// half-written file behind.

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// The folder the program runs in, with a trailing '/'.
std::string CurrentDirectory();
// `relative` may use '\' or '/' and may start with a separator; the result uses '/' and has
// no doubled separators at the join.
std::string JoinPath(std::string_view folder, std::string_view relative);
// Backslashes become slashes.
std::string ToNativePath(std::string_view path);

bool FileExists(const std::string& path);
bool RemoveFile(const std::string& path);
bool MakeDirectories(const std::string& path);
// The file's bytes; nothing when it cannot be read or is no plain file (a folder, a FIFO, a
// device: errno says why), never waiting for a writer.
std::optional<std::string> ReadWholeFile(const std::string& path);
// At most the first `maxBytes` bytes of the file, so that a huge file is never read whole;
// otherwise as ReadWholeFile.
std::optional<std::string> ReadFileHead(const std::string& path, size_t maxBytes);
// Who may read a file the program writes.
enum class FileAccess {
    Shared,     // the mode of the file being replaced; 0644 for a new one
    OwnerOnly,  // 0600 whatever the old file allowed: key data
};
// Writes a temporary file beside `path`, flushes it to disk and renames it over `path`; false,
// with errno telling why, when it could not.
bool WriteFileAtomic(const std::string& path, std::string_view content,
                     FileAccess access = FileAccess::Shared);

// The same for a file written in pieces, or by another writer that is given the temporary's
// path (a zip archive): nothing appears under `path` until Commit, and a writer that fails or
// is dropped before it leaves no file behind.
class AtomicFileWriter {
public:
    explicit AtomicFileWriter(const std::string& path, FileAccess access = FileAccess::Shared);
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    // False when the temporary could not be made.
    bool IsOpen() const { return m_fd >= 0; }
    const std::string& TemporaryPath() const { return m_temp; }
    bool Write(std::string_view bytes);
    // Flushes the temporary, gives it its mode and renames it over the path; false, with the
    // temporary removed, when this or an earlier write failed.
    bool Commit();

private:
    void Discard();

    std::string m_path;
    std::string m_temp;
    FileAccess m_access;
    int m_fd = -1;
    bool m_failed = false;
};
// Removes, in `folder` and its subfolders, the temporaries of WriteFileAtomic that a process killed
// before its rename left behind; one whose writer still runs stays. Returns how many went.
int RemoveStaleTemporaries(const std::string& folder);

// Reads text lines ending in LF, CR LF or CR CR LF; the line end is not part of the line.
// A line longer than `maxChars` characters is returned in pieces of at most `maxChars`, as the
// fixed buffers of the program's readers take it.
class LineReader {
public:
    explicit LineReader(const std::string& path);
    ~LineReader();
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;

    bool IsOpen() const { return m_file != nullptr; }
    bool ReadLine(std::string& line, size_t maxChars = 2048);

private:
    std::FILE* m_file = nullptr;
};

}  // namespace platform
