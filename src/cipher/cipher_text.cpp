#include "cipher/cipher_text.h"

namespace cipher {

namespace {

// Inverse of the alphabet as the meters compute it, every step modulo 256. It gives each
// alphabet symbol its value back; other characters fall through to some value of their own.
std::uint8_t SymbolValue(char symbol) {
    const auto c = static_cast<std::uint8_t>(symbol);
    std::uint8_t v = c - 48;
    if (v > 9)
        v = c - 55;
    if (v > 35)
        v = c - 58;
    if (v > 37)
        v = c - 59;
    return v;
}

}  // namespace

CipherText CipherText::FromBytes(const Block& bytes) {
    std::string text(kSymbolCount, '\0');
    for (int g = 0; g < kBlockSize / 3; ++g) {
        const std::uint8_t x = bytes[3 * g];
        const std::uint8_t y = bytes[3 * g + 1];
        const std::uint8_t z = bytes[3 * g + 2];
        text[4 * g] = kSymbolAlphabet[x >> 2];
        text[4 * g + 1] = kSymbolAlphabet[((x & 3) << 4) | (y >> 4)];
        text[4 * g + 2] = kSymbolAlphabet[((y & 15) << 2) | (z >> 6)];
        text[4 * g + 3] = kSymbolAlphabet[z & 63];
    }
    return CipherText(std::move(text));
}

std::optional<CipherText> CipherText::FromReply(std::string_view reply) {
    if (reply.size() < static_cast<std::size_t>(kSymbolCount))
        return std::nullopt;
    return CipherText(std::string(reply.substr(0, kSymbolCount)));
}

Block CipherText::ToBytes() const {
    Block bytes{};
    for (int g = 0; g < kBlockSize / 3; ++g) {
        const unsigned p = SymbolValue(m_text[4 * g]);
        const unsigned q = SymbolValue(m_text[4 * g + 1]);
        const unsigned r = SymbolValue(m_text[4 * g + 2]);
        const unsigned s = SymbolValue(m_text[4 * g + 3]);
        bytes[3 * g] = static_cast<std::uint8_t>((p << 2) | (q >> 4));
        bytes[3 * g + 1] = static_cast<std::uint8_t>((q << 4) | (r >> 2));
        bytes[3 * g + 2] = static_cast<std::uint8_t>((r << 6) | s);
    }
    return bytes;
}

}  // namespace cipher
