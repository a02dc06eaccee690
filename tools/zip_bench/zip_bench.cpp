// zip_bench [--megabytes N] [--keep] [folder]
// Compresses a folder of mixed files with CZipArchive and extracts it again, then does the
// same with Info-ZIP's zip and unzip on the same files in the same run, and prints the
// throughput of each with the ratios between them. Without a folder it makes one (text logs,
// measurement records, random data, runs of zeros, many small files) of about N MiB (48).

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "zip/zip_archive.h"
#include "zip/zip_exception.h"

namespace fs = std::filesystem;

namespace {

void WriteFile(const fs::path& path, const std::string& content) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << content;
}

void MakeMixedFolder(const fs::path& folder, std::size_t megabytes) {
    std::mt19937 random(42);
    const std::size_t unit = megabytes * 1024 * 1024 / 8;
    std::string text;
    for (int line = 0; text.size() < 2 * unit; ++line)
        text += "2024/03/0" + std::to_string(line % 9 + 1) + " 10:" + std::to_string(line % 60) +
                " LAeq " + std::to_string(60 + line % 35) + ".4 dB verifica periodica ok\r\n";
    WriteFile(folder / "logs/events.txt", text.substr(0, 2 * unit));
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

std::vector<fs::path> FilesBelow(const fs::path& folder) {
    std::vector<fs::path> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (entry.is_regular_file())
            files.push_back(fs::relative(entry.path(), folder));
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

}  // namespace

int main(int argc, char** argv) {
    std::size_t megabytes = 48;
    bool keep = false;
    fs::path source;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--megabytes" && i + 1 < argc) {
            megabytes = std::strtoul(argv[++i], nullptr, 10);
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
        source = work / "in";
        MakeMixedFolder(source, megabytes);
    }
    const std::vector<fs::path> files = FilesBelow(source);
    std::uintmax_t bytes = 0;
    for (const fs::path& file : files)
        bytes += fs::file_size(source / file);
    const double mib = static_cast<double>(bytes) / (1024.0 * 1024.0);
    std::printf("%zu files, %.1f MiB in %s\n\n", files.size(), mib, source.c_str());

    const std::string ours = (work / "ours.zip").string();
    const std::string theirs = (work / "infozip.zip").string();
    try {
        const double ourZip = Seconds([&] {
            CZipArchive zip;
            zip.Open(ours, CZipArchive::kCreate);
            for (const fs::path& file : files)
                if (!zip.AddNewFile((source / file).string(), CZipArchive::kDefaultLevel, false))
                    std::fprintf(stderr, "not added: %s\n", file.c_str());
            zip.Close();
        });
        const double ourUnzip = Seconds([&] {
            CZipArchive zip;
            zip.Open(ours, CZipArchive::kOpenReadOnly);
            for (int i = 0; i < zip.GetCount(); ++i)
                if (!zip.ExtractFile(i, (work / "ours-out").string(), true))
                    std::fprintf(stderr, "not extracted: entry %d\n", i);
            zip.Close();
        });
        // Same files, same default level 6, file names without folders on neither side.
        const double theirZip = Seconds(
            [&] { Run("cd '" + source.string() + "' && zip -q -r -j '" + theirs + "' ."); });
        const double theirUnzip = Seconds([&] {
            Run("unzip -q -o '" + theirs + "' -d '" + (work / "infozip-out").string() + "'");
        });

        const double ourSize = static_cast<double>(fs::file_size(ours)) / (1024.0 * 1024.0);
        const double theirSize = static_cast<double>(fs::file_size(theirs)) / (1024.0 * 1024.0);
        std::printf("%-18s %9s %10s %12s\n", "", "seconds", "MiB/s", "archive MiB");
        std::printf("%-18s %9.3f %10.1f %12.2f\n", "CZipArchive add", ourZip, mib / ourZip,
                    ourSize);
        std::printf("%-18s %9.3f %10.1f %12.2f\n", "Info-ZIP zip", theirZip, mib / theirZip,
                    theirSize);
        std::printf("%-18s %9.3f %10.1f\n", "CZipArchive extract", ourUnzip, mib / ourUnzip);
        std::printf("%-18s %9.3f %10.1f\n", "Info-ZIP unzip", theirUnzip, mib / theirUnzip);
        std::printf(
            "\nthroughput ours/Info-ZIP: compress %.2f, extract %.2f; size ours/Info-ZIP %.3f\n",
            theirZip / ourZip, theirUnzip / ourUnzip, ourSize / theirSize);
        std::printf("extracted files identical to the originals: %s\n",
                    SameFiles(source, work / "ours-out") ? "yes" : "NO");
    } catch (const CZipException& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    if (!keep)
        fs::remove_all(work);
    return 0;
}
