#include "cipher/enciphered_command.h"

#include "platform/text.h"

namespace cipher {

std::string CommandText(std::string_view keyword, int challenge) {
    return std::string(keyword) + platform::Format("%.4d", challenge);
}

std::string CommandFrame(const MeterCipher& cipher, std::string_view commandText, CipherKey key) {
    return std::string(kCommandFramePrefix) + cipher.Encode(commandText, key).Text() + "\r\n";
}

std::optional<std::string> DecodeReply(const MeterCipher& cipher, std::string_view reply) {
    const auto text = CipherText::FromReply(reply);
    if (!text)
        return std::nullopt;
    return cipher.Decode(*text, CipherKey::Keystream);
}

}  // namespace cipher
