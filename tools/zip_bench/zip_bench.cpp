// zip_bench [--megabytes N] [--runs R] [--keep] [folder]
// Compresses each workload with CZipArchive and extracts it again, then does the same with
// Info-ZIP's zip and unzip on the same files, and prints the throughput of each with the
// ratios between them (best of R runs of each, in turn, 3 by default). Without a folder it
// makes two workloads: mixed files of about N MiB (48: text logs, measurement records, random
// data, runs of zeros), and 5,000 small files of 50 bytes to 2 KiB, where the cost per entry
// decides. With a folder, that folder is the one workload.
// It works below $TMPDIR (else /tmp). On ext4, files created within minutes after thousands
// were deleted nearby cost seconds in the kernel, on whichever side's folder falls there: for
// extraction figures, run it on a quiet disk, or with TMPDIR=/dev/shm to compare the work of
// the two programs without the disk.

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <initializer_list>
#include <random>
#include <string>
#include <vector>

#include "zip/zip_archive.h"
#include "zip/zip_exception.h"

namespace fs = std::filesystem;

namespace {

struct Workload {
    std::string name;
    fs::path folder;
};

void WriteFile(const fs::path& path, const std::string& content) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << content;
}

std::string LogText(std::size_t size) {
    std::string text;
    for (int line = 0; text.size() < size; ++line)
        text += "2024/03/0" + std::to_string(line % 9 + 1) + " 10:" + std::to_string(line % 60) +
                " LAeq " + std::to_string(60 + line % 35) + ".4 dB verifica periodica ok\r\n";
    text.resize(size);
    return text;
}

void MakeMixedFolder(const fs::path& folder, std::size_t megabytes) {
    std::mt19937 random(42);
    const std::size_t unit = megabytes * 1024 * 1024 / 8;
    const std::string text = LogText(2 * unit);
    WriteFile(folder / "logs/events.txt", text);
    std::string records;
    for (std::size_t i = 0; records.size() < 2 * unit; ++i) {
        const auto level = static_cast<std::uint16_t>(5000 + random() % 800);
        records.append(reinterpret_cast<const char*>(&level), sizeof level);
        records.append(6, static_cast<char>(i & 0x0F));
    }
    WriteFile(folder / "data/RecFile_0001.rec", records);
    std::string noise(2 * unit, '\0');
    for (char& c : noise)
        c = static_cast<char>(random());
    WriteFile(folder / "data/audio.wav", noise);
    WriteFile(folder / "data/sparse.bin", std::string(unit, '\0'));
    for (int i = 0; i < 400; ++i)
        WriteFile(folder / "small" / ("label_" + std::to_string(i) + ".lbl"),
                  text.substr(static_cast<std::size_t>(i) * 97, unit / 400));
}

// Label files, settings and short logs: 5,000 files of 50 bytes to 2 KiB in 50 folders.
void MakeSmallFilesFolder(const fs::path& folder) {
    std::mt19937 random(7);
    const std::string text = LogText(1 << 20);
    for (int i = 0; i < 5000; ++i) {
        const std::size_t size = 50 + random() % 2000;
        const std::size_t start = random() % (text.size() - size);
        std::string content = text.substr(start, size);
        if (i % 5 == 0)  // some binary records among the text
            for (char& c : content)
                c = static_cast<char>(random() & 0x3F);
        WriteFile(folder / ("set_" + std::to_string(i % 50)) / ("f" + std::to_string(i) + ".lbl"),
                  content);
    }
}

std::vector<fs::path> FilesBelow(const fs::path& folder) {
    std::vector<fs::path> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (entry.is_regular_file())
            files.push_back(entry.path().lexically_relative(folder));
    std::sort(files.begin(), files.end());
    return files;
}

struct Pair {
    double ours = 1e30;
    double theirs = 1e30;
};

double Seconds(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

struct Side {
    std::function<void()> prepare;  // untimed, before each run
    std::function<void()> work;
};

// The best of `runs` timings of each side, taken in turn so that a busy moment of the machine
// does not fall on one side only. The disk is synced before each run, so that neither side
// pays for the other's (or its own earlier) writes.
Pair BestOfEach(int runs, const Side& ours, const Side& theirs) {
    Pair best;
    for (int i = 0; i < runs; ++i) {
        ours.prepare();
        ::sync();
        best.ours = std::min(best.ours, Seconds(ours.work));
        theirs.prepare();
        ::sync();
        best.theirs = std::min(best.theirs, Seconds(theirs.work));
    }
    return best;
}

void Run(const std::string& command) {
    const int status = std::system(command.c_str());
    if (status == -1 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "failed: %s\n", command.c_str());
        std::exit(1);
    }
}

// Both sides store names without folders, so the copies lie flat in `flat`.
bool SameFiles(const fs::path& tree, const fs::path& flat) {
    for (const fs::path& file : FilesBelow(tree)) {
        std::ifstream x(tree / file, std::ios::binary), y(flat / file.filename(), std::ios::binary);
        if (!y ||
            !std::equal(std::istreambuf_iterator<char>(x), {}, std::istreambuf_iterator<char>(y)))
            return false;
    }
    return true;
}

std::string Quoted(std::initializer_list<fs::path> words) {
    std::string line;
    for (const fs::path& word : words)
        line += (line.empty() ? "'" : " '") + word.string() + "'";
    return line;
}

// The work of our side, in a process of its own: every file below `folder` into `archive`
// without its folders, as the program stores its data files.
int AddFolder(const std::string& archive, const fs::path& folder) {
    CZipArchive zip;
    zip.Open(archive, CZipArchive::kCreate);
    for (const fs::path& file : FilesBelow(folder))
        if (!zip.AddNewFile((folder / file).string(), CZipArchive::kDefaultLevel, false)) {
            std::fprintf(stderr, "not added: %s\n", file.c_str());
            return 1;
        }
    zip.Close();
    return 0;
}

int ExtractAll(const std::string& archive, const std::string& folder) {
    CZipArchive zip;
    zip.Open(archive, CZipArchive::kOpenReadOnly);
    for (int i = 0; i < zip.GetCount(); ++i)
        if (!zip.ExtractFile(i, folder, true)) {
            std::fprintf(stderr, "not extracted: entry %d\n", i);
            return 1;
        }
    zip.Close();
    return 0;
}

struct Ratios {
    double compress;
    double extract;
};

Ratios Measure(const Workload& load, const fs::path& work, int runs) {
    const std::vector<fs::path> files = FilesBelow(load.folder);
    std::uintmax_t bytes = 0;
    for (const fs::path& file : files)
        bytes += fs::file_size(load.folder / file);
    const double mib = static_cast<double>(bytes) / (1024.0 * 1024.0);
    std::printf("== %s: %zu files, %.1f MiB in %s\n", load.name.c_str(), files.size(), mib,
                load.folder.c_str());

    const std::string ours = (work / "ours.zip").string();
    const std::string theirs = (work / "infozip.zip").string();
    const fs::path ourOut = work / "ours-out";
    const fs::path theirOut = work / "infozip-out";
    // Each side runs as a fresh process, so that both pay for starting and neither inherits a
    // heap that the bench has already grown.
    const std::string self = fs::read_symlink("/proc/self/exe").string();
    const Pair zip = BestOfEach(
        runs,
        {[&] { fs::remove(ours); },
         [&] {
             Run(Quoted({self, "--add", ours, load.folder}));
         }},
        // Same files, same default level 6, file names without folders on neither side.
        {[&] { fs::remove(theirs); },
         [&] {
             Run("cd " + Quoted({load.folder}) + " && zip -q -r -j " + Quoted({theirs}) + " .");
         }});
    // Every run extracts into a folder of its own, removed only at the end: files created just
    // after thousands were deleted make ext4 search past the recently freed inodes, which
    // costs either side seconds at random.
    int ourRun = 0, theirRun = 0;
    const Pair unzip = BestOfEach(
        runs,
        {[] {},
         [&] {
             Run(Quoted({self, "--extract", ours, ourOut / std::to_string(++ourRun)}));
         }},
        {[&] { fs::create_directories(theirOut); },
         [&] {
             Run("unzip -q -o " + Quoted({theirs, "-d", theirOut / std::to_string(++theirRun)}));
         }});
    const double ourZip = zip.ours, theirZip = zip.theirs;
    const double ourUnzip = unzip.ours, theirUnzip = unzip.theirs;

    const double ourSize = static_cast<double>(fs::file_size(ours)) / (1024.0 * 1024.0);
    const double theirSize = static_cast<double>(fs::file_size(theirs)) / (1024.0 * 1024.0);
    std::printf("%-20s %9s %10s %12s\n", "", "seconds", "MiB/s", "archive MiB");
    std::printf("%-20s %9.3f %10.1f %12.2f\n", "CZipArchive add", ourZip, mib / ourZip, ourSize);
    std::printf("%-20s %9.3f %10.1f %12.2f\n", "Info-ZIP zip", theirZip, mib / theirZip, theirSize);
    std::printf("%-20s %9.3f %10.1f\n", "CZipArchive extract", ourUnzip, mib / ourUnzip);
    std::printf("%-20s %9.3f %10.1f\n", "Info-ZIP unzip", theirUnzip, mib / theirUnzip);
    std::printf("throughput ours/Info-ZIP: compress %.2f, extract %.2f; size ours/Info-ZIP %.3f\n",
                theirZip / ourZip, theirUnzip / ourUnzip, ourSize / theirSize);
    std::printf("extracted files identical to the originals: %s\n\n",
                SameFiles(load.folder, ourOut / "1") ? "yes" : "NO");
    for (const fs::path& made : {fs::path(ours), fs::path(theirs), ourOut, theirOut})
        fs::remove_all(made);
    return {theirZip / ourZip, theirUnzip / ourUnzip};
}

}  // namespace

int main(int argc, char** argv) {
    try {
        if (argc == 4 && std::string(argv[1]) == "--add")
            return AddFolder(argv[2], argv[3]);
        if (argc == 4 && std::string(argv[1]) == "--extract")
            return ExtractAll(argv[2], argv[3]);
    } catch (const CZipException& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    std::size_t megabytes = 48;
    int runs = 3;
    bool keep = false;
    fs::path source;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--megabytes" && i + 1 < argc) {
            megabytes = std::strtoul(argv[++i], nullptr, 10);
        } else if (arg == "--runs" && i + 1 < argc) {
            runs = std::max(1, std::atoi(argv[++i]));
        } else if (arg == "--keep") {
            keep = true;
        } else {
            source = fs::absolute(arg);
        }
    }
    const fs::path work =
        fs::temp_directory_path() / ("kx9-zip-bench-" + std::to_string(::getpid()));
    fs::create_directories(work);
    std::vector<Workload> loads;
    if (source.empty()) {
        MakeMixedFolder(work / "mixed", megabytes);
        MakeSmallFilesFolder(work / "small");
        // Small files first, before the mixed files' thousands of extracted copies are removed.
        loads = {{"5,000 small files", work / "small"}, {"mixed files", work / "mixed"}};
    } else {
        loads = {{"folder", source}};
    }
    std::vector<Ratios> ratios;
    for (const Workload& load : loads)
        ratios.push_back(Measure(load, work, runs));
    std::printf("summary, throughput ours/Info-ZIP:\n");
    for (std::size_t i = 0; i < loads.size(); ++i)
        std::printf("  %-20s compress %.2f  extract %.2f\n", loads[i].name.c_str(),
                    ratios[i].compress, ratios[i].extract);
    if (!keep)
        fs::remove_all(work);
    return 0;
}
