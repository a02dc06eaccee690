// zip_bench [--megabytes N] [--runs R] [--keep] [folder]
// Compresses each workload with CZipArchive and with Info-ZIP's zip, then extracts one archive
// (Info-ZIP's) with CZipArchive, with Info-ZIP's unzip and with a minimal zlib extractor (the
// least work extraction can be: inflate, open, write, close), also linked (inflate, unnamed
// open, write, file times, link, close: the least work that keeps no half file under a name and
// sets the times, as CZipArchive does). Each side runs as a fresh process;
// the runs are paired, each pair in alternating order, and the ratio printed for each peer is the
// median of the pairs' ratios, as lines "ratio <name> <value>" with value = our speed / the
// peer's (above 1: ours is faster). Without a folder it makes two workloads: 5,000 small files of
// 50 bytes to 2 KiB, where the cost per entry decides, and mixed files of about N MiB (48: text
// logs, measurement records, random data, runs of zeros). With a folder, that folder is the one
// workload.
// It works below $TMPDIR (else /tmp). Run it with TMPDIR=/dev/shm to compare the work of the
// programs without the disk; on a disk, ext4 makes files created just after thousands were
// deleted nearby cost seconds in the kernel at random, which only the medians absorb.

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

#include "bench_stats.h"
#include "minimal_extractor.h"
#include "zip/zip_archive.h"
#include "zip/zip_exception.h"

namespace fs = std::filesystem;

namespace {

struct Workload {
    std::string name;
    std::string tag;  // in the ratios' names
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

double Seconds(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void Run(const std::string& command) {
    const int status = std::system(command.c_str());
    if (status == -1 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "failed: %s\n", command.c_str());
        std::exit(1);
    }
}

std::string Quoted(std::initializer_list<fs::path> words) {
    std::string line;
    for (const fs::path& word : words)
        line += (line.empty() ? "'" : " '") + word.string() + "'";
    return line;
}

// One program doing one job: `run` is given the run's number (for a folder of its own); `clean`
// undoes what the run made, untimed.
struct Side {
    std::string name;
    std::function<void(int)> run;
    std::function<void(int)> clean;
};

struct Timing {
    std::vector<double> seconds;  // ours first, then each peer's, medians
    std::vector<double> ratios;   // per peer, the median of the rounds' ratios
};

// `rounds` rounds; in each, every side runs once, in an order that turns from round to round,
// so that a busy moment of the machine does not fall on one side only. The disk is synced
// before each run, so that no side pays for another's (or its own earlier) writes.
Timing Paired(int rounds, const std::vector<Side>& sides) {
    std::vector<std::vector<double>> times(sides.size());
    std::vector<std::vector<double>> ratios(sides.size());
    for (int round = 0; round < rounds; ++round) {
        std::vector<double> now(sides.size());
        for (std::size_t k = 0; k < sides.size(); ++k) {
            const std::size_t side = (k + static_cast<std::size_t>(round)) % sides.size();
            ::sync();
            now[side] = Seconds([&] { sides[side].run(round); });
        }
        for (std::size_t side = 0; side < sides.size(); ++side) {
            sides[side].clean(round);
            times[side].push_back(now[side]);
            ratios[side].push_back(now[side] / now[0]);
        }
    }
    Timing timing;
    for (std::size_t side = 0; side < sides.size(); ++side) {
        timing.seconds.push_back(bench::Median(times[side]));
        timing.ratios.push_back(bench::Median(ratios[side]));
    }
    return timing;
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

void PrintRatio(const std::string& name, double value) {
    std::printf("ratio %s %.3f\n", name.c_str(), value);
}

void Measure(const Workload& load, const fs::path& work, int rounds) {
    const std::vector<fs::path> files = FilesBelow(load.folder);
    std::uintmax_t bytes = 0;
    for (const fs::path& file : files)
        bytes += fs::file_size(load.folder / file);
    const double mib = static_cast<double>(bytes) / (1024.0 * 1024.0);
    std::printf("== %s: %zu files, %.1f MiB in %s, %d paired rounds\n", load.name.c_str(),
                files.size(), mib, load.folder.c_str(), rounds);

    const auto ours = [&](int round) { return work / ("ours-" + std::to_string(round) + ".zip"); };
    const auto theirs = [&](int round) {
        return work / ("infozip-" + std::to_string(round) + ".zip");
    };
    const auto out = [&](const char* side, int round) {
        return work / (std::string(side) + "-out-" + std::to_string(round));
    };
    const auto removing = [](std::function<fs::path(int)> made) {
        return [made](int round) { fs::remove_all(made(round)); };
    };
    const std::string self = fs::read_symlink("/proc/self/exe").string();
    // Same files, same default level 6, file names without folders on both sides.
    const Timing zip = Paired(rounds, {{"CZipArchive add",
                                        [&](int r) {
                                            Run(Quoted({self, "--add", ours(r), load.folder}));
                                        },
                                        removing(ours)},
                                       {"Info-ZIP zip",
                                        [&](int r) {
                                            Run("cd " + Quoted({load.folder}) +
                                                " && zip -q -r -j " + Quoted({theirs(r)}) + " .");
                                        },
                                        [&](int r) {
                                            if (r > 0)  // the first one is extracted below
                                                fs::remove(theirs(r));
                                        }}});
    const fs::path archive = theirs(0);
    const Timing unzip =
        Paired(rounds, {{"CZipArchive extract",
                         [&](int r) {
                             Run(Quoted({self, "--extract", archive, out("ours", r)}));
                         },
                         [&](int r) {
                             if (r > 0)  // the first one is compared below
                                 fs::remove_all(out("ours", r));
                         }},
                        {"Info-ZIP unzip",
                         [&](int r) {
                             Run("unzip -q -o " + Quoted({archive, "-d", out("unzip", r)}));
                         },
                         removing([&](int r) { return out("unzip", r); })},
                        {"minimal extractor",
                         [&](int r) {
                             Run(Quoted({self, "--minimal", archive, out("minimal", r)}));
                         },
                         removing([&](int r) { return out("minimal", r); })},
                        {"minimal, linked",
                         [&](int r) {
                             Run(Quoted({self, "--linked", archive, out("linked", r)}));
                         },
                         removing([&](int r) { return out("linked", r); })}});

    const double archiveMib = static_cast<double>(fs::file_size(archive)) / (1024.0 * 1024.0);
    std::printf("%-22s %9s %10s   (medians; Info-ZIP's archive: %.2f MiB)\n", "", "seconds",
                "MiB/s", archiveMib);
    const std::vector<std::pair<const char*, double>> lines = {
        {"CZipArchive add", zip.seconds[0]},       {"Info-ZIP zip", zip.seconds[1]},
        {"CZipArchive extract", unzip.seconds[0]}, {"Info-ZIP unzip", unzip.seconds[1]},
        {"minimal extractor", unzip.seconds[2]},   {"minimal, linked", unzip.seconds[3]}};
    for (const auto& [name, seconds] : lines)
        std::printf("%-22s %9.3f %10.1f\n", name, seconds, mib / seconds);
    std::printf("extracted files identical to the originals: %s\n",
                SameFiles(load.folder, out("ours", 0)) ? "yes" : "NO");
    PrintRatio("compress_" + load.tag + "_vs_infozip", zip.ratios[1]);
    PrintRatio("extract_" + load.tag + "_vs_infozip", unzip.ratios[1]);
    PrintRatio("extract_" + load.tag + "_vs_minimal_extractor", unzip.ratios[2]);
    PrintRatio("extract_" + load.tag + "_vs_linked_minimal_extractor", unzip.ratios[3]);
    std::printf("\n");
    fs::remove(archive);
    fs::remove_all(out("ours", 0));
}

}  // namespace

int main(int argc, char** argv) {
    try {
        if (argc == 4 && std::string(argv[1]) == "--add")
            return AddFolder(argv[2], argv[3]);
        if (argc == 4 && std::string(argv[1]) == "--extract")
            return ExtractAll(argv[2], argv[3]);
        if (argc == 4 && std::string(argv[1]) == "--minimal")
            return MinimalExtract(argv[2], argv[3]);
        if (argc == 4 && std::string(argv[1]) == "--linked")
            return MinimalExtract(argv[2], argv[3], true);
    } catch (const CZipException& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    std::size_t megabytes = 48;
    int rounds = 0;
    bool keep = false;
    fs::path source;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--megabytes" && i + 1 < argc) {
            megabytes = std::strtoul(argv[++i], nullptr, 10);
        } else if (arg == "--runs" && i + 1 < argc) {
            rounds = std::max(1, std::atoi(argv[++i]));
        } else if (arg == "--keep") {
            keep = true;
        } else {
            source = fs::absolute(arg);
        }
    }
    const fs::path work =
        fs::temp_directory_path() / ("kx9-zip-bench-" + std::to_string(::getpid()));
    fs::create_directories(work);
    if (source.empty()) {
        MakeSmallFilesFolder(work / "small");
        MakeMixedFolder(work / "mixed", megabytes);
        // Small runs take a tenth of a second, the mixed ones a second or two.
        Measure({"5,000 small files", "small", work / "small"}, work, rounds ? rounds : 21);
        Measure({"mixed files", "mixed", work / "mixed"}, work, rounds ? rounds : 7);
    } else {
        Measure({"folder", "folder", source}, work, rounds ? rounds : 11);
    }
    if (!keep)
        fs::remove_all(work);
    return 0;
}
