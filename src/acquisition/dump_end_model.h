#pragma once
// The two characters that name the connected meter's model in bytes 45 and 46 of every end
// record the dump file keeps, from the model text of the meter's status. A meter with the
// extended range takes the second character of a pair.

#include <optional>
#include <span>
#include <string_view>

namespace acquisition {

struct EndRecordModelCode {
    std::optional<char> byte45;  // nothing: the byte stays as the meter sent it
    std::optional<char> byte46;
};
EndRecordModelCode EndRecordModelCodeOf(std::string_view model, bool extendedRange);
// Writes the code into an end record of at least 47 bytes.
void StampEndRecordModel(std::span<unsigned char> record, std::string_view model,
                         bool extendedRange);

}  // namespace acquisition
