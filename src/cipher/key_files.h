#pragma once
// The local key files of the program folder, plain text despite their names: the reference
// meters' key file, which every online initialisation of a reference meter extends, and the
// booking file of the instruments booked for verifications without a network.

#include <optional>
#include <string>

namespace cipher {

inline constexpr const char* kLocalKeyFile = "\\msvcrt60.dll";
inline constexpr const char* kBookedKeyFile = "\\msvcrt60_temp.dll";

struct KeyFileSearch {
    bool opened = false;
    // The fields after the serial number of the first line that is the serial's key line.
    std::optional<std::string> fields;
    // The first field of every key line read before the match (or of all of them), each
    // followed by a line feed.
    std::string serials;
};

// Reads the key lines of a file (trailing white space stripped, lines without ';' skipped) up
// to the first that belongs to `serial`. `skipFirstLine`: the booking file's first line is the
// time of the booking.
KeyFileSearch SearchKeyFile(const std::string& path, const std::string& serial, bool skipFirstLine);

// Adds the key line to the end of the file, rewriting it whole so that an interrupted write
// cannot leave a cut line for a later search to take. False when it could not be written.
bool AppendKeyLine(const std::string& path, const std::string& line);

}  // namespace cipher
