#pragma once
// The seal line that closes a verification file: "KX02", the CRC-32 and the Adler-32 (zlib's)
// of every byte before the line, each as 8 hexadecimal digits, then CR LF. It tells a file that
// was damaged after it was written; anybody who edits the file can compute a new seal, so it
// proves nothing about who wrote it.

#include <string>
#include <string_view>

namespace report {

inline constexpr std::string_view kSealPrefix = "KX02";

// The seal line of `content`, CR LF included.
std::string SealLine(std::string_view content);
// `content` with its seal line after it.
std::string Sealed(std::string_view content);

enum class SealState {
    Valid,
    Missing,  // the file does not end with a seal line
    Broken,   // it does, but the bytes before it are not the ones it was made for
};

struct SealCheck {
    SealState state = SealState::Missing;
    std::string_view content;  // the bytes before the seal line (Valid only)
};

// The file's last line must be its seal; a view into `file`.
SealCheck CheckSeal(std::string_view file);

}  // namespace report
