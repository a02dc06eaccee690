#include "platform/files.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

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

TEST(Files, AWriterInPiecesShowsNothingBeforeItsCommitAndLeavesNothingWhenDropped) {
    testenv::ScratchFolder folder;
    const std::string path = folder.File("set.kr9");
    folder.Write("set.kr9", "old");
    {
        AtomicFileWriter dropped(path);
        ASSERT_TRUE(dropped.Write("half"));
    }
    EXPECT_EQ(*ReadWholeFile(path), "old");
    AtomicFileWriter writer(path);
    ASSERT_TRUE(writer.Write("one ") && writer.Write("two"));
    EXPECT_EQ(*ReadWholeFile(path), "old");
    ASSERT_TRUE(writer.Commit());
    EXPECT_EQ(*ReadWholeFile(path), "one two");
    int files = 0;
    for ([[maybe_unused]] auto& e : std::filesystem::directory_iterator(folder.Path()))
        ++files;
    EXPECT_EQ(files, 1);
}

TEST(Files, TemporariesOfAKilledWriterGoAtTheCleanUpAndNothingElseDoes) {
    testenv::ScratchFolder folder;
    folder.Write("port.ini", "old");
    // The writer dies inside its write, as a kill between creating and renaming would take it:
    // the file size limit stops it with SIGXFSZ.
    const pid_t child = ::fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        ::prctl(PR_SET_DUMPABLE, 0);
        const rlimit limit{16, 16};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        WriteFileAtomic(folder.File("port.ini"), std::string(4096, 'x'));
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ);

    std::filesystem::create_directories(folder.File("archivio_verifiche"));
    folder.Write("archivio_verifiche/T200.pdf.kx9tmp-Zz9aB1", "half a report");
    folder.Write("port.ini.backup", "the technician's copy");
    // A temporary whose writer still runs: it holds the lock.
    folder.Write("LabInfo.lab.kx9tmp-Qw3rTy", "being written");
    const int held = ::open(folder.File("LabInfo.lab.kx9tmp-Qw3rTy").c_str(), O_RDONLY);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);

    EXPECT_EQ(RemoveStaleTemporaries(folder.Path()), 2);
    ::close(held);
    std::vector<std::string> left;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder.Path()))
        if (entry.is_regular_file())
            left.push_back(std::filesystem::relative(entry.path(), folder.Path()).string());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"LabInfo.lab.kx9tmp-Qw3rTy", "port.ini",
                                              "port.ini.backup"}));
    EXPECT_EQ(folder.Read("port.ini"), "old");
}

TEST(Files, OnlyAPlainFileIsReadAndNothingElseHoldsTheReader) {
    testenv::ScratchFolder folder;
    ASSERT_EQ(::mkfifo(folder.File("fifo").c_str(), 0644), 0);
    std::filesystem::create_directory(folder.File("folder"));
    // A reader that waited for the FIFO's writer, or read the device to its end, never returns.
    ::alarm(10);
    for (const std::string& path :
         {folder.File("fifo"), folder.File("folder"), std::string("/dev/zero")}) {
        SCOPED_TRACE(path);
        EXPECT_FALSE(ReadWholeFile(path));
        EXPECT_FALSE(ReadFileHead(path, 16));
    }
    // A FIFO that has a writer, which sends nothing.
    const int writer = ::open(folder.File("fifo").c_str(), O_RDWR | O_NONBLOCK);
    ASSERT_GE(writer, 0);
    EXPECT_FALSE(ReadWholeFile(folder.File("fifo")));
    ::close(writer);
    ::alarm(0);
    folder.Write("plain", "bytes");
    EXPECT_EQ(ReadFileHead(folder.File("plain"), 3), "byt");
}
