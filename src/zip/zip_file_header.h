#pragma once
// One entry of an archive as its central-directory header describes it, and the records that
// are built from it: central header, local header, data descriptor.

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>

#include "zip/zip_auto_buffer.h"

class CZipFileHeader {
public:
    CZipFileHeader();
    virtual ~CZipFileHeader();
    CZipFileHeader(const CZipFileHeader&) = default;
    CZipFileHeader& operator=(const CZipFileHeader&) = default;

    // Attribute bits of the external attributes, as Windows reports them.
    static constexpr std::uint32_t kReadOnly = 0x01;
    static constexpr std::uint32_t kDirectory = 0x10;
    static constexpr std::uint32_t kArchive = 0x20;

    std::uint32_t m_uSignature;
    std::uint16_t m_uVersionMadeBy = 0;
    std::uint16_t m_uVersionNeeded = 0;
    std::uint16_t m_uFlags = 0;
    std::uint16_t m_uMethod = 8;
    std::uint16_t m_uModTime = 0;
    std::uint16_t m_uModDate = 0;
    std::uint32_t m_uCrc32 = 0;
    std::uint32_t m_uComprSize = 0;
    std::uint32_t m_uUncomprSize = 0;
    std::uint16_t m_uVolumeStart = 0;
    std::uint16_t m_uInternalAttr = 0;
    std::uint32_t m_uExternalAttr = kArchive;
    std::uint32_t m_uOffset = 0;  // of the local header, from the start of the archive
    CZipAutoBuffer m_extraField;  // carried as it is; never built here
    CZipAutoBuffer m_fileName;
    CZipAutoBuffer m_comment;

    std::string GetFileName() const { return m_fileName.ToString(); }
    // The name in caller form, whichever form it is in.
    std::string CallerName() const;
    void SetFileName(std::string_view name);
    std::string GetComment() const { return m_comment.ToString(); }
    std::time_t GetTime() const;
    void SetTime(std::time_t seconds);

    bool IsEncrypted() const { return (m_uFlags & 0x01) != 0; }
    bool HasDataDescriptor() const { return (m_uFlags & 0x08) != 0; }
    bool IsDirectory() const;
    // A symbolic link stored by a Unix zip: its data is the link's target.
    bool IsSymbolicLink() const;
    // Sizes or offset kept in a Zip64 extra field, which these classes do not read.
    bool IsZip64() const;
    // Whether the name is in its stored form (see ConvertToStoredForm).
    bool IsNameStored() const { return m_bNameStored; }

    std::size_t GetSize() const;       // of the central record
    std::size_t GetLocalSize() const;  // of the local header

    // Parses the central record at `record`; returns its length, or 0 when the signature is
    // wrong or the record does not fit in `available` bytes. The name stays in stored form.
    std::size_t ReadCentral(const char* record, std::size_t available);
    std::string FormatCentral() const;
    std::string FormatLocal() const;
    // CRC-32, compressed and uncompressed size: what offset 14 of the local header holds.
    std::string FormatSizes() const;
    std::string FormatDescriptor(bool withSignature) const;

    // Sets the fields of a new entry for `level`: version, method, flags, zero sizes (12 for
    // the encryption header). False when the name, extra field or comment is too long.
    bool PrepareData(int level, bool spanned, bool encrypted);

    // Stored form <-> caller form of the name (code page, UTF-8 flag, slashes). A name that the
    // caller did not change goes back to exactly the bytes it was read from.
    void ConvertToCallerForm();
    void ConvertToStoredForm();

private:
    std::string StoredName(bool* utf8) const;
    std::uint16_t FlagsToWrite(bool utf8) const;

    bool m_bNameStored = false;
    const std::string& OriginalCaller() const {
        return m_originalCaller.empty() ? m_originalStored : m_originalCaller;
    }

    std::string m_originalStored;  // as read from the archive
    std::string m_originalCaller;  // what that converted to, when that differs
    bool m_bOriginalUtf8 = false;
};
