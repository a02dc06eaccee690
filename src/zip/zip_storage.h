#pragma once
// The archive's bytes on disk: one file, or the volumes of a spanned archive. Writes go through
// a buffer; records that must not be split over volumes are written "at once".

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "zip/zip_auto_buffer.h"
#include "zip/zip_big_file.h"

// Asked to change the disk of an archive spanned over removable disks: `code` is the number of
// bytes needed on the new disk, or -2 (the disk is not empty), -3 (it cannot be labelled),
// -4 (the volume file cannot be created). FALSE gives up.
using ZipVolumeCallback = bool (*)(int code, int volume, void* userData);

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
    // may not be written.
    void Open(const std::string& path, int mode, std::uint64_t volumeSize);
    // Renames the last volume of a spanned archive written here to the archive's name.
    void Close(bool afterException);
    bool IsOpen() const { return m_file.IsOpen(); }
    bool IsReadOnly() const { return m_bReadOnly; }
    bool IsSpanned() const { return m_iSpanMode != kNoSpan; }
    bool IsWritingSpanned() const { return m_bNewSpan; }
    int GetSpanMode() const { return m_iSpanMode; }
    int GetCurrentVolume() const { return m_iCurrentVolume; }
    const std::string& GetArchivePath() const { return m_path; }
    CZipBigFile& File() { return m_file; }

    // An archive opened for reading turned out to be spanned; the file open is its last volume.
    void SetOpenedSpanned(int lastVolume);
    // A spanned archive being written that fits on its first volume becomes an ordinary one.
    void EndSpanning();
    // Reading: moves to another volume of a spanned archive (no-op otherwise). A volume that is
    // not there is cause 21, and the volume open before stays open for the other entries.
    void ChangeVolume(int volume);
    // The length of a volume of the archive being read (the file's for an archive that is not
    // spanned); none when that volume is not there.
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

private:
    void Buffer(const char* data, std::size_t size);
    void NextVolume();
    void OpenVolumeForReading(int volume);
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
};
