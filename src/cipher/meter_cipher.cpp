#include "cipher/meter_cipher.h"

#include <utility>

namespace cipher {

void MeterCipher::Load(const Block& resetKeystream, const State& state) {
    m_resetKeystream = resetKeystream;
    m_state = state;
    m_keystream = {};
}

// Each cycle is the output loop of RC4 restarted at i = 1, j = 0: the first cycle from a
// loaded state gives RC4's first 15 bytes, later cycles differ from RC4's continuation.
void MeterCipher::Advance(int cycles) {
    for (int cycle = 0; cycle < cycles; ++cycle) {
        std::uint8_t j = 0;
        for (int i = 1; i <= kBlockSize; ++i) {
            j = static_cast<std::uint8_t>(j + m_state[i]);
            std::swap(m_state[i], m_state[j]);
            m_keystream[i - 1] = m_state[static_cast<std::uint8_t>(m_state[i] + m_state[j])];
        }
    }
}

CipherText MeterCipher::Encode(std::string_view plain, CipherKey key) const {
    const Block& keyBytes = Key(key);
    Block bytes{};
    for (int k = 0; k < kBlockSize; ++k) {
        const auto p = k < static_cast<int>(plain.size()) ? static_cast<std::uint8_t>(plain[k]) : 0;
        bytes[k] = static_cast<std::uint8_t>(p ^ keyBytes[k]);
    }
    return CipherText::FromBytes(bytes);
}

std::string MeterCipher::Decode(const CipherText& text, CipherKey key) const {
    const Block& keyBytes = Key(key);
    const Block bytes = text.ToBytes();
    std::string decoded(kSymbolCount, ' ');
    for (int k = 0; k < kBlockSize; ++k) {
        decoded[k] = static_cast<char>(bytes[k] ^ keyBytes[k]);
    }
    return decoded;
}

const Block& MeterCipher::Key(CipherKey key) const {
    return key == CipherKey::Keystream ? m_keystream : m_resetKeystream;
}

}  // namespace cipher
