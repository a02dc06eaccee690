#pragma once
// The central directory: the entries' headers in archive order, the end record, the bytes that
// precede the archive in its file, and the optional index of the entries by name.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "zip/zip_end_record.h"
#include "zip/zip_file_header.h"

class CZipStorage;

struct CZipFindFast {
    CZipFileHeader* m_pHeader = nullptr;
    int m_iIndex = 0;
};

class CZipCentralDir {
public:
    CZipCentralDir();
    virtual ~CZipCentralDir();
    CZipCentralDir(const CZipCentralDir&) = delete;
    CZipCentralDir& operator=(const CZipCentralDir&) = delete;

    void Clear();
    // Finds the end record, reads every header and converts the names (when set to).
    void Read(CZipStorage& storage);
    // Writes every header and the end record where the storage stands.
    void Write(CZipStorage& storage);

    int GetCount() const { return static_cast<int>(m_headers.size()); }
    bool IsValidIndex(int index) const { return index >= 0 && index < GetCount(); }
    CZipFileHeader& GetHeader(int index) { return *m_headers[static_cast<std::size_t>(index)]; }
    const CZipFileHeader& GetHeader(int index) const {
        return *m_headers[static_cast<std::size_t>(index)];
    }
    CZipFileHeader& AddNewFile(const CZipFileHeader& header);
    void RemoveLastFile();

    void EnableFindFast(bool enable);
    // Index of the entry named `name` (caller form), or -1.
    int FindFile(std::string_view name, bool caseSensitive) const;

    // What lies between one local header read from the archive and the next (or the
    // directory) belongs to one entry: the start after (volume, offset), the first start at or
    // after it, and whether another entry starts at the same place.
    std::optional<std::uint64_t> NextStart(int volume, std::uint32_t offset) const;
    std::optional<std::uint64_t> StartFrom(int volume, std::uint32_t offset) const;
    bool IsSharedStart(int volume, std::uint32_t offset) const;

    // Where the directory read from the archive starts in its file.
    std::uint64_t GetDirectoryStart() const { return m_uBytesBefore + m_end.centralDirOffset; }

    zip::ZipEndRecord m_end;
    std::uint64_t m_uBytesBefore = 0;  // e.g. a self-extracting stub before the archive
    bool m_bConvertNames = true;

private:
    void ReadHeaders(const std::string& directory, const std::string& path);
    void InsertFindFast(int index);
    void BuildFindFast();
    void IndexStarts();

    std::vector<std::unique_ptr<CZipFileHeader>> m_headers;
    bool m_bFindFast = false;
    std::vector<CZipFindFast> m_findFast;  // sorted by name
    std::vector<std::uint64_t> m_starts;   // volume << 32 | offset, sorted
};
