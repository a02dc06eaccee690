#include "acquisition/data_set.h"
#include "acquisition/data_set_unpack.h"
#include "acquisition/read_only_file.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <functional>
#include <utility>
#include <vector>

#include "platform/files.h"
#include "platform/qt_text.h"
#include "platform/text.h"
#include "zip/zip_archive.h"
#include "zip/zip_exception.h"

namespace acquisition {

namespace {

constexpr size_t kFirstLineChars = 511;
constexpr const char* kCannotOpen = "Unable to open current file (code %d)";
constexpr const char* kCannotOpenPage = "ERROR: Unable to open file";
constexpr const char* kFileEmpty = "WARNING: File Empty.";
constexpr const char* kBadPageSize = "ERROR: Page size not valid (%lld samples).";
constexpr const char* kBadPageName = "ERROR: Page file name not allowed (%s).";
constexpr const char* kTooManyPages = "ERROR: Too many pages (more than %zu).";

std::string FolderOf(const std::string& path) {
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string AsText(const std::vector<unsigned char>& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

// Up to `count` bytes at `offset`, and no more: a page's start text is all the listing reads of
// it.
std::vector<unsigned char> ReadAt(int fd, long long offset, size_t count) {
    std::vector<unsigned char> bytes(count);
    bytes.resize(ReadFully(fd, offset, bytes.data(), count));
    return bytes;
}

long long FileSize(int fd) {
    struct stat status {};
    return ::fstat(fd, &status) == 0 ? static_cast<long long>(status.st_size) : 0;
}

// The lines of a file from its start, as the program has always read its text files: at most
// `maxChars` characters a line (a longer one goes on as the next line), CRs before the LF cut.
class DescriptorLines {
public:
    explicit DescriptorLines(int fd) : m_fd(fd) {}

    bool Next(std::string& line, size_t maxChars) {
        line.clear();
        int c = EOF;
        bool any = false;
        while (line.size() < maxChars && (c = Get()) != EOF) {
            any = true;
            if (c == '\n')
                break;
            line.push_back(static_cast<char>(c));
        }
        if (c == '\n')
            while (!line.empty() && line.back() == '\r')
                line.pop_back();
        return any;
    }

private:
    int Get() {
        if (m_at == m_end) {
            m_at = 0;
            m_end = ReadFully(m_fd, m_offset, m_bytes.data(), m_bytes.size());
            m_offset += static_cast<long long>(m_end);
            if (m_end == 0)
                return EOF;
        }
        return m_bytes[m_at++];
    }

    int m_fd;
    long long m_offset = 0;
    std::array<unsigned char, 4096> m_bytes{};
    size_t m_at = 0;
    size_t m_end = 0;
};

// The first line, and for an index the names of its pages (blank lines are none).
struct TextHead {
    bool opened = false;
    bool isIndex = false;
    std::vector<std::string> pageNames;
};

TextHead ReadTextHead(int fd) {
    TextHead head;
    if (fd < 0)
        return head;
    head.opened = true;
    DescriptorLines lines(fd);
    std::string line;
    if (!lines.Next(line, kFirstLineChars))
        return head;
    head.isIndex = records::IsIndexFirstLine(line);
    while (head.isIndex && lines.Next(line, kFirstLineChars)) {
        std::string name = platform::TrimRight(line);
        if (!name.empty())
            head.pageNames.push_back(std::move(name));
    }
    return head;
}

TextHead ReadTextHead(const std::string& path) {
    const ReadOnlyFile file(path);
    return ReadTextHead(file.Get());
}

bool FitsBuffer(const records::RecordLayout& layout, long long pageSize) {
    return pageSize > 0 && layout.PageDataBytes(pageSize) > 0 &&
           layout.PageBytes(pageSize) <= static_cast<long long>(records::kDataBufferSize);
}

// `count` bytes at `offset`, from `head` when it holds them, else read.
std::vector<unsigned char> BytesAt(int file, const std::vector<unsigned char>& head,
                                   long long offset, size_t count) {
    if (offset + static_cast<long long>(count) <= static_cast<long long>(head.size()))
        return {head.begin() + offset, head.begin() + offset + static_cast<long long>(count)};
    return ReadAt(file, offset, count);
}

// The setup of a page file and, when `firstStart` is given, its first page's start text: one
// read covers them unless label blocks come between.
std::optional<PageFileSetup> ReadPageFileHead(int file, std::string& failure,
                                              std::string* firstStart = nullptr) {
    const std::vector<unsigned char> head =
        ReadAt(file, 0,
               records::kLabelHeaderBytes + records::SetupBlock::kSize +
                   (firstStart ? records::kPageStartBytes : 0));
    if (head.size() < static_cast<size_t>(records::kLabelHeaderBytes)) {
        failure = kFileEmpty;
        return std::nullopt;
    }
    const long long offset = records::SetupBlockOffset(head);
    const auto block =
        records::SetupBlock::FromBytes(BytesAt(file, head, offset, records::SetupBlock::kSize));
    if (!block) {
        failure = kFileEmpty;
        return std::nullopt;
    }
    const PageFileSetup result{*block, DecodeSetup(*block), offset + records::SetupBlock::kSize};
    if (!FitsBuffer(result.setup.Layout(), result.setup.pageSize)) {
        failure = platform::Format(kBadPageSize, result.setup.pageSize);
        return std::nullopt;
    }
    if (firstStart)
        *firstStart = AsText(BytesAt(file, head, result.dataStart, records::kPageStartBytes));
    return result;
}

void ListIndex(const std::string& path, const std::vector<std::string>& names,
               DataSetListing& listing) {
    if (names.size() > DataSetListing::kMaxPages) {
        listing.failure = platform::Format(kTooManyPages, DataSetListing::kMaxPages);
        return;
    }
    const std::string folder = FolderOf(path);
    for (const std::string& name : names) {
        if (!records::IsPlainPageName(name)) {
            listing.failure = platform::Format(kBadPageName, name.c_str());
            return;
        }
        const ReadOnlyFile page(folder + name);
        if (page.Get() < 0) {
            listing.failure = platform::Format(kCannotOpen, FileErrorCause(page.Error()));
            return;
        }
        std::string failure;
        std::string startText;
        const auto head = ReadPageFileHead(page.Get(), failure, &startText);
        if (!head) {
            listing.failure = failure;
            return;
        }
        listing.pages.push_back({head->dataStart, std::move(startText), listing.heads.size()});
        listing.heads.push_back(*head);
        listing.pageNames.push_back(name);
    }
}

void ListSingleFile(const std::string& path, DataSetListing& listing) {
    const ReadOnlyFile file(path);
    if (file.Get() < 0) {
        listing.failure = platform::Format(kCannotOpen, FileErrorCause(file.Error()));
        return;
    }
    std::string failure;
    const auto head = ReadPageFileHead(file.Get(), failure);
    if (!head) {
        listing.failure = failure;
        return;
    }
    const long long pageBytes = head->setup.Layout().PageBytes(head->setup.pageSize);
    const long long size = FileSize(file.Get());
    const long long pages = std::max(0LL, (size - head->dataStart + pageBytes - 1) / pageBytes);
    if (pages > static_cast<long long>(DataSetListing::kMaxPages)) {
        listing.failure = platform::Format(kTooManyPages, DataSetListing::kMaxPages);
        return;
    }
    listing.heads.push_back(*head);
    for (long long offset = head->dataStart; offset < size; offset += pageBytes)
        listing.pages.push_back(
            {offset, AsText(ReadAt(file.Get(), offset, records::kPageStartBytes)), 0});
}

}  // namespace

int RecordingSetup::LevelScaleTop() const {
    const bool classOne =
        !platform::Contains(model, "QS4160") && model.size() > 9 && model[9] == '1';
    return acquisition::LevelScaleTop(range, classOne);
}

int LevelScaleTop(std::string_view range, bool extendedRange) {
    int fullScale = 140;
    for (const auto& [text, top] :
         {std::pair{"10", 130}, std::pair{"20", 120}, std::pair{"30", 110}, std::pair{"40", 100}}) {
        if (platform::Contains(range, text)) {
            fullScale = top;
            break;
        }
    }
    return fullScale - (extendedRange ? 110 : 80);
}

RecordingSetup DecodeSetup(const records::SetupBlock& block) {
    RecordingSetup setup;
    setup.model = block.Text(records::SetupBlock::kModel);
    setup.date = block.Text(records::SetupBlock::kDate);
    setup.time = block.Text(records::SetupBlock::kTime);
    setup.range = block.Text(records::SetupBlock::kRange);
    setup.profileTime = block.Text(records::SetupBlock::kProfileTime);
    setup.spectrumTime = block.Text(records::SetupBlock::kSpectrumTime);
    for (size_t i = 0; i < setup.parameters.size(); ++i)
        setup.parameters[i] = block.Text(records::SetupBlock::kSlm1Param + static_cast<int>(i));
    setup.spectShift = block.Text(records::SetupBlock::kSpectShift);
    setup.kind = records::RecordKind::OfModeText(block.Text(records::SetupBlock::kAcquisitionMode));
    setup.pageSize = platform::Atoll(block.Text(records::SetupBlock::kPagingSize));
    const std::string_view bytes = block.Bytes();
    setup.acquisitionTime = records::ParseSchedulerField(
        bytes.substr(records::kAcquisitionTimeOffset, records::kSchedulerFieldBytes));
    setup.repetitionTime = records::ParseSchedulerField(
        bytes.substr(records::kRepetitionTimeOffset, records::kSchedulerFieldBytes));
    return setup;
}

int FileErrorCause(int error) {
    switch (error) {
        case ENOENT:
            return 2;
        case ENOTDIR:
        case ENAMETOOLONG:
        case ELOOP:
            return 3;
        case EMFILE:
        case ENFILE:
            return 4;
        case EACCES:
        case EPERM:
        case EROFS:
        case EISDIR:
            return 5;
        case EIO:
            return 10;
        case ENOSPC:
            return 13;
        default:
            return 1;
    }
}

DataSetListing ListDataSet(const std::string& path) {
    DataSetListing listing;
    const TextHead head = ReadTextHead(path);
    listing.opened = head.opened;
    listing.isIndex = head.isIndex;
    if (!head.opened)
        return listing;
    if (head.isIndex)
        ListIndex(path, head.pageNames, listing);
    else
        ListSingleFile(path, listing);
    return listing;
}

void PageLoader::Open(const std::string& path) {
    Close();
    if (!m_file.Open(path))
        return;
    TextHead head = ReadTextHead(m_file.Descriptor());
    m_isIndex = head.isIndex;
    m_pageNames = std::move(head.pageNames);
    std::array<unsigned char, records::kLabelHeaderBytes> labelHead{};
    if (!m_isIndex &&
        ReadFully(m_file.Descriptor(), 0, labelHead.data(), labelHead.size()) == labelHead.size())
        m_setupOffset = records::SetupBlockOffset(labelHead);
}

void PageLoader::Close() {
    m_file.Close();
    m_isIndex = false;
    m_pageNames.clear();
    m_setupOffset = -1;
}

PageLoad PageLoader::Load(const std::string& path, int page, const records::RecordLayout& layout,
                          long long pageSize, PageBuffer buffer, bool knownCurrent) {
    if (!(knownCurrent && m_file.Holds(path)) && !m_file.IsCurrent(path))
        Open(path);
    const PageLoad load = Read(path, page, layout, pageSize, buffer.bytes);
    // Past the page, only what an earlier page left there holds anything but 0xFF.
    const size_t loaded = static_cast<size_t>(load.bytes);
    const size_t filled = std::min(buffer.filled, buffer.bytes.size());
    if (filled > loaded)
        std::fill(buffer.bytes.begin() + static_cast<std::ptrdiff_t>(loaded),
                  buffer.bytes.begin() + static_cast<std::ptrdiff_t>(filled), 0xFF);
    buffer.filled = loaded;
    return load;
}

PageLoad PageLoader::Read(const std::string& path, int page, const records::RecordLayout& layout,
                          long long pageSize, std::span<unsigned char> buffer) const {
    PageLoad load;
    if (!m_file.IsOpen()) {
        load.failure = kCannotOpenPage;
        return load;
    }
    std::optional<ReadOnlyFile> pageFile;
    int fd = m_file.Descriptor();
    long long setupOffset = m_setupOffset;
    if (m_isIndex) {
        if (page < 0 || page >= static_cast<int>(m_pageNames.size())) {
            load.failure = kCannotOpenPage;
            return load;
        }
        const std::string& name = m_pageNames[static_cast<size_t>(page)];
        if (!records::IsPlainPageName(name)) {
            load.failure = platform::Format(kBadPageName, name.c_str());
            return load;
        }
        pageFile.emplace(FolderOf(path) + name);
        fd = pageFile->Get();
        if (fd < 0) {
            load.failure = kCannotOpenPage;
            return load;
        }
        std::array<unsigned char, records::kLabelHeaderBytes> labelHead{};
        setupOffset = ReadFully(fd, 0, labelHead.data(), labelHead.size()) == labelHead.size()
                          ? records::SetupBlockOffset(labelHead)
                          : -1;
    }
    if (setupOffset < 0) {
        load.failure = kFileEmpty;
        return load;
    }
    const long long pageBytes = layout.PageBytes(pageSize);
    if (!FitsBuffer(layout, pageSize) || pageBytes > static_cast<long long>(buffer.size())) {
        load.failure = platform::Format(kBadPageSize, pageSize);
        return load;
    }
    long long start = setupOffset + records::SetupBlock::kSize;
    if (!m_isIndex)
        start += std::max(page, 0) * pageBytes;
    load.bytes =
        static_cast<long long>(ReadFully(fd, start, buffer.data(), static_cast<size_t>(pageBytes)));
    load.startText.assign(
        buffer.begin(), buffer.begin() + std::min<long long>(load.bytes, records::kPageStartBytes));
    return load;
}

PageLoad LoadPage(const std::string& path, int page, const records::RecordLayout& layout,
                  long long pageSize, std::span<unsigned char> buffer) {
    PageLoader loader;
    size_t filled = buffer.size();
    return loader.Load(path, page, layout, pageSize, {buffer, filled});
}

namespace {

// A local header, an empty archive's end record, or the mark of a spanned archive; nothing when
// the file cannot be opened.
std::optional<bool> StartsAsZipArchive(const std::string& path) {
    const ReadOnlyFile file(path);
    if (file.Get() < 0)
        return std::nullopt;
    const std::vector<unsigned char> head = ReadAt(file.Get(), 0, 4);
    const std::string signature = AsText(head);
    return signature == std::string("PK\x03\x04", 4) || signature == std::string("PK\x05\x06", 4) ||
           signature == std::string("PK\x07\x08", 4);
}

std::function<void()> g_beforeArchiveOpen;

}  // namespace

Unpacking UnpackZippedDataSet(const std::string& path) {
    Unpacking unpacking;
    unpacking.isArchive = StartsAsZipArchive(path).value_or(false);
    if (!unpacking.isArchive)
        return unpacking;
    if (g_beforeArchiveOpen) {
        const auto hook = g_beforeArchiveOpen;
        hook();
    }
    CZipArchive zip;
    try {
        bool opened = false;
        try {
            opened = zip.Open(path, CZipArchive::kOpenReadOnly);
        } catch (const CZipException&) {
            // A file that no longer starts as an archive was unpacked since the look by another
            // program opening the same set, whose last rename gave the index the archive's own
            // name: the set is read as it now is. The zip classes open by path, so the look and
            // the open cannot share one descriptor.
            if (StartsAsZipArchive(path) != std::optional(false))
                throw;
            zip.Close(true);
            unpacking.isArchive = false;
            return unpacking;
        }
        if (!opened) {
            unpacking.failure = "the archive could not be opened";
            return unpacking;
        }
        const std::string folder =
            FolderOf(path).empty() ? platform::CurrentDirectory() : FolderOf(path);
        // The entries' names are the system's.
        if (const auto failure = ExtractEveryEntry(zip, folder))
            unpacking.failure = platform::SystemNameToText(*failure);
        zip.Close();
    } catch (const CZipException& error) {
        zip.Close(true);
        unpacking.failure = error.what();
    } catch (const std::invalid_argument& error) {
        zip.Close(true);
        unpacking.failure = error.what();
    }
    return unpacking;
}

ScopedUnpackHook::ScopedUnpackHook(std::function<void()> beforeArchiveOpen)
    : m_previous(std::exchange(g_beforeArchiveOpen, std::move(beforeArchiveOpen))) {}

ScopedUnpackHook::~ScopedUnpackHook() {
    g_beforeArchiveOpen = std::move(m_previous);
}

}  // namespace acquisition
