#include "cipher/enciphered_command.h"

#include <gtest/gtest.h>

#include <random>

#include "cipher/bench_state.h"
#include "platform/text.h"

using namespace cipher;

namespace {

MeterCipher FromKeyData(std::uint32_t seed) {
    std::mt19937 random(seed);
    Block reset{};
    MeterCipher::State state{};
    for (auto& byte : reset)
        byte = static_cast<std::uint8_t>(random());
    for (auto& byte : state)
        byte = static_cast<std::uint8_t>(random());
    MeterCipher cipher;
    cipher.Load(reset, state);
    return cipher;
}

// The meter's side of a challenge: read the command, advance by its challenge, confirm.
std::string MeterAnswers(MeterCipher& meter, const std::string& frame, CipherKey commandKey) {
    const auto text = CipherText::FromReply(frame.substr(kCommandFramePrefix.size()));
    const std::string command = meter.Decode(*text, commandKey).substr(0, 15);
    const std::string challenge = command.substr(11, 4);
    meter.Advance(platform::Atoi(challenge));
    return meter.Encode(challenge + "_RND_KEYGEN", CipherKey::Keystream).Text() + "\x03";
}

}  // namespace

TEST(EncipheredCommand, CommandTextIsKeywordAndFourDigitChallenge) {
    EXPECT_EQ(CommandText(kNewKeyKeyword, 7), "NEWKEY_RND_0007");
    EXPECT_EQ(CommandText(kTargetReadingKeyword, 4094), "GETVAL_RND_4094");
    EXPECT_EQ(CommandText(kReferenceReadingKeyword, 123), "GETEXT_RND_0123");
    EXPECT_EQ(CommandText(kUnlockKeyword, 50), "PWDPRT_RND_0050");
    EXPECT_EQ(CommandText(kResetKeyKeyword, 0), "RSTKEY_RND_0000");
}

TEST(EncipheredCommand, FrameIsPrefixCipherTextAndLineEnd) {
    MeterCipher cipher = FromKeyData(1);
    cipher.Advance(3);
    const std::string command = CommandText(kTargetReadingKeyword, 945);
    for (CipherKey key : {CipherKey::Keystream, CipherKey::ResetKeystream}) {
        const std::string frame = CommandFrame(cipher, command, key);
        ASSERT_EQ(frame.size(), 34u);
        EXPECT_EQ(frame.substr(0, 12), "KEY:EXEC:80:");
        EXPECT_EQ(frame.substr(12, 20), cipher.Encode(command, key).Text());
        EXPECT_EQ(frame.substr(32), "\r\n");
    }
}

TEST(EncipheredCommand, BenchAndMeterStayInStepOverExchanges) {
    MeterCipher bench = FromKeyData(5102);
    MeterCipher meter = bench;
    std::mt19937 random(5103);

    // Key reset: the command goes out under the reset keystream, the reply under the new one.
    int challenge = static_cast<int>(random() % 500);
    std::string frame =
        CommandFrame(bench, CommandText(kResetKeyKeyword, challenge), CipherKey::ResetKeystream);
    std::string reply = MeterAnswers(meter, frame, CipherKey::ResetKeystream);
    bench.Advance(challenge);
    EXPECT_EQ(DecodeReply(bench, reply), platform::Format("%.4d_RND_KEYGEN     ", challenge));

    for (const auto keyword : {kNewKeyKeyword, kTargetReadingKeyword, kUnlockKeyword}) {
        challenge = static_cast<int>(random() % 4095);
        frame = CommandFrame(bench, CommandText(keyword, challenge), CipherKey::Keystream);
        reply = MeterAnswers(meter, frame, CipherKey::Keystream);
        bench.Advance(challenge);
        EXPECT_EQ(DecodeReply(bench, reply), platform::Format("%.4d_RND_KEYGEN     ", challenge));
    }

    // A reply lost after the meter advanced leaves the two out of step.
    frame = CommandFrame(bench, CommandText(kUnlockKeyword, 17), CipherKey::Keystream);
    MeterAnswers(meter, frame, CipherKey::Keystream);
    frame = CommandFrame(bench, CommandText(kUnlockKeyword, 18), CipherKey::Keystream);
    reply = MeterAnswers(meter, frame, CipherKey::Keystream);
    bench.Advance(18);
    EXPECT_FALSE(platform::Contains(*DecodeReply(bench, reply), "0018_RND_KEYGEN"));
}

TEST(EncipheredCommand, ShortReplyIsRefusedAndTrailingBytesIgnored) {
    const MeterCipher cipher = FromKeyData(2);
    const std::string symbols = cipher.Encode("0945094609471AB", CipherKey::Keystream).Text();
    EXPECT_EQ(DecodeReply(cipher, symbols + "\x03garbage"), "0945094609471AB     ");
    EXPECT_FALSE(DecodeReply(cipher, symbols.substr(0, 19)));
    EXPECT_FALSE(DecodeReply(cipher, ""));
    EXPECT_FALSE(DecodeReply(cipher, "\x15"));
}

TEST(EncipheredCommand, BenchStartsWithZeroCountersAndSeparateMeters) {
    BenchState bench;
    bench.reference.cipher = FromKeyData(3);
    bench.target.cipher = bench.reference.cipher;
    bench.reference.cipher.Advance(10);
    EXPECT_EQ(bench.target.cipher.Keystream(), Block{});
    EXPECT_EQ(bench.reference.keyErrors + bench.reference.keyResets, 0);
    EXPECT_EQ(bench.target.keyErrors + bench.target.keyResets, 0);
    EXPECT_FALSE(bench.abortRequested);
    EXPECT_EQ(static_cast<int>(bench.runningTest), 0);
}
