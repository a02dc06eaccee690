#include "outside_tools.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace ciphertest {

bool HasProgram(const std::string& name) {
    return std::system(("command -v " + name + " >/dev/null 2>&1").c_str()) == 0;
}

std::optional<std::string> RunAndCapture(const std::string& command) {
    const std::string output = "tool-output.txt";
    if (std::system((command + " >" + output + " 2>/dev/null").c_str()) != 0)
        return std::nullopt;
    std::ifstream in(output, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string TestFile(const std::string& name) {
    return std::string(KX9_CIPHER_TEST_DIR) + "/" + name;
}

std::string ToHex(const unsigned char* bytes, std::size_t size) {
    static const char digits[] = "0123456789ABCDEF";
    std::string hex;
    for (std::size_t k = 0; k < size; ++k) {
        hex += digits[bytes[k] >> 4];
        hex += digits[bytes[k] & 15];
    }
    return hex;
}

std::vector<unsigned char> FromHex(const std::string& hex) {
    std::vector<unsigned char> bytes;
    for (std::size_t k = 0; k + 1 < hex.size(); k += 2) {
        bytes.push_back(static_cast<unsigned char>(std::stoi(hex.substr(k, 2), nullptr, 16)));
    }
    return bytes;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

}  // namespace ciphertest
