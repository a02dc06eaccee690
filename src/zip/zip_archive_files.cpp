// Whole-entry operations: extract an entry into a folder, add a disk file, test an entry.

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <optional>
#include <stdexcept>
#include <string_view>

#include "platform/files.h"
#include "platform/text.h"
#include "zip/zip_archive.h"
#include "zip/zip_bytes.h"
#include "zip/zip_exception.h"
#include "zip/zip_extract_target.h"
#include "zip/zip_file_attributes.h"
#include "zip/zip_safe_path.h"

using namespace zip;

namespace {

// Fills `buffer` as far as the file allows; -1 on a read error.
long long ReadBlock(int fd, char* buffer, std::size_t size) {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::read(fd, buffer + done, size - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return -1;
        if (n == 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    return static_cast<long long>(done);
}

// Opened without waiting: a pipe would wait for a writer (regular files ignore the flag).
class SourceFile {
public:
    explicit SourceFile(const std::string& path)
        : m_fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK)) {}
    ~SourceFile() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    SourceFile(const SourceFile&) = delete;
    SourceFile& operator=(const SourceFile&) = delete;
    int Fd() const { return m_fd; }

private:
    int m_fd;
};

}  // namespace

bool CZipArchive::ExtractFile(int index, const std::string& folder, bool fullPath,
                              const std::string& newName, ZipProgressCallback callback,
                              void* userData, std::size_t bufferSize) {
    if (bufferSize == 0 || IsClosed() || !m_centralDir.IsValidIndex(index))
        return false;
    const CZipFileHeader& header = m_centralDir.GetHeader(index);
    if (header.IsSymbolicLink())
        Fail(CZipException::kUnsafeEntry, "link " + header.CallerName());
    std::string name = newName.empty() ? header.CallerName() : newName;
    if (!fullPath)
        name = FileNamePart(name);
    if (!IsSafeEntryName(name))
        Fail(CZipException::kUnsafeEntry, name);
    const bool directory = header.IsDirectory();
    if (!m_folders.HasNoLinkOnTheWay(folder, name, directory))
        Fail(CZipException::kUnsafeEntry, "link on the way to " + name);
    const std::string target = platform::JoinPath(folder, name);

    if (directory) {
        if (!platform::MakeDirectories(target))
            return false;
        ApplyEntryAttributes(target, header);
        return true;
    }
    // The target is claimed for this entry now and given back unless its file is written.
    const bool normal = IsNormalPath(target);
    const std::string normalised = normal ? std::string() : NormalPath(target);
    const std::string_view key = normal ? std::string_view(target) : normalised;
    bool fresh = false;
    const int holder = m_extracted.Claim(key, index, fresh);
    if (holder >= 0)
        Fail(CZipException::kSameTarget,
             platform::Format("%s is entry %d's file", target.c_str(), holder));
    struct Release {
        zip::ExtractClaims& claims;
        std::string_view key;
        bool keep;
        ~Release() {
            if (!keep)
                claims.Release(key);
        }
    } release{m_extracted, key, !fresh};
    if (!OpenFile(index))
        return false;
    const std::size_t slash = target.rfind('/');
    const int targetFolder =
        m_folders.Open(slash == std::string::npos ? std::string_view(".")
                       : slash == 0               ? std::string_view("/")
                                                  : std::string_view(target).substr(0, slash));
    ExtractTarget out(targetFolder,
                      slash == std::string::npos ? target.c_str() : target.c_str() + slash + 1);
    if (targetFolder < 0 || !out.Create()) {
        CloseFile({}, true);
        return false;
    }
    try {
        char* const buffer = TransferBuffer(bufferSize);
        std::uint64_t done = 0;
        for (;;) {
            const std::size_t n = ReadFile(buffer, bufferSize);
            if (!out.Write(buffer, n)) {
                CloseFile({}, true);
                return false;
            }
            done += n;
            if (callback && !callback(header.m_uUncomprSize, done, userData))
                break;
            if (n < bufferSize)
                break;
        }
        if (CloseFile() != 1)
            return false;
    } catch (...) {
        CloseFile({}, true);
        throw;
    }
    const std::optional<mode_t> created = m_folders.NewFileMode(out.Descriptor());
    const bool attributesSet =
        created && ApplyEntryAttributes(out.Descriptor(), header, *created,
                                        m_dosTimes.ToSeconds(header.m_uModTime, header.m_uModDate));
    if (!out.Commit())
        return false;
    release.keep = true;
    return attributesSet;
}

bool CZipArchive::AddNewFile(const std::string& path, int level, bool fullPath,
                             ZipProgressCallback callback, void* userData, std::size_t bufferSize) {
    if (bufferSize == 0 || IsClosed())
        return false;
    const std::string name = fullPath ? PathToEntryName(path) : FileNamePart(path);
    if (name.empty())
        return false;
    SourceFile source(path);
    const std::optional<SourceFacts> facts =
        source.Fd() >= 0 ? ReadSourceFacts(source.Fd()) : std::nullopt;
    // A device or a pipe is no file: its data might never end.
    if (!facts || (!facts->isDirectory && !facts->isRegular))
        return false;
    CZipFileHeader header;
    header.SetTime(facts->modified);
    header.m_uExternalAttr = facts->attributes;
    if (facts->isDirectory) {
        header.SetFileName(name + "\\");
        return OpenNewFile(header, level) && CloseNewFile();
    }
    header.SetFileName(name);
    if (!OpenNewFile(header, level))
        return false;
    char* const buffer = TransferBuffer(bufferSize);
    std::uint64_t done = 0;
    for (;;) {
        const long long n = ReadBlock(source.Fd(), buffer, bufferSize);
        if (n < 0) {
            DiscardNewFile();
            return false;
        }
        WriteNewFile(buffer, static_cast<std::size_t>(n));
        done += static_cast<std::uint64_t>(n);
        if (callback && !callback(facts->size, done, userData)) {
            DiscardNewFile();
            return false;
        }
        if (static_cast<std::size_t>(n) < bufferSize)
            break;
    }
    return CloseNewFile();
}

bool CZipArchive::TestFile(int index, ZipProgressCallback callback, void* userData,
                           std::size_t bufferSize) {
    if (bufferSize == 0 || IsClosed())
        return false;
    if (!m_centralDir.IsValidIndex(index))
        throw std::invalid_argument(
            platform::Format("no entry %d in %s", index, GetArchivePath().c_str()));
    const CZipFileHeader& header = m_centralDir.GetHeader(index);
    if (header.IsDirectory()) {
        const bool empty = header.m_uUncomprSize == 0 &&
                           (header.m_uComprSize == 0 ||
                            (header.IsEncrypted() && header.m_uComprSize == kEncryptionHeaderSize));
        if (!empty)
            Fail(CZipException::kGeneric, "folder entry holding data");
        return true;
    }
    if (!OpenFile(index))
        return false;
    try {
        char* const buffer = TransferBuffer(bufferSize);
        std::uint64_t done = 0;
        const std::uint64_t total = header.m_uUncomprSize;
        for (;;) {
            const std::size_t n = ReadFile(buffer, bufferSize);
            done += n;
            if (callback && !callback(total, done, userData))
                break;
            if (n < bufferSize)
                break;
        }
        return CloseFile() == 1;
    } catch (...) {
        CloseFile({}, true);
        throw;
    }
}
