#include "cipher/meter_cipher.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "key_test_support.h"
#include "outside_tools.h"
#include "support/test_env.h"

using namespace cipher;
using ciphertest::ToHex;
using keytest::RandomBytes;

namespace {

// RC4's key schedule: the state that RC4 itself would start its output from.
MeterCipher::State Rc4State(const std::string& key) {
    MeterCipher::State s{};
    for (int i = 0; i < 256; ++i)
        s[i] = static_cast<std::uint8_t>(i);
    std::uint8_t j = 0;
    for (int i = 0; i < 256; ++i) {
        j = static_cast<std::uint8_t>(j + s[i] + static_cast<std::uint8_t>(key[i % key.size()]));
        std::swap(s[i], s[j]);
    }
    return s;
}

MeterCipher Loaded(const MeterCipher::State& state, const Block& resetKeystream = Block{}) {
    MeterCipher cipher;
    cipher.Load(resetKeystream, state);
    return cipher;
}

}  // namespace

TEST(MeterCipher, FirstCycleIsRc4sPublishedKeystream) {
    const std::pair<std::string, std::string> vectors[] = {
        {"Key", "EB9F7781B734CA72A719"}, {"Wiki", "6044DB6D41B7"}, {"Secret", "04D46B053CA87B59"}};
    for (const auto& [key, keystream] : vectors) {
        MeterCipher cipher = Loaded(Rc4State(key));
        cipher.Advance(1);
        EXPECT_EQ(ToHex(cipher.Keystream()).substr(0, keystream.size()), keystream) << key;
    }
}

TEST(MeterCipher, FirstCycleMatchesOpensslRc4) {
    testenv::ScratchFolder folder;
    std::ofstream("zeros.bin", std::ios::binary) << std::string(kBlockSize, '\0');
    std::mt19937 random(4095);
    for (int n = 0; n < 3; ++n) {
        const auto key = RandomBytes<std::array<std::uint8_t, 16>>(random);
        std::remove("rc4.bin");
        const std::string options = " -nosalt -K " + ToHex(key) + " -in zeros.bin -out rc4.bin";
        const bool ran = ciphertest::RunForLines(
                             "openssl enc -rc4 -provider legacy -provider default" + options) ||
                         ciphertest::RunForLines("openssl enc -rc4" + options);
        std::ifstream in("rc4.bin", std::ios::binary);
        const std::string rc4((std::istreambuf_iterator<char>(in)),
                              std::istreambuf_iterator<char>());
        if (!ran || rc4.size() != static_cast<std::size_t>(kBlockSize))
            GTEST_SKIP() << "openssl refuses RC4 here";
        MeterCipher cipher = Loaded(Rc4State(std::string(key.begin(), key.end())));
        cipher.Advance(1);
        EXPECT_EQ(ToHex(cipher.Keystream()), ToHex(rc4)) << ToHex(key);
    }
}

// Later cycles restart the output loop and so leave RC4 on purpose; counts below one change
// nothing. Pinned from reference_keystream.py, kept beside these tests:
//   python3 reference_keystream.py --key Key 1 1 7 0 4094
//   squares=$(python3 -c "print(bytes(k*k%256 for k in range(256)).hex())")
//   python3 reference_keystream.py --state $squares 1 2 499
TEST(MeterCipher, LaterCyclesMatchTheReferenceScript) {
    MeterCipher cipher = Loaded(Rc4State("Key"));
    const std::pair<int, const char*> keyed[] = {
        {1, "EB9F7781B734CA72A7194A2867B642"},  {1, "557B4AFF47EF0E571A5483BCB2F79B"},
        {7, "1F288A4D8C32E920B97ADE434B5A9D"},  {0, "1F288A4D8C32E920B97ADE434B5A9D"},
        {-1, "1F288A4D8C32E920B97ADE434B5A9D"}, {4094, "BC0F61CA57A0AB4DEB94131555F6E2"}};
    for (const auto& [count, keystream] : keyed) {
        cipher.Advance(count);
        EXPECT_EQ(ToHex(cipher.Keystream()), keystream) << count;
    }

    // Not a permutation: most values appear twice or not at all.
    MeterCipher::State squaresState{};
    for (int k = 0; k < 256; ++k)
        squaresState[k] = static_cast<std::uint8_t>(k * k);
    MeterCipher squares = Loaded(squaresState);
    const std::pair<int, const char*> unkeyed[] = {{1, "0449299040400421049044D1B124C4"},
                                                   {2, "A409B969F1A409909059E144318940"},
                                                   {499, "919001407140A4E410404071240901"}};
    for (const auto& [count, keystream] : unkeyed) {
        squares.Advance(count);
        EXPECT_EQ(ToHex(squares.Keystream()), keystream) << count;
    }
}

TEST(MeterCipher, RandomStatesMatchTheReferenceScript) {
    if (!ciphertest::HasProgram("python3"))
        GTEST_SKIP() << "python3 is not installed";
    testenv::ScratchFolder folder;
    std::mt19937 random(5103);
    for (int n = 0; n < 4; ++n) {
        const auto state = RandomBytes<MeterCipher::State>(random);
        const std::vector<int> counts = {1,  static_cast<int>(random() % 4095), 0,
                                         -3, static_cast<int>(random() % 500),  2};
        std::string command =
            "python3 " KX9_CIPHER_TEST_DIR "/reference_keystream.py --state " + ToHex(state);
        for (int count : counts)
            command += " " + std::to_string(count);
        const auto lines = ciphertest::RunForLines(command);
        ASSERT_TRUE(lines);
        ASSERT_EQ(lines->size(), counts.size() + 1);

        MeterCipher cipher = Loaded(state);
        for (std::size_t k = 0; k < counts.size(); ++k) {
            cipher.Advance(counts[k]);
            EXPECT_EQ(ToHex(cipher.Keystream()), (*lines)[k]) << "count " << counts[k];
        }
        EXPECT_EQ(ToHex(cipher.StateBytes()), lines->back());
    }
}

TEST(MeterCipher, EncodeAndDecodeUseTheChosenKey) {
    std::mt19937 random(15);
    const auto reset = RandomBytes<Block>(random);
    MeterCipher cipher = Loaded(Rc4State("Key"), reset);
    EXPECT_EQ(cipher.Encode(std::string(15, '\0'), CipherKey::Keystream).Text(),
              std::string(20, '0'));

    cipher.Advance(42);
    for (int n = 0; n < 100; ++n) {
        const auto plain = RandomBytes<Block>(random);
        const std::string text(plain.begin(), plain.end());
        for (CipherKey key : {CipherKey::Keystream, CipherKey::ResetKeystream}) {
            const Block& keyBytes =
                key == CipherKey::Keystream ? cipher.Keystream() : cipher.ResetKeystream();
            Block mixed{};
            for (int k = 0; k < kBlockSize; ++k)
                mixed[k] = plain[k] ^ keyBytes[k];
            ASSERT_EQ(cipher.Encode(text, key), CipherText::FromBytes(mixed));
            ASSERT_EQ(cipher.Decode(cipher.Encode(text, key), key), text + "     ");
        }
    }
    const std::string command = "GETVAL_RND_0945";
    EXPECT_NE(cipher.Decode(cipher.Encode(command, CipherKey::ResetKeystream), CipherKey::Keystream)
                  .substr(0, 15),
              command);
    // A short plain text counts as zero-filled, a long one is cut.
    EXPECT_EQ(cipher.Encode("AB", CipherKey::Keystream),
              cipher.Encode(std::string("AB") + std::string(13, '\0'), CipherKey::Keystream));
    EXPECT_EQ(cipher.Encode(command + " and more", CipherKey::Keystream),
              cipher.Encode(command, CipherKey::Keystream));
}
