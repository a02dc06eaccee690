#pragma once
// A meter's key data: the key line "serial;r0;...;r14;s0;...;s255" that the web service and the
// local key files hold per instrument. Nothing of it is ever logged or shown.

#include <optional>
#include <string>
#include <string_view>

#include "cipher/meter_cipher.h"

namespace cipher {

struct KeyData {
    Block resetKeystream{};
    MeterCipher::State state{};
    bool operator==(const KeyData&) const = default;
};

// The key data in the fields that follow the serial number: 15 reset keystream numbers, then
// the state from position 0. Each number keeps its low 8 bits; a field that is no number
// counts 0. A line with fewer than 256 state fields gives the remaining positions the value
// of its last field.
KeyData ReadKeyFields(std::string_view fields);

// The fields after the serial number when `line` is the key line of `serial`: its first field
// (up to the first ';') must be the serial itself. A line that merely holds the serial
// somewhere else is someone else's key line.
std::optional<std::string> KeyFieldsOf(std::string_view line, std::string_view serial);

// The first field of a key line; nothing for a line without ';'.
std::optional<std::string> KeyLineSerial(std::string_view line);

}  // namespace cipher
