#pragma once
// A file kept open while what was read of it is used again, and whether its path still names
// it as it was: the same file, size, modification and status-change times. Being held open, the
// file keeps its identity from passing to one that replaces it, so a replaced file is always
// told apart; a file rewritten in place is told by its times, as fine as its file system keeps
// them, or, for one small enough to read again, by its bytes.

#include <sys/types.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace acquisition {

class KeptFile {
public:
    KeptFile() = default;
    ~KeptFile() { Close(); }
    KeptFile(const KeptFile&) = delete;
    KeptFile& operator=(const KeptFile&) = delete;

    // Opens `path` for reading, letting go of the file kept before; false when it cannot be.
    bool Open(const std::string& path);
    void Close();
    bool IsOpen() const { return m_fd >= 0; }
    int Descriptor() const { return m_fd; }
    // Whether the file kept is the one `path` named when it was opened.
    bool Holds(const std::string& path) const { return m_fd >= 0 && path == m_path; }
    // Whether `path` names the kept file, unchanged since it was opened.
    bool IsCurrent(const std::string& path) const;
    // The whole file; false on a read error.
    bool ReadAll(std::string& text) const;
    // Whether the kept file holds `text` and nothing more: a write through a shared mapping
    // moves no time on some file systems and is never heard of.
    bool Reads(std::string_view text) const;

private:
    struct Identity {
        dev_t device = 0;
        ino_t inode = 0;
        off_t size = 0;
        std::int64_t modifiedNs = 0;
        std::int64_t statusChangedNs = 0;
        bool operator==(const Identity&) const = default;
    };

    std::string m_path;
    int m_fd = -1;
    Identity m_identity;
};

}  // namespace acquisition
