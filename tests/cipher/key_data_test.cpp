#include "cipher/key_data.h"

#include <gtest/gtest.h>

#include "cipher/key_files.h"
#include "key_test_support.h"
#include "platform/files.h"
#include "support/test_env.h"

using namespace cipher;

TEST(KeyData, FieldsAfterTheSerialGiveTheResetKeystreamAndTheState) {
    const KeyData key = keytest::MakeKeyData(7);
    const std::string line = keytest::KeyLine("A12", key);
    const auto fields = KeyFieldsOf(line, "A12");
    ASSERT_TRUE(fields);
    EXPECT_EQ(ReadKeyFields(*fields), key);
    // A trailing separator and a line end change nothing.
    EXPECT_EQ(ReadKeyFields(*fields + ";"), key);
    EXPECT_EQ(ReadKeyFields(*fields + "\r"), key);
}

TEST(KeyData, NumbersKeepTheirLowByteAndAShortLineRepeatsItsLastField) {
    std::string fields;
    for (int k = 0; k < 15; ++k)
        fields += std::to_string(256 + k) + ";";
    fields += "7;x;300";
    const KeyData key = ReadKeyFields(fields);
    EXPECT_EQ(key.resetKeystream[0], 0);
    EXPECT_EQ(key.resetKeystream[14], 14);
    EXPECT_EQ(key.state[0], 7);
    EXPECT_EQ(key.state[1], 0);  // not a number
    for (size_t k = 2; k < key.state.size(); ++k)
        ASSERT_EQ(key.state[k], 300 & 0xFF) << k;
}

TEST(KeyData, OnlyALineWhoseFirstFieldIsTheSerialBelongsToIt) {
    EXPECT_EQ(KeyFieldsOf("A12;1;2", "A12"), "1;2");
    EXPECT_FALSE(KeyFieldsOf("XA12;1;2", "A12"));
    EXPECT_FALSE(KeyFieldsOf("A123;1;2", "A12"));
    EXPECT_FALSE(KeyFieldsOf("B7;A12;2", "A12"));
    EXPECT_FALSE(KeyFieldsOf("A12", "A12"));  // no key data at all
    EXPECT_FALSE(KeyFieldsOf("-1", "A12"));
    EXPECT_FALSE(KeyFieldsOf(";1;2", ""));
}

TEST(KeyFiles, SearchTakesTheFirstKeyLineOfTheSerialAndListsTheOthers) {
    testenv::ScratchFolder folder;
    const std::string longLine =
        keytest::KeyLine("C3", keytest::MakeKeyData(3)) + ";" + std::string(3000, '9');
    folder.Write("booked.txt",
                 "2024/05/01 10:00:00\n"
                 "comment without separator\n"
                 "B7;A12;1\n" +
                     longLine +
                     "\r\n"
                     "A12;5;6  \t\n"
                     "A12;8;9\n");
    const KeyFileSearch booked = SearchKeyFile(folder.File("booked.txt"), "A12", true);
    EXPECT_TRUE(booked.opened);
    EXPECT_EQ(booked.fields, "5;6");
    EXPECT_EQ(booked.serials, "B7\nC3\nA12\n");
    // Lines longer than the old readers' buffers are taken whole.
    const KeyFileSearch longOne = SearchKeyFile(folder.File("booked.txt"), "C3", true);
    EXPECT_EQ(longOne.fields, longLine.substr(3));

    // Without skipping, the first line is a line like any other.
    folder.Write("keys.txt", "A12;1\n");
    EXPECT_EQ(SearchKeyFile(folder.File("keys.txt"), "A12", false).fields, "1");
    EXPECT_FALSE(SearchKeyFile(folder.File("keys.txt"), "A12", true).fields);

    const KeyFileSearch missing = SearchKeyFile(folder.File("none.txt"), "A12", false);
    EXPECT_FALSE(missing.opened);
    EXPECT_FALSE(missing.fields);
}
