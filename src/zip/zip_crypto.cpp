#include "zip/zip_crypto.h"

#include <zlib.h>

#include "zip/zip_bytes.h"

namespace zip {

namespace {

std::uint32_t CrcByte(std::uint32_t crc, std::uint8_t byte) {
    static const z_crc_t* const table = get_crc_table();
    return (crc >> 8) ^ static_cast<std::uint32_t>(table[(crc ^ byte) & 0xFF]);
}

}  // namespace

void ZipCrypto::Init(std::string_view password) {
    m_key0 = 0x12345678;
    m_key1 = 0x23456789;
    m_key2 = 0x34567890;
    for (char c : password)
        Update(static_cast<std::uint8_t>(c));
}

std::uint8_t ZipCrypto::StreamByte() const {
    const std::uint32_t t = (m_key2 & 0xFFFD) | 2;
    return static_cast<std::uint8_t>(((t * (t ^ 1)) >> 8) & 0xFF);
}

void ZipCrypto::Update(std::uint8_t plain) {
    m_key0 = CrcByte(m_key0, plain);
    m_key1 = (m_key1 + (m_key0 & 0xFF)) * 134775813u + 1;
    m_key2 = CrcByte(m_key2, static_cast<std::uint8_t>(m_key1 >> 24));
}

void ZipCrypto::Encrypt(char* data, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) {
        const std::uint8_t k = StreamByte();
        const auto plain = static_cast<std::uint8_t>(data[i]);
        Update(plain);
        data[i] = static_cast<char>(plain ^ k);
    }
}

void ZipCrypto::Decrypt(char* data, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) {
        const auto plain =
            static_cast<std::uint8_t>(static_cast<std::uint8_t>(data[i]) ^ StreamByte());
        Update(plain);
        data[i] = static_cast<char>(plain);
    }
}

std::string ZipCrypto::StartEncryption(std::string_view password, std::uint16_t dosTime,
                                       std::mt19937& random) {
    std::string header(kEncryptionHeaderSize, '\0');
    for (std::size_t i = 0; i < 10; ++i) {
        const std::uint32_t r = random();
        const std::uint32_t byte = (r >> 6) & 0xFF;
        header[i] = static_cast<char>(byte != 0 ? byte : (r & 0xFF));
    }
    header[10] = static_cast<char>(dosTime & 0xFF);
    header[11] = static_cast<char>(dosTime >> 8);
    Init(password);
    Encrypt(header.data(), header.size());
    return header;
}

bool ZipCrypto::StartDecryption(std::string_view password, char* header, std::uint8_t checkByte) {
    Init(password);
    Decrypt(header, kEncryptionHeaderSize);
    return static_cast<std::uint8_t>(header[kEncryptionHeaderSize - 1]) == checkByte;
}

}  // namespace zip
