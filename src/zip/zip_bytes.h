#pragma once
// Signatures, fixed sizes and little-endian fields of the zip records.

#include <cstddef>
#include <cstdint>
#include <string>

namespace zip {

constexpr std::uint32_t kLocalHeaderSignature = 0x04034B50;    // P K 3 4
constexpr std::uint32_t kCentralHeaderSignature = 0x02014B50;  // P K 1 2
constexpr std::uint32_t kEndRecordSignature = 0x06054B50;      // P K 5 6
// P K 7 8: starts a data descriptor, and the first volume of a spanned archive.
constexpr std::uint32_t kDescriptorSignature = 0x08074B50;
// P K 6 7: the Zip64 end locator, just before the end record of a Zip64 archive.
constexpr std::uint32_t kZip64LocatorSignature = 0x07064B50;
constexpr std::size_t kZip64LocatorSize = 20;
// The tag of the extra field that holds an entry's Zip64 sizes and offset.
constexpr std::uint16_t kZip64ExtraTag = 0x0001;

constexpr std::size_t kLocalHeaderSize = 30;
constexpr std::size_t kCentralHeaderSize = 46;
constexpr std::size_t kEndRecordSize = 22;
constexpr std::size_t kDescriptorSize = 16;  // with its signature
constexpr std::size_t kEncryptionHeaderSize = 12;
// The high byte of "version made by": the system whose attribute word an entry carries. A Unix
// entry has its mode in the high 16 bits of the external attributes.
constexpr int kHostUnix = 3;
// Names, extra fields and comments stay below this; so does the number of entries.
constexpr std::size_t kFieldLimit = 65535;
// Sizes and offsets beyond this would need the 64-bit records, which these classes do not write.
constexpr std::uint64_t kMax32 = 0xFFFFFFFFu;

inline std::uint16_t GetU16(const char* p) {
    const auto* b = reinterpret_cast<const unsigned char*>(p);
    return static_cast<std::uint16_t>(b[0] | (b[1] << 8));
}

inline std::uint32_t GetU32(const char* p) {
    const auto* b = reinterpret_cast<const unsigned char*>(p);
    return static_cast<std::uint32_t>(b[0]) | (static_cast<std::uint32_t>(b[1]) << 8) |
           (static_cast<std::uint32_t>(b[2]) << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
}

inline void PutU16(std::string& out, std::uint16_t value) {
    out.push_back(static_cast<char>(value & 0xFF));
    out.push_back(static_cast<char>(value >> 8));
}

inline void PutU32(std::string& out, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<char>((value >> shift) & 0xFF));
}

}  // namespace zip
