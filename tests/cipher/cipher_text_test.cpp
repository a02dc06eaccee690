#include "cipher/cipher_text.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>

#include "outside_tools.h"
#include "support/test_env.h"

using namespace cipher;
using namespace ciphertest;

namespace {

Block RandomBlock(std::mt19937& random) {
    Block block{};
    for (auto& byte : block)
        byte = static_cast<std::uint8_t>(random());
    return block;
}

std::string RandomSymbols(std::mt19937& random) {
    std::string text;
    for (int k = 0; k < kSymbolCount; ++k)
        text += kSymbolAlphabet[random() % 64];
    return text;
}

CipherText Text(const std::string& symbols) {
    return *CipherText::FromReply(symbols);
}

}  // namespace

TEST(CipherText, ExtremeBytesGiveTheAlphabetEnds) {
    Block ones{};
    ones.fill(0xFF);
    EXPECT_EQ(CipherText::FromBytes(Block{}).Text(), std::string(20, '0'));
    EXPECT_EQ(CipherText::FromBytes(ones).Text(), std::string(20, 'z'));
    EXPECT_EQ(Text(std::string(20, 'z')).ToBytes(), ones);
}

TEST(CipherText, RoundTripsEveryByteAndEverySymbol) {
    std::mt19937 random(5101);
    for (int n = 0; n < 2000; ++n) {
        const Block block = RandomBlock(random);
        ASSERT_EQ(CipherText::FromBytes(block).ToBytes(), block) << ToHex(block);
    }
    const std::string all =
        std::string(kSymbolAlphabet) + std::string(kSymbolAlphabet).substr(0, 16);
    for (std::size_t start = 0; start < all.size(); start += kSymbolCount) {
        const CipherText text = Text(all.substr(start, kSymbolCount));
        EXPECT_EQ(CipherText::FromBytes(text.ToBytes()), text) << text.Text();
    }
}

// The packing is base64's, so Python's base64 module with the alphabet translated is an
// independent reference in both directions.
TEST(CipherText, AgreesWithPythonBase64) {
    if (!HasProgram("python3"))
        GTEST_SKIP() << "python3 is not installed";
    testenv::ScratchFolder folder;
    std::mt19937 random(51011);
    std::vector<Block> blocks = {Block{}};
    blocks.back().fill(0xFF);
    std::vector<std::string> symbols;
    for (int n = 0; n < 300; ++n) {
        blocks.push_back(RandomBlock(random));
        symbols.push_back(RandomSymbols(random));
    }
    {
        std::ofstream bytesFile("bytes.txt"), symbolsFile("symbols.txt");
        for (const auto& block : blocks)
            bytesFile << ToHex(block) << '\n';
        for (const auto& text : symbols)
            symbolsFile << text << '\n';
    }
    const std::string script = "python3 " + TestFile("reference_text.py");

    const auto encoded = RunAndCapture(script + " encode bytes.txt");
    ASSERT_TRUE(encoded);
    const auto encodedLines = Lines(*encoded);
    ASSERT_EQ(encodedLines.size(), blocks.size());
    for (std::size_t n = 0; n < blocks.size(); ++n) {
        EXPECT_EQ(CipherText::FromBytes(blocks[n]).Text(), encodedLines[n]) << ToHex(blocks[n]);
    }

    const auto decoded = RunAndCapture(script + " decode symbols.txt");
    ASSERT_TRUE(decoded);
    const auto decodedLines = Lines(*decoded);
    ASSERT_EQ(decodedLines.size(), symbols.size());
    for (std::size_t n = 0; n < symbols.size(); ++n) {
        EXPECT_EQ(ToHex(Text(symbols[n]).ToBytes()), decodedLines[n]) << symbols[n];
    }
}

// Characters outside the alphabet take the meters' arithmetic modulo 256, never a fault.
TEST(CipherText, ForeignCharactersDecodeByTheMetersRule) {
    const Block tilde = Text("~~~~" + std::string(16, '0')).ToBytes();
    EXPECT_EQ(ToHex(tilde), "0C30C3" + std::string(24, '0'));
    EXPECT_EQ(Text(":" + std::string(19, '0')).ToBytes(),
              Text("3" + std::string(19, '0')).ToBytes());
    std::string binary(20, '\0');
    for (int k = 0; k < 20; ++k)
        binary[k] = static_cast<char>(0xFF - 13 * k);
    EXPECT_NO_FATAL_FAILURE(Text(binary).ToBytes());
}

TEST(CipherText, ReplyGivesItsFirstTwentyCharactersOrNothing) {
    const std::string symbols = "0123456789ABCDEFGHIJ";
    EXPECT_EQ(CipherText::FromReply(symbols + "\x03\r\nrest")->Text(), symbols);
    EXPECT_EQ(CipherText::FromReply(symbols)->Text(), symbols);
    EXPECT_FALSE(CipherText::FromReply(symbols.substr(0, 19)));
    EXPECT_FALSE(CipherText::FromReply(""));
}
