// acquisition_bench [--runs R]
// Writes a recording of 3,000,000 data bytes twice, as an indexed set of third-octave page
// files and as one single file of octave pages, then opens each page by page the way the
// program opens its first set (the listing of the pages, then every page loaded with its
// labels into a new data buffer) and, in the same run, reads the same bytes two other ways:
// one read() of each file into a buffer, and cat of the files 20 times over in one process
// (its start then counts little). Prints the throughput of each (best of R runs, 15 by
// default) and the ratios "ratio <name> <value>", the reader's speed over the other's (above
// 1: the reader is faster). It works below $TMPDIR (else /tmp).

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "acquisition/data_file_reader.h"
#include "platform/text.h"
#include "records/record_layout.h"

namespace fs = std::filesystem;
using namespace acquisition;

namespace {

constexpr long long kRecordingBytes = 3000000;
constexpr int kRepeats = 20;
constexpr int kDefaultRuns = 15;

// The program's side without a screen: every call that would show something does nothing.
class QuietHost : public AcquisitionHost {
public:
    PageBuffer DataBuffer() override { return {m_buffer, m_filled}; }
    std::string CurrentFile() const override { return m_file; }
    void SetCurrentFile(const std::string& path) override { m_file = path; }
    void SetDataLoaded() override {}
    std::vector<std::string>& Labels() override { return m_labels; }
    void BeginDataFile(const std::string&) override {}
    void TakeRecordingSetup(const RecordingSetup&) override {}
    void Warn(const std::string& text, unsigned) override {
        std::fprintf(stderr, "warning: %s\n", text.c_str());
    }
    void BeginWaitCursor() override {}
    void EndWaitCursor() override {}
    void ClearPageList() override { m_pages = 0; }
    void AppendPageListRow(const std::string&, int) override { ++m_pages; }
    void SelectFirstPageRow() override {}
    void SetPageStartText(const std::string&) override {}
    void ShowLoadedDataViews(std::optional<records::RecordKind>) override {}
    void SetDataListCount(long long rows) override { m_rows += rows; }
    void OnPageLoaded(std::optional<records::RecordKind>, long long) override {}
    void UpdateAudioLabelWindow(bool) override {}
    void CreateSchedulerLogWindow() override {}
    void ShowSchedulerLogWindow(const std::string&) override {}

    int PageRows() const { return m_pages; }
    long long Rows() const { return m_rows; }

private:
    std::vector<unsigned char> m_buffer = std::vector<unsigned char>(records::kDataBufferSize);
    size_t m_filled = records::kDataBufferSize;
    std::string m_file;
    std::vector<std::string> m_labels;
    int m_pages = 0;
    long long m_rows = 0;
};

records::SetupBlock Setup(const char* mode, long long pageSize) {
    records::SetupBlock block;
    block.SetField(records::SetupBlock::kModel, "QS4160_L0$1");
    block.SetField(records::SetupBlock::kAcquisitionMode, mode);
    block.SetField(records::SetupBlock::kPagingSize, std::to_string(pageSize));
    return block;
}

// Pages of `layout` holding `pageSize` records, until the data bytes reach the recording's.
std::vector<std::string> Pages(const records::RecordLayout& layout, long long pageSize) {
    std::vector<std::string> pages;
    std::vector<std::uint16_t> levels(static_cast<size_t>(layout.ValuesPerSample()));
    long long record = 0;
    for (long long data = 0; data < kRecordingBytes;) {
        std::string page = "2024/03/09 14:05:07 ";
        for (long long i = 0; i < pageSize && data < kRecordingBytes; ++i, ++record) {
            for (size_t band = 0; band < levels.size(); ++band)
                levels[band] = static_cast<std::uint16_t>((record * 7 + band * 13) % 1400);
            const std::string bytes =
                records::EncodeRecord(records::PackTimeWord(static_cast<int>(record / 3600),
                                                            record / 60 % 60, record % 60),
                                      levels);
            page += bytes;
            data += static_cast<long long>(bytes.size());
        }
        pages.push_back(std::move(page));
    }
    return pages;
}

void Write(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

struct Workload {
    std::string name;
    std::string ratioName;
    fs::path path;
    std::vector<fs::path> files;
    long long bytes = 0;
};

Workload MakeIndexedSet(const fs::path& folder) {
    Workload set{
        "indexed set, third octave", "indexed", folder / "set.kr9", {folder / "set.kr9"}, 0};
    const long long pageSize = 10000;
    const std::string head(Setup("THIRD OCTAV", pageSize).Bytes());
    std::vector<std::string> names;
    for (const std::string& page :
         Pages(records::RecordLayout(records::RecordKind::OfModeText("THIRD OCTAV")), pageSize)) {
        names.push_back("RecFile_" + std::to_string(names.size()) + ".rec");
        Write(folder / names.back(), head + page);
        set.files.push_back(folder / names.back());
    }
    Write(set.path, records::IndexFileText(names));
    return set;
}

Workload MakeSingleFile(const fs::path& folder) {
    Workload single{
        "single file, octave", "single_file", folder / "single.kr9", {folder / "single.kr9"}, 0};
    const long long pageSize = 5000;
    std::string bytes(Setup("OCTAVE", pageSize).Bytes());
    for (const std::string& page :
         Pages(records::RecordLayout(records::RecordKind::OfModeText("OCTAVE")), pageSize))
        bytes += page;
    Write(single.path, bytes);
    return single;
}

double Seconds(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The least a reader can do: each file opened and taken in with one read.
void ReadRaw(const std::vector<fs::path>& files, std::vector<char>& buffer) {
    for (const fs::path& file : files) {
        const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0 || ::read(fd, buffer.data(), buffer.size()) < 0)
            std::fprintf(stderr, "cannot read %s\n", file.c_str());
        if (fd >= 0)
            ::close(fd);
    }
}

void RunCommand(const std::string& command) {
    if (std::system(command.c_str()) != 0)
        std::fprintf(stderr, "failed: %s\n", command.c_str());
}

}  // namespace

int main(int argc, char** argv) {
    int runs = kDefaultRuns;
    for (int i = 1; i + 1 < argc; ++i)
        if (std::string(argv[i]) == "--runs")
            runs = std::max(1, std::atoi(argv[i + 1]));
    const char* tmp = std::getenv("TMPDIR");
    const fs::path folder =
        fs::path(tmp ? tmp : "/tmp") / ("acquisition_bench." + std::to_string(::getpid()));
    fs::create_directories(folder);

    std::printf("%-28s %6s %6s %12s %12s %12s\n", "recording", "MB", "pages", "reader MB/s",
                "read() MB/s", "cat x20 MB/s");
    std::vector<std::string> ratios;
    for (Workload recording : {MakeIndexedSet(folder), MakeSingleFile(folder)}) {
        long long largest = 0;
        for (const fs::path& file : recording.files) {
            const long long size = static_cast<long long>(fs::file_size(file));
            recording.bytes += size;
            largest = std::max(largest, size);
        }
        std::vector<char> rawBuffer(static_cast<size_t>(largest));
        std::string files;
        for (const fs::path& file : recording.files)
            files += " '" + file.string() + "'";
        // The same files 20 times over in one cat: what reading costs it, its start spread thin.
        std::string repeated = "cat";
        for (int i = 0; i < kRepeats; ++i)
            repeated += files;
        repeated += " >/dev/null";

        double reader = 1e9;
        double raw = 1e9;
        double many = 1e9;
        int pages = 0;
        for (int run = 0; run < runs; ++run) {
            // As the program opens its first set: a data buffer nothing is known of yet.
            QuietHost host;
            acquisition::Recording state;
            records::SetupBlock block;
            DataFileReader dataFiles(host, state, block);
            reader = std::min(reader, Seconds([&] {
                                  dataFiles.ReadDumpFile(recording.path.string());
                                  pages = host.PageRows() / 2;
                                  for (int page = 0; page < pages; ++page)
                                      dataFiles.OpenDataFile(recording.path.string(), page, page);
                              }));
            raw = std::min(raw, Seconds([&] { ReadRaw(recording.files, rawBuffer); }));
            many = std::min(many, Seconds([&] { RunCommand(repeated); }));
        }
        const double megabytes = static_cast<double>(recording.bytes) / 1e6;
        std::printf("%-28s %6.2f %6d %12.1f %12.1f %12.1f\n", recording.name.c_str(), megabytes,
                    pages, megabytes / reader, megabytes / raw, kRepeats * megabytes / many);
        ratios.push_back(platform::Format("ratio %s_vs_cat20 %.2f", recording.ratioName.c_str(),
                                          many / (kRepeats * reader)));
        ratios.push_back(platform::Format("ratio %s_vs_raw_read %.2f", recording.ratioName.c_str(),
                                          raw / reader));
    }
    for (const std::string& ratio : ratios)
        std::printf("%s\n", ratio.c_str());
    fs::remove_all(folder);
    return 0;
}
