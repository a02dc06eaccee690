#pragma once
// A zip archive on disk: open or create it, list and test its entries, extract them into a
// folder and add disk files to it. Entries may be encrypted (traditional PKWARE) and archives
// may be spanned over fixed-size volumes or removable disks. Failures are CZipException; operations
// that do not apply (closed archive, entry already open, zero buffer size...) return FALSE.

#include <cstddef>
#include <cstdint>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "zip/zip_auto_buffer.h"
#include "zip/zip_central_dir.h"
#include "zip/zip_crypto.h"
#include "zip/zip_dos_time.h"
#include "zip/zip_extract_claims.h"
#include "zip/zip_extract_folders.h"
#include "zip/zip_extract_stage.h"
#include "zip/zip_internal_info.h"
#include "zip/zip_storage.h"
#include "zip/zip_zlib_allocations.h"

// Progress of an extraction, test or addition: total bytes, bytes so far; FALSE stops it.
using ZipProgressCallback = bool (*)(std::uint64_t total, std::uint64_t done, void* userData);

class CZipArchive {
public:
    enum OpenMode { kOpen = 0, kOpenReadOnly = 1, kCreate = 2, kCreateSpan = 3 };
    static constexpr std::size_t kDefaultBufferSize = 65535;
    static constexpr int kDefaultLevel = -1;  // zlib's default

    CZipArchive();
    virtual ~CZipArchive();
    CZipArchive(const CZipArchive&) = delete;
    CZipArchive& operator=(const CZipArchive&) = delete;

    // Modes 0 and 1 read the central directory at once; 3 writes volumes of `volumeSize` bytes,
    // or with 0 volumes on removable disks (cause 12 without a volume callback, 14 when the
    // archive's folder is not on a removable disk). FALSE when an archive is already open.
    bool Open(const std::string& path, int mode = kOpen, std::uint64_t volumeSize = 0);
    // Writes the central directory when entries were added. After an exception it writes
    // nothing, except that an existing archive being added to gets back the directory of its
    // complete entries.
    void Close(bool afterException = false);
    bool IsClosed() const { return !m_storage.IsOpen(); }

    int GetCount() const { return IsClosed() ? 0 : m_centralDir.GetCount(); }
    bool GetFileInfo(CZipFileHeader& header, int index) const;
    std::string GetGlobalComment() const { return m_centralDir.m_end.comment; }
    const std::string& GetArchivePath() const { return m_storage.GetArchivePath(); }
    int GetSpanMode() const { return m_storage.GetSpanMode(); }

    // FALSE while an entry is open.
    bool SetPassword(std::string_view password);
    void SetVolumeCallback(ZipVolumeCallback callback, void* userData);
    // The disks of archives spanned over removable disks; the system's by default.
    void SetRemovableMedium(zip::RemovableMedium& medium) { m_storage.m_pMedium = &medium; }
    void SetKeepAllocationList(bool keep) { m_allocations.SetKeeping(keep); }
    // Takes effect for the archives opened afterwards.
    void SetConvertNames(bool convert) { m_centralDir.m_bConvertNames = convert; }
    void EnableFindFast(bool enable = true) { m_centralDir.EnableFindFast(enable); }
    // Index of the entry with that name ('\' between folders), or -1.
    int FindFile(std::string_view name, bool caseSensitive = false) const;

    bool OpenFile(int index);
    // Uncompressed bytes placed in `buffer`; 0 at the end of the entry.
    std::size_t ReadFile(void* buffer, std::size_t size);
    // 1 done; -1 the entry was not read to its end; -2 the target file's time or attributes
    // could not be set. An entry read to its end must match its CRC (cause 11).
    int CloseFile(const std::string& filePath = {}, bool afterException = false);

    bool OpenNewFile(CZipFileHeader& header, int level = kDefaultLevel,
                     const std::string& sourcePath = {});
    bool WriteNewFile(const void* buffer, std::size_t size);
    bool CloseNewFile();

    // While the archive stays open, a file extracted from one entry is never replaced by
    // another entry (cause 20): duplicate names, or names that differ only in how folders are
    // written or in the folders that fullPath=false drops, would otherwise overwrite silently.
    // The first extraction into a folder that succeeds removes the stages killed extractions
    // left there (zip::ExtractStage); no entry may take a stage's name (cause 19).
    bool ExtractFile(int index, const std::string& folder, bool fullPath = true,
                     const std::string& newName = {}, ZipProgressCallback callback = nullptr,
                     void* userData = nullptr, std::size_t bufferSize = kDefaultBufferSize);
    // All or nothing, in one pass: StageFile extracts an entry with its stored path as ExtractFile
    // does, with the same checks and its CRC, but leaves its file unnamed in a hidden folder inside
    // `folder` (zip::ExtractStage), and a folder entry's folder unmade; CommitStaged then names
    // them all in the order they were staged, once the folders they need are made and the files
    // they replace kept in the stage, and on a failure puts back every name it changed and
    // removes the folders it made (cause 1, naming the file and the stage, when a replaced file
    // cannot go back: the stage keeps it). Closing the archive removes what was not committed, so
    // a failed stage changes no name. Every entry of one commit is staged into the same folder
    // (FALSE otherwise). A file where an entry needs a folder, or a folder where it needs a file,
    // fails the commit: the caller rules such targets out first.
    bool StageFile(int index, const std::string& folder);
    bool CommitStaged();
    bool AddNewFile(const std::string& path, int level = kDefaultLevel, bool fullPath = true,
                    ZipProgressCallback callback = nullptr, void* userData = nullptr,
                    std::size_t bufferSize = kDefaultBufferSize);
    // An index beyond the entries throws std::invalid_argument.
    bool TestFile(int index, ZipProgressCallback callback = nullptr, void* userData = nullptr,
                  std::size_t bufferSize = kDefaultBufferSize);

private:
    enum class EntryState { kNone, kReading, kWriting };

    [[noreturn]] void Fail(int cause, const std::string& detail = {}) const;
    std::uint64_t BytesBefore() const;
    // The block that whole-entry operations move data through, kept from one entry to the next.
    char* TransferBuffer(std::size_t size);
    // Extraction: where an entry's file or folder goes, after its name, its way there and its
    // kind are checked (cause 19 for what must never be extracted).
    std::string CheckedTarget(const CZipFileHeader& header, const std::string& folder,
                              bool fullPath, const std::string& newName);
    // Puts back the names the first `named` staged entries took and removes the folders `made`;
    // FALSE, or cause 1 when a file replaced could not go back (left in the stage).
    bool UndoCommit(std::size_t named, const std::vector<std::string>& made);
    // The open entry read to its end into `fd`, its CRC checked; FALSE when a write fails or the
    // callback stops.
    bool ReadEntryInto(int fd, const CZipFileHeader& header, ZipProgressCallback callback,
                       void* userData, std::size_t bufferSize);
    // Reading
    void SkipLocalHeader(const CZipFileHeader& header);
    void CheckEntryExtent(const CZipFileHeader& header, std::uint64_t length);
    void StartDecryption(const CZipFileHeader& header);
    void SkipRest();
    void CheckDataDescriptor(const CZipFileHeader& header);
    std::size_t ReadStored(char* out, std::size_t size);
    std::size_t ReadDeflated(char* out, std::size_t size);
    void EndEntry();
    // Writing
    void CutOldDirectory();
    void FlushEntryBuffer();
    void WriteSizesIntoLocalHeader(const CZipFileHeader& header);
    void DiscardNewFile();
    void RestoreDirectoryAfterFailure();
    void MakeSpanOrdinary();
    void MoveBytes(std::uint64_t from, std::uint64_t to, std::uint64_t count);

    // Declared before the stream's owner: zlib returns its blocks to this list.
    zip::ZlibAllocationList m_allocations;
    CZipStorage m_storage;
    CZipCentralDir m_centralDir;
    CZipInternalInfo m_info;
    CZipAutoBuffer m_password;
    CZipAutoBuffer m_transfer;
    zip::ZipCrypto m_crypto;
    std::mt19937 m_random;

    int m_iMode = kOpen;
    EntryState m_state = EntryState::kNone;
    int m_iCurrentIndex = -1;
    std::uint32_t m_uComprLeft = 0;
    std::uint32_t m_uUncomprLeft = 0;
    std::uint32_t m_uCrc32 = 0;
    std::uint64_t m_uTotalIn = 0;
    std::uint64_t m_uTotalOut = 0;
    bool m_bStreamEnded = false;
    bool m_bChanged = false;           // new archive, or entries added: Close writes the directory
    bool m_bDirectoryCut = false;      // the old directory of an existing archive is gone from disk
    std::uint64_t m_uCompleteEnd = 0;  // end of the last complete entry, after such a cut
    std::uint64_t m_uNewFileStart = 0;  // position of the local header being written
    zip::ExtractClaims m_extracted;     // file written -> entry, while open
    zip::ExtractFolders m_folders;      // extracted into, while open
    zip::DosTimes m_dosTimes;           // of extracted files, zone read at Open
    struct StagedEntry {
        int index = 0;
        std::string target;
        std::string staged;    // its file's name in the stage; empty for a folder
        std::string replaced;  // the file it replaces, kept in the stage while committing
    };
    zip::ExtractStage m_stage;
    std::vector<StagedEntry> m_staged;  // in the order they are to be named
};
