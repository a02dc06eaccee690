#pragma once
// The cipher state that the bench keeps for one meter. The meter holds the same state and
// advances it in step; the two stay in step only while every exchange the meter answered is
// also advanced here, until a key reset reloads both from the key data.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "cipher/cipher_text.h"

namespace cipher {

// Which 15 key bytes an encoding or decoding uses: the keystream for every exchange but the
// key reset, which uses the reset keystream of the key data.
enum class CipherKey { Keystream, ResetKeystream };

class MeterCipher {
public:
    using State = std::array<std::uint8_t, 256>;

    // Takes the meter's key data whole; the keystream starts again from zeros. The state need
    // not be a permutation: it holds whatever the key data gave.
    void Load(const Block& resetKeystream, const State& state);

    // Runs `cycles` generator cycles; only the last cycle's 15 bytes stay in the keystream,
    // the state keeps every exchange. Zero or fewer cycles change nothing.
    void Advance(int cycles);

    // Enciphers a 15-character command text. Bytes past the end of a shorter text count as
    // zeros, characters past the fifteenth are not enciphered.
    CipherText Encode(std::string_view plain, CipherKey key) const;
    // The 15 deciphered bytes followed by five blanks, the 20 characters callers search.
    std::string Decode(const CipherText& text, CipherKey key) const;

    const State& StateBytes() const { return m_state; }
    const Block& Keystream() const { return m_keystream; }
    const Block& ResetKeystream() const { return m_resetKeystream; }

private:
    const Block& Key(CipherKey key) const;

    State m_state{};
    Block m_keystream{};
    Block m_resetKeystream{};
};

}  // namespace cipher
