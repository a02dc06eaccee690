#pragma once
// Key data for the tests of the key work: made up from a seed, and written as the key line that
// the web service and the key files hold.

#include <random>
#include <string>

#include "cipher/key_data.h"

namespace keytest {

template <typename Bytes>
Bytes RandomBytes(std::mt19937& random) {
    Bytes bytes{};
    for (auto& byte : bytes)
        byte = static_cast<std::uint8_t>(random());
    return bytes;
}

inline cipher::KeyData MakeKeyData(std::uint32_t seed) {
    std::mt19937 random(seed);
    cipher::KeyData key;
    key.resetKeystream = RandomBytes<decltype(key.resetKeystream)>(random);
    key.state = RandomBytes<decltype(key.state)>(random);
    return key;
}

// "serial;r0;...;r14;s0;...;s255"
inline std::string KeyLine(const std::string& serial, const cipher::KeyData& key) {
    std::string line = serial;
    for (const auto byte : key.resetKeystream)
        line += ";" + std::to_string(byte);
    for (const auto byte : key.state)
        line += ";" + std::to_string(byte);
    return line;
}

}  // namespace keytest
