#include "cipher/key_data.h"

#include "platform/text.h"

namespace cipher {

namespace {

std::uint8_t LowByte(std::string_view field) {
    return static_cast<std::uint8_t>(platform::Atoi(field) & 0xFF);
}

}  // namespace

KeyData ReadKeyFields(std::string_view fields) {
    KeyData key;
    std::string_view rest = fields;
    auto next = [&rest]() {
        const int separator = platform::Find(rest, ';');
        if (separator < 0)
            return rest;  // the last field stays, and so serves every later position
        const std::string_view field = rest.substr(0, static_cast<size_t>(separator));
        rest.remove_prefix(static_cast<size_t>(separator) + 1);
        return field;
    };
    for (auto& byte : key.resetKeystream)
        byte = LowByte(next());
    for (auto& byte : key.state)
        byte = LowByte(next());
    return key;
}

std::optional<std::string> KeyLineSerial(std::string_view line) {
    const int separator = platform::Find(line, ';');
    if (separator < 0)
        return std::nullopt;
    return std::string(line.substr(0, static_cast<size_t>(separator)));
}

std::optional<std::string> KeyFieldsOf(std::string_view line, std::string_view serial) {
    const auto first = KeyLineSerial(line);
    if (!first || serial.empty() || *first != serial)
        return std::nullopt;
    return std::string(line.substr(first->size() + 1));
}

}  // namespace cipher
