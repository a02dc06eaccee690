// Whole-entry operations: extract an entry into a folder, add a disk file, test an entry.

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <optional>
#include <stdexcept>
#include <string_view>
#include <vector>

#include "platform/files.h"
#include "platform/text.h"
#include "zip/zip_archive.h"
#include "zip/zip_bytes.h"
#include "zip/zip_exception.h"
#include "zip/zip_extract_stage.h"
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

// Staged entries up to this size are inflated in one call, which spares zlib the copy of what
// it writes into its window.
constexpr std::size_t kStageBufferSize = std::size_t{1} << 20;

// The folder of a target path, and its name in that folder.
std::string_view FolderOfTarget(const std::string& target) {
    const std::size_t slash = target.rfind('/');
    return slash == std::string::npos ? std::string_view(".")
           : slash == 0               ? std::string_view("/")
                                      : std::string_view(target).substr(0, slash);
}

const char* NameOfTarget(const std::string& target) {
    const std::size_t slash = target.rfind('/');
    return slash == std::string::npos ? target.c_str() : target.c_str() + slash + 1;
}

bool WriteAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

std::string CZipArchive::CheckedTarget(const CZipFileHeader& header, const std::string& folder,
                                       bool fullPath, const std::string& newName) {
    if (header.IsSymbolicLink())
        Fail(CZipException::kUnsafeEntry, "link " + header.CallerName());
    std::string name = newName.empty() ? header.CallerName() : newName;
    if (!fullPath)
        name = FileNamePart(name);
    if (!IsSafeEntryName(name))
        Fail(CZipException::kUnsafeEntry, name);
    // It would land in an extraction's stage, or be taken for one.
    if (IsTemporaryName(FirstNamePart(name)))
        Fail(CZipException::kUnsafeEntry, "a temporary's name: " + name);
    if (!m_folders.HasNoLinkOnTheWay(folder, name, header.IsDirectory()))
        Fail(CZipException::kUnsafeEntry, "link on the way to " + name);
    return platform::JoinPath(folder, name);
}

namespace {

// The target is claimed for an entry while its file is written and given back unless it was.
class TargetClaim {
public:
    TargetClaim(zip::ExtractClaims& claims, const std::string& target)
        : m_claims(claims),
          m_target(target),
          m_normalised(IsNormalPath(target) ? std::string() : NormalPath(target)),
          m_key(m_normalised.empty() ? std::string_view(target) : m_normalised) {}
    ~TargetClaim() {
        if (m_fresh && !m_kept)
            m_claims.Release(m_key);
    }
    TargetClaim(const TargetClaim&) = delete;
    TargetClaim& operator=(const TargetClaim&) = delete;

    // Claims the target for entry `index`; that another entry has it already is an error of the
    // archive `archivePath`.
    void ClaimFor(int index, const std::string& archivePath) {
        if (const int holder = m_claims.Claim(m_key, index, m_fresh); holder >= 0)
            ThrowZipError(CZipException::kSameTarget, archivePath,
                          platform::Format("%s is entry %d's file", m_target.c_str(), holder));
    }
    void Keep() { m_kept = true; }

private:
    zip::ExtractClaims& m_claims;
    const std::string& m_target;
    std::string m_normalised;
    std::string_view m_key;
    bool m_fresh = false;
    bool m_kept = false;
};

}  // namespace

bool CZipArchive::ReadEntryInto(int fd, const CZipFileHeader& header, ZipProgressCallback callback,
                                void* userData, std::size_t bufferSize) {
    try {
        char* const buffer = TransferBuffer(bufferSize);
        std::uint64_t done = 0;
        for (;;) {
            const std::size_t n = ReadFile(buffer, bufferSize);
            if (!WriteAll(fd, buffer, n)) {
                CloseFile({}, true);
                return false;
            }
            done += n;
            if (callback && !callback(header.m_uUncomprSize, done, userData))
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

bool CZipArchive::ExtractFile(int index, const std::string& folder, bool fullPath,
                              const std::string& newName, ZipProgressCallback callback,
                              void* userData, std::size_t bufferSize) {
    if (bufferSize == 0 || IsClosed() || !m_centralDir.IsValidIndex(index))
        return false;
    const CZipFileHeader& header = m_centralDir.GetHeader(index);
    const std::string target = CheckedTarget(header, folder, fullPath, newName);
    if (header.IsDirectory()) {
        if (!platform::MakeDirectories(target))
            return false;
        ApplyEntryAttributes(target, header);
        return true;
    }
    TargetClaim claim(m_extracted, target);
    claim.ClaimFor(index, GetArchivePath());
    if (!OpenFile(index))
        return false;
    const int targetFolder = m_folders.Open(FolderOfTarget(target));
    ExtractTarget out(targetFolder, NameOfTarget(target));
    if (targetFolder < 0 || !out.Create()) {
        CloseFile({}, true);
        return false;
    }
    if (!ReadEntryInto(out.Descriptor(), header, callback, userData, bufferSize))
        return false;
    const std::optional<mode_t> created = m_folders.NewFileMode(out.Descriptor());
    const bool attributesSet =
        created && ApplyEntryAttributes(out.Descriptor(), header, *created,
                                        m_dosTimes.ToSeconds(header.m_uModTime, header.m_uModDate));
    if (!out.Commit())
        return false;
    claim.Keep();
    m_folders.Open(FolderOfTarget(target));
    m_folders.RemoveAbandonedOnce();
    return attributesSet;
}

bool CZipArchive::StageFile(int index, const std::string& folder) {
    if (IsClosed() || !m_centralDir.IsValidIndex(index) ||
        (m_stage.IsBegun() && m_stage.Folder() != folder))
        return false;
    const CZipFileHeader& header = m_centralDir.GetHeader(index);
    const std::string target = CheckedTarget(header, folder, true, {});
    if (header.IsDirectory()) {
        m_staged.push_back({index, target, {}, {}});
        return true;
    }
    TargetClaim claim(m_extracted, target);
    claim.ClaimFor(index, GetArchivePath());
    if (!OpenFile(index))
        return false;
    const int fd =
        m_stage.IsBegun() || m_stage.Begin(m_folders.Open(folder), folder) ? m_stage.Create() : -1;
    if (fd < 0) {
        CloseFile({}, true);
        return false;
    }
    bool written = false;
    try {
        written = ReadEntryInto(fd, header, nullptr, nullptr, kStageBufferSize);
    } catch (...) {
        m_stage.Drop();
        throw;
    }
    const std::optional<mode_t> created = written ? m_stage.NewFileMode() : std::nullopt;
    if (!created ||
        !ApplyEntryAttributes(fd, header, *created,
                              m_dosTimes.ToSeconds(header.m_uModTime, header.m_uModDate))) {
        m_stage.Drop();
        return false;
    }
    std::string staged = m_stage.Keep();
    if (staged.empty())
        return false;
    claim.Keep();
    m_staged.push_back({index, target, std::move(staged), {}});
    return true;
}

bool CZipArchive::CommitStaged() {
    // Before any name changes, the folders the entries need are made, and every file to be
    // replaced is linked into the stage: a target that cannot be replaced (immutable, another
    // file system mounted there) refuses now, and a rename that fails later can be undone. A
    // file the system will not link is kept by its move instead.
    std::vector<std::string> made;
    std::string_view madeLast;  // the folder made, or found there, for the entry before
    for (StagedEntry& entry : m_staged) {
        const bool isFolder = entry.staged.empty();
        const std::string_view folder =
            isFolder ? std::string_view(entry.target) : FolderOfTarget(entry.target);
        const bool there = folder == madeLast || ExtractFolders::Make(std::string(folder), made);
        madeLast = folder;
        if (!there ||
            (!isFolder && !m_stage.KeepReplaced(m_folders.Open(folder), NameOfTarget(entry.target),
                                                entry.replaced)))
            return UndoCommit(0, made);
    }
    for (std::size_t named = 0; named < m_staged.size(); ++named) {
        StagedEntry& entry = m_staged[named];
        const bool linked = !entry.replaced.empty();
        // A move that fails has a file to put back only where it moved the one there aside.
        if (!entry.staged.empty() &&
            !m_stage.MoveKeeping(entry.staged, m_folders.Open(FolderOfTarget(entry.target)),
                                 NameOfTarget(entry.target), entry.replaced))
            return UndoCommit(linked || entry.replaced.empty() ? named : named + 1, made);
    }
    m_stage.End();
    for (const StagedEntry& entry : m_staged) {
        const bool isFolder = entry.staged.empty();
        // Last, so that a folder an entry makes read-only took its files first.
        if (isFolder)
            ApplyEntryAttributes(entry.target, m_centralDir.GetHeader(entry.index));
        if (m_folders.Open(isFolder ? std::string_view(entry.target)
                                    : FolderOfTarget(entry.target)) >= 0)
            m_folders.RemoveAbandonedOnce();
    }
    m_staged.clear();
    return true;
}

bool CZipArchive::UndoCommit(std::size_t named, const std::vector<std::string>& made) {
    std::string stranded;  // a target whose replaced file could not go back
    while (named > 0) {
        const StagedEntry& entry = m_staged[--named];
        if (!entry.staged.empty() && !m_stage.PutBack(entry.staged, entry.replaced,
                                                      m_folders.Open(FolderOfTarget(entry.target)),
                                                      NameOfTarget(entry.target)))
            stranded = entry.target;
    }
    for (auto folder = made.rbegin(); folder != made.rend(); ++folder)
        ::rmdir(folder->c_str());
    if (!stranded.empty())
        Fail(CZipException::kGeneric,
             stranded + " could not be put back: the file it replaced is in " + m_stage.Path());
    return false;
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
