#pragma once
// Key data for the tests of the key work: made up from a seed, and written as the key line that
// the web service and the key files hold.

#include <random>
#include <string>

#include "cipher/key_data.h"

namespace keytest {

inline cipher::KeyData MakeKeyData(std::uint32_t seed) {
    std::mt19937 random(seed);
    cipher::KeyData key;
    for (auto& byte : key.resetKeystream)
        byte = static_cast<std::uint8_t>(random());
    for (auto& byte : key.state)
        byte = static_cast<std::uint8_t>(random());
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
