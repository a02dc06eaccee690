#pragma once
// The printable form in which 15 enciphered bytes cross the serial link: 20 symbols of 6 bits,
// packed like base64 (most significant bits first, no padding) over the meters' own alphabet.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace cipher {

inline constexpr int kBlockSize = 15;
inline constexpr int kSymbolCount = 20;
using Block = std::array<std::uint8_t, kBlockSize>;

// The symbol of each 6-bit value, 0 to 63.
inline constexpr std::string_view kSymbolAlphabet =
    "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ^_abcdefghijklmnopqrstuvwxyz";

class CipherText {
public:
    static CipherText FromBytes(const Block& bytes);
    // The first 20 characters of a meter's reply; whatever follows them is not part of it.
    // Nothing when the reply is shorter: a cut reply must not be read past its end.
    static std::optional<CipherText> FromReply(std::string_view reply);

    // A character outside the alphabet is not refused: it gets a value by the meters' own
    // rule, and the garbled bytes are left to the caller's confirmation check.
    Block ToBytes() const;

    const std::string& Text() const { return m_text; }
    bool operator==(const CipherText&) const = default;

private:
    explicit CipherText(std::string text) : m_text(std::move(text)) {}

    std::string m_text;
};

}  // namespace cipher
