#pragma once
// The archive's bytes on disk: one file, or the volumes of a spanned archive. Writes go through
// a buffer; records that must not be split over volumes are written "at once".

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "zip/zip_auto_buffer.h"
#include "zip/zip_big_file.h"
#include "zip/zip_removable_medium.h"

// Asked to change the disk of an archive spanned over removable disks. Writing, `code` is the
// number of bytes the write in progress still has to place on the next disk, then a code below
// while the disk put in is refused; reading, it is kDiskToRead. `disk` counts from 1, as the
// disks' labels do. FALSE gives up (cause 13).
using ZipVolumeCallback = bool (*)(int code, int disk, void* userData);

enum ZipVolumeCode : int {
    kDiskToRead = -1,
    kDiskNotEmpty = -2,
    kDiskNotLabelled = -3,
    kVolumeNotCreated = -4,
};

class CZipStorage {
public:
    enum SpanMode { kNoSpan = 0, kRemovableSpan = 1, kFixedSpan = 2 };
    static constexpr std::size_t kWriteBufferSize = 65535;
    // Starting the 999th volume fails.
    static constexpr int kMaxVolumes = 998;

    CZipStorage();
    virtual ~CZipStorage();
    CZipStorage(const CZipStorage&) = delete;
    CZipStorage& operator=(const CZipStorage&) = delete;

    // Modes as CZipArchive::Open takes them. Mode 0 falls back to reading only when the file
    // may not be written. Mode 3 with no volume size spans removable disks: every disk holds
    // one file under the archive's path, and the first is asked for as the marker is written.
    void Open(const std::string& path, int mode, std::uint64_t volumeSize);
    // Renames the last volume of a spanned archive of fixed-size volumes written here to the
    // archive's name.
    void Close(bool afterException);
    // Open from Open to Close, also while a removable disk's file is closed for the next one.
    bool IsOpen() const { return m_bOpen; }
    bool IsReadOnly() const { return m_bReadOnly; }
    bool IsSpanned() const { return m_iSpanMode != kNoSpan; }
    bool IsWritingSpanned() const { return m_bNewSpan; }
    int GetSpanMode() const { return m_iSpanMode; }
    int GetCurrentVolume() const { return m_iCurrentVolume; }
    const std::string& GetArchivePath() const { return m_path; }
    CZipBigFile& File() { return m_file; }

    // An archive opened for reading turned out to be spanned; the file open is its last volume.
    // It spans removable disks when its folder is on one and holds neither the first nor the
    // next-to-last volume file of a fixed-size span.
    void SetOpenedSpanned(int lastVolume);
    // A spanned archive being written that fits on its first volume becomes an ordinary one.
    void EndSpanning();
    // Reading: moves to another volume of a spanned archive (no-op otherwise). A volume that is
    // not there is cause 21, and the volume open before stays open for the other entries. On
    // removable disks the callback is asked to put the disk in.
    void ChangeVolume(int volume);
    // The length of a volume of the archive being read (the file's for an archive that is not
    // spanned); none when that volume is not there, or is on a removable disk not in the drive.
    std::optional<std::uint64_t> VolumeLength(int volume);
    int GetLastVolume() const { return m_iLastVolume; }
    // Exactly `size` bytes, continuing on the next volumes; a bad archive when they end first.
    void Read(void* buffer, std::size_t size);

    void Write(const void* data, std::size_t size, bool atOnce);
    // Overwrites bytes written before, in the buffer when they are still there; the position
    // stays where it was. Not across volumes.
    void WriteAt(std::uint64_t position, const void* data, std::size_t size);
    // Before a record that must not be split: starts the next volume when it does not fit.
    void MakeRoom(std::size_t size);
    void Flush();

    // Position in the current volume, buffered bytes included.
    std::uint64_t GetPosition();
    void Seek(std::uint64_t position);
    void SeekToEnd();
    void Truncate(std::uint64_t length);

    ZipVolumeCallback m_pCallback = nullptr;
    void* m_pCallbackData = nullptr;
    zip::RemovableMedium* m_pMedium = &zip::SystemRemovableMedium();

private:
    void Buffer(const char* data, std::size_t size);
    // `needed`: the bytes still to write; all of them must fit when they may not be split.
    void NextVolume(std::size_t needed, bool atOnce);
    void StartDisk(int volume, std::size_t needed, bool atOnce);
    void OpenVolumeForReading(int volume);
    void InsertDiskForReading(int volume);
    bool HasFixedVolumes(int lastVolume) const;
    void AskForDisk(int code, int volume) const;
    [[noreturn]] void Fail(int cause, const std::string& detail) const;

    CZipBigFile m_file;
    std::string m_path;
    CZipAutoBuffer m_writeBuffer;
    std::size_t m_uBuffered = 0;
    int m_iSpanMode = kNoSpan;
    int m_iCurrentVolume = 0;
    int m_iLastVolume = 0;
    std::uint64_t m_uVolumeSize = 0;
    std::uint64_t m_uFreeSpace = 0;
    bool m_bVolumeWritten = false;
    bool m_bNewSpan = false;
    bool m_bVolumesCreated = false;
    bool m_bReadOnly = false;
    bool m_bOpen = false;
};
