#include "transcript.h"

#include <zlib.h>

#include "platform/text.h"

namespace simmeter {

namespace {

constexpr char kEtxByte = '\x03';

constexpr const char* kControlNames[32] = {"NUL", "SOH", "STX", "ETX", "EOT", "ENQ", "ACK", "BEL",
                                           "BS",  "TAB", "LF",  "VT",  "FF",  "CR",  "SO",  "SI",
                                           "DLE", "DC1", "DC2", "DC3", "DC4", "NAK", "SYN", "ETB",
                                           "CAN", "EM",  "SUB", "ESC", "FS",  "GS",  "RS",  "US"};

}  // namespace

std::string ReadableBytes(std::string_view bytes) {
    std::string text;
    text.reserve(bytes.size());
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20)
            text += std::string("<") + kControlNames[byte] + ">";
        else if (byte == 0x7F)
            text += "<DEL>";
        else if (byte > 0x7F)
            text += platform::Format("<x%02X>", byte);
        else
            text += c;
    }
    return text;
}

std::string BinarySummary(std::string_view bytes) {
    const auto crc = ::crc32(::crc32(0L, Z_NULL, 0), reinterpret_cast<const Bytef*>(bytes.data()),
                             static_cast<uInt>(bytes.size()));
    return platform::Format("[binary %zu bytes, CRC-32 %08lX]", bytes.size(),
                            static_cast<unsigned long>(crc));
}

std::string HeardEntry(std::string_view line) {
    return std::string(kHeard) + ReadableBytes(line);
}

std::vector<std::string> SaidEntries(std::string_view bytes, bool binary) {
    if (binary)
        return {std::string(kSaid) + BinarySummary(bytes)};
    std::vector<std::string> entries;
    while (!bytes.empty()) {
        const size_t etx = bytes.find(kEtxByte);
        const size_t end = etx == std::string_view::npos ? bytes.size() : etx + 1;
        entries.push_back(std::string(kSaid) + ReadableBytes(bytes.substr(0, end)));
        bytes.remove_prefix(end);
    }
    return entries;
}

}  // namespace simmeter
