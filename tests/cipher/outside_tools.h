#pragma once
// Running the outside programs that the cipher is checked against (python3, openssl), and
// the hex texts they speak.

#include <optional>
#include <string>
#include <vector>

namespace ciphertest {

// True when the shell finds the program.
bool HasProgram(const std::string& name);

// Runs a shell command with its standard output in a file of the current folder; the output,
// or nothing when the command failed.
std::optional<std::string> RunAndCapture(const std::string& command);

// Path of a file kept beside these tests.
std::string TestFile(const std::string& name);

std::string ToHex(const unsigned char* bytes, std::size_t size);
template <typename Bytes>
std::string ToHex(const Bytes& bytes) {
    return ToHex(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
}
std::vector<unsigned char> FromHex(const std::string& hex);

// The output's lines, without their line ends.
std::vector<std::string> Lines(const std::string& text);

}  // namespace ciphertest
