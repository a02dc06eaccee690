// unpack_bench [--runs R] [--megabytes M]...
// Opening a zipped data set, as whole processes: a recording of M million data bytes (3, 30 and
// 100 by default) is saved as the program saves an indexed one (its page files and its index in
// one archive), and the archive is then unpacked in a folder of its own three ways: by the
// program's own unpack (every entry checked and written, the folder unchanged unless all
// passed), by the zip classes' plain extraction of every entry one after the other (one pass,
// nothing held back), and by bsdtar. Each side runs as a fresh process on a fresh copy of the
// archive, which the set's index, saved under the archive's own name, replaces (bsdtar, which
// will not write over the archive it reads, reads the one made instead); the runs are paired, the
// order turning from round to round (R rounds, 11 by default), and each ratio printed, "ratio
// unpack_set_vs_<peer>_<M> <value>", is the median of the rounds' ratios of the peer's time to the
// unpack's (above 1: the unpack is faster). It works below $TMPDIR, else /dev/shm where there is
// one, else /tmp: on tmpfs the programs' own work is compared, not the disk's. A side that fails is
// named, no ratio is printed for its size and the bench exits with 1; bad arguments exit with 2.

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "acquisition/data_set.h"
#include "acquisition/selected_pages_save.h"
#include "bench_recording.h"
#include "bench_stats.h"
#include "platform/text.h"
#include "records/record_layout.h"
#include "zip/zip_archive.h"
#include "zip/zip_exception.h"

namespace fs = std::filesystem;

namespace {

constexpr int kDefaultRuns = 11;
constexpr long long kPageSize = 2000;
constexpr const char* kMode = "THIRD OCTAV";

// The recording as live monitoring leaves it, saved whole into the archive `archive`.
bool MakeArchive(const fs::path& folder, long long recordingBytes, const fs::path& archive) {
    fs::create_directories(folder);
    records::SetupBlock block;
    block.SetField(records::SetupBlock::kModel, "QS4160_L0$1");
    block.SetField(records::SetupBlock::kAcquisitionMode, kMode);
    block.SetField(records::SetupBlock::kPagingSize, std::to_string(kPageSize));
    const std::string head(block.Bytes());
    std::vector<std::string> names;
    for (const std::string& page :
         bench::RecordingPages(records::RecordLayout(records::RecordKind::OfModeText(kMode)),
                               kPageSize, recordingBytes)) {
        names.push_back("RecFile_" + std::to_string(names.size()) + ".rec");
        std::ofstream(folder / names.back(), std::ios::binary) << head << page;
    }
    std::ofstream(folder / "RecFile.kr9", std::ios::binary) << records::IndexFileText(names);
    std::vector<int> every(names.size());
    for (size_t page = 0; page < every.size(); ++page)
        every[page] = static_cast<int>(page);
    const acquisition::PageSaveResult saved =
        acquisition::SaveSelectedPages((folder / "RecFile.kr9").string(), archive.string(), every);
    if (!saved.saved)
        std::fprintf(stderr, "the recording was not saved: %s\n", saved.failure.c_str());
    return saved.saved;
}

// The zip classes' extraction of every entry, with none of the unpack's guarantees.
int ExtractOnePass(const std::string& archive, const std::string& folder) {
    CZipArchive zip;
    if (!zip.Open(archive, CZipArchive::kOpenReadOnly))
        return 1;
    for (int entry = 0; entry < zip.GetCount(); ++entry)
        if (!zip.ExtractFile(entry, folder)) {
            std::fprintf(stderr, "entry %d not extracted\n", entry);
            return 1;
        }
    zip.Close();
    return 0;
}

// Removes a folder of the bench's however its scope is left, so that a side that fails leaves
// nothing in the way of the next run or size.
class RemovedAtEnd {
public:
    explicit RemovedAtEnd(fs::path path) : m_path(std::move(path)) {}
    ~RemovedAtEnd() {
        std::error_code ignored;
        fs::remove_all(m_path, ignored);
    }
    RemovedAtEnd(const RemovedAtEnd&) = delete;
    RemovedAtEnd& operator=(const RemovedAtEnd&) = delete;

private:
    fs::path m_path;
};

double Seconds(const std::chrono::steady_clock::time_point& start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Runs `arguments` with its output thrown away; its time, or a negative one when it failed.
double TimedRun(const std::vector<std::string>& arguments) {
    std::vector<char*> argv;
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    const auto start = std::chrono::steady_clock::now();
    pid_t child = -1;
    const int spawned = ::posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ);
    int status = 0;
    const bool ran = spawned == 0 && ::waitpid(child, &status, 0) == child;
    const double seconds = Seconds(start);
    posix_spawn_file_actions_destroy(&actions);
    if (ran && WIFEXITED(status) && WEXITSTATUS(status) == 0)
        return seconds;
    std::fprintf(stderr, "%s did not finish well\n", arguments.front().c_str());
    return -1;
}

bool SameBytes(const fs::path& a, const fs::path& b) {
    std::ifstream x(a, std::ios::binary);
    std::ifstream y(b, std::ios::binary);
    return x && y &&
           std::equal(std::istreambuf_iterator<char>(x), {}, std::istreambuf_iterator<char>(y), {});
}

// The unpacked folder holds the recording's page files as they were saved.
bool HoldsTheRecording(const fs::path& unpacked, const fs::path& recording) {
    for (const auto& entry : fs::directory_iterator(recording))
        if (entry.path().extension() == ".rec" &&
            !SameBytes(entry.path(), unpacked / entry.path().filename()))
            return false;
    return true;
}

// A side unpacks `copy`, the archive copied into the run's folder, whose index entry replaces
// it; bsdtar, which refuses to write over the archive it reads, reads `made` instead.
struct Side {
    const char* name;
    std::vector<std::string> (*command)(const std::string& self, const fs::path& copy,
                                        const fs::path& made);
};

const Side kSides[] = {
    {"unpack",
     [](const std::string& self, const fs::path& copy, const fs::path&) {
         return std::vector<std::string>{self, "--unpack", copy.string()};
     }},
    {"one_pass",
     [](const std::string& self, const fs::path& copy, const fs::path&) {
         return std::vector<std::string>{self, "--one-pass", copy.string(),
                                         copy.parent_path().string()};
     }},
    {"bsdtar",
     [](const std::string&, const fs::path& copy, const fs::path& made) {
         return std::vector<std::string>{"bsdtar", "-xf", made.string(), "-C",
                                         copy.parent_path().string()};
     }},
};
constexpr size_t kSideCount = std::size(kSides);

// The ratios of one size, or none when a side failed.
std::vector<std::string> Measure(const fs::path& work, double megabytes, int rounds) {
    const std::string self = fs::read_symlink("/proc/self/exe").string();
    const std::string tag = platform::Format("%g", megabytes);
    const fs::path recording = work / ("recording-" + tag);
    // Saved as "set.kr9", its index is the entry "set.kr9".
    const fs::path archive = work / ("made-" + tag) / "set.kr9";
    const RemovedAtEnd recordingGone(recording);
    const RemovedAtEnd archiveGone(archive.parent_path());
    fs::create_directories(archive.parent_path());
    if (!MakeArchive(recording, static_cast<long long>(megabytes * 1e6), archive))
        return {};
    std::vector<std::vector<double>> times(kSideCount);
    for (int round = 0; round < rounds; ++round) {
        for (size_t k = 0; k < kSideCount; ++k) {
            const size_t side = (k + static_cast<size_t>(round)) % kSideCount;
            const fs::path folder = work / platform::Format("%s-%d", kSides[side].name, round);
            const RemovedAtEnd folderGone(folder);
            fs::create_directories(folder);
            fs::copy_file(archive, folder / "set.kr9");
            const double seconds =
                TimedRun(kSides[side].command(self, folder / "set.kr9", archive));
            if (seconds < 0)
                return {};
            if (round == 0 && (!HoldsTheRecording(folder, recording) ||
                               !SameBytes(folder / "set.kr9", recording / "RecFile.kr9"))) {
                std::fprintf(stderr, "%s: the unpacked pages differ from the recording's\n",
                             kSides[side].name);
                return {};
            }
            times[side].push_back(seconds);
        }
    }
    std::printf("%-6s MB  %5zu entries  %.1f MB zipped;", tag.c_str(),
                static_cast<size_t>(std::distance(fs::directory_iterator(recording), {})),
                static_cast<double>(fs::file_size(archive)) / 1e6);
    for (size_t side = 0; side < kSideCount; ++side)
        std::printf("  %s %.4f s", kSides[side].name, bench::Median(times[side]));
    std::printf("  (medians)\n");
    std::vector<std::string> ratios;
    for (size_t side = 1; side < kSideCount; ++side) {
        std::vector<double> ratio;
        for (int round = 0; round < rounds; ++round)
            ratio.push_back(times[side][static_cast<size_t>(round)] /
                            times[0][static_cast<size_t>(round)]);
        ratios.push_back(platform::Format("ratio unpack_set_vs_%s_%s %.3f", kSides[side].name,
                                          tag.c_str(), bench::Median(ratio)));
    }
    return ratios;
}

fs::path WorkFolder() {
    const char* tmp = std::getenv("TMPDIR");
    const fs::path base = tmp ? fs::path(tmp) : fs::is_directory("/dev/shm") ? "/dev/shm" : "/tmp";
    return base / ("kx9-unpack-bench-" + std::to_string(::getpid()));
}

}  // namespace

int main(int argc, char** argv) {
    try {
        if (argc == 3 && std::string(argv[1]) == "--unpack") {
            const acquisition::Unpacking unpacking = acquisition::UnpackZippedDataSet(argv[2]);
            if (unpacking.failure)
                std::fprintf(stderr, "%s\n", unpacking.failure->c_str());
            return unpacking.Unpacked() ? 0 : 1;
        }
        if (argc == 4 && std::string(argv[1]) == "--one-pass")
            return ExtractOnePass(argv[2], argv[3]);
    } catch (const CZipException& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    int rounds = kDefaultRuns;
    std::vector<double> sizes;
    for (int i = 1; i < argc; i += 2) {
        const std::string name = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        char* end = nullptr;
        const double number = value ? platform::StrToD(value, &end) : 0;
        if (!value || end == value || *end || !(number >= 1) || number > 1000 ||
            (name != "--runs" && name != "--megabytes")) {
            std::fprintf(stderr,
                         "unpack_bench: %s %s\nusage: unpack_bench [--runs R] "
                         "[--megabytes M]...\n",
                         name.c_str(), value ? value : "without its value");
            return 2;
        }
        if (name == "--runs")
            rounds = static_cast<int>(number);
        else
            sizes.push_back(number);
    }
    if (sizes.empty())
        sizes = {3, 30, 100};
    const fs::path work = WorkFolder();
    const RemovedAtEnd workGone(work);
    fs::create_directories(work);
    std::printf("unpack_bench: %d paired rounds in %s\n", rounds, work.c_str());
    std::vector<std::string> ratios;
    bool measured = true;
    for (const double megabytes : sizes) {
        std::vector<std::string> some;
        try {
            some = Measure(work, megabytes, rounds);
        } catch (const fs::filesystem_error& error) {
            std::fprintf(stderr, "%s\n", error.what());
        }
        if (some.empty())
            std::printf("%g MB not measured: see above\n", megabytes);
        measured = measured && !some.empty();
        ratios.insert(ratios.end(), some.begin(), some.end());
    }
    for (const std::string& ratio : ratios)
        std::printf("%s\n", ratio.c_str());
    return measured ? 0 : 1;
}
