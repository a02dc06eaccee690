#include "cipher/enciphered_command.h"

#include <gtest/gtest.h>

#include "key_test_support.h"

using namespace cipher;

namespace {

MeterCipher Keyed(std::uint32_t seed) {
    const KeyData key = keytest::MakeKeyData(seed);
    MeterCipher cipher;
    cipher.Load(key.resetKeystream, key.state);
    return cipher;
}

}  // namespace

// The keywords, and the meters reading these frames, are proven in the exchanges with the
// simulated meters.
TEST(EncipheredCommand, FrameIsPrefixCipherTextAndLineEnd) {
    MeterCipher cipher = Keyed(1);
    cipher.Advance(3);
    const std::string command = CommandText(kTargetReadingKeyword, 7);
    EXPECT_EQ(command, "GETVAL_RND_0007");
    for (CipherKey key : {CipherKey::Keystream, CipherKey::ResetKeystream}) {
        const std::string frame = CommandFrame(cipher, command, key);
        ASSERT_EQ(frame.size(), 34u);
        EXPECT_EQ(frame.substr(0, 12), "KEY:EXEC:80:");
        EXPECT_EQ(frame.substr(12, 20), cipher.Encode(command, key).Text());
        EXPECT_EQ(frame.substr(32), "\r\n");
    }
}

TEST(EncipheredCommand, ShortReplyIsRefusedAndTrailingBytesIgnored) {
    const MeterCipher cipher = Keyed(2);
    const std::string symbols = cipher.Encode("0945094609471AB", CipherKey::Keystream).Text();
    EXPECT_EQ(DecodeReply(cipher, symbols + "\x03garbage"), "0945094609471AB     ");
    EXPECT_EQ(DecodeReply(cipher, symbols), "0945094609471AB     ");
    EXPECT_FALSE(DecodeReply(cipher, symbols.substr(0, 19)));
    EXPECT_FALSE(DecodeReply(cipher, ""));
    EXPECT_FALSE(DecodeReply(cipher, "\x15"));
}
