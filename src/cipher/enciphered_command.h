#pragma once
// The enciphered commands' texts on the serial link: a keyword and a four-digit challenge,
// enciphered into 20 symbols behind "KEY:EXEC:80:"; the reply's first 20 characters carry the
// meter's 15 bytes.

#include <optional>
#include <string>
#include <string_view>

#include "cipher/meter_cipher.h"

namespace cipher {

inline constexpr std::string_view kNewKeyKeyword = "NEWKEY_RND_";
inline constexpr std::string_view kTargetReadingKeyword = "GETVAL_RND_";
inline constexpr std::string_view kReferenceReadingKeyword = "GETEXT_RND_";
inline constexpr std::string_view kUnlockKeyword = "PWDPRT_RND_";
inline constexpr std::string_view kResetKeyKeyword = "RSTKEY_RND_";

inline constexpr std::string_view kCommandFramePrefix = "KEY:EXEC:80:";

// The 15-character command text: the keyword and the challenge (0 to 9999) as four digits.
std::string CommandText(std::string_view keyword, int challenge);

// The 34 characters written to the meter: prefix, the enciphered command text, CR LF.
std::string CommandFrame(const MeterCipher& cipher, std::string_view commandText, CipherKey key);

// The reply's 15 bytes deciphered with the keystream, followed by five blanks; nothing when
// the reply is shorter than 20 characters.
std::optional<std::string> DecodeReply(const MeterCipher& cipher, std::string_view reply);

}  // namespace cipher
