#include "acquisition/selected_pages_save.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <set>

#include "acquisition/data_set.h"
#include "acquisition/read_only_file.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/text.h"
#include "records/record_layout.h"
#include "zip/zip_archive.h"
#include "zip/zip_exception.h"

namespace acquisition {

namespace {

constexpr const char* kCannotCreate = "Unable to create file to save on(code %d)";
constexpr const char* kCannotOpenOrigin = "Unable to open origin file (code %d)";
constexpr const char* kPageMissing = "ERROR: Page %d not found in %s";
constexpr const char* kNameClash = "ERROR: Page file name not allowed (%s).";
constexpr const char* kArchiveFailed = "ERROR: Unable to save selected reports (%s)";
constexpr const char* kLogSuffix = "_LogScheduler.txt";
constexpr std::string_view kDataExtension = ".kr9";
constexpr int kZipLevel = 1;
constexpr size_t kTransferBytes = 65535;

std::string FolderOf(const std::string& path) {
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string NameOf(const std::string& path) {
    return path.substr(FolderOf(path).size());
}

PageSaveResult Failure(std::string text) {
    PageSaveResult result;
    result.failure = std::move(text);
    return result;
}

PageSaveResult CannotCreate() {
    return Failure(platform::Format(kCannotCreate, FileErrorCause(errno)));
}

PageSaveResult CannotOpenOrigin() {
    return Failure(platform::Format(kCannotOpenOrigin, FileErrorCause(errno)));
}

// The two scheduler fields of a page file's setup block hold times, not "NO SCHED".
bool IsScheduled(const records::SetupBlock& block) {
    const std::string_view fields =
        block.Bytes().substr(records::kAcquisitionTimeOffset, 2 * records::kSchedulerFieldBytes);
    return !platform::Contains(fields, records::kNoSchedule);
}

// Copies `count` bytes of `source` from `offset` to `out`; fewer when the source ends first.
bool CopyBytes(int source, long long offset, long long count, platform::AtomicFileWriter& out) {
    std::string buffer(kTransferBytes, '\xFF');
    while (count > 0) {
        const size_t want = static_cast<size_t>(std::min<long long>(count, kTransferBytes));
        bool failed = false;
        const size_t got = ReadFully(source, offset, buffer.data(), want, &failed);
        if (got > 0 && !out.Write(std::string_view(buffer.data(), got)))
            return false;
        if (got < want)
            return !failed;
        offset += static_cast<long long>(got);
        count -= static_cast<long long>(got);
    }
    return true;
}

// The log of a scheduled single file goes beside the target; false when it could not.
bool CopySchedulerLog(const std::string& source, const std::string& target) {
    if (source == target)
        return true;
    const std::optional<std::string> log = platform::ReadWholeFile(source);
    return log && platform::WriteFileAtomic(target, *log);
}

PageSaveResult SaveFilePages(const std::string& source, const DataSetListing& listing,
                             const std::string& target, const std::vector<int>& pages) {
    const PageFileSetup& head = listing.heads.front();
    const long long pageBytes = head.setup.Layout().PageBytes(head.setup.pageSize);
    const ReadOnlyFile file(source);
    if (file.Get() < 0)
        return CannotOpenOrigin();
    platform::AtomicFileWriter out(target);
    if (!out.IsOpen())
        return CannotCreate();
    // The label header and its blocks stay in front of the setup block, where they were.
    bool copied = CopyBytes(file.Get(), 0, head.dataStart, out);
    for (const int page : pages)
        copied = copied && CopyBytes(file.Get(), listing.pages[static_cast<size_t>(page)].offset,
                                     pageBytes, out);
    if (!copied)
        return CannotCreate();

    PageSaveResult result;
    const std::string sourceLog = SchedulerLogPath(source);
    if (IsScheduled(head.block) && platform::FileExists(sourceLog)) {
        result.schedulerLog = SchedulerLogPath(target);
        if (!CopySchedulerLog(sourceLog, result.schedulerLog))
            return CannotCreate();
    }
    if (!out.Commit())
        return CannotCreate();
    result.saved = true;
    return result;
}

class ZipEntryWriter {
public:
    explicit ZipEntryWriter(CZipArchive& zip) : m_zip(zip) {}

    // False when the source cannot be read; a broken archive throws.
    bool AddFile(const std::string& path, const std::string& name) {
        const ReadOnlyFile file(path);
        struct stat facts {};
        if (file.Get() < 0 || ::fstat(file.Get(), &facts) != 0)
            return false;
        Open(name, facts.st_mtime);
        std::string buffer(kTransferBytes, '\0');
        bool failed = false;
        for (long long offset = 0;; offset += static_cast<long long>(buffer.size())) {
            const size_t got = ReadFully(file.Get(), offset, buffer.data(), buffer.size(), &failed);
            if (got > 0)
                m_zip.WriteNewFile(buffer.data(), got);
            if (got < buffer.size())
                break;
        }
        if (failed)
            ThrowZipError(CZipException::kGeneric, path, "read");
        return m_zip.CloseNewFile();
    }

    bool AddText(const std::string& text, const std::string& name) {
        Open(name, platform::Clock::Now());
        m_zip.WriteNewFile(text.data(), text.size());
        return m_zip.CloseNewFile();
    }

private:
    void Open(const std::string& name, std::time_t time) {
        CZipFileHeader header;
        header.SetFileName(name);
        header.SetTime(time);
        if (!m_zip.OpenNewFile(header, kZipLevel))
            ThrowZipError(CZipException::kGeneric, m_zip.GetArchivePath(), name);
    }

    CZipArchive& m_zip;
};

PageSaveResult SaveIndexPages(const std::string& source, const DataSetListing& listing,
                              const std::string& target, const std::vector<int>& pages) {
    const std::string folder = FolderOf(source);
    const std::string indexName = NameOf(target);
    const std::string logName = NameOf(SchedulerLogPath(target));
    std::vector<std::string> names;
    std::set<std::string> entries{indexName, logName};
    for (const int page : pages) {
        const std::string& name = listing.pageNames[static_cast<size_t>(page)];
        // Two entries of one name would unpack into one file.
        if (!entries.insert(name).second)
            return Failure(platform::Format(kNameClash, name.c_str()));
        names.push_back(name);
    }
    const std::string sourceLog = SchedulerLogPath(source);
    const bool withLog = !listing.heads.empty() && IsScheduled(listing.heads.front().block) &&
                         platform::FileExists(sourceLog);

    platform::AtomicFileWriter out(target);
    if (!out.IsOpen())
        return CannotCreate();
    CZipArchive zip;
    try {
        if (!zip.Open(out.TemporaryPath(), CZipArchive::kCreate))
            return CannotCreate();
        ZipEntryWriter writer(zip);
        for (const std::string& name : names)
            if (!writer.AddFile(folder + name, name)) {
                const PageSaveResult failure = CannotOpenOrigin();
                zip.Close(true);
                return failure;
            }
        if (withLog && !writer.AddFile(sourceLog, logName)) {
            const PageSaveResult failure = CannotOpenOrigin();
            zip.Close(true);
            return failure;
        }
        writer.AddText(records::IndexFileText(names), indexName);
        zip.Close();
    } catch (const CZipException& error) {
        zip.Close(true);
        return Failure(platform::Format(kArchiveFailed, error.what()));
    }
    if (!out.Commit())
        return CannotCreate();
    PageSaveResult result;
    result.saved = true;
    return result;
}

}  // namespace

std::vector<PageListItem> OfferedPages(const std::vector<std::string>& rows, bool monitoring) {
    std::vector<PageListItem> items;
    for (size_t row = 0; row < rows.size(); row += 2) {
        if (monitoring && platform::Contains(rows[row], "CURR"))
            break;
        items.push_back({rows[row], row + 1 < rows.size() ? rows[row + 1] : std::string()});
    }
    return items;
}

std::optional<int> ChosenPage(std::string_view name, int itemCount) {
    if (platform::Contains(name, "CURR"))
        return itemCount > 0 ? std::optional<int>(itemCount - 1) : std::nullopt;
    if (!platform::Contains(name, "PAGE"))
        return std::nullopt;
    const int page = platform::Atoi(platform::Mid(name, 4));
    return page >= 0 ? std::optional<int>(page) : std::nullopt;
}

std::string SaveTargetPath(std::string_view typed) {
    std::string target(platform::TrimRight(typed));
    if (!platform::EndsWith(target, kDataExtension))
        target += kDataExtension;
    return target;
}

std::string SchedulerLogPath(std::string_view dataPath) {
    const std::string path(dataPath);
    const size_t dot = path.find_last_of('.');
    const bool extension = dot != std::string::npos && dot > FolderOf(path).size();
    return (extension ? path.substr(0, dot) : path) + kLogSuffix;
}

PageSaveResult SaveSelectedPages(const std::string& source, const std::string& target,
                                 std::vector<int> pages) {
    // In the recording's order: only its last page may be short, and a short page anywhere
    // else would shift every page after it.
    std::sort(pages.begin(), pages.end());
    pages.erase(std::unique(pages.begin(), pages.end()), pages.end());
    const DataSetListing listing = ListDataSet(source);
    if (!listing.opened)
        return CannotOpenOrigin();
    if (listing.failure)
        return Failure(*listing.failure);
    for (const int page : pages)
        if (page < 0 || page >= static_cast<int>(listing.pages.size()))
            return Failure(platform::Format(kPageMissing, page, source.c_str()));
    return listing.isIndex ? SaveIndexPages(source, listing, target, pages)
                           : SaveFilePages(source, listing, target, pages);
}

}  // namespace acquisition
