#pragma once
// The end-of-central-directory record and the search for it at the end of an archive.

#include <cstdint>
#include <optional>
#include <string>

class CZipBigFile;

namespace zip {

struct ZipEndRecord {
    std::uint16_t thisVolume = 0;
    std::uint16_t centralDirVolume = 0;
    std::uint16_t volumeEntries = 0;
    std::uint16_t totalEntries = 0;
    std::uint32_t centralDirSize = 0;
    std::uint32_t centralDirOffset = 0;
    std::string comment;

    std::string Format() const;
    // Reads the fixed 22 bytes; returns the comment length that follows, or nullopt without
    // the signature.
    std::optional<std::uint16_t> ReadFixed(const char* record);
};

// The end record lies within the last 65557 bytes (its 22 bytes and the longest comment).
// Returns the position of the last signature there that has a whole record after it.
std::optional<std::uint64_t> LocateEndRecord(CZipBigFile& file);

}  // namespace zip
