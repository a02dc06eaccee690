// acquisition_bench [--megabytes M] [--runs R]
// Writes a recording of M million data bytes (3 by default; the operators' recordings are 1
// to 100) twice, as an indexed set of third-octave page files and as one single file of
// octave pages, then opens each page by page the way the program opens its first set (the
// listing of the pages, then every page loaded with its labels into a new data buffer) and,
// in the same run, reads the same bytes two other ways: read() of each file whole through a
// buffer of the data buffer's size, and cat of the files 20 times over (the names handed to
// xargs in a list file, as one shell command line cannot hold a large set's; one cat as long
// as the names fit in one). Prints the throughput of each (best of R runs, 15 by default) and
// the ratios "ratio <name> <value>", the reader's speed over the other's (above 1: the reader
// is faster).
// Then the reader's life, as the program keeps one reader: two copies of the single file, each
// in a folder of its own beside a label file, opened in turn 20 times (listed, every page
// loaded) by one reader, whose making, switches from set to set and end are on its clock,
// against the same 20 openings each by a reader of its own made and ended off the clock, as the
// single file is read above. Each opening is made by both sides one after the other, the first
// of the two turning, into the one data buffer. "ratio reader_life_vs_single_file" is the median
// of 4R runs' ratios (above 1: the reader's life costs nothing), printed with the load average
// before and after. It works below $TMPDIR, else /dev/shm where there is one, else /tmp: on
// tmpfs the reader's own work is compared, not the disk's. A side that fails (a page the reader
// refuses, a file that cannot be read whole, a cat that does not finish well) is named on
// standard error, its ratios are not printed and the bench exits with 1; bad arguments exit
// with 2.

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "acquisition/data_file_reader.h"
#include "bench_recording.h"
#include "bench_stats.h"
#include "platform/text.h"
#include "records/record_layout.h"

namespace fs = std::filesystem;
using namespace acquisition;

namespace {

constexpr double kDefaultMegabytes = 3;
constexpr double kLargestMegabytes = 1000;
constexpr int kRepeats = 20;
constexpr int kDefaultRuns = 15;
constexpr int kLifeOpenings = 20;
// Runs of the reader's life per run of the throughputs: its ratio is a median, theirs a best.
constexpr int kLifeRunsPerRun = 4;

// The program's side without a screen: every call that would show something does nothing.
class QuietHost : public AcquisitionHost,
                  public acquisition::PageListView,
                  public acquisition::OperatorNotices {
public:
    PageBuffer DataBuffer() override { return {m_buffer, m_filled}; }
    void SetDataLoaded() override {}
    void BeginDataFile(const std::string&) override {}
    void TakeRecordingSetup(const RecordingSetup&) override {}
    void Warn(const std::string& text, unsigned) override {
        std::fprintf(stderr, "warning: %s\n", text.c_str());
        ++m_warnings;
    }
    void LogScheduler(const std::string&) override {}
    void BeginSchedulerLog(const std::string&) override {}
    void BeginWaitCursor() override {}
    void EndWaitCursor() override {}
    // The page list.
    int RowCount() const override { return m_pages; }
    void Clear() override { m_pages = 0; }
    void AppendRow(const std::string&, int) override { ++m_pages; }
    void SetRowText(int, const std::string&) override {}
    void SelectFirstRow() override {}
    void ShowLastRow() override {}
    void SetPageStartText(const std::string&) override {}
    void ShowLoadedDataViews(std::optional<records::RecordKind>) override {}
    void SetDataListCount(long long rows) override { m_rows += rows; }
    void OnPageLoaded(std::optional<records::RecordKind>, long long) override {}
    void UpdateAudioLabelWindow(bool) override {}
    void CreateSchedulerLogWindow() override {}
    void ShowSchedulerLogWindow(const std::string&) override {}

    DataFileReader::Uses ReaderUses(acquisition::Recording& recording, records::SetupBlock& block) {
        return {
            .host = *this,
            .pages = *this,
            .recording = recording,
            .setupBlock = block,
            .notices = *this,
            .currentFile = m_file,
            .labels = m_labels,
        };
    }

    int PageRows() const { return m_pages; }
    long long Rows() const { return m_rows; }
    int Warnings() const { return m_warnings; }

private:
    std::vector<unsigned char> m_buffer = std::vector<unsigned char>(records::kDataBufferSize);
    size_t m_filled = records::kDataBufferSize;
    std::string m_file;
    std::vector<std::string> m_labels;
    int m_pages = 0;
    long long m_rows = 0;
    int m_warnings = 0;
};

records::SetupBlock Setup(const char* mode, long long pageSize) {
    records::SetupBlock block;
    block.SetField(records::SetupBlock::kModel, "QS4160_L0$1");
    block.SetField(records::SetupBlock::kAcquisitionMode, mode);
    block.SetField(records::SetupBlock::kPagingSize, std::to_string(pageSize));
    return block;
}

void Write(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

struct Workload {
    std::string name;
    std::string ratioName;
    fs::path path;
    std::vector<fs::path> files;
    int pages = 0;
    long long bytes = 0;
};

Workload MakeIndexedSet(const fs::path& folder, long long recordingBytes) {
    Workload set{"indexed set, third octave", "indexed", folder / "set.kr9", {folder / "set.kr9"}};
    const long long pageSize = 10000;
    const std::string head(Setup("THIRD OCTAV", pageSize).Bytes());
    std::vector<std::string> names;
    for (const std::string& page : bench::RecordingPages(
             records::RecordLayout(records::RecordKind::OfModeText("THIRD OCTAV")), pageSize,
             recordingBytes)) {
        names.push_back("RecFile_" + std::to_string(names.size()) + ".rec");
        Write(folder / names.back(), head + page);
        set.files.push_back(folder / names.back());
    }
    Write(set.path, records::IndexFileText(names));
    set.pages = static_cast<int>(names.size());
    return set;
}

Workload MakeSingleFile(const fs::path& folder, long long recordingBytes) {
    Workload single{
        "single file, octave", "single_file", folder / "single.kr9", {folder / "single.kr9"}};
    const long long pageSize = 5000;
    std::string bytes(Setup("OCTAVE", pageSize).Bytes());
    for (const std::string& page :
         bench::RecordingPages(records::RecordLayout(records::RecordKind::OfModeText("OCTAVE")),
                               pageSize, recordingBytes)) {
        bytes += page;
        ++single.pages;
    }
    Write(single.path, bytes);
    return single;
}

// Two sets for one reader's life: copies of the single file, each in its own folder beside a
// label file, so that a switch moves every watch the reader holds.
std::array<std::string, 2> MakeLifeSets(const fs::path& folder, const Workload& single) {
    std::array<std::string, 2> sets;
    for (size_t set = 0; set < sets.size(); ++set) {
        const fs::path place = folder / ("life_" + std::to_string(set));
        fs::create_directories(place);
        fs::copy_file(single.path, place / single.path.filename());
        std::string labels;
        for (int label = 0; label < 4; ++label)
            labels += std::to_string(label * 100) + "#OCTAVE#x#y#label " + std::to_string(label) +
                      "#" + std::string(records::kDoubleCrLineEnd);
        Write(fs::path(place / single.path.filename()).replace_extension(".lbl"), labels);
        sets[set] = (place / single.path.filename()).string();
    }
    return sets;
}

double Seconds(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// As the program reads a set it opens: its pages listed, then each loaded; the pages loaded.
int ReadSet(DataFileReader& reader, const QuietHost& host, const std::string& path) {
    if (reader.ReadDumpFile(path) != 0)
        return 0;
    int loaded = 0;
    const int pages = host.PageRows() / 2;
    for (int page = 0; page < pages; ++page)
        if (reader.OpenDataFile(path, page, page) == 0)
            ++loaded;
    return loaded;
}

// One run of the reader's life beside readers of their own: each opening made by both sides one
// after the other, the first of the two turning, so that both meet the machine's moments alike.
struct LifeRun {
    double life = 0;
    double perOpening = 0;
    int lifePages = 0;
    int perOpeningPages = 0;
};

LifeRun RunLife(QuietHost& host, const std::array<std::string, 2>& sets, int run) {
    LifeRun result;
    acquisition::Recording lifeState;
    records::SetupBlock lifeBlock;
    std::optional<DataFileReader> life;
    result.life += Seconds([&] { life.emplace(host.ReaderUses(lifeState, lifeBlock)); });
    for (int opening = 0; opening < kLifeOpenings; ++opening) {
        const std::string& set = sets[static_cast<size_t>(opening) % sets.size()];
        const auto byLife = [&] {
            result.life += Seconds([&] { result.lifePages += ReadSet(*life, host, set); });
        };
        const auto byOwnReader = [&] {
            acquisition::Recording state;
            records::SetupBlock block;
            DataFileReader reader(host.ReaderUses(state, block));
            result.perOpening +=
                Seconds([&] { result.perOpeningPages += ReadSet(reader, host, set); });
        };
        if ((opening / 2 + run) % 2 == 0) {
            byLife();
            byOwnReader();
        } else {
            byOwnReader();
            byLife();
        }
    }
    result.life += Seconds([&] { life.reset(); });
    return result;
}

// The least a reader can do: each file opened and read whole through `buffer`, which is no
// larger than the program's data buffer, as the reader's pages go into that. False, and the
// file named, when one cannot be read whole.
bool ReadRaw(const std::vector<fs::path>& files, std::vector<char>& buffer) {
    for (const fs::path& file : files) {
        const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
        const auto size = static_cast<size_t>(fs::file_size(file));
        size_t done = 0;
        while (fd >= 0 && done < size) {
            const ssize_t got = ::read(fd, buffer.data(), std::min(buffer.size(), size - done));
            if (got <= 0)
                break;
            done += static_cast<size_t>(got);
        }
        if (fd >= 0)
            ::close(fd);
        if (done != size) {
            std::fprintf(stderr, "cannot read %s\n", file.c_str());
            return false;
        }
    }
    return true;
}

// `xargs -0 cat` with the names of `list` on its input and its output thrown away; true
// when every cat it ran read all its files.
bool CatFromList(const fs::path& list) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, list.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    char xargs[] = "xargs";
    char nul[] = "-0";
    char cat[] = "cat";
    char* arguments[] = {xargs, nul, cat, nullptr};
    pid_t child = -1;
    const int spawned = ::posix_spawnp(&child, xargs, &actions, nullptr, arguments, environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    const bool ran = spawned == 0 && ::waitpid(child, &status, 0) == child;
    if (ran && WIFEXITED(status) && WEXITSTATUS(status) == 0)
        return true;
    std::fprintf(stderr, "xargs -0 cat <%s did not finish well (%s)\n", list.c_str(),
                 !ran                ? "not started"
                 : WIFEXITED(status) ? platform::Format("exit %d", WEXITSTATUS(status)).c_str()
                                     : "killed");
    return false;
}

// The bench's arguments; `bad` names the first one that is wrong.
struct Arguments {
    double megabytes = kDefaultMegabytes;
    int runs = kDefaultRuns;
    std::string bad;
};

Arguments ReadArguments(int argc, char** argv) {
    Arguments arguments;
    for (int i = 1; i < argc && arguments.bad.empty(); i += 2) {
        const std::string name = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        char* end = nullptr;
        if (name == "--megabytes" && value) {
            arguments.megabytes = platform::StrToD(value, &end);
            if (end == value || *end || !(arguments.megabytes >= 0.01) ||
                arguments.megabytes > kLargestMegabytes)
                arguments.bad = platform::Format("--megabytes %s: give a size from 0.01 to %.0f",
                                                 value, kLargestMegabytes);
        } else if (name == "--runs" && value) {
            arguments.runs = platform::Atoi(value);
            if (arguments.runs < 1)
                arguments.bad = platform::Format("--runs %s: give a count from 1 up", value);
        } else {
            arguments.bad = name + (value ? "" : " without its value");
        }
    }
    return arguments;
}

}  // namespace

int main(int argc, char** argv) {
    const Arguments arguments = ReadArguments(argc, argv);
    if (!arguments.bad.empty()) {
        std::fprintf(stderr,
                     "acquisition_bench: %s\nusage: acquisition_bench [--megabytes M] [--runs R]\n",
                     arguments.bad.c_str());
        return 2;
    }
    const auto recordingBytes = static_cast<long long>(arguments.megabytes * 1e6);
    const char* tmp = std::getenv("TMPDIR");
    const fs::path base = tmp ? fs::path(tmp) : fs::is_directory("/dev/shm") ? "/dev/shm" : "/tmp";
    const fs::path folder = base / ("acquisition_bench." + std::to_string(::getpid()));
    fs::create_directories(folder);

    std::printf("%-28s %6s %6s %12s %12s %12s\n", "recording", "MB", "pages", "reader MB/s",
                "read() MB/s", "cat x20 MB/s");
    std::vector<std::string> ratios;
    bool measured = true;
    const Workload single = MakeSingleFile(folder, recordingBytes);
    for (Workload recording : {MakeIndexedSet(folder, recordingBytes), single}) {
        long long largest = 0;
        for (const fs::path& file : recording.files) {
            const long long size = static_cast<long long>(fs::file_size(file));
            recording.bytes += size;
            largest = std::max(largest, size);
        }
        std::vector<char> rawBuffer(
            std::min(static_cast<size_t>(largest), records::kDataBufferSize));
        // The same files 20 times over for one cat: what reading costs it, its start spread
        // thin.
        const fs::path list = folder / (recording.ratioName + ".list");
        {
            std::ofstream names(list, std::ios::binary);
            for (int i = 0; i < kRepeats; ++i)
                for (const fs::path& file : recording.files)
                    names << file.string() << '\0';
        }

        double reader = 1e9;
        double raw = 1e9;
        double many = 1e9;
        bool failed = false;
        for (int run = 0; run < arguments.runs && !failed; ++run) {
            // As the program opens its first set: a data buffer nothing is known of yet.
            QuietHost host;
            acquisition::Recording state;
            records::SetupBlock block;
            DataFileReader dataFiles(host.ReaderUses(state, block));
            int loaded = 0;
            reader = std::min(reader, Seconds([&] {
                                  loaded = ReadSet(dataFiles, host, recording.path.string());
                              }));
            if (loaded != recording.pages || host.Warnings() != 0) {
                std::fprintf(stderr, "%s: the reader loaded %d of its %d pages\n",
                             recording.name.c_str(), loaded, recording.pages);
                failed = true;
            }
            bool read = true;
            raw = std::min(raw, Seconds([&] { read = ReadRaw(recording.files, rawBuffer); }));
            bool catted = true;
            many = std::min(many, Seconds([&] { catted = CatFromList(list); }));
            failed = failed || !read || !catted;
        }
        const double megabytes = static_cast<double>(recording.bytes) / 1e6;
        if (failed) {
            std::printf("%-28s %6.2f %6d not measured: see above\n", recording.name.c_str(),
                        megabytes, recording.pages);
            measured = false;
            continue;
        }
        std::printf("%-28s %6.2f %6d %12.1f %12.1f %12.1f\n", recording.name.c_str(), megabytes,
                    recording.pages, megabytes / reader, megabytes / raw,
                    kRepeats * megabytes / many);
        ratios.push_back(platform::Format("ratio %s_vs_cat20 %.2f", recording.ratioName.c_str(),
                                          many / (kRepeats * reader)));
        ratios.push_back(platform::Format("ratio %s_vs_raw_read %.2f", recording.ratioName.c_str(),
                                          raw / reader));
    }

    const std::array<std::string, 2> sets = MakeLifeSets(folder, single);
    const double loadBefore = bench::LoadAverage();
    std::vector<double> life;
    std::vector<double> perOpening;
    std::vector<double> lifeRatios;
    QuietHost host;
    bool lifeFailed = false;
    const int lifeRuns = kLifeRunsPerRun * arguments.runs;
    for (int run = 0; run < lifeRuns && !lifeFailed; ++run) {
        const LifeRun sides = RunLife(host, sets, run);
        const std::pair<const char*, int> loaded[] = {
            {"one reader's life", sides.lifePages},
            {"a reader per opening", sides.perOpeningPages}};
        for (const auto& [side, pages] : loaded) {
            if (pages != kLifeOpenings * single.pages) {
                std::fprintf(stderr, "%s: %d of the %d pages of %d openings loaded\n", side, pages,
                             kLifeOpenings * single.pages, kLifeOpenings);
                lifeFailed = true;
            }
        }
        life.push_back(sides.life);
        perOpening.push_back(sides.perOpening);
        lifeRatios.push_back(sides.perOpening / sides.life);
    }
    if (lifeFailed || host.Warnings() != 0) {
        std::printf("reader life: not measured, see above\n");
        measured = false;
    } else {
        std::printf(
            "reader life, %d openings of 2 single files: one reader %.2f ms, a reader per "
            "opening %.2f ms (medians of %d runs); load average %.2f before, %.2f after\n",
            kLifeOpenings, bench::Median(life) * 1e3, bench::Median(perOpening) * 1e3, lifeRuns,
            loadBefore, bench::LoadAverage());
        ratios.push_back(
            platform::Format("ratio reader_life_vs_single_file %.3f", bench::Median(lifeRatios)));
    }
    for (const std::string& ratio : ratios)
        std::printf("%s\n", ratio.c_str());
    fs::remove_all(folder);
    if (!measured)
        std::printf("not measured: a side failed, see the messages above\n");
    return measured ? 0 : 1;
}
