#include "zip/zip_central_dir.h"

#include <algorithm>

#include "platform/text.h"
#include "zip/zip_bytes.h"
#include "zip/zip_exception.h"
#include "zip/zip_storage.h"

using namespace zip;

namespace {

// Names compare as Windows file names do: case does not count, then the bytes decide.
int CompareNames(std::string_view a, std::string_view b) {
    const int folded = platform::ToLower(a).compare(platform::ToLower(b));
    return folded != 0 ? folded : a.compare(b);
}

constexpr std::size_t kReadChunk = 1 << 20;

}  // namespace

CZipCentralDir::CZipCentralDir() = default;

CZipCentralDir::~CZipCentralDir() = default;

void CZipCentralDir::Clear() {
    m_headers.clear();
    m_findFast.clear();
    m_starts.clear();
    m_end = ZipEndRecord{};
    m_uBytesBefore = 0;
}

void CZipCentralDir::Read(CZipStorage& storage) {
    Clear();
    const std::string& path = storage.GetArchivePath();
    CZipBigFile& file = storage.File();
    const std::optional<std::uint64_t> endPosition = LocateEndRecord(file);
    if (!endPosition)
        ThrowZipError(CZipException::kEndRecordMissing, path);

    char fixed[kEndRecordSize];
    file.Seek(*endPosition);
    if (file.Read(fixed, sizeof fixed) != sizeof fixed)
        ThrowZipError(CZipException::kBadArchive, path);
    const std::uint16_t commentLength = *m_end.ReadFixed(fixed);
    if (*endPosition >= kZip64LocatorSize) {
        char locator[4];
        file.Seek(*endPosition - kZip64LocatorSize);
        if (file.Read(locator, sizeof locator) == sizeof locator &&
            GetU32(locator) == kZip64LocatorSignature)
            ThrowZipError(CZipException::kBadArchive, path, "Zip64 archive: not supported");
        file.Seek(*endPosition + kEndRecordSize);
    }
    m_end.comment.resize(commentLength);
    if (file.Read(m_end.comment.data(), commentLength) != commentLength)
        ThrowZipError(CZipException::kBadArchive, path, "archive comment cut short");

    if (m_end.thisVolume != 0) {
        if (m_end.centralDirVolume > m_end.thisVolume)
            ThrowZipError(CZipException::kBadArchive, path, "directory on a later volume");
        storage.SetOpenedSpanned(m_end.thisVolume);
    } else {
        const std::uint64_t directoryEnd =
            std::uint64_t{m_end.centralDirOffset} + m_end.centralDirSize;
        if (m_end.centralDirVolume != 0 || directoryEnd > *endPosition)
            ThrowZipError(CZipException::kBadArchive, path, "end record before the directory end");
        m_uBytesBefore = *endPosition - directoryEnd;
    }
    if ((m_end.centralDirSize == 0) != (m_end.totalEntries == 0) ||
        std::uint64_t{m_end.totalEntries} * kCentralHeaderSize > m_end.centralDirSize)
        ThrowZipError(CZipException::kBadArchive, path, "directory size and entries disagree");

    storage.ChangeVolume(m_end.centralDirVolume);
    storage.Seek(GetDirectoryStart());
    // Read piecewise: a spanned archive cannot vouch for its size before the volumes are read.
    std::string directory;
    while (directory.size() < m_end.centralDirSize) {
        const std::size_t part =
            std::min<std::size_t>(kReadChunk, m_end.centralDirSize - directory.size());
        const std::size_t had = directory.size();
        directory.resize(had + part);
        storage.Read(directory.data() + had, part);
    }
    ReadHeaders(directory, path);
}

void CZipCentralDir::ReadHeaders(const std::string& directory, const std::string& path) {
    std::size_t at = 0;
    m_headers.reserve(m_end.totalEntries);
    for (int i = 0; i < m_end.totalEntries; ++i) {
        auto header = std::make_unique<CZipFileHeader>();
        const std::size_t used = header->ReadCentral(directory.data() + at, directory.size() - at);
        if (used == 0)
            ThrowZipError(CZipException::kBadArchive, path,
                          platform::Format("directory entry %d", i));
        at += used;
        if (m_bConvertNames)
            header->ConvertToCallerForm();
        m_headers.push_back(std::move(header));
    }
    if (m_bFindFast)
        BuildFindFast();
    IndexStarts();
}

namespace {

std::uint64_t StartKey(int volume, std::uint32_t offset) {
    return static_cast<std::uint64_t>(volume) << 32 | offset;
}

}  // namespace

void CZipCentralDir::IndexStarts() {
    m_starts.clear();
    m_starts.reserve(m_headers.size() + 1);
    for (const auto& header : m_headers)
        m_starts.push_back(StartKey(header->m_uVolumeStart, header->m_uOffset));
    m_starts.push_back(StartKey(m_end.centralDirVolume, m_end.centralDirOffset));
    std::sort(m_starts.begin(), m_starts.end());
}

namespace {

std::optional<std::uint64_t> OffsetOnVolume(std::vector<std::uint64_t>::const_iterator start,
                                            std::vector<std::uint64_t>::const_iterator end,
                                            int volume) {
    if (start == end || (*start >> 32) != static_cast<std::uint64_t>(volume))
        return std::nullopt;
    return *start & 0xFFFFFFFFu;
}

}  // namespace

std::optional<std::uint64_t> CZipCentralDir::NextStart(int volume, std::uint32_t offset) const {
    return OffsetOnVolume(
        std::upper_bound(m_starts.begin(), m_starts.end(), StartKey(volume, offset)),
        m_starts.end(), volume);
}

std::optional<std::uint64_t> CZipCentralDir::StartFrom(int volume, std::uint32_t offset) const {
    return OffsetOnVolume(
        std::lower_bound(m_starts.begin(), m_starts.end(), StartKey(volume, offset)),
        m_starts.end(), volume);
}

bool CZipCentralDir::IsSharedStart(int volume, std::uint32_t offset) const {
    const auto range = std::equal_range(m_starts.begin(), m_starts.end(), StartKey(volume, offset));
    return range.second - range.first > 1;
}

void CZipCentralDir::Write(CZipStorage& storage) {
    const std::string& path = storage.GetArchivePath();
    const bool spanned = storage.IsWritingSpanned();
    const std::uint64_t before = spanned ? 0 : m_uBytesBefore;
    storage.MakeRoom(m_headers.empty() ? kEndRecordSize + m_end.comment.size()
                                       : m_headers.front()->GetSize());
    const std::uint64_t start = storage.GetPosition() - before;
    const int startVolume = storage.GetCurrentVolume();
    std::uint64_t size = 0;
    int countedVolume = startVolume;
    int volumeEntries = 0;
    for (const auto& header : m_headers) {
        const std::string record = header->FormatCentral();
        storage.Write(record.data(), record.size(), true);
        size += record.size();
        if (storage.GetCurrentVolume() != countedVolume) {
            countedVolume = storage.GetCurrentVolume();
            volumeEntries = 0;
        }
        ++volumeEntries;
    }
    if (start > kMax32 || size > kMax32)
        ThrowZipError(CZipException::kGeneric, path, "archive larger than 4 GiB");
    storage.MakeRoom(kEndRecordSize + m_end.comment.size());
    m_end.thisVolume = static_cast<std::uint16_t>(storage.GetCurrentVolume());
    m_end.centralDirVolume = static_cast<std::uint16_t>(startVolume);
    m_end.totalEntries = static_cast<std::uint16_t>(m_headers.size());
    if (storage.GetCurrentVolume() != countedVolume)
        volumeEntries = 0;
    m_end.volumeEntries = static_cast<std::uint16_t>(volumeEntries);
    m_end.centralDirSize = static_cast<std::uint32_t>(size);
    m_end.centralDirOffset = static_cast<std::uint32_t>(start);
    const std::string record = m_end.Format();
    storage.Write(record.data(), record.size(), true);
    storage.Flush();
}

CZipFileHeader& CZipCentralDir::AddNewFile(const CZipFileHeader& header) {
    m_headers.push_back(std::make_unique<CZipFileHeader>(header));
    if (m_bFindFast)
        InsertFindFast(GetCount() - 1);
    return *m_headers.back();
}

void CZipCentralDir::RemoveLastFile() {
    if (m_headers.empty())
        return;
    const int last = GetCount() - 1;
    std::erase_if(m_findFast, [last](const CZipFindFast& f) { return f.m_iIndex == last; });
    m_headers.pop_back();
}

void CZipCentralDir::EnableFindFast(bool enable) {
    m_bFindFast = enable;
    m_findFast.clear();
    if (enable)
        BuildFindFast();
}

void CZipCentralDir::BuildFindFast() {
    m_findFast.clear();
    for (int i = 0; i < GetCount(); ++i)
        InsertFindFast(i);
}

void CZipCentralDir::InsertFindFast(int index) {
    CZipFileHeader* header = m_headers[static_cast<std::size_t>(index)].get();
    const std::string name = header->GetFileName();
    const auto at = std::upper_bound(m_findFast.begin(), m_findFast.end(), name,
                                     [](const std::string& n, const CZipFindFast& f) {
                                         return CompareNames(n, f.m_pHeader->GetFileName()) < 0;
                                     });
    m_findFast.insert(at, CZipFindFast{header, index});
}

int CZipCentralDir::FindFile(std::string_view name, bool caseSensitive) const {
    const auto matches = [&](const CZipFileHeader& h) {
        const std::string entry = h.GetFileName();
        return caseSensitive ? entry == name : platform::ToLower(entry) == platform::ToLower(name);
    };
    if (!m_bFindFast) {
        for (int i = 0; i < GetCount(); ++i)
            if (matches(GetHeader(i)))
                return i;
        return -1;
    }
    const std::string folded = platform::ToLower(name);
    auto at = std::lower_bound(m_findFast.begin(), m_findFast.end(), folded,
                               [](const CZipFindFast& f, const std::string& n) {
                                   return platform::ToLower(f.m_pHeader->GetFileName()) < n;
                               });
    for (; at != m_findFast.end() && platform::ToLower(at->m_pHeader->GetFileName()) == folded;
         ++at)
        if (matches(*at->m_pHeader))
            return at->m_iIndex;
    return -1;
}
