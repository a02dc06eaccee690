#pragma once
// Traditional PKWARE encryption: three 32-bit keys driven by the password and by every plain
// byte, and the 12-byte header that starts each encrypted entry.

#include <cstddef>
#include <cstdint>
#include <random>
#include <string>
#include <string_view>

namespace zip {

class ZipCrypto {
public:
    void Init(std::string_view password);
    void Encrypt(char* data, std::size_t size);
    void Decrypt(char* data, std::size_t size);

    // Starts the keys for a new entry and returns its encrypted header; bytes 10 and 11 carry
    // the entry's DOS time, which the reader checks because such entries have flag bit 3.
    std::string StartEncryption(std::string_view password, std::uint16_t dosTime,
                                std::mt19937& random);
    // Starts the keys for reading and decrypts `header` (12 bytes) in place; false when its
    // last byte is not `checkByte`, which is what a wrong password gives.
    bool StartDecryption(std::string_view password, char* header, std::uint8_t checkByte);

private:
    std::uint8_t StreamByte() const;
    void Update(std::uint8_t plain);

    std::uint32_t m_key0 = 0;
    std::uint32_t m_key1 = 0;
    std::uint32_t m_key2 = 0;
};

}  // namespace zip
