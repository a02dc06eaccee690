#pragma once
// Disk files and entries' attribute words: what a new entry takes from its source file, and
// what an extracted file or folder takes from its entry.

#include <sys/types.h>

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>

class CZipFileHeader;

namespace zip {

struct SourceFacts {
    bool isDirectory = false;
    bool isRegular = false;        // neither a folder nor a device, pipe or socket
    std::uint32_t attributes = 0;  // Unix mode << 16 | Windows bits (read-only, directory, archive)
    std::time_t modified = 0;
    std::uint64_t size = 0;
};

std::optional<SourceFacts> ReadSourceFacts(const std::string& path);
std::optional<SourceFacts> ReadSourceFacts(int fd);

// Modification time, and the permissions an entry's attributes carry: the mode bits of a Unix
// zip (never set-id bits), or the read-only bit of a Windows one. False when that fails.
bool ApplyEntryAttributes(const std::string& path, const CZipFileHeader& header);
// The same through an open regular file whose permissions are `current`, its time `modified`
// (the entry's, converted by the caller).
bool ApplyEntryAttributes(int fd, const CZipFileHeader& header, mode_t current,
                          std::time_t modified);

}  // namespace zip
