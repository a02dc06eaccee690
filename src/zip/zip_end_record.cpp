#include "zip/zip_end_record.h"

#include <algorithm>
#include <vector>

#include "zip/zip_big_file.h"
#include "zip/zip_bytes.h"

namespace zip {

std::string ZipEndRecord::Format() const {
    std::string out;
    PutU32(out, kEndRecordSignature);
    PutU16(out, thisVolume);
    PutU16(out, centralDirVolume);
    PutU16(out, volumeEntries);
    PutU16(out, totalEntries);
    PutU32(out, centralDirSize);
    PutU32(out, centralDirOffset);
    PutU16(out, static_cast<std::uint16_t>(comment.size()));
    return out + comment;
}

std::optional<std::uint16_t> ZipEndRecord::ReadFixed(const char* record) {
    if (GetU32(record) != kEndRecordSignature)
        return std::nullopt;
    thisVolume = GetU16(record + 4);
    centralDirVolume = GetU16(record + 6);
    volumeEntries = GetU16(record + 8);
    totalEntries = GetU16(record + 10);
    centralDirSize = GetU32(record + 12);
    centralDirOffset = GetU32(record + 16);
    return GetU16(record + 20);
}

std::optional<std::uint64_t> LocateEndRecord(CZipBigFile& file) {
    const std::uint64_t length = file.GetLength();
    const std::uint64_t window = std::min<std::uint64_t>(length, kEndRecordSize + kFieldLimit);
    if (window < kEndRecordSize)
        return std::nullopt;
    std::vector<char> tail(window);
    file.Seek(length - window);
    if (file.Read(tail.data(), tail.size()) != tail.size())
        return std::nullopt;
    for (std::size_t at = tail.size() - kEndRecordSize + 1; at-- > 0;) {
        if (GetU32(tail.data() + at) == kEndRecordSignature)
            return length - window + at;
    }
    return std::nullopt;
}

}  // namespace zip
