// The memory download's file: its header names the meter in 64 bytes, and it keeps whole writes
// only.
#include <gtest/gtest.h>

#include <cerrno>

#include "acquisition/dump_file.h"
#include "support/test_env.h"

using acquisition::DumpFile;

TEST(DumpFileTest, TheHeaderNamesTheMeterAndIsCutToItsSize) {
    std::string header = "\xBAQS4160_L0$1 A12345 V2.0 ";
    header.resize(DumpFile::kHeaderSize, '\xFF');
    EXPECT_EQ(DumpFile::Header("QS4160_L0$1", "A12345"), header);
    const std::string longest = DumpFile::Header(std::string(100, 'M'), "A12345");
    ASSERT_EQ(longest.size(), DumpFile::kHeaderSize);
    EXPECT_EQ(longest.substr(1), std::string(DumpFile::kHeaderSize - 1, 'M'));
}

TEST(DumpFileTest, BytesGoInOrderAndAClosedFileTakesNone) {
    testenv::ScratchFolder folder;
    DumpFile file;
    EXPECT_FALSE(file.Write("x"));
    EXPECT_EQ(file.Error(), EBADF);
    ASSERT_TRUE(file.Create(folder.File(DumpFile::kFileName)));
    EXPECT_TRUE(
        file.Write("\x02"
                   "ab"));
    EXPECT_TRUE(file.Write("cd"));
    file.Close();
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(folder.Read(DumpFile::kFileName),
              "\x02"
              "abcd");
    // A second download starts the file afresh.
    ASSERT_TRUE(file.Create(folder.File(DumpFile::kFileName)));
    file.Close();
    EXPECT_EQ(folder.Read(DumpFile::kFileName), "");
    EXPECT_FALSE(file.Create(folder.File("absent/") + DumpFile::kFileName));
    EXPECT_EQ(file.Error(), ENOENT);
}
