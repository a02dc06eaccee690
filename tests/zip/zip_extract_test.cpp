// Extraction: where entries land, what they take from their headers, and the entries that are
// refused because they would land outside the target folder.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "platform/date_time.h"
#include "platform/files.h"
#include "support/test_env.h"
#include "zip/zip_extract_stage.h"
#include "zip/zip_extract_target.h"
#include "zip_test_support.h"

using namespace ziptest;

namespace {

// The names in `folder`, hidden ones included, sorted.
std::vector<std::string> NamesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// Extracts entry 0 of `archive` into `folder` in a child process killed after its first block.
void ExtractKilledHalfway(const std::string& archive, const std::string& folder,
                          bool unnamedFiles) {
    const pid_t child = ::fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        zip::ExtractTarget::SetUnnamedFiles(unnamedFiles);
        CZipArchive zip;
        zip.Open(archive, CZipArchive::kOpenReadOnly);
        const auto kill = [](std::uint64_t, std::uint64_t, void*) { return ::raise(SIGKILL) == 0; };
        zip.ExtractFile(0, folder, true, {}, kill, nullptr, 65536);
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
}

// Stages every entry of `archive` into `folder` in a child process killed before the commit.
void StageKilled(const std::string& archive, const std::string& folder) {
    const pid_t child = ::fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        CZipArchive zip;
        zip.Open(archive, CZipArchive::kOpenReadOnly);
        for (int i = 0; i < zip.GetCount(); ++i)
            zip.StageFile(i, folder);
        ::raise(SIGKILL);
        ::_exit(1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
}

// A default ACL that gives new files in `folder` read and write to owner and group, nothing to
// others, whatever the process's mask says. False where the file system keeps no ACLs.
bool GiveDefaultAcl(const std::string& folder) {
    struct Entry {
        std::uint16_t tag, permissions;
        std::uint32_t id;
    };
    struct {
        std::uint32_t version = 2;
        Entry entries[3] = {{0x01, 6, ~0u}, {0x04, 6, ~0u}, {0x20, 0, ~0u}};
    } acl;
    return ::setxattr(folder.c_str(), "system.posix_acl_default", &acl, sizeof acl, 0) == 0;
}

mode_t ModeOf(const std::string& path) {
    struct stat st {};
    ::stat(path.c_str(), &st);
    return st.st_mode & 07777;
}

int FilesBelow(const std::string& folder) {
    int count = 0;
    for ([[maybe_unused]] auto& e : std::filesystem::recursive_directory_iterator(folder))
        ++count;
    return count;
}

}  // namespace

TEST(ZipExtract, FullPathsCreateFoldersBelowTheTargetOtherwiseOnlyTheNameCounts) {
    testenv::ScratchFolder folder;
    WriteArchive("d.zip", {{"dati\\2024\\rec.kr9", "index"}, {"dati/2024/p1.rec", "page"}});
    CZipArchive zip;
    zip.Open("d.zip", CZipArchive::kOpenReadOnly);
    EXPECT_TRUE(zip.ExtractFile(0, folder.File("out"), true));
    EXPECT_TRUE(zip.ExtractFile(1, folder.File("out\\"), true));
    EXPECT_EQ(folder.Read("out/dati/2024/rec.kr9"), "index");
    EXPECT_EQ(folder.Read("out/dati/2024/p1.rec"), "page");

    EXPECT_TRUE(zip.ExtractFile(0, folder.File("flat"), false));
    EXPECT_TRUE(zip.ExtractFile(1, folder.File("flat"), false, "renamed.rec"));
    EXPECT_EQ(folder.Read("flat/rec.kr9"), "index");
    EXPECT_EQ(folder.Read("flat/renamed.rec"), "page");
    EXPECT_EQ(FilesBelow(folder.File("flat")), 2);

    EXPECT_FALSE(zip.ExtractFile(0, folder.File("x"), true, {}, nullptr, nullptr, 0));
    EXPECT_FALSE(zip.ExtractFile(2, folder.File("x")));
    EXPECT_FALSE(platform::FileExists(folder.File("x")));
    zip.Close();
}

TEST(ZipExtract, FilesTakeTheTimeAndReadOnlyBitOfTheirEntries) {
    testenv::ScratchFolder folder;
    folder.Write("src/locked.txt", "ro");
    folder.Write("src/open.txt", "rw");
    const std::time_t then = platform::DateTime::FromParts(2019, 5, 4, 12, 30, 10).Seconds();
    for (const char* name : {"src/locked.txt", "src/open.txt"}) {
        const timespec times[2] = {{then, 0}, {then, 0}};
        ::utimensat(AT_FDCWD, folder.File(name).c_str(), times, 0);
    }
    ::chmod(folder.File("src/locked.txt").c_str(), 0444);
    AddFiles("a.zip", {folder.File("src/locked.txt"), folder.File("src/open.txt")},
             CZipArchive::kCreate);
    CZipArchive zip;
    zip.Open("a.zip", CZipArchive::kOpenReadOnly);
    ASSERT_TRUE(zip.ExtractFile(0, folder.File("out")));
    ASSERT_TRUE(zip.ExtractFile(1, folder.File("out")));
    zip.Close();
    struct stat st {};
    ::stat(folder.File("out/locked.txt").c_str(), &st);
    EXPECT_EQ(st.st_mtime, then);
    EXPECT_EQ(st.st_mode & 0222, 0u);
    ::stat(folder.File("out/open.txt").c_str(), &st);
    EXPECT_NE(st.st_mode & S_IWUSR, 0u);
}

TEST(ZipExtract, NamesLeadingOutsideTheFolderAreRefused) {
    testenv::ScratchFolder folder;
    WriteArchive("evil.zip", {{"..\\escaped.txt", "x"},
                              {"a\\..\\..\\escaped.txt", "x"},
                              {"\\abs.txt", "x"},
                              {"C:\\drive.txt", "x"},
                              {"fine\\..\\inside.txt", "ok"}});
    CZipArchive zip;
    zip.Open("evil.zip", CZipArchive::kOpenReadOnly);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(ZipCause([&] { zip.ExtractFile(i, folder.File("out/deep")); }),
                  CZipException::kUnsafeEntry)
            << i;
        // The entry state is dropped: the archive goes on working.
        EXPECT_TRUE(zip.TestFile(i));
    }
    EXPECT_EQ(ZipCause([&] { zip.ExtractFile(4, folder.File("out/deep")); }),
              CZipException::kUnsafeEntry);
    // Without the stored path only the last name is used, which cannot climb.
    EXPECT_TRUE(zip.ExtractFile(0, folder.File("out/deep"), false));
    EXPECT_EQ(folder.Read("out/deep/escaped.txt"), "x");
    zip.Close();
    EXPECT_FALSE(platform::FileExists(folder.File("out/escaped.txt")));
    EXPECT_FALSE(platform::FileExists(folder.File("escaped.txt")));
}

TEST(ZipExtract, LinksAreRefusedStoredOrFoundOnTheWay) {
    testenv::ScratchFolder folder;
    // A symbolic link as a Unix zip stores it: mode in the high word, the target as data.
    ASSERT_EQ(RunPython(R"(
import zipfile
with zipfile.ZipFile('link.zip', 'w') as z:
    info = zipfile.ZipInfo('etc')
    info.create_system = 3
    info.external_attr = (0o120777 << 16)
    z.writestr(info, '/etc')
    z.writestr('etc/passwd', 'owned')
)"),
              0);
    CZipArchive zip;
    zip.Open("link.zip", CZipArchive::kOpenReadOnly);
    EXPECT_EQ(ZipCause([&] { zip.ExtractFile(0, folder.File("out")); }),
              CZipException::kUnsafeEntry);

    // A link already in the target folder is not followed either.
    platform::MakeDirectories(folder.File("out"));
    platform::MakeDirectories(folder.File("elsewhere"));
    ASSERT_EQ(::symlink(folder.File("elsewhere").c_str(), folder.File("out/etc").c_str()), 0);
    EXPECT_EQ(ZipCause([&] { zip.ExtractFile(1, folder.File("out")); }),
              CZipException::kUnsafeEntry);
    zip.Close();
    EXPECT_EQ(FilesBelow(folder.File("elsewhere")), 0);
}

TEST(ZipExtract, FailedOrStoppedExtractionsKeepTheFileThatWasThere) {
    testenv::ScratchFolder folder;
    WriteArchive("a.zip", {{"data.bin", RandomBytes(200000, 2)}});
    std::string bytes = folder.Read("a.zip");
    bytes[bytes.find("PK\x01\x02") + 16] ^= 1;  // CRC in the directory
    folder.Write("bad.zip", bytes);
    folder.Write("out/data.bin", "precious");

    CZipArchive zip;
    zip.Open("bad.zip", CZipArchive::kOpenReadOnly);
    EXPECT_EQ(ZipCause([&] { zip.ExtractFile(0, folder.File("out")); }), CZipException::kBadCrc);
    zip.Close();
    zip.Open("a.zip", CZipArchive::kOpenReadOnly);
    const auto stop = [](std::uint64_t, std::uint64_t done, void*) { return done < 100000; };
    EXPECT_FALSE(zip.ExtractFile(0, folder.File("out"), true, {}, stop, nullptr, 65536));
    EXPECT_EQ(folder.Read("out/data.bin"), "precious");
    EXPECT_EQ(FilesBelow(folder.File("out")), 1);

    std::vector<std::uint64_t> progress;
    const auto record = [](std::uint64_t total, std::uint64_t done, void* data) {
        EXPECT_EQ(total, 200000u);
        static_cast<std::vector<std::uint64_t>*>(data)->push_back(done);
        return true;
    };
    EXPECT_TRUE(zip.ExtractFile(0, folder.File("out"), true, {}, record, &progress, 65536));
    EXPECT_EQ(progress, (std::vector<std::uint64_t>{65536, 131072, 196608, 200000}));
    EXPECT_EQ(folder.Read("out/data.bin"), RandomBytes(200000, 2));
    zip.Close();
}

TEST(ZipExtract, NamesUpToTheSystemLimitExtractFreshOrOverAFile) {
    testenv::ScratchFolder folder;
    const std::string longest(255, 'n');  // the longest name a Linux folder takes
    const std::string replaced = std::string(238, 'm') + ".txt";
    WriteArchive("long.zip", {{longest, "first"}, {"sub\\" + replaced, "second"}});
    folder.Write("out/sub/" + replaced, "old");
    CZipArchive zip;
    zip.Open("long.zip", CZipArchive::kOpenReadOnly);
    EXPECT_TRUE(zip.ExtractFile(0, folder.File("out")));
    EXPECT_TRUE(zip.ExtractFile(1, folder.File("out")));
    zip.Close();
    EXPECT_EQ(folder.Read("out/" + longest), "first");
    EXPECT_EQ(folder.Read("out/sub/" + replaced), "second");
    EXPECT_EQ(FilesBelow(folder.File("out")), 3);  // no temporary file left beside them
}

TEST(ZipExtract, OnlyTheStagesOfKilledExtractionsGoAndOnlyOnceAnExtractionSucceeded) {
    testenv::ScratchFolder folder;
    WriteArchive("a.zip", {{"top.txt", "top"}, {"sub\\deep.txt", "deep"}});
    const std::string out = folder.File("out");
    StageKilled("a.zip", out);
    StageKilled("a.zip", out + "/sub");
    StageKilled("a.zip", folder.File("elsewhere"));
    // Not ours: a user's file and folders of that name, and a copy of a killed stage.
    std::vector<std::string> abandoned = NamesIn(out);
    std::erase(abandoned, "sub");
    ASSERT_EQ(abandoned.size(), 1u);
    folder.Write("out/.1-1.part", "mine");
    folder.Write("out/.2-2.part/mine.txt", "mine too");
    ASSERT_TRUE(platform::MakeDirectories(out + "/.3-3.part"));
    std::filesystem::copy(out + "/" + abandoned[0], out + "/.4-4.part");
    // One whose extraction still runs.
    CZipArchive running;
    running.Open("a.zip", CZipArchive::kOpenReadOnly);
    ASSERT_TRUE(running.StageFile(0, out));
    const std::vector<std::string> before = NamesIn(out);

    // An extraction that fails leaves them all.
    CZipArchive zip;
    zip.Open("a.zip", CZipArchive::kOpenReadOnly);
    ASSERT_TRUE(zip.StageFile(0, out));
    ASSERT_TRUE(zip.StageFile(1, out));
    zip.Close();
    EXPECT_EQ(NamesIn(out), before);

    zip.Open("a.zip", CZipArchive::kOpenReadOnly);
    ASSERT_TRUE(zip.StageFile(0, out));
    ASSERT_TRUE(zip.StageFile(1, out));
    ASSERT_TRUE(zip.CommitStaged());
    zip.Close();
    std::vector<std::string> left = before;
    left.erase(std::find(left.begin(), left.end(), abandoned[0]));
    left.push_back("top.txt");
    std::sort(left.begin(), left.end());
    EXPECT_EQ(NamesIn(out), left);
    EXPECT_EQ(NamesIn(out + "/sub"), std::vector<std::string>{"deep.txt"});
    EXPECT_EQ(NamesIn(folder.File("elsewhere")).size(), 1u);
    EXPECT_EQ(folder.Read("out/.2-2.part/mine.txt"), "mine too");
}

TEST(ZipExtract, AStageIsNeverTakenForAbandonedBeforeItIsLocked) {
    testenv::ScratchFolder folder;
    WriteArchive("a.zip", {{"a.txt", "a"}});
    const std::string out = folder.File("out");
    const auto extract = [&](bool staged) {
        CZipArchive zip;
        zip.Open("a.zip", CZipArchive::kOpenReadOnly);
        return staged ? zip.StageFile(0, out) && zip.CommitStaged() : zip.ExtractFile(0, out);
    };
    // Inside the window: another extraction into the folder, its clean-up included, whole
    // archive or single file; or a program that knows no mark removing the stage outright.
    bool inside = false;
    const auto once = [&inside](std::function<void()> action) {
        return [&inside, action] {
            if (!std::exchange(inside, true))
                action();
        };
    };
    const std::function<void()> others[] = {
        once([&] { EXPECT_TRUE(extract(true)); }),
        once([&] { EXPECT_TRUE(extract(false)); }),
        once([&] {
            for (const std::string& name : NamesIn(out))
                ::rmdir((out + "/" + name).c_str());
        }),
    };
    for (int other = 0; other < 3; ++other) {
        SCOPED_TRACE(other);
        std::filesystem::remove_all(out);
        inside = false;
        const zip::ScopedStageHooks hooks({.madeUnlocked = others[other], .beforeMove = {}});
        zip::ExtractTarget::SetUnnamedFiles(other != 1);
        const bool extracted = extract(other != 1);
        zip::ExtractTarget::SetUnnamedFiles(true);
        EXPECT_TRUE(inside);
        EXPECT_TRUE(extracted);
        EXPECT_EQ(NamesIn(out), std::vector<std::string>{"a.txt"});
    }
}

TEST(ZipExtract, AStageTakenAwayBeforeItsLockEveryTimeIsGivenUpAndItsHooksEndWithTheirScope) {
    testenv::ScratchFolder folder;
    WriteArchive("a.zip", {{"a.txt", "a"}});
    const std::string out = folder.File("out");
    ASSERT_TRUE(platform::MakeDirectories(out));
    CZipArchive zip;
    zip.Open("a.zip", CZipArchive::kOpenReadOnly);
    int made = 0;
    try {
        // Bounded here too, so that a stage begun again without end still ends the test.
        const zip::ScopedStageHooks hooks({.madeUnlocked =
                                               [&] {
                                                   if (++made <= 1000)
                                                       for (const std::string& name : NamesIn(out))
                                                           ::rmdir((out + "/" + name).c_str());
                                               },
                                           .beforeMove = {}});
        EXPECT_FALSE(zip.StageFile(0, out));
        throw std::runtime_error("a test that ends early");
    } catch (const std::runtime_error&) {
    }
    EXPECT_GT(made, 1);
    EXPECT_LT(made, 1000);
    EXPECT_EQ(NamesIn(out), std::vector<std::string>{});

    const int tries = made;
    EXPECT_TRUE(zip.StageFile(0, out));
    EXPECT_TRUE(zip.CommitStaged());
    zip.Close();
    EXPECT_EQ(made, tries);
    EXPECT_EQ(NamesIn(out), std::vector<std::string>{"a.txt"});
}

TEST(ZipExtract, ACommitThatCannotMakeAnEntrysFolderRemovesTheFoldersItMadeAndNamesNothing) {
    testenv::ScratchFolder folder;
    WriteArchive("a.zip", {{"top.txt", "top"}, {"a\\b\\c.txt", "c"}, {"in\\x\\y.txt", "y"}});
    const std::string out = folder.File("out");
    folder.Write("out/top.txt", "older");
    ASSERT_TRUE(platform::MakeDirectories(out + "/in"));
    CZipArchive zip;
    zip.Open("a.zip", CZipArchive::kOpenReadOnly);
    for (int i = 0; i < zip.GetCount(); ++i)
        ASSERT_TRUE(zip.StageFile(i, out));
    // Before the commit, something else takes the place of the folder the last entry goes in.
    ASSERT_EQ(::rmdir((out + "/in").c_str()), 0);
    folder.Write("out/in", "in the way");
    EXPECT_FALSE(zip.CommitStaged());
    zip.Close();
    EXPECT_EQ(NamesIn(out), (std::vector<std::string>{"in", "top.txt"}));
    EXPECT_EQ(folder.Read("out/top.txt"), "older");
}

// Run by the test below in processes of their own: commits the archive's entries into the folder
// again and again, each stage waiting a moment before its lock, inside the window the other
// program's clean-up could otherwise hit.
TEST(ZipExtractChild, CommitsAnArchiveRepeatedlyWhenStartedByAnotherTest) {
    const char* archive = std::getenv("KX9_EXTRACT_ARCHIVE");
    const char* out = std::getenv("KX9_EXTRACT_FOLDER");
    if (!archive || !out)
        GTEST_SKIP() << "run by ZipExtract.TwoProgramsCommittingOneArchiveIntoOneFolderBothSucceed";
    // Both programs start together once both are up.
    ASSERT_TRUE(platform::WriteFileAtomic(std::getenv("KX9_EXTRACT_READY"), "up"));
    for (int wait = 0; wait < 10000 && !platform::FileExists(archive); ++wait)
        ::usleep(1000);
    const zip::ScopedStageHooks hooks({.madeUnlocked = [] { ::usleep(500); }, .beforeMove = {}});
    for (int round = 0; round < 50; ++round) {
        SCOPED_TRACE(round);
        CZipArchive zip;
        ASSERT_TRUE(zip.Open(archive, CZipArchive::kOpenReadOnly));
        for (int i = 0; i < zip.GetCount(); ++i)
            ASSERT_TRUE(zip.StageFile(i, out));
        ASSERT_TRUE(zip.CommitStaged());
        zip.Close();
    }
}

TEST(ZipExtract, TwoProgramsCommittingOneArchiveIntoOneFolderBothSucceed) {
    testenv::ScratchFolder folder;
    WriteArchive("made.zip", {{"P0.rec", RandomBytes(5000, 1)},
                              {"sub\\P1.rec", RandomBytes(5000, 2)},
                              {"P2.rec", RandomBytes(5000, 3)}});
    const std::string out = folder.File("out");
    ASSERT_TRUE(platform::MakeDirectories(out));
    std::vector<pid_t> programs;
    for (int program = 0; program < 2; ++program) {
        const pid_t child = ::fork();
        ASSERT_NE(child, -1);
        if (child == 0) {
            ::setenv("KX9_EXTRACT_ARCHIVE", folder.File("a.zip").c_str(), 1);
            ::setenv("KX9_EXTRACT_FOLDER", out.c_str(), 1);
            ::setenv("KX9_EXTRACT_READY", folder.File("up" + std::to_string(program)).c_str(), 1);
            ::execl("/proc/self/exe", "zip_tests", "--gtest_brief=1",
                    "--gtest_filter=ZipExtractChild.*", static_cast<char*>(nullptr));
            ::_exit(127);
        }
        programs.push_back(child);
    }
    for (int wait = 0; wait < 10000 && !(platform::FileExists(folder.File("up0")) &&
                                         platform::FileExists(folder.File("up1")));
         ++wait)
        ::usleep(1000);
    ASSERT_EQ(::rename("made.zip", "a.zip"), 0);
    for (const pid_t child : programs) {
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    }
    EXPECT_EQ(NamesIn(out), (std::vector<std::string>{"P0.rec", "P2.rec", "sub"}));
    EXPECT_EQ(NamesIn(out + "/sub"), std::vector<std::string>{"P1.rec"});
    EXPECT_TRUE(folder.Read("out/sub/P1.rec") == RandomBytes(5000, 2));
}

TEST(ZipExtract, AKilledExtractionLeavesNoHalfFileUnderTheEntrysName) {
    testenv::ScratchFolder folder;
    const std::string data = RandomBytes(300000, 5);
    WriteArchive("a.zip", {{"data.bin", data}});
    // A new file has no name until it is whole: nothing at all is left.
    ExtractKilledHalfway("a.zip", folder.File("new"), true);
    EXPECT_EQ(NamesIn(folder.File("new")), std::vector<std::string>{});
    // The file that was there stays as it was.
    folder.Write("old/data.bin", "precious");
    ExtractKilledHalfway("a.zip", folder.File("old"), true);
    EXPECT_EQ(NamesIn(folder.File("old")), std::vector<std::string>{"data.bin"});
    EXPECT_EQ(folder.Read("old/data.bin"), "precious");

    // Where unnamed files are refused, the half file is a temporary beside the target, which
    // the next extraction into that folder removes, with no unnamed files either.
    ExtractKilledHalfway("a.zip", folder.File("named"), false);
    ASSERT_EQ(NamesIn(folder.File("named")).size(), 1u);
    EXPECT_TRUE(NamesIn(folder.File("named"))[0].ends_with(".part"));
    zip::ExtractTarget::SetUnnamedFiles(false);
    CZipArchive zip;
    zip.Open("a.zip", CZipArchive::kOpenReadOnly);
    EXPECT_TRUE(zip.ExtractFile(0, folder.File("named")));
    EXPECT_TRUE(zip.ExtractFile(0, folder.File("old")));
    zip.Close();
    zip::ExtractTarget::SetUnnamedFiles(true);
    EXPECT_EQ(NamesIn(folder.File("named")), std::vector<std::string>{"data.bin"});
    EXPECT_TRUE(folder.Read("named/data.bin") == data);
    EXPECT_TRUE(folder.Read("old/data.bin") == data);
}

TEST(ZipExtract, StagedEntriesTakeTheirNamesOnlyWhenCommittedAndAKilledStageGoesLater) {
    testenv::ScratchFolder folder;
    WriteArchive("a.zip", {{"one.txt", "one"}, {"sub\\two.txt", "two"}, {"empty\\", ""}});
    folder.Write("out/one.txt", "older");
    const auto stageAll = [&](CZipArchive& zip) {
        zip.Open("a.zip", CZipArchive::kOpenReadOnly);
        for (int i = 0; i < zip.GetCount(); ++i)
            if (!zip.StageFile(i, folder.File("out")))
                return false;
        return true;
    };
    // Killed with every entry staged: no name changed, the stage is one hidden folder.
    const pid_t child = ::fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        CZipArchive zip;
        ::_exit(stageAll(zip) && ::raise(SIGKILL) == 0 ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
    std::vector<std::string> names = NamesIn(folder.File("out"));
    ASSERT_EQ(names.size(), 2u);
    EXPECT_TRUE(names[0].ends_with(".part")) << names[0];
    EXPECT_EQ(folder.Read("out/one.txt"), "older");

    CZipArchive zip;
    ASSERT_TRUE(stageAll(zip));
    EXPECT_EQ(folder.Read("out/one.txt"), "older");
    ASSERT_TRUE(zip.CommitStaged());
    zip.Close();
    EXPECT_EQ(NamesIn(folder.File("out")), (std::vector<std::string>{"empty", "one.txt", "sub"}));
    EXPECT_EQ(folder.Read("out/one.txt"), "one");
    EXPECT_EQ(folder.Read("out/sub/two.txt"), "two");
}

TEST(ZipExtract, EntriesOnBothSidesOfADaylightSavingChangeKeepTheirTimes) {
    const char* previous = std::getenv("TZ");
    const std::string saved = previous ? previous : "";
    ::setenv("TZ", "Europe/Rome", 1);
    ::tzset();
    const auto utc = [](int year, int month, int day, int hour, int minute) {
        std::tm tm{};
        tm.tm_year = year - 1900;
        tm.tm_mon = month - 1;
        tm.tm_mday = day;
        tm.tm_hour = hour;
        tm.tm_min = minute;
        return ::timegm(&tm);
    };
    // Winter first: one offset kept for every date would move the summer entries by an hour.
    const std::vector<std::time_t> times = {
        utc(2024, 1, 15, 11, 0),   // 12:00 CET
        utc(2024, 7, 15, 10, 0),   // 12:00 CEST
        utc(2024, 3, 31, 0, 30),   // 01:30 CET, the night the clocks go forward
        utc(2024, 3, 31, 1, 30),   // 03:30 CEST, the same night
        utc(2024, 10, 27, 2, 30),  // 03:30 CET, the night they go back
        utc(2024, 1, 16, 11, 0)};  // winter again
    testenv::ScratchFolder folder;
    CZipArchive zip;
    zip.Open("times.zip", CZipArchive::kCreate);
    for (std::size_t i = 0; i < times.size(); ++i) {
        CZipFileHeader header;
        header.SetFileName("f" + std::to_string(i));
        header.SetTime(times[i]);
        ASSERT_TRUE(zip.OpenNewFile(header, 0));
        zip.CloseNewFile();
    }
    zip.Close();
    zip.Open("times.zip", CZipArchive::kOpenReadOnly);
    for (std::size_t i = 0; i < times.size(); ++i) {
        ASSERT_TRUE(zip.ExtractFile(static_cast<int>(i), folder.File("out")));
        struct stat st {};
        ::stat(folder.File("out/f" + std::to_string(i)).c_str(), &st);
        EXPECT_EQ(st.st_mtime, times[i]) << i;
    }
    zip.Close();
    if (previous)
        ::setenv("TZ", saved.c_str(), 1);
    else
        ::unsetenv("TZ");
    ::tzset();
}

TEST(ZipExtract, FilesOfEntriesWithoutAModeTakeWhatTheirFolderGivesNewFiles) {
    testenv::ScratchFolder folder;
    // Made on MS-DOS: only the read-only bit says anything of the permissions.
    ASSERT_EQ(RunPython(R"(
import zipfile
with zipfile.ZipFile('dos.zip', 'w') as z:
    for name, attributes in (('open.txt', 0x20), ('locked.txt', 0x21)):
        info = zipfile.ZipInfo(name)
        info.create_system = 0
        info.external_attr = attributes
        z.writestr(info, name)
)"),
              0);
    platform::MakeDirectories(folder.File("acl"));
    if (!GiveDefaultAcl(folder.File("acl")))
        GTEST_SKIP() << "no ACLs where the tests run";
    const mode_t mask = ::umask(022);
    CZipArchive zip;
    zip.Open("dos.zip", CZipArchive::kOpenReadOnly);
    const auto extract = [&](int index, const char* into, const std::string& as = {}) {
        EXPECT_TRUE(zip.ExtractFile(index, folder.File(into), true, as)) << into << " " << as;
    };
    extract(0, "plain");
    extract(1, "plain");
    extract(0, "acl");
    extract(1, "acl");
    // Back and forth: what one folder gives new files says nothing of another.
    extract(1, "plain", "again.txt");
    extract(1, "acl", "again.txt");
    zip.Close();
    ::umask(mask);
    EXPECT_EQ(ModeOf(folder.File("plain/open.txt")), 0644u);
    EXPECT_EQ(ModeOf(folder.File("plain/locked.txt")), 0444u);
    EXPECT_EQ(ModeOf(folder.File("acl/open.txt")), 0660u);
    EXPECT_EQ(ModeOf(folder.File("acl/locked.txt")), 0440u);
    EXPECT_EQ(ModeOf(folder.File("plain/again.txt")), 0444u);
    EXPECT_EQ(ModeOf(folder.File("acl/again.txt")), 0440u);
}
