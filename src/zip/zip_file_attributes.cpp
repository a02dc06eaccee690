#include "zip/zip_file_attributes.h"

#include <fcntl.h>
#include <sys/stat.h>

#include "zip/zip_bytes.h"
#include "zip/zip_file_header.h"

namespace zip {

namespace {

SourceFacts FactsOf(const struct stat& st) {
    SourceFacts facts;
    facts.isDirectory = S_ISDIR(st.st_mode);
    facts.isRegular = S_ISREG(st.st_mode);
    facts.attributes = facts.isDirectory ? CZipFileHeader::kDirectory : CZipFileHeader::kArchive;
    if ((st.st_mode & S_IWUSR) == 0)
        facts.attributes |= CZipFileHeader::kReadOnly;
    facts.attributes |= static_cast<std::uint32_t>(st.st_mode) << 16;
    facts.modified = st.st_mtime;
    facts.size = facts.isRegular ? static_cast<std::uint64_t>(st.st_size) : 0;
    return facts;
}

}  // namespace

std::optional<SourceFacts> ReadSourceFacts(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return std::nullopt;
    return FactsOf(st);
}

std::optional<SourceFacts> ReadSourceFacts(int fd) {
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        return std::nullopt;
    return FactsOf(st);
}

namespace {

// The permissions that `header` gives a file or folder whose mode is now `current`.
mode_t EntryMode(mode_t current, const CZipFileHeader& header) {
    const bool directory = S_ISDIR(current);
    mode_t mode = current & 07777;
    const mode_t unixMode = (header.m_uExternalAttr >> 16) & 0777;
    if ((header.m_uVersionMadeBy >> 8) == kHostUnix && unixMode != 0) {
        // A folder must stay open to its owner: its own entries are written into it next.
        mode = directory ? (unixMode | S_IRWXU) : unixMode;
    } else if ((header.m_uExternalAttr & CZipFileHeader::kReadOnly) && !directory) {
        mode &= ~static_cast<mode_t>(S_IWUSR | S_IWGRP | S_IWOTH);
    }
    return mode;
}

}  // namespace

bool ApplyEntryAttributes(const std::string& path, const CZipFileHeader& header) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return false;
    const std::time_t modified = header.GetTime();
    const timespec times[2] = {{modified, 0}, {modified, 0}};
    bool ok = ::utimensat(AT_FDCWD, path.c_str(), times, 0) == 0;
    const mode_t mode = EntryMode(st.st_mode, header);
    if (mode != (st.st_mode & 07777))
        ok = ::chmod(path.c_str(), mode) == 0 && ok;
    return ok;
}

bool ApplyEntryAttributes(int fd, const CZipFileHeader& header, mode_t current,
                          std::time_t modified) {
    const timespec times[2] = {{modified, 0}, {modified, 0}};
    bool ok = ::futimens(fd, times) == 0;
    const mode_t mode = EntryMode(S_IFREG | current, header);
    if (mode != (current & 07777))
        ok = ::fchmod(fd, mode) == 0 && ok;
    return ok;
}

}  // namespace zip
