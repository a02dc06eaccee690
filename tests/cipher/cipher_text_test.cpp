#include "cipher/cipher_text.h"

#include <gtest/gtest.h>

#include <fstream>

#include "key_test_support.h"
#include "outside_tools.h"
#include "support/test_env.h"

using namespace cipher;
using ciphertest::ToHex;

namespace {

CipherText Text(const std::string& symbols) {
    return *CipherText::FromReply(symbols);
}

}  // namespace

TEST(CipherText, RoundTripsEveryByteAndEverySymbol) {
    Block ones{};
    ones.fill(0xFF);
    EXPECT_EQ(CipherText::FromBytes(Block{}).Text(), std::string(20, '0'));
    EXPECT_EQ(CipherText::FromBytes(ones).Text(), std::string(20, 'z'));
    std::mt19937 random(5101);
    for (int n = 0; n < 2000; ++n) {
        const auto block = keytest::RandomBytes<Block>(random);
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
    if (!ciphertest::HasProgram("python3"))
        GTEST_SKIP() << "python3 is not installed";
    testenv::ScratchFolder folder;
    std::mt19937 random(51011);
    std::vector<Block> blocks(300);
    std::vector<std::string> symbols(300);
    {
        std::ofstream bytesFile("bytes.txt"), symbolsFile("symbols.txt");
        for (std::size_t n = 0; n < blocks.size(); ++n) {
            blocks[n] = keytest::RandomBytes<Block>(random);
            for (int k = 0; k < kSymbolCount; ++k)
                symbols[n] += kSymbolAlphabet[random() % 64];
            bytesFile << ToHex(blocks[n]) << '\n';
            symbolsFile << symbols[n] << '\n';
        }
    }
    const std::string script = "python3 " KX9_CIPHER_TEST_DIR "/reference_text.py";
    const auto encoded = ciphertest::RunForLines(script + " encode bytes.txt");
    const auto decoded = ciphertest::RunForLines(script + " decode symbols.txt");
    ASSERT_TRUE(encoded && decoded);
    ASSERT_EQ(encoded->size(), blocks.size());
    ASSERT_EQ(decoded->size(), symbols.size());
    for (std::size_t n = 0; n < blocks.size(); ++n) {
        EXPECT_EQ(CipherText::FromBytes(blocks[n]).Text(), (*encoded)[n]) << ToHex(blocks[n]);
        EXPECT_EQ(ToHex(Text(symbols[n]).ToBytes()), (*decoded)[n]) << symbols[n];
    }
}

// Characters outside the alphabet take the meters' arithmetic modulo 256, never a fault.
TEST(CipherText, ForeignCharactersDecodeByTheMetersRule) {
    EXPECT_EQ(ToHex(Text("~~~~" + std::string(16, '0')).ToBytes()),
              "0C30C3" + std::string(24, '0'));
    EXPECT_EQ(Text(":" + std::string(19, '0')).ToBytes(),
              Text("3" + std::string(19, '0')).ToBytes());
    std::string binary(20, '\0');
    for (int k = 0; k < 20; ++k)
        binary[k] = static_cast<char>(0xFF - 13 * k);
    EXPECT_NO_FATAL_FAILURE(Text(binary).ToBytes());
}
