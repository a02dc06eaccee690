#include "report/report_seal.h"

#include <zlib.h>

#include <cctype>

#include "platform/text.h"

namespace report {

namespace {
constexpr size_t kDigestChars = 8;
constexpr std::string_view kLineEnd = "\r\n";
constexpr size_t kSealChars = kSealPrefix.size() + 2 * kDigestChars + kLineEnd.size();

// zlib takes lengths as uInt: a long file goes in pieces.
template <typename Update>
unsigned long Digest(Update update, std::string_view bytes) {
    unsigned long value = update(0L, Z_NULL, 0);
    constexpr size_t kPiece = 1u << 30;
    for (size_t at = 0; at < bytes.size(); at += kPiece) {
        const std::string_view piece = bytes.substr(at, kPiece);
        value = update(value, reinterpret_cast<const Bytef*>(piece.data()),
                       static_cast<uInt>(piece.size()));
    }
    return value;
}

bool IsHex(std::string_view text) {
    for (const char c : text)
        if (!std::isxdigit(static_cast<unsigned char>(c)))
            return false;
    return true;
}
}  // namespace

std::string SealLine(std::string_view content) {
    const unsigned long crc =
        Digest([](unsigned long v, const Bytef* b, uInt n) { return crc32(v, b, n); }, content);
    const unsigned long adler =
        Digest([](unsigned long v, const Bytef* b, uInt n) { return adler32(v, b, n); }, content);
    return std::string(kSealPrefix) + platform::Format("%08lX%08lX", crc, adler) +
           std::string(kLineEnd);
}

std::string Sealed(std::string_view content) {
    return std::string(content) + SealLine(content);
}

SealCheck CheckSeal(std::string_view file) {
    if (file.size() < kSealChars)
        return {};
    const size_t at = file.size() - kSealChars;
    const std::string_view line = file.substr(at);
    const bool startsLine = at == 0 || file[at - 1] == '\n';
    if (!startsLine || !platform::StartsWith(line, kSealPrefix) ||
        !platform::EndsWith(line, kLineEnd) ||
        !IsHex(line.substr(kSealPrefix.size(), 2 * kDigestChars)))
        return {};
    const std::string_view content = file.substr(0, at);
    if (platform::ToUpper(line) != SealLine(content))
        return {SealState::Broken, {}};
    return {SealState::Valid, content};
}

}  // namespace report
