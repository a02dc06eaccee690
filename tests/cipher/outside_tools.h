#pragma once
// Running the outside programs that the cipher is checked against (python3 with the scripts
// beside these tests, openssl), and the hex texts they speak.

#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

namespace ciphertest {

inline bool HasProgram(const std::string& name) {
    return std::system(("command -v " + name + " >/dev/null 2>&1").c_str()) == 0;
}

// The lines a shell command printed into a file of the current folder; nothing when it failed.
inline std::optional<std::vector<std::string>> RunForLines(const std::string& command) {
    if (std::system((command + " >tool-output.txt 2>/dev/null").c_str()) != 0)
        return std::nullopt;
    std::ifstream in("tool-output.txt");
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

template <typename Bytes>
std::string ToHex(const Bytes& bytes) {
    static const char digits[] = "0123456789ABCDEF";
    std::string hex;
    for (const auto byte : bytes) {
        hex += digits[static_cast<unsigned char>(byte) >> 4];
        hex += digits[static_cast<unsigned char>(byte) & 15];
    }
    return hex;
}

}  // namespace ciphertest
