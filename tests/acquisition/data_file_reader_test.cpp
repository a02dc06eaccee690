// Opening a data set for the operator: the page list, the setup it brings, the segments of a
// scheduled recording, the labels, and the messages of what cannot be read.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/fsuid.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <future>
#include <iterator>
#include <optional>
#include <system_error>
#include <thread>

#include "acquisition/data_file_reader.h"
#include "acquisition/path_watch.h"
#include "acquisition_test_support.h"
#include "platform/files.h"
#include "platform/win_types.h"
#include "support/test_env.h"

using namespace acquisition;

namespace {

class RecordingHost : public AcquisitionHost,
                      public acquisition::PageListView,
                      public acquisition::OperatorNotices {
public:
    PageBuffer DataBuffer() override { return {buffer, filled}; }
    void SetDataLoaded() override { dataLoaded = true; }
    void BeginDataFile(const std::string& path) override { calls.push_back("begin " + path); }
    void TakeRecordingSetup(const RecordingSetup& setup) override { setups.push_back(setup); }
    void Warn(const std::string& text, unsigned) override { warnings.push_back(text); }
    void LogScheduler(const std::string& text) override { warnings.push_back(text); }
    void BeginSchedulerLog(const std::string& text) override { warnings.push_back(text); }
    void BeginWaitCursor() override { ++waits; }
    void EndWaitCursor() override { --waits; }
    // The page list.
    int RowCount() const override { return static_cast<int>(pageRows.size()); }
    void Clear() override { pageRows.clear(); }
    void AppendRow(const std::string& text, int image) override {
        pageRows.emplace_back(text, image);
    }
    void SetRowText(int row, const std::string& text) override {
        pageRows.at(static_cast<size_t>(row)).first = text;
    }
    void SelectFirstRow() override { calls.push_back("select first"); }
    void ShowLastRow() override {}
    void SetPageStartText(const std::string& text) override { pageStart = text; }
    // A kind by the meter's number.
    static std::string Number(std::optional<records::RecordKind> kind) {
        return std::to_string(kind ? kind->ChannelMode() : -1);
    }
    void ShowLoadedDataViews(std::optional<records::RecordKind> kind) override {
        calls.push_back("views " + Number(kind));
    }
    void SetDataListCount(long long rows) override { dataRows = rows; }
    void OnPageLoaded(std::optional<records::RecordKind> kind, long long samples) override {
        calls.push_back("loaded " + Number(kind) + " " + std::to_string(samples));
    }
    void UpdateAudioLabelWindow(bool hasAudioLabels) override { audioShown = hasAudioLabels; }
    void CreateSchedulerLogWindow() override { calls.push_back("log window"); }
    void ShowSchedulerLogWindow(const std::string& path) override {
        calls.push_back("show log " + path);
    }

    std::vector<unsigned char> buffer = std::vector<unsigned char>(records::kDataBufferSize);
    size_t filled = records::kDataBufferSize;
    std::string currentFile;
    bool dataLoaded = false;
    std::vector<std::string> labels;
    records::SetupBlock block;
    std::vector<std::string> calls;
    std::vector<RecordingSetup> setups;
    std::vector<std::string> warnings;
    int waits = 0;
    std::vector<std::pair<std::string, int>> pageRows;
    std::string pageStart;
    long long dataRows = -1;
    bool audioShown = false;
};

// A set of one page of one record, its first level byte the set's mark.
std::string OnePageSet(char mark) {
    records::SetupBlock block;
    block.SetField(records::SetupBlock::kPagingSize, "1");
    return std::string(block.Bytes()) + "2024/01/01 00:00:00 " + std::string(12, mark);
}

// The process's inotify descriptors, by number.
std::vector<int> InotifyDescriptors() {
    std::vector<int> found;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
        std::error_code error;
        if (std::filesystem::read_symlink(entry.path(), error) == "anon_inode:inotify")
            found.push_back(std::stoi(entry.path().filename().string()));
    }
    std::sort(found.begin(), found.end());
    return found;
}

class DataFileReaderTest : public ::testing::Test {
protected:
    testenv::ScratchFolder folder;
    RecordingHost host;
    Recording recording;
    DataFileReader::Uses Uses() {
        return {
            .host = host,
            .pages = host,
            .recording = recording,
            .setupBlock = host.block,
            .notices = host,
            .currentFile = host.currentFile,
            .labels = host.labels,
        };
    }
    DataFileReader reader{Uses()};
};

// The file-system user of the calling thread, for the guard's life: root's passes every check.
class FileSystemUser {
public:
    explicit FileSystemUser(uid_t user) : m_previous(::setfsuid(user)) {}
    ~FileSystemUser() { ::setfsuid(m_previous); }
    FileSystemUser(const FileSystemUser&) = delete;
    FileSystemUser& operator=(const FileSystemUser&) = delete;

private:
    int m_previous;
};
constexpr uid_t kOrdinaryUser = 65534;

// Whether `fd` is an inotify descriptor of this process.
bool IsInotify(int fd) {
    std::error_code error;
    return std::filesystem::read_symlink("/proc/self/fd/" + std::to_string(fd), error) ==
           "anon_inode:inotify";
}

// The watches an inotify descriptor holds, as the system lists them: "inotify wd:... ino:...".
std::vector<std::string> Watches(int fd) {
    std::ifstream info("/proc/self/fdinfo/" + std::to_string(fd));
    std::vector<std::string> watches;
    for (std::string line; std::getline(info, line);)
        if (line.rfind("inotify wd:", 0) == 0)
            watches.push_back(line);
    return watches;
}

// The inotify descriptor that watches what `path` names, -1 when none does: told by what it
// watches, as those of readers before may still be closing and a number may be given again.
int InotifyDescriptorWatching(const std::string& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0)
        return -1;
    char inode[32];
    std::snprintf(inode, sizeof inode, " ino:%llx ",
                  static_cast<unsigned long long>(status.st_ino));
    for (const int fd : InotifyDescriptors())
        for (const std::string& watch : Watches(fd))
            if (watch.find(inode) != std::string::npos)
                return fd;
    return -1;
}

}  // namespace

TEST_F(DataFileReaderTest, AScheduledSetIsListedWithItsSegmentsButSwitchesNoSchedulerOn) {
    SKIP_WITHOUT("python3");
    ASSERT_EQ(acqtest::RunReference("layout_reference.py", "make ."), 0);
    folder.Write("set.lbl", "0#OCTAVE#x#y#door#\r\r\n0#OCTAVE#x#y#voice#Audio_1\r\r\n");
    reader.OpenSessionFile(folder.File("set.kr9"));

    EXPECT_EQ(host.currentFile, folder.File("set.kr9"));
    EXPECT_TRUE(host.dataLoaded);
    EXPECT_TRUE(host.warnings.empty());
    EXPECT_EQ(host.pageRows.size(), 4u);
    // Each page file's setup in turn; the frame keeps the last one's block.
    ASSERT_EQ(host.setups.size(), 2u);
    EXPECT_EQ(host.setups[1].date, "2024/03/09");
    EXPECT_EQ(host.block.Text(records::SetupBlock::kAcquisitionMode), "OCTAVE");
    EXPECT_EQ(host.dataRows, 3);
    EXPECT_EQ(host.waits, 0);
    EXPECT_EQ(host.labels.size(), 2u);
    EXPECT_TRUE(host.audioShown);

    // The recording times its samples by the file's schedule: 60 s at 1 s a spectrum.
    EXPECT_TRUE(recording.IsScheduled());
    EXPECT_EQ(recording.SelectedSegment(), 0);
    EXPECT_EQ(recording.Time().SegmentTexts().front(), "0#2024/03/09 14:05:07 ");
    EXPECT_EQ(recording.Time().SegmentStarts(), (std::vector<unsigned>{0, 0, 0}));
    EXPECT_EQ(recording.Time().FormatSampleTime(2, 1), "2024/03/09 14:05:09");
    EXPECT_EQ(recording.Time().FormatSampleTime(0, 60), "2024/03/09 14:15:07");
}

TEST_F(DataFileReaderTest, AnAcquisitionThatIsNoWholeNumberOfSpectraKeepsItsFraction) {
    struct Case {
        long long acquisitionSeconds;
        std::string segment;
        unsigned start;
    };
    // 2 s spectra: 7 s are 3.5 spectra, 20,001 s are 10,000.5, beyond the record capacity.
    for (const Case& c : {Case{7, "995#2024/03/09 14:05:07#2024/03/09 14:06:07", 0},
                          Case{20001, "999#2024/03/09 14:05:07", 1000}}) {
        SCOPED_TRACE(c.acquisitionSeconds);
        records::SetupBlock block;
        block.SetField(records::SetupBlock::kModel, "QS4160");
        block.SetField(records::SetupBlock::kSpectrumTime, "2s");
        block.SetField(records::SetupBlock::kAcquisitionMode, "OCTAVE");
        block.SetField(records::SetupBlock::kPagingSize, "1000");
        folder.Write(
            "frac.kr9",
            records::PageFileHead(block, records::ScheduleTime::FromSeconds(c.acquisitionSeconds),
                                  records::ScheduleTime::FromSeconds(60), "2024/03/09 14:05:07") +
                std::string(26, '\0'));
        ASSERT_EQ(reader.ReadDumpFile(folder.File("frac.kr9")), 0);
        const Timebase& time = recording.Time();
        ASSERT_EQ(time.SegmentTexts().size(), 2u);
        EXPECT_EQ(time.SegmentTexts()[1], c.segment);
        EXPECT_EQ(time.SegmentStarts(), (std::vector<unsigned>{0, c.start}));
    }
}

TEST_F(DataFileReaderTest, ASingleFileTakesItsDateFromItsFirstPageAndLoadsThePageAsked) {
    SKIP_WITHOUT("python3");
    ASSERT_EQ(acqtest::RunReference("layout_reference.py", "make ."), 0);
    host.labels = {"stale"};
    ASSERT_EQ(reader.ReadDumpFile(folder.File("single.kr9")), 0);
    ASSERT_EQ(host.setups.size(), 1u);
    EXPECT_EQ(host.setups[0].date, "2024/01/31");
    EXPECT_EQ(host.setups[0].time, "23:59:50");
    EXPECT_EQ(host.pageRows.size(), 6u);
    EXPECT_FALSE(recording.IsScheduled());

    ASSERT_EQ(reader.OpenDataFile(folder.File("single.kr9"), 1, 1), 0);
    EXPECT_EQ(recording.SelectedPage(), 1);
    EXPECT_EQ(recording.PageStartText(), "2024/01/31 23:59:51 ");
    EXPECT_EQ(recording.View(host.buffer).Value(1, 0), 453);
    EXPECT_EQ(recording.SelectedRecord(), 0);
    EXPECT_TRUE(host.labels.empty());
    EXPECT_FALSE(host.audioShown);
}

TEST_F(DataFileReaderTest, ASetAndItsLabelsThatChangeBetweenPagesAreReadAgain) {
    const std::string path = folder.File("set.kr9");
    folder.Write("set.kr9", OnePageSet('\x01'));
    ASSERT_EQ(reader.ReadDumpFile(path), 0);
    const auto mark = [&] {
        EXPECT_EQ(reader.OpenDataFile(path, 0, 0), 0);
        return static_cast<int>(host.buffer[20 + 2]);
    };
    EXPECT_EQ(mark(), 1);
    EXPECT_TRUE(host.labels.empty());
    folder.Write("set.lbl", "1#SLM5#x#y#a#\r\r\n");
    EXPECT_EQ(mark(), 1);
    EXPECT_EQ(host.labels, std::vector<std::string>{"1#SLM5#x#y#a#"});
    ASSERT_TRUE(platform::WriteFileAtomic(path, OnePageSet('\x02')));
    EXPECT_EQ(mark(), 2);

    // Rewritten in place with its size and times kept: where the set is watched, that is heard
    // of whatever the times say.
    if (PathWatch probe; probe.Watch({path})) {
        struct stat kept {};
        ASSERT_EQ(::stat(path.c_str(), &kept), 0);
        std::fstream(path, std::ios::in | std::ios::out) << OnePageSet('\x03');
        const struct timespec times[2] = {kept.st_atim, kept.st_mtim};
        ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
        EXPECT_EQ(mark(), 3);
    }
}

TEST_F(DataFileReaderTest, SwitchingSetsAndHearingAChangeKeepTheReadersOneInotifyDescriptor) {
    folder.Write("a/one.kr9", OnePageSet('\x01'));
    folder.Write("b/two.kr9", OnePageSet('\x02'));
    // Those of readers before, which may still be closing, are left out of the count.
    const std::vector<int> others = InotifyDescriptors();
    const auto readersDescriptors = [&] {
        const std::vector<int> held = InotifyDescriptors();
        std::vector<int> own;
        std::set_difference(held.begin(), held.end(), others.begin(), others.end(),
                            std::back_inserter(own));
        return own;
    };
    reader.OpenSessionFile(folder.File("a/one.kr9"));
    const std::vector<int> own = readersDescriptors();
    if (own.empty())
        GTEST_SKIP() << "the scratch folder's file system is not watched";
    ASSERT_EQ(own.size(), 1u);
    // A mark on the open descriptor itself, which one made again under its number would lack.
    ASSERT_EQ(::fcntl(own[0], F_SETOWN, ::getpid()), 0);
    const auto expectTheSameDescriptor = [&](const char* after) {
        SCOPED_TRACE(after);
        EXPECT_EQ(readersDescriptors(), own);
        EXPECT_EQ(::fcntl(own[0], F_GETOWN), ::getpid());
    };

    reader.OpenSessionFile(folder.File("b/two.kr9"));
    EXPECT_EQ(host.buffer[20 + 2], 2);
    expectTheSameDescriptor("a set in another folder");
    // Shown only when heard of: nothing else looks for a label file that was not there.
    folder.Write("b/two.lbl", "1#SLM5#x#y#a#\r\r\n");
    ASSERT_EQ(reader.OpenDataFile(folder.File("b/two.kr9"), 0, 0), 0);
    EXPECT_EQ(host.labels, std::vector<std::string>{"1#SLM5#x#y#a#"});
    expectTheSameDescriptor("a change heard");
    reader.OpenSessionFile(folder.File("a/one.kr9"));
    EXPECT_EQ(host.buffer[20 + 2], 1);
    EXPECT_TRUE(host.labels.empty());
    expectTheSameDescriptor("the first set again");
}

TEST_F(DataFileReaderTest, ALabelFileRewrittenThroughASharedMappingShowsItsNewLabelAtTheNextPage) {
    const std::string path = folder.File("set.kr9");
    const std::string labels = "1#SLM5#x#y#a#\r\r\n";
    folder.Write("set.kr9", OnePageSet('\x01'));
    folder.Write("set.lbl", labels);
    reader.OpenSessionFile(path);
    ASSERT_EQ(host.labels, std::vector<std::string>{"1#SLM5#x#y#a#"});

    const int fd = ::open(folder.File("set.lbl").c_str(), O_RDWR | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    void* const mapped = ::mmap(nullptr, labels.size(), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    ::close(fd);
    ASSERT_NE(mapped, MAP_FAILED);
    // Nothing of it is heard before the mapping ends, which closes the file for writing.
    static_cast<char*>(mapped)[labels.find('a')] = 'b';
    EXPECT_EQ(::msync(mapped, labels.size(), MS_SYNC), 0);
    EXPECT_EQ(reader.OpenDataFile(path, 0, 0), 0);
    ::munmap(mapped, labels.size());
    EXPECT_EQ(host.labels, std::vector<std::string>{"1#SLM5#x#y#b#"});
}

TEST_F(DataFileReaderTest, ASetWhoseFolderCannotBeWatchedIsLookedAtAndTheNextSetIsWatchedAgain) {
    const std::string watched = folder.File("a/set.kr9");
    const std::string locked = folder.File("locked/set.kr9");
    folder.Write("a/set.kr9", OnePageSet('\x01'));
    folder.Write("locked/set.kr9", OnePageSet('\x02'));
    folder.Write("locked/set.lbl", "1#SLM5#x#y#a#\r\r\n");
    reader.OpenSessionFile(watched);
    const int own = InotifyDescriptorWatching(folder.File("a"));
    if (own < 0)
        GTEST_SKIP() << "the scratch folder's file system is not watched";
    const size_t watches = Watches(own).size();
    // A mark on the open descriptor itself, which one made again under its number would lack.
    ASSERT_EQ(::fcntl(own, F_SETOWN, ::getpid()), 0);

    // A folder whose names can be used but not listed, as an ordinary user meets it: no watch
    // can be had on it.
    ASSERT_EQ(::chmod(folder.Path().c_str(), 0711), 0);
    ASSERT_EQ(::chmod(folder.File("locked").c_str(), 0311), 0);
    {
        const FileSystemUser ordinary(kOrdinaryUser);
        reader.OpenSessionFile(locked);
    }
    EXPECT_EQ(host.buffer[20 + 2], 2);
    EXPECT_EQ(host.labels, std::vector<std::string>{"1#SLM5#x#y#a#"});
    EXPECT_EQ(Watches(own), std::vector<std::string>{}) << "the set before left watched";
    folder.Write("locked/set.lbl", "1#SLM5#x#y#b#\r\r\n");
    {
        const FileSystemUser ordinary(kOrdinaryUser);
        ASSERT_EQ(reader.OpenDataFile(locked, 0, 0), 0);
    }
    EXPECT_EQ(host.labels, std::vector<std::string>{"1#SLM5#x#y#b#"});

    reader.OpenSessionFile(watched);
    EXPECT_EQ(host.buffer[20 + 2], 1);
    EXPECT_EQ(InotifyDescriptorWatching(folder.File("a")), own);
    EXPECT_EQ(::fcntl(own, F_GETOWN), ::getpid()) << "another descriptor under its number";
    EXPECT_EQ(Watches(own).size(), watches);
}

TEST_F(DataFileReaderTest, ALabelFileThatCannotBeReadShowsNoLabelsUntilItCanBe) {
    const std::string path = folder.File("set.kr9");
    const std::string labelPath = folder.File("set.lbl");
    folder.Write("set.kr9", OnePageSet('\x01'));
    folder.Write("set.lbl", "1#SLM5#x#y#a#\r\r\n");
    reader.OpenSessionFile(path);
    ASSERT_EQ(host.labels, std::vector<std::string>{"1#SLM5#x#y#a#"});
    const auto page = [&] {
        EXPECT_EQ(reader.OpenDataFile(path, 0, 0), 0);
        return host.labels;
    };

    ASSERT_TRUE(platform::RemoveFile(labelPath));
    ASSERT_TRUE(platform::MakeDirectories(labelPath));
    EXPECT_TRUE(page().empty()) << "a folder";

    ASSERT_TRUE(std::filesystem::remove(labelPath));
    ASSERT_EQ(::mkfifo(labelPath.c_str(), 0644), 0);
    // A reader that waited for a writer would wait for ever: one comes after a while, and so
    // tells.
    std::promise<void> paged;
    bool rescued = false;
    std::thread rescuer([&, done = paged.get_future()] {
        if (done.wait_for(std::chrono::seconds(5)) == std::future_status::ready)
            return;
        rescued = true;
        const int writer = ::open(labelPath.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        if (writer >= 0)
            ::close(writer);
    });
    EXPECT_TRUE(page().empty()) << "a FIFO";
    paged.set_value();
    rescuer.join();
    EXPECT_FALSE(rescued) << "the reader waited for a FIFO's writer";

    ASSERT_TRUE(platform::RemoveFile(labelPath));
    folder.Write("set.lbl", "1#SLM5#x#y#b#\r\r\n");
    ASSERT_EQ(::chmod(labelPath.c_str(), 0), 0);
    ASSERT_EQ(::chmod(folder.Path().c_str(), 0755), 0);
    const auto pageForAnOrdinaryUser = [&] {
        const FileSystemUser ordinary(kOrdinaryUser);
        return page();
    };
    EXPECT_TRUE(pageForAnOrdinaryUser().empty()) << "a file without rights";
    ASSERT_EQ(::chmod(labelPath.c_str(), 0644), 0);
    EXPECT_EQ(pageForAnOrdinaryUser(), std::vector<std::string>{"1#SLM5#x#y#b#"});
}

TEST_F(DataFileReaderTest,
       AReadersEndClosesItsInotifyDescriptorOnAThreadOrAtOnceWhereNoneCanBeMade) {
    folder.Write("set.kr9", OnePageSet('\x01'));
    // A reader of its own that opened the set; its inotify descriptor, -1 when it holds none.
    const auto openedBy = [&](std::optional<DataFileReader>& opener) {
        opener.emplace(Uses());
        opener->OpenSessionFile(folder.File("set.kr9"));
        return InotifyDescriptorWatching(folder.Path());
    };
    std::optional<DataFileReader> ended;
    const int fd = openedBy(ended);
    if (fd < 0)
        GTEST_SKIP() << "the scratch folder's file system is not watched";
    ended.reset();
    for (int wait = 0; wait < 500 && IsInotify(fd); ++wait)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_FALSE(IsInotify(fd)) << "still open 5 s after the reader's end";

    // A process of an ordinary user allowed no more of them makes no thread.
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::optional<DataFileReader> last;
        const int held = openedBy(last);
        const struct rlimit none = {0, 0};
        if (held < 0 ||
            (::geteuid() == 0 && ::setresuid(kOrdinaryUser, kOrdinaryUser, kOrdinaryUser) != 0) ||
            ::setrlimit(RLIMIT_NPROC, &none) != 0)
            ::_exit(2);
        try {
            std::thread([] {}).join();
            ::_exit(2);
        } catch (const std::system_error&) {
        }
        last.reset();
        ::_exit(::fcntl(held, F_GETFD) == -1 && errno == EBADF ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
    if (WEXITSTATUS(status) == 2)
        GTEST_SKIP() << "no process here can be refused a thread";
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the descriptor left open";
}

TEST_F(DataFileReaderTest, WhatCannotBeReadIsSaidOnceAndLeavesNoData) {
    EXPECT_EQ(reader.ReadDumpFile(""), -1);
    EXPECT_EQ(reader.ReadDumpFile(folder.File("absent.kr9")), 0);
    EXPECT_TRUE(host.warnings.empty());

    folder.Write("empty.kr9", "");
    EXPECT_EQ(reader.ReadDumpFile(folder.File("empty.kr9")), -1);
    folder.Write("index.kr9", "INDEX FILE\r\n");
    EXPECT_EQ(reader.ReadDumpFile(folder.File("index.kr9")), 0);
    EXPECT_EQ(host.warnings,
              (std::vector<std::string>{"WARNING: File Empty.", "WARNING: No data found."}));
    EXPECT_TRUE(host.pageRows.empty());

    host.warnings.clear();
    EXPECT_EQ(reader.OpenDataFile(folder.File("index.kr9"), 0, 0), -1);
    EXPECT_EQ(host.warnings, std::vector<std::string>{"ERROR: Unable to open file"});
    EXPECT_EQ(host.waits, 0);
    EXPECT_EQ(recording.SampleCount(), 0);

    // A memory dump is no data set.
    reader.OpenSessionFile(folder.File("QS4160_DumpFile.kx9"));
    EXPECT_TRUE(host.calls.empty());
}

TEST_F(DataFileReaderTest, ASetOrAPageFileThatIsAFifoIsAnEmptyFileAtOnce) {
    const std::string fifoSet = folder.File("fifo.kr9");
    const std::string index = folder.File("set.kr9");
    folder.Write("a.rec", OnePageSet('\x01'));
    folder.Write("set.kr9", "INDEX FILE\r\na.rec\r\nfifo.rec\r\n");
    ASSERT_EQ(::mkfifo(fifoSet.c_str(), 0644), 0);
    ASSERT_EQ(::mkfifo(folder.File("fifo.rec").c_str(), 0644), 0);
    acqtest::LateFifoWriter writer({fifoSet, folder.File("fifo.rec")});

    reader.OpenSessionFile(fifoSet);
    EXPECT_EQ(reader.ReadDumpFile(fifoSet), -1);
    reader.OpenSessionFile(index);
    EXPECT_EQ(host.pageRows.size(), 2u) << "the page before the FIFO is listed";
    EXPECT_EQ(reader.OpenDataFile(index, 0, 1), -1);
    EXPECT_EQ(reader.OpenDataFile(index, 0, 0), 0);
    EXPECT_FALSE(writer.Stop()) << "the reader waited for a FIFO's writer";
    EXPECT_EQ(host.warnings, std::vector<std::string>(4, "WARNING: File Empty."));
    EXPECT_EQ(host.buffer[20 + 2], 1);
}

TEST_F(DataFileReaderTest, AnArchiveThatCannotBeUnpackedSaysWhyAndReadsNothing) {
    SKIP_WITHOUT("python3");
    // A set whose second entry would land outside its folder, and one whose data is damaged.
    ASSERT_EQ(acqtest::Shell("python3 -c \"import zipfile\n"
                             "z = zipfile.ZipFile('evil.kr9', 'w')\n"
                             "z.writestr('evil.kr9', 'INDEX FILE\\r\\n')\n"
                             "z.writestr('../escaped.rec', 'y')\n"
                             "z.close()\n"
                             "z = zipfile.ZipFile('damaged.kr9', 'w', zipfile.ZIP_DEFLATED)\n"
                             "z.writestr('damaged.kr9', 'INDEX FILE\\r\\n' * 400)\n"
                             "z.close()\n"
                             "b = bytearray(open('damaged.kr9', 'rb').read())\n"
                             "b[45:55] = bytes(10)\n"
                             "open('damaged.kr9', 'wb').write(b)\""),
              0);
    // The zip library's reason names the entry or the archive.
    for (const auto& [name, named] :
         {std::pair{"evil.kr9", "escaped.rec"}, std::pair{"damaged.kr9", "damaged.kr9"}}) {
        SCOPED_TRACE(name);
        host.warnings.clear();
        reader.OpenSessionFile(folder.File(name));
        ASSERT_EQ(host.warnings.size(), 1u);
        EXPECT_NE(host.warnings[0].find(named), std::string::npos);
        EXPECT_EQ(host.warnings[0].rfind("ERROR: Unable to unpack the archive (", 0), 0u)
            << host.warnings[0];
        EXPECT_TRUE(host.pageRows.empty());
        EXPECT_TRUE(host.setups.empty());
        EXPECT_FALSE(host.dataLoaded);
    }
    EXPECT_FALSE(platform::FileExists(folder.File("../escaped.rec")));
}

TEST_F(DataFileReaderTest, LabelsAreSavedBesideTheCurrentFileOrTheOperatorHearsWhyNot) {
    host.currentFile = folder.File("mon.kr9");
    host.labels = {"1#SLM5#x#y#a#"};
    ASSERT_TRUE(reader.SaveLabelFile());
    EXPECT_EQ(folder.Read("mon.lbl"), "1#SLM5#x#y#a#\r\r\n");
    EXPECT_TRUE(host.warnings.empty());

    ASSERT_TRUE(platform::MakeDirectories(folder.File("dir.lbl")));
    for (const auto& [current, why] :
         {std::pair{std::string(), std::string("no data file is open")},
          std::pair{folder.File("noextension"), folder.File("noextension") + " has no extension"},
          std::pair{folder.File("dir.kr9"),
                    folder.File("dir.lbl") + ": " + std::strerror(EISDIR)}}) {
        SCOPED_TRACE(current);
        host.currentFile = current;
        host.warnings.clear();
        EXPECT_FALSE(reader.SaveLabelFile());
        EXPECT_EQ(host.warnings,
                  std::vector<std::string>{"ERROR: The labels were not saved (" + why + ")."});
    }
}
