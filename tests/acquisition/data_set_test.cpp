// Data sets as files: read from what the Python reference writes, refused when they say what
// cannot be, and unpacked from archives made by Info-ZIP.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <sys/fsuid.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>

#include "acquisition/data_buffer.h"
#include "acquisition/data_set.h"
#include "acquisition_test_support.h"
#include "platform/files.h"
#include "platform/text.h"
#include "support/record_kinds.h"
#include "support/test_env.h"
#include "zip/zip_archive.h"
#include "zip/zip_extract_stage.h"

using namespace acquisition;
using namespace testkinds;

namespace {

RecordingSetup SetupOf(records::RecordKind kind, long long pageSize) {
    RecordingSetup setup;
    setup.kind = kind;
    setup.pageSize = pageSize;
    return setup;
}

class DataSetTest : public ::testing::Test {
protected:
    PageLoad Load(const std::string& path, int page, const RecordingSetup& setup) {
        return LoadPage(folder.File(path), page, setup.Layout(), setup.pageSize, buffer);
    }
    DataBufferView View(const PageLoad& load, const RecordingSetup& setup) const {
        return DataBufferView(buffer, setup.Layout(), load.bytes);
    }
    // A page file: the setup block with these fields, a start text and `data` bytes.
    static std::string PageFile(const std::string& pageSize, const std::string& mode,
                                const std::string& data) {
        records::SetupBlock block;
        block.SetField(records::SetupBlock::kPagingSize, pageSize);
        block.SetField(records::SetupBlock::kAcquisitionMode, mode);
        return std::string(block.Bytes()) + "2024/01/01 00:00:00 " + data;
    }
    void WritePageFile(const std::string& name, const std::string& pageSize,
                       const std::string& mode, const std::string& data) {
        folder.Write(name, PageFile(pageSize, mode, data));
    }

    // An archive of these entries, stored; a name ending in '\\' is a folder entry.
    void WriteArchive(const std::string& name,
                      const std::vector<std::pair<std::string, std::string>>& entries) {
        CZipArchive zip;
        ASSERT_TRUE(zip.Open(folder.File(name), CZipArchive::kCreate));
        for (const auto& [entry, text] : entries) {
            CZipFileHeader header;
            header.SetFileName(entry);
            ASSERT_TRUE(zip.OpenNewFile(header, 0));
            ASSERT_TRUE(zip.WriteNewFile(text.data(), text.size()));
            ASSERT_TRUE(zip.CloseNewFile());
        }
        zip.Close();
    }
    // The names in the folder and below it, hidden ones included, sorted.
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(folder.Path()))
            names.push_back(entry.path().lexically_relative(folder.Path()).string());
        std::sort(names.begin(), names.end());
        return names;
    }

    testenv::ScratchFolder folder;
    std::vector<unsigned char> buffer = std::vector<unsigned char>(records::kDataBufferSize);
};

// Bytes this thread has read from files so far; -1 where the system does not count them.
long long BytesReadByThisThread() {
    std::ifstream io("/proc/thread-self/io");
    std::string key;
    long long value = 0;
    while (io >> key >> value)
        if (key == "rchar:")
            return value;
    return -1;
}

// A file-size limit for the process while it lives: writes beyond it fail as on a full disk.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &m_previous);
        m_handler = std::signal(SIGXFSZ, SIG_IGN);
        const struct rlimit limit = {bytes, m_previous.rlim_max};
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &m_previous);
        std::signal(SIGXFSZ, m_handler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    struct rlimit m_previous {};
    void (*m_handler)(int) = nullptr;
};

// Makes the file one that must not change (chattr +i), or lets it change again; false where the
// file system or the process cannot.
bool SetImmutable(const std::string& path, bool on) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    int flags = 0;
    bool set = fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
    set = set && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    if (fd >= 0)
        ::close(fd);
    return set;
}

// An ordinary user's: root's pass every permission check but for another file system user.
constexpr uid_t kUser = 65534;

Unpacking UnpackAsUser(const std::string& path) {
    const int root = ::setfsuid(kUser);
    const Unpacking unpacking = UnpackZippedDataSet(path);
    ::setfsuid(root);
    return unpacking;
}

// Opens the zipped set at `path` in another program, this test binary running
// DataSetChild.UnpacksAZippedSetWhenStartedByAnotherTest, and waits for it; its exit status.
int UnpackInAnotherProgram(const std::string& path) {
    const pid_t child = ::fork();
    if (child == 0) {
        ::setenv("KX9_UNPACK_SET", path.c_str(), 1);
        ::execl("/proc/self/exe", "acquisition_tests", "--gtest_brief=1",
                "--gtest_filter=DataSetChild.*", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child)
        return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

TEST_F(DataSetTest, AnIndexedSetIsListedAndLoadedAsTheReferenceWroteIt) {
    SKIP_WITHOUT("python3");
    ASSERT_EQ(acqtest::RunReference("layout_reference.py", "make ."), 0);

    const DataSetListing listing = ListDataSet(folder.File("set.kr9"));
    ASSERT_TRUE(listing.opened);
    ASSERT_FALSE(listing.failure) << *listing.failure;
    ASSERT_TRUE(listing.isIndex);
    ASSERT_EQ(listing.pages.size(), 2u);
    // The first page file carries two label blocks before its setup.
    EXPECT_EQ(listing.pages[0].offset, 5 + 160 + 500);
    EXPECT_EQ(listing.pages[1].offset, 500);
    EXPECT_EQ(listing.pages[1].startText, "2024/03/09 14:05:10 ");
    const RecordingSetup& setup = listing.Setup(0);
    EXPECT_EQ(setup.kind, kOctave);
    EXPECT_EQ(setup.pageSize, 3);
    EXPECT_EQ(setup.model, "QS4160");
    EXPECT_EQ(setup.date, "2024/03/09");
    EXPECT_EQ(setup.acquisitionTime.WholeSeconds(), 60);
    EXPECT_EQ(setup.repetitionTime.WholeSeconds(), 600);
    EXPECT_EQ(setup.LevelScaleTop(), 40);

    const PageLoad first = Load("set.kr9", 0, setup);
    ASSERT_FALSE(first.failure);
    EXPECT_EQ(first.startText, "2024/03/09 14:05:07 ");
    const DataBufferView page = View(first, setup);
    ASSERT_EQ(page.SampleCount(), 3);
    EXPECT_EQ(page.TimeSeconds(2), 14 * 3600 + 5 * 60 + 9);
    EXPECT_EQ(page.Value(2, 1), 210);
    EXPECT_EQ(page.Value(1, 3), records::kNoValue);
    // The last page of a set may be short.
    const PageLoad second = Load("set.kr9", 1, setup);
    EXPECT_EQ(View(second, setup).SampleCount(), 2);
    EXPECT_EQ(View(second, setup).Value(1, 0), 400);
    EXPECT_EQ(buffer[20 + 2 * 26], 0xFF);  // after the page: the buffer's fill
}

TEST_F(DataSetTest, ASingleFileHoldsEveryPageAndEachLoadsFromItsPlace) {
    SKIP_WITHOUT("python3");
    ASSERT_EQ(acqtest::RunReference("layout_reference.py", "make ."), 0);

    const DataSetListing levels = ListDataSet(folder.File("single.kr9"));
    ASSERT_FALSE(levels.failure);
    ASSERT_EQ(levels.pages.size(), 3u);
    EXPECT_EQ(levels.pages[2].startText, "2024/01/31 23:59:52 ");
    EXPECT_EQ(levels.pages[2].offset, 500 + 2 * (20 + 2 * 12));
    const RecordingSetup& setup = levels.Setup(0);
    EXPECT_EQ(setup.kind, kSoundLevelMeter);
    EXPECT_FALSE(setup.acquisitionTime.IsValid());
    EXPECT_EQ(setup.LevelScaleTop(), 130 - 110);  // the extended range of "QS4060_rn1"
    const PageLoad last = Load("single.kr9", 2, setup);
    ASSERT_EQ(View(last, setup).SampleCount(), 1);
    EXPECT_EQ(View(last, setup).Value(0, 0), 454);
    EXPECT_EQ(View(last, setup).Value(0, 2), records::kNoValue);

    const DataSetListing profile = ListDataSet(folder.File("profile.kr9"));
    ASSERT_EQ(profile.pages.size(), 2u);
    const RecordingSetup& steps = profile.Setup(0);
    EXPECT_EQ(steps.Layout(), records::RecordLayout(kProfile, records::ProfileStep::Quarter));
    const PageLoad second = Load("profile.kr9", 1, steps);
    EXPECT_EQ(second.bytes, 20 + 12);
    ASSERT_EQ(View(second, steps).SampleCount(), 4);
    EXPECT_EQ(View(second, steps).Value(3, 0), 313);
}

TEST_F(DataSetTest, PastItsPageTheBufferReads0xFFAndOnlyWhatThePageBeforeHeldIsFilled) {
    // Pages of three octave records: a whole one of 98 bytes, then one of a record, 46 bytes.
    WritePageFile("two.kr9", "3", "OCTAVE",
                  std::string(3 * 26, '\x11') + "2024/01/01 00:00:01 " + std::string(26, '\x22'));
    const records::RecordLayout layout(kOctave);
    const auto all0xFF = [this](size_t from) {
        return std::all_of(buffer.begin() + static_cast<std::ptrdiff_t>(from), buffer.end(),
                           [](unsigned char byte) { return byte == 0xFF; });
    };
    // A new buffer: nothing is known of what it holds.
    size_t filled = buffer.size();
    PageLoader loader;
    ASSERT_EQ(loader.Load(folder.File("two.kr9"), 0, layout, 3, {buffer, filled}).bytes, 98);
    EXPECT_EQ(filled, 98u);
    EXPECT_TRUE(all0xFF(98));
    ASSERT_EQ(loader.Load(folder.File("two.kr9"), 1, layout, 3, {buffer, filled}).bytes, 46);
    EXPECT_EQ(buffer[45], 0x22);
    EXPECT_TRUE(all0xFF(46));

    // What lies past the mark is not written again.
    buffer.back() = 0;
    ASSERT_EQ(loader.Load(folder.File("two.kr9"), 0, layout, 3, {buffer, filled}).bytes, 98);
    EXPECT_EQ(buffer.back(), 0);
    // A page that cannot be read leaves 0xFF where the one before lay.
    EXPECT_TRUE(
        loader.Load(folder.File("two.kr9"), 0, layout, 1LL << 40, {buffer, filled}).failure);
    EXPECT_EQ(filled, 0u);
    EXPECT_EQ(std::count(buffer.begin(), buffer.end(), 0xFF),
              static_cast<std::ptrdiff_t>(buffer.size()) - 1);
}

TEST_F(DataSetTest, ASetThatChangesBetweenItsPagesIsReadAgain) {
    WritePageFile("a.rec", "1", "SLM", std::string(12, '\x01'));
    WritePageFile("b.rec", "1", "SLM", std::string(12, '\x02'));
    const records::RecordLayout layout(kSoundLevelMeter);
    size_t filled = buffer.size();
    PageLoader loader;
    const auto firstValue = [&](const std::string& path, int page) {
        const PageLoad load = loader.Load(folder.File(path), page, layout, 1, {buffer, filled});
        return load.failure ? *load.failure : std::to_string(buffer[20 + 2]);
    };
    folder.Write("set.kr9", "INDEX FILE\r\na.rec\r\n");
    EXPECT_EQ(firstValue("set.kr9", 0), "1");
    // Replaced at once by an index of the same size, as the live recording rewrites it.
    ASSERT_TRUE(platform::WriteFileAtomic(folder.File("set.kr9"), "INDEX FILE\r\nb.rec\r\n"));
    EXPECT_EQ(firstValue("set.kr9", 0), "2");
    ASSERT_TRUE(
        platform::WriteFileAtomic(folder.File("set.kr9"), "INDEX FILE\r\nb.rec\r\na.rec\r\n"));
    EXPECT_EQ(firstValue("set.kr9", 1), "1");

    // Rewritten in place at the same size by a copy that keeps the modification time: only the
    // status-change time tells, once the file system's clock has moved on.
    const std::string index = folder.File("set.kr9");
    struct stat kept {};
    ASSERT_EQ(::stat(index.c_str(), &kept), 0);
    for (int tries = 0;; ++tries) {
        ASSERT_LT(tries, 2000);
        std::fstream(index, std::ios::in | std::ios::out) << "INDEX FILE\r\na.rec\r\nb.rec\r\n";
        const struct timespec times[2] = {kept.st_atim, kept.st_mtim};
        ASSERT_EQ(::utimensat(AT_FDCWD, index.c_str(), times, 0), 0);
        struct stat now {};
        ASSERT_EQ(::stat(index.c_str(), &now), 0);
        if (now.st_ctim.tv_sec != kept.st_ctim.tv_sec ||
            now.st_ctim.tv_nsec != kept.st_ctim.tv_nsec)
            break;
        ::usleep(1000);
    }
    EXPECT_EQ(firstValue("set.kr9", 1), "2");

    // A single file that gains a label header keeps its pages after it.
    records::SetupBlock block;
    block.SetField(records::SetupBlock::kPagingSize, "1");
    const std::string page = "2024/01/01 00:00:00 " + std::string(12, '\x03');
    folder.Write("single.kr9", std::string(block.Bytes()) + page);
    EXPECT_EQ(firstValue("single.kr9", 0), "3");
    ASSERT_TRUE(platform::WriteFileAtomic(folder.File("single.kr9"),
                                          std::string("\xBB\x01\0\0\0", 5) + std::string(80, 'L') +
                                              std::string(block.Bytes()) + page.substr(0, 20) +
                                              std::string(12, '\x04')));
    EXPECT_EQ(firstValue("single.kr9", 0), "4");
    ASSERT_TRUE(platform::RemoveFile(folder.File("single.kr9")));
    EXPECT_EQ(firstValue("single.kr9", 0), "ERROR: Unable to open file");
}

TEST_F(DataSetTest, ListingASingleFileReadsOnlyItsHeadAndEachPagesStartText) {
    records::SetupBlock block;
    block.SetField(records::SetupBlock::kPagingSize, "100");
    std::string bytes(block.Bytes());
    for (int page = 0; page < 200; ++page)
        bytes += "2024/01/01 00:00:00 " + std::string(1200, static_cast<char>(page));
    folder.Write("single.kr9", bytes);
    if (BytesReadByThisThread() < 0)
        GTEST_SKIP() << "the system does not count the bytes read";

    const long long before = BytesReadByThisThread();
    const DataSetListing listing = ListDataSet(folder.File("single.kr9"));
    const long long read = BytesReadByThisThread() - before;
    ASSERT_EQ(listing.pages.size(), 200u);
    EXPECT_EQ(listing.pages[199].startText, "2024/01/01 00:00:00 ");
    // The first line's block, the setup block and 20 bytes a page, with room for the count's own
    // reading: never a page's worth.
    EXPECT_LT(read, 4096 + 500 + 200 * 20 + 1024);
}

TEST_F(DataSetTest, WhatAFileSaysIsCheckedBeforeItIsUsed) {
    // Page sizes that would not fit the data buffer, or hold no record, are refused.
    for (const char* size : {"99999999999", "00000050000", "0", "-5", "garbage"}) {
        SCOPED_TRACE(size);
        WritePageFile("big.kr9", size, "THIRD OCTAV", std::string(68, '\0'));
        const DataSetListing listing = ListDataSet(folder.File("big.kr9"));
        ASSERT_TRUE(listing.failure);
        EXPECT_NE(listing.failure->find("Page size not valid"), std::string::npos);
        const PageLoad load =
            Load("big.kr9", 0,
                 listing.pages.empty() ? DecodeSetup(records::SetupBlock()) : listing.Setup(0));
        EXPECT_EQ(load.bytes, 0);
    }
    const RecordingSetup hostile = SetupOf(kThirdOctave, 1LL << 40);
    EXPECT_TRUE(Load("big.kr9", 0, hostile).failure);
    EXPECT_EQ(buffer.front(), 0xFF);

    // Files too short for their head are empty.
    folder.Write("tiny.kr9", "\xBB\x03");
    EXPECT_EQ(ListDataSet(folder.File("tiny.kr9")).failure, "WARNING: File Empty.");
    folder.Write("nosetup.kr9", std::string(5 + 80 + 499, ' ').replace(0, 2, "\xBB\x01"));
    EXPECT_EQ(ListDataSet(folder.File("nosetup.kr9")).failure, "WARNING: File Empty.");
    EXPECT_EQ(Load("tiny.kr9", 0, DecodeSetup(records::SetupBlock())).failure,
              "WARNING: File Empty.");

    // A missing page file gives the cause of the failure; an unreadable path says nothing.
    folder.Write("gone.kr9", "INDEX FILE\r\nnot_there.rec\r\n");
    EXPECT_EQ(ListDataSet(folder.File("gone.kr9")).failure, "Unable to open current file (code 2)");
    EXPECT_FALSE(ListDataSet(folder.File("absent.kr9")).opened);
}

TEST_F(DataSetTest, AnIndexNamesOnlyFilesOfItsOwnFolder) {
    WritePageFile("outside.rec", "1", "SLM", std::string(12, '\x01'));
    platform::MakeDirectories(folder.File("set"));
    WritePageFile("set/inside.rec", "1", "SLM", std::string(12, '\x02'));
    const RecordingSetup setup = SetupOf(kSoundLevelMeter, 1);
    for (const std::string& name :
         {std::string("../outside.rec"), folder.File("outside.rec"), std::string("a\\..\\b")}) {
        SCOPED_TRACE(name);
        folder.Write("set/set.kr9", "INDEX FILE\r\ninside.rec\r\n" + name + "\r\n");
        const DataSetListing listing = ListDataSet(folder.File("set/set.kr9"));
        ASSERT_TRUE(listing.failure);
        EXPECT_EQ(*listing.failure, "ERROR: Page file name not allowed (" + name + ").");
        EXPECT_EQ(listing.pages.size(), 1u);
        EXPECT_TRUE(Load("set/set.kr9", 1, setup).failure);
        EXPECT_EQ(buffer[20], 0xFF);
        EXPECT_FALSE(Load("set/set.kr9", 0, setup).failure);
        EXPECT_EQ(buffer[20], 0x02);
    }
    EXPECT_TRUE(Load("set/set.kr9", 7, setup).failure);
}

TEST_F(DataSetTest, RandomBytesNeverReadPastTheBufferOrCrash) {
    std::mt19937 random(2024);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int round = 0; round < 300; ++round) {
        std::string bytes(static_cast<size_t>(round % 7 == 0 ? 3 : 480 + round * 7), '\0');
        for (char& c : bytes)
            c = static_cast<char>(byte(random));
        if (round % 3 == 0)
            bytes.replace(0, 10, "INDEX FILE");
        if (round % 5 == 0)
            bytes.replace(0, 1, "\xBB");
        folder.Write("noise.kr9", bytes);
        const DataSetListing listing = ListDataSet(folder.File("noise.kr9"));
        for (size_t page = 0; page < listing.pages.size(); ++page) {
            const PageLoad load = Load("noise.kr9", 0, listing.Setup(page));
            ASSERT_LE(load.bytes, static_cast<long long>(records::kDataBufferSize));
        }
    }
}

TEST_F(DataSetTest, AZippedSetUnpacksIntoItsOwnFolderEveryEntryIncluded) {
    SKIP_WITHOUT("python3");
    SKIP_WITHOUT("zip");
    platform::MakeDirectories(folder.File("made"));
    platform::MakeDirectories(folder.File("lab"));
    ASSERT_EQ(acqtest::RunReference("layout_reference.py", "make made"), 0);
    // As the saver packs a set: its pages first, the index last under the archive's own name.
    ASSERT_EQ(acqtest::Shell("cd made && cp set.kr9 mon.kr9 && "
                             "zip -q ../lab/mon.kr9 page_a.rec page_b.rec mon.kr9"),
              0);
    ASSERT_EQ(::chmod(folder.File("lab/mon.kr9").c_str(), 0444), 0);

    ASSERT_TRUE(UnpackZippedDataSet(folder.File("lab/mon.kr9")).Unpacked());
    EXPECT_TRUE(platform::FileExists(folder.File("lab/page_a.rec")));
    EXPECT_FALSE(platform::FileExists(folder.File("page_a.rec")));
    EXPECT_FALSE(platform::FileExists(folder.File("lab/mon.zip")));
    const DataSetListing listing = ListDataSet(folder.File("lab/mon.kr9"));
    ASSERT_FALSE(listing.failure);
    EXPECT_EQ(listing.pages.size(), 2u);
    // What is no archive stays as it is.
    const Unpacking plain = UnpackZippedDataSet(folder.File("made/single.kr9"));
    EXPECT_FALSE(plain.isArchive);
    EXPECT_FALSE(plain.failure);
}

TEST_F(DataSetTest, AnArchiveThatFailsToUnpackIsLeftAsItWas) {
    // The index under the archive's own name first, then a damaged page, then a sound one.
    const std::string archive = folder.File("mon.kr9");
    const std::string damagedPage(600, 'D');
    {
        CZipArchive zip;
        ASSERT_TRUE(zip.Open(archive, CZipArchive::kCreate));
        for (const auto& [name, text] :
             {std::pair<std::string, std::string>{"mon.kr9", "INDEX FILE\r\na.rec\r\nb.rec\r\n"},
              {"a.rec", damagedPage},
              {"b.rec", std::string(600, 'B')}}) {
            CZipFileHeader header;
            header.SetFileName(name);
            ASSERT_TRUE(zip.OpenNewFile(header, 0));
            ASSERT_TRUE(zip.WriteNewFile(text.data(), text.size()));
            ASSERT_TRUE(zip.CloseNewFile());
        }
        zip.Close();
    }
    const std::string sound = folder.Read("mon.kr9");
    std::string damaged = sound;
    damaged[damaged.find(damagedPage) + 300] = 'X';
    folder.Write("mon.kr9", damaged);

    const Unpacking unpacking = UnpackZippedDataSet(archive);
    ASSERT_TRUE(unpacking.failure);
    EXPECT_NE(unpacking.failure->find("a.rec"), std::string::npos) << *unpacking.failure;
    EXPECT_EQ(folder.Read("mon.kr9"), damaged);
    for (const char* name : {"a.rec", "b.rec"})
        EXPECT_FALSE(platform::FileExists(folder.File(name))) << name;

    // Whatever the order of its entries, a sound archive still becomes its index.
    folder.Write("mon.kr9", sound);
    ASSERT_TRUE(UnpackZippedDataSet(archive).Unpacked());
    EXPECT_EQ(folder.Read("mon.kr9"), "INDEX FILE\r\na.rec\r\nb.rec\r\n");
    EXPECT_EQ(folder.Read("b.rec"), std::string(600, 'B'));
}

TEST_F(DataSetTest, AnArchiveWhoseEntriesCannotAllLandChangesNothing) {
    folder.Write("P0.rec", "older page");
    folder.Write("notes.txt", "notes");
    ASSERT_TRUE(platform::MakeDirectories(folder.File("sub")));
    // Each archive "set.kr9" has its own page zero first, then entries that clash.
    const std::vector<std::pair<const char*, std::vector<std::string>>> cases = {
        {"below the archive", {"set.kr9\\x.rec"}},
        {"a folder where the archive stands", {"set.kr9\\"}},
        {"below a file beside it", {"notes.txt\\x"}},
        {"a file, then a folder of that name", {"a", "a\\x"}},
        {"a folder, then a file of that name", {"a\\x", "a"}},
        {"a folder entry where another entry's file goes", {"b", "b\\"}},
        {"a file where a folder stands", {"sub"}},
    };
    for (const auto& [what, names] : cases) {
        SCOPED_TRACE(what);
        std::vector<std::pair<std::string, std::string>> entries{{"P0.rec", "page zero"}};
        for (const std::string& name : names)
            entries.emplace_back(name, name.ends_with('\\') ? "" : "x");
        WriteArchive("set.kr9", entries);
        const std::string archive = folder.Read("set.kr9");
        const std::vector<std::string> before = Names();

        const Unpacking unpacking = UnpackZippedDataSet(folder.File("set.kr9"));
        ASSERT_TRUE(unpacking.failure);
        EXPECT_NE(unpacking.failure->find(names.back()), std::string::npos) << *unpacking.failure;
        EXPECT_EQ(folder.Read("P0.rec"), "older page");
        EXPECT_EQ(folder.Read("set.kr9"), archive);
        EXPECT_EQ(Names(), before);
    }
}

TEST_F(DataSetTest, AnUnpackThatCannotWriteAnEntryChangesNoName) {
    WriteArchive("set.kr9", {{"P0.rec", "page zero"}, {"P1.rec", std::string(200000, 'p')}});
    folder.Write("P0.rec", "older page");
    const std::vector<std::string> before = Names();
    // A page too long, or even the mark of the unpack's stage.
    for (const rlim_t limit : {rlim_t{100000}, rlim_t{8}}) {
        SCOPED_TRACE(limit);
        {
            const FileSizeLimit fullDisk(limit);
            EXPECT_TRUE(UnpackZippedDataSet(folder.File("set.kr9")).failure);
        }
        EXPECT_EQ(folder.Read("P0.rec"), "older page");
        EXPECT_EQ(Names(), before);  // nothing half written left either
    }

    ASSERT_TRUE(UnpackZippedDataSet(folder.File("set.kr9")).Unpacked());
    EXPECT_EQ(folder.Read("P0.rec"), "page zero");
    EXPECT_EQ(Names(), (std::vector<std::string>{"P0.rec", "P1.rec", "set.kr9"}));
}

TEST_F(DataSetTest, AnArchiveEntryNeverLandsOutsideTheSetsFolder) {
    SKIP_WITHOUT("python3");
    platform::MakeDirectories(folder.File("lab"));
    ASSERT_EQ(acqtest::Shell("python3 -c \"import zipfile; z = zipfile.ZipFile('lab/evil.kr9', "
                             "'w'); z.writestr('ok.rec', 'x'); z.writestr('../escaped.rec', 'y'); "
                             "z.close()\""),
              0);
    const Unpacking unpacking = UnpackZippedDataSet(folder.File("lab/evil.kr9"));
    EXPECT_TRUE(unpacking.isArchive);
    ASSERT_TRUE(unpacking.failure);
    EXPECT_NE(unpacking.failure->find("escaped.rec"), std::string::npos) << *unpacking.failure;
    // Every name is checked before any entry is written.
    EXPECT_FALSE(platform::FileExists(folder.File("lab/ok.rec")));
    EXPECT_FALSE(platform::FileExists(folder.File("escaped.rec")));
}

TEST_F(DataSetTest, AFolderTheUserCannotWriteIsRefusedBeforeAnyNameChanges) {
    WriteArchive("set.kr9", {{"P0.rec", "page zero"}, {"sub\\x.rec", "x"}});
    folder.Write("P0.rec", "older page");
    ASSERT_TRUE(platform::MakeDirectories(folder.File("sub")));
    for (const char* name : {"", "set.kr9", "P0.rec", "sub"})
        ASSERT_EQ(::chown(folder.File(name).c_str(), kUser, kUser), 0) << name;
    ASSERT_EQ(::chmod(folder.File("sub").c_str(), 0555), 0);
    const std::vector<std::string> before = Names();

    Unpacking unpacking = UnpackAsUser(folder.File("set.kr9"));
    ASSERT_TRUE(unpacking.failure);
    EXPECT_NE(unpacking.failure->find("folder sub"), std::string::npos) << *unpacking.failure;
    EXPECT_EQ(folder.Read("P0.rec"), "older page");
    EXPECT_EQ(Names(), before);

    // The set's own folder.
    ASSERT_EQ(::chmod(folder.File("sub").c_str(), 0755), 0);
    ASSERT_EQ(::chmod(folder.Path().c_str(), 0555), 0);
    unpacking = UnpackAsUser(folder.File("set.kr9"));
    ASSERT_EQ(::chmod(folder.Path().c_str(), 0700), 0);
    ASSERT_TRUE(unpacking.failure);
    EXPECT_EQ(folder.Read("P0.rec"), "older page");
    EXPECT_EQ(Names(), before);

    ASSERT_TRUE(UnpackAsUser(folder.File("set.kr9")).Unpacked());
    EXPECT_EQ(folder.Read("P0.rec"), "page zero");
    EXPECT_EQ(folder.Read("sub/x.rec"), "x");
}

TEST_F(DataSetTest, AnUnpackWhoseNamesCannotAllBeGivenPutsBackEveryNameItChanged) {
    WriteArchive("set.kr9", {{"P0.rec", "page zero"},
                             {"new\\P1.rec", "page one"},
                             {"P2.rec", "page two"},
                             {"set.kr9", "INDEX FILE\r\n"}});
    folder.Write("P0.rec", "older page");
    const std::string archive = folder.Read("set.kr9");
    const std::vector<std::string> before = Names();

    // Another program makes a folder where the third file goes while the names are given.
    int moves = 0;
    Unpacking unpacking;
    {
        const zip::ScopedStageHooks hooks({.madeUnlocked = {}, .beforeMove = [&] {
                                               if (++moves == 3)
                                                   folder.Write("P2.rec/theirs", "theirs");
                                           }});
        unpacking = UnpackZippedDataSet(folder.File("set.kr9"));
    }
    ASSERT_TRUE(unpacking.failure);
    EXPECT_EQ(moves, 3);
    EXPECT_EQ(folder.Read("P0.rec"), "older page");
    EXPECT_EQ(folder.Read("set.kr9"), archive);
    std::filesystem::remove_all(folder.File("P2.rec"));
    EXPECT_EQ(Names(), before);  // the folder "new" gone too

    // A file that must not change is found out before any name changes.
    folder.Write("P2.rec", "older page two");
    if (!SetImmutable(folder.File("P2.rec"), true))
        GTEST_SKIP() << "no immutable files here";
    EXPECT_TRUE(UnpackZippedDataSet(folder.File("set.kr9")).failure);
    EXPECT_TRUE(SetImmutable(folder.File("P2.rec"), false));
    EXPECT_EQ(folder.Read("P0.rec"), "older page");
    EXPECT_EQ(folder.Read("set.kr9"), archive);
    EXPECT_FALSE(platform::FileExists(folder.File("new")));
}

TEST_F(DataSetTest, TheNamesOfTheUnpacksTemporariesAreNeitherTakenByEntriesNorTakenFromTheUser) {
    folder.Write("P0.rec", "older page");
    // An entry that would land in this very unpack's stage, or pass for one.
    const std::string temporary = platform::Format(".%d-0.part", static_cast<int>(::getpid()));
    for (const std::string& name :
         {temporary, temporary + "\\notes.txt", ".\\" + temporary + "\\"}) {
        SCOPED_TRACE(name);
        WriteArchive("set.kr9", {{"P0.rec", "page zero"}, {name, name.ends_with('\\') ? "" : "x"}});
        const std::string archive = folder.Read("set.kr9");
        const std::vector<std::string> before = Names();
        const Unpacking unpacking = UnpackZippedDataSet(folder.File("set.kr9"));
        ASSERT_TRUE(unpacking.failure);
        EXPECT_NE(unpacking.failure->find(temporary), std::string::npos) << *unpacking.failure;
        EXPECT_EQ(folder.Read("P0.rec"), "older page");
        EXPECT_EQ(folder.Read("set.kr9"), archive);
        EXPECT_EQ(Names(), before);
    }

    // The user's own files of that form stay, whether an unpack is refused or done.
    folder.Write(".1-1.part", "mine");
    folder.Write(".2-2.part/mine.txt", "mine too");
    const std::string damagedPage(600, 'D');
    WriteArchive("set.kr9", {{"P0.rec", "page zero"}, {"P1.rec", damagedPage}});
    std::string damaged = folder.Read("set.kr9");
    damaged[damaged.find(damagedPage) + 300] = 'X';
    folder.Write("set.kr9", damaged);
    EXPECT_TRUE(UnpackZippedDataSet(folder.File("set.kr9")).failure);
    EXPECT_EQ(folder.Read(".1-1.part"), "mine");
    EXPECT_EQ(folder.Read(".2-2.part/mine.txt"), "mine too");

    WriteArchive("set.kr9", {{"P0.rec", "page zero"}, {"P1.rec", "page one"}});
    ASSERT_TRUE(UnpackZippedDataSet(folder.File("set.kr9")).Unpacked());
    EXPECT_EQ(folder.Read(".1-1.part"), "mine");
    EXPECT_EQ(folder.Read(".2-2.part/mine.txt"), "mine too");
    EXPECT_EQ(folder.Read("P0.rec"), "page zero");
}

TEST_F(DataSetTest, APageTheSystemWillNotLinkIsStillReplacedAndPutBackWhenTheUnpackFails) {
    WriteArchive("set.kr9",
                 {{"P0.rec", "page zero"}, {"P1.rec", "page one"}, {"set.kr9", "INDEX FILE\r\n"}});
    const std::string archive = folder.Read("set.kr9");
    // Another user's page in the user's own folder, which a rename may replace but the system
    // will not link (protected hard links); any page where nothing can be linked and no two
    // names exchanged (FAT).
    for (const bool anotherUsersPage : {true, false}) {
        SCOPED_TRACE(anotherUsersPage ? "another user's page" : "no links, no exchange");
        folder.Write("P0.rec", "older page");
        folder.Write("set.kr9", archive);
        std::filesystem::remove(folder.File("P1.rec"));
        for (const char* name : {"", "set.kr9"})
            ASSERT_EQ(::chown(folder.File(name).c_str(), anotherUsersPage ? kUser : 0, 0), 0);
        const auto unpack = [&] {
            return anotherUsersPage ? UnpackAsUser(folder.File("set.kr9"))
                                    : UnpackZippedDataSet(folder.File("set.kr9"));
        };
        const std::vector<std::string> before = Names();
        int moves = 0;
        Unpacking unpacking;
        {
            // Another program makes a folder where the second page goes.
            const zip::ScopedStageHooks hooks({.madeUnlocked = {},
                                               .beforeMove =
                                                   [&] {
                                                       if (++moves == 2)
                                                           folder.Write("P1.rec/theirs", "theirs");
                                                   },
                                               .withoutLinkOrExchange = !anotherUsersPage});
            unpacking = unpack();
        }
        ASSERT_TRUE(unpacking.failure);
        EXPECT_EQ(folder.Read("P0.rec"), "older page");
        EXPECT_EQ(folder.Read("set.kr9"), archive);
        std::filesystem::remove_all(folder.File("P1.rec"));
        EXPECT_EQ(Names(), before);

        {
            const zip::ScopedStageHooks hooks(
                {.madeUnlocked = {}, .beforeMove = {}, .withoutLinkOrExchange = !anotherUsersPage});
            unpacking = unpack();
        }
        ASSERT_TRUE(unpacking.Unpacked()) << unpacking.failure.value_or("");
        EXPECT_EQ(folder.Read("P0.rec"), "page zero");
        EXPECT_EQ(folder.Read("set.kr9"), "INDEX FILE\r\n");
        EXPECT_EQ(Names(), (std::vector<std::string>{"P0.rec", "P1.rec", "set.kr9"}));
    }
}

TEST_F(DataSetTest, APageThatCannotBePutBackIsNamedAndKeptInTheStageUntilAnUnpackSucceeds) {
    WriteArchive("set.kr9", {{"P0.rec", "page zero"},
                             {"sub\\P1.rec", "page one"},
                             {"P2.rec", "page two"},
                             {"set.kr9", "INDEX FILE\r\n"}});
    const std::string archive = folder.Read("set.kr9");
    folder.Write("sub/P1.rec", "older page one");
    for (const char* name : {"", "set.kr9", "sub", "sub/P1.rec"})
        ASSERT_EQ(::chown(folder.File(name).c_str(), kUser, kUser), 0) << name;

    // While the names are given the third page's place is taken and the folder of the second
    // made read-only, so that its older file cannot go back.
    int moves = 0;
    Unpacking unpacking;
    {
        const zip::ScopedStageHooks hooks({.madeUnlocked = {}, .beforeMove = [&] {
                                               if (++moves != 3)
                                                   return;
                                               folder.Write("P2.rec/theirs", "theirs");
                                               ::chmod(folder.File("sub").c_str(), 0555);
                                           }});
        unpacking = UnpackAsUser(folder.File("set.kr9"));
    }
    ASSERT_TRUE(unpacking.failure);
    EXPECT_NE(unpacking.failure->find("sub/P1.rec could not be put back"), std::string::npos)
        << *unpacking.failure;
    EXPECT_EQ(folder.Read("set.kr9"), archive);
    EXPECT_EQ(folder.Read("sub/P1.rec"), "page one");
    std::vector<std::string> stages = Names();
    std::erase_if(stages, [](const std::string& name) { return !zip::IsTemporaryName(name); });
    ASSERT_EQ(stages.size(), 1u);
    EXPECT_NE(unpacking.failure->find(stages[0]), std::string::npos) << *unpacking.failure;
    std::vector<std::string> kept;
    for (const auto& file : std::filesystem::directory_iterator(folder.File(stages[0])))
        kept.push_back(folder.Read(stages[0] + "/" + file.path().filename().string()));
    EXPECT_NE(std::find(kept.begin(), kept.end(), "older page one"), kept.end());

    ASSERT_EQ(::chmod(folder.File("sub").c_str(), 0755), 0);
    std::filesystem::remove_all(folder.File("P2.rec"));
    ASSERT_TRUE(UnpackAsUser(folder.File("set.kr9")).Unpacked());
    EXPECT_EQ(Names(),
              (std::vector<std::string>{"P0.rec", "P2.rec", "set.kr9", "sub", "sub/P1.rec"}));
}

// Run by the test below in a program of its own: opens the zipped set as the program does.
TEST(DataSetChild, UnpacksAZippedSetWhenStartedByAnotherTest) {
    const char* path = std::getenv("KX9_UNPACK_SET");
    if (!path)
        GTEST_SKIP() << "run by DataSetTest.TwoProgramsOpeningOneZippedSetAtOnceBothReadIt";
    const Unpacking unpacking = UnpackZippedDataSet(path);
    EXPECT_TRUE(unpacking.Unpacked()) << unpacking.failure.value_or("no archive");
}

TEST_F(DataSetTest, TwoProgramsOpeningOneZippedSetAtOnceBothReadIt) {
    // As the saver packs a set: its pages, then the index under the archive's own name.
    const std::string set = folder.File("mon.kr9");
    WriteArchive("mon.kr9", {{"a.rec", PageFile("1", "SLM", std::string(12, '\x01'))},
                             {"b.rec", PageFile("1", "SLM", std::string(12, '\x02'))},
                             {"mon.kr9", "INDEX FILE\r\na.rec\r\nb.rec\r\n"}});
    // The other program unpacks the whole set between this one's look at the file and its
    // open of the archive.
    int other = -1;
    Unpacking unpacking;
    {
        const ScopedUnpackHook hook([&] { other = UnpackInAnotherProgram(set); });
        unpacking = UnpackZippedDataSet(set);
    }
    EXPECT_EQ(other, 0) << "the other program";
    EXPECT_FALSE(unpacking.failure) << *unpacking.failure;
    EXPECT_FALSE(unpacking.isArchive);
    const DataSetListing listing = ListDataSet(set);
    EXPECT_FALSE(listing.failure) << *listing.failure;
    EXPECT_EQ(listing.pages.size(), 2u);
    EXPECT_EQ(Names(), (std::vector<std::string>{"a.rec", "b.rec", "mon.kr9"}));

    // A file that still starts as an archive when its open fails is refused as before.
    folder.Write("broken.kr9", std::string("PK\x03\x04", 4) + std::string(100, 'x'));
    const Unpacking broken = UnpackZippedDataSet(folder.File("broken.kr9"));
    EXPECT_TRUE(broken.isArchive);
    ASSERT_TRUE(broken.failure);
    EXPECT_NE(broken.failure->find("zip error 18"), std::string::npos) << *broken.failure;
}
