#include "platform/files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "support/test_env.h"

using namespace platform;

TEST(Files, JoinsWindowsStyleNamesToTheProgramFolder) {
    EXPECT_EQ(JoinPath("/opt/kx9/", "\\port.ini"), "/opt/kx9/port.ini");
    EXPECT_EQ(JoinPath("/opt/kx9", "archivio_verifiche\\a.vpg"),
              "/opt/kx9/archivio_verifiche/a.vpg");
    EXPECT_EQ(JoinPath("/opt/kx9//", "\\\\firmware_upgrade\\EndUpgrade.tmp"),
              "/opt/kx9/firmware_upgrade/EndUpgrade.tmp");
    EXPECT_EQ(JoinPath("/", "x"), "/x");
}

TEST(Files, LineReaderTakesEveryLineEndAndCutsLongLines) {
    testenv::ScratchFolder folder;
    folder.Write("a.txt", "one\ntwo\r\nthree\r\r\nfour");
    LineReader reader(folder.File("a.txt"));
    ASSERT_TRUE(reader.IsOpen());
    std::string line;
    std::vector<std::string> lines;
    while (reader.ReadLine(line))
        lines.push_back(line);
    EXPECT_EQ(lines, (std::vector<std::string>{"one", "two", "three", "four"}));

    folder.Write("long.txt", std::string(10, 'x') + "\nend\n");
    LineReader longReader(folder.File("long.txt"));
    lines.clear();
    while (longReader.ReadLine(line, 4))
        lines.push_back(line);
    EXPECT_EQ(lines, (std::vector<std::string>{"xxxx", "xxxx", "xx", "end"}));

    EXPECT_FALSE(LineReader(folder.File("missing.txt")).IsOpen());
}

TEST(Files, AtomicWriteReplacesWholeOrFailsAndTouchesNothing) {
    testenv::ScratchFolder folder;
    const std::string path = folder.File("port.ini");
    folder.Write("port.ini", "old");
    ASSERT_TRUE(WriteFileAtomic(path, "new content\r\n"));
    EXPECT_EQ(*ReadWholeFile(path), "new content\r\n");
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0644u);
    // Key data is for the owner alone, even where the file it replaces was not.
    ASSERT_TRUE(WriteFileAtomic(path, "key", FileAccess::OwnerOnly));
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);

    EXPECT_FALSE(WriteFileAtomic(folder.File("no/such/port.ini"), "x"));
    int files = 0;
    for ([[maybe_unused]] auto& e : std::filesystem::directory_iterator(folder.Path()))
        ++files;
    EXPECT_EQ(files, 1);  // no temporary, no folder made
}
