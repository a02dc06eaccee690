#include "zip/zip_storage.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>

#include "platform/text.h"
#include "zip/zip_bytes.h"
#include "zip/zip_exception.h"
#include "zip/zip_volume_names.h"

CZipStorage::CZipStorage() = default;

CZipStorage::~CZipStorage() = default;

void CZipStorage::Fail(int cause, const std::string& detail) const {
    ThrowZipError(cause, m_path, detail);
}

void CZipStorage::Open(const std::string& path, int mode, std::uint64_t volumeSize) {
    m_path = path;
    m_iSpanMode = kNoSpan;
    m_iCurrentVolume = m_iLastVolume = 0;
    m_uBuffered = 0;
    m_uFreeSpace = 0;
    m_bNewSpan = m_bVolumesCreated = m_bVolumeWritten = m_bReadOnly = m_bOpen = false;
    bool opened = false;
    switch (mode) {
        case 0:
            opened = m_file.Open(path, CZipBigFile::Mode::kReadWrite);
            if (!opened && (errno == EACCES || errno == EROFS || errno == EPERM)) {
                opened = m_file.Open(path, CZipBigFile::Mode::kRead);
                m_bReadOnly = opened;
            }
            break;
        case 1:
            opened = m_file.Open(path, CZipBigFile::Mode::kRead);
            m_bReadOnly = true;
            break;
        case 2:
            opened = m_file.Open(path, CZipBigFile::Mode::kCreate);
            break;
        case 3:
            if (volumeSize == 0) {
                if (!m_pCallback)
                    Fail(CZipException::kNoVolumeCallback, "spanning over removable disks");
                if (!m_pMedium->IsRemovable(path))
                    Fail(CZipException::kNotRemovable, "its folder is not on a removable disk");
                m_iSpanMode = kRemovableSpan;
                opened = true;  // the first disk is asked for as the marker is written
            } else {
                m_iSpanMode = kFixedSpan;
                m_bVolumesCreated = true;
                m_uVolumeSize = m_uFreeSpace = volumeSize;
                opened = m_file.Open(zip::VolumeFileName(path, 0), CZipBigFile::Mode::kCreate);
            }
            m_bNewSpan = true;
            break;
        default:
            Fail(CZipException::kGeneric, "unknown open mode");
    }
    if (!opened)
        Fail(CZipException::kGeneric, "open: " + m_file.OpenError());
    m_bOpen = true;
    if (!m_bReadOnly)
        m_writeBuffer.Allocate(kWriteBufferSize);
    if (m_bNewSpan) {
        std::string marker;
        zip::PutU32(marker, zip::kDescriptorSignature);
        Write(marker.data(), marker.size(), true);
    }
}

void CZipStorage::Close(bool afterException) {
    if (!IsOpen())
        return;
    if (afterException) {
        m_file.Close();
        m_bOpen = false;
    } else {
        Flush();
        m_file.Close();
        m_bOpen = false;
        if (m_bVolumesCreated) {
            const std::string last = zip::VolumeFileName(m_path, m_iCurrentVolume);
            if (std::rename(last.c_str(), m_path.c_str()) != 0)
                Fail(CZipException::kGeneric, std::string("rename: ") + std::strerror(errno));
        }
    }
    m_writeBuffer.Release();
    m_uBuffered = 0;
    m_iSpanMode = kNoSpan;
    m_bNewSpan = m_bVolumesCreated = false;
}

void CZipStorage::SetOpenedSpanned(int lastVolume) {
    m_iCurrentVolume = m_iLastVolume = lastVolume;
    m_iSpanMode = !HasFixedVolumes(lastVolume) && m_pMedium->IsRemovable(m_path) ? kRemovableSpan
                                                                                 : kFixedSpan;
}

// The first volume or the one before the last: an end record may claim 65535 volumes.
bool CZipStorage::HasFixedVolumes(int lastVolume) const {
    struct stat st {};
    return ::stat(zip::VolumeFileName(m_path, 0).c_str(), &st) == 0 ||
           ::stat(zip::VolumeFileName(m_path, lastVolume - 1).c_str(), &st) == 0;
}

void CZipStorage::EndSpanning() {
    m_iSpanMode = kNoSpan;
    m_bNewSpan = false;
}

void CZipStorage::OpenVolumeForReading(int volume) {
    if (m_iSpanMode == kRemovableSpan) {
        InsertDiskForReading(volume);
        return;
    }
    const std::string name = volume == m_iLastVolume ? m_path : zip::VolumeFileName(m_path, volume);
    if (!m_file.Open(name, CZipBigFile::Mode::kRead)) {
        const int cause = errno == ENOENT ? CZipException::kMissingVolume : CZipException::kGeneric;
        Fail(cause, platform::Format("volume %d of %d, %s: %s", volume + 1, m_iLastVolume + 1,
                                     name.c_str(), m_file.OpenError().c_str()));
    }
    m_iCurrentVolume = volume;
}

void CZipStorage::InsertDiskForReading(int volume) {
    if (!m_pCallback)
        Fail(CZipException::kNoVolumeCallback, platform::Format("disk %d", volume + 1));
    // Once the callback has been asked, the disk in the drive is known again only when the
    // asked one is open.
    m_iCurrentVolume = -1;
    do
        AskForDisk(kDiskToRead, volume);
    while (!m_file.Open(m_path, CZipBigFile::Mode::kRead));
    m_iCurrentVolume = volume;
}

void CZipStorage::AskForDisk(int code, int volume) const {
    const std::string disk = platform::Format("disk %d", volume + 1);
    if (!m_pCallback)
        Fail(CZipException::kNoVolumeCallback, disk);
    if (!m_pCallback(code, volume + 1, m_pCallbackData))
        Fail(CZipException::kVolumeChangeAborted, disk);
}

void CZipStorage::ChangeVolume(int volume) {
    if (m_iSpanMode == kNoSpan || m_bNewSpan || volume == m_iCurrentVolume)
        return;
    if (volume < 0 || volume > m_iLastVolume)
        Fail(CZipException::kBadArchive, "no such volume");
    OpenVolumeForReading(volume);
}

std::optional<std::uint64_t> CZipStorage::VolumeLength(int volume) {
    if (m_iSpanMode == kNoSpan || m_bNewSpan || volume == m_iCurrentVolume)
        return m_file.GetLength();
    if (volume < 0 || volume > m_iLastVolume || m_iSpanMode == kRemovableSpan)
        return std::nullopt;
    struct stat st {};
    const std::string name = volume == m_iLastVolume ? m_path : zip::VolumeFileName(m_path, volume);
    if (::stat(name.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return std::nullopt;
    return static_cast<std::uint64_t>(st.st_size);
}

void CZipStorage::Read(void* buffer, std::size_t size) {
    Flush();
    auto* out = static_cast<char*>(buffer);
    while (size > 0) {
        const std::size_t got = m_file.Read(out, size);
        out += got;
        size -= got;
        if (size == 0)
            break;
        if (m_iSpanMode == kNoSpan || m_bNewSpan || m_iCurrentVolume >= m_iLastVolume)
            Fail(CZipException::kBadArchive, "unexpected end of data");
        OpenVolumeForReading(m_iCurrentVolume + 1);
    }
}

void CZipStorage::MakeRoom(std::size_t size) {
    if (!m_bNewSpan)
        return;
    if (m_iSpanMode == kFixedSpan && size > m_uVolumeSize)
        Fail(CZipException::kGeneric, "record larger than a volume");
    if (size > m_uFreeSpace)
        NextVolume(size, true);
}

void CZipStorage::Write(const void* data, std::size_t size, bool atOnce) {
    if (m_bReadOnly)
        Fail(CZipException::kGeneric, "archive opened for reading only");
    if (atOnce)
        MakeRoom(size);
    const auto* in = static_cast<const char*>(data);
    while (size > 0) {
        std::size_t part = size;
        if (m_bNewSpan) {
            if (m_uFreeSpace == 0)
                NextVolume(size, false);
            part = static_cast<std::size_t>(std::min<std::uint64_t>(part, m_uFreeSpace));
            m_uFreeSpace -= part;
            m_bVolumeWritten = true;
        }
        Buffer(in, part);
        in += part;
        size -= part;
    }
}

void CZipStorage::Buffer(const char* data, std::size_t size) {
    const std::size_t capacity = m_writeBuffer.GetSize();
    while (size > 0) {
        if (m_uBuffered == 0 && size >= capacity) {
            m_file.Write(data, size);
            return;
        }
        const std::size_t now = std::min(size, capacity - m_uBuffered);
        std::memcpy(m_writeBuffer.Data() + m_uBuffered, data, now);
        m_uBuffered += now;
        data += now;
        size -= now;
        if (m_uBuffered == capacity)
            Flush();
    }
}

void CZipStorage::Flush() {
    if (m_uBuffered == 0)
        return;
    const std::size_t buffered = m_uBuffered;
    m_uBuffered = 0;
    m_file.Write(m_writeBuffer.Data(), buffered);
}

void CZipStorage::NextVolume(std::size_t needed, bool atOnce) {
    Flush();
    int next = m_iCurrentVolume;
    if (m_bVolumeWritten)
        ++next;
    if (next >= kMaxVolumes)
        Fail(CZipException::kTooManyVolumes, {});
    m_file.Close();
    m_uFreeSpace = 0;
    if (m_iSpanMode == kRemovableSpan) {
        StartDisk(next, needed, atOnce);
    } else {
        if (!m_file.Open(zip::VolumeFileName(m_path, next), CZipBigFile::Mode::kCreate))
            Fail(CZipException::kGeneric, "volume: " + m_file.OpenError());
        m_uFreeSpace = m_uVolumeSize;
    }
    m_iCurrentVolume = next;
    m_bVolumeWritten = false;
}

// Asks for disks until the one put in is empty, has room for what must not be split, takes
// the label and the volume's file.
void CZipStorage::StartDisk(int volume, std::size_t needed, bool atOnce) {
    const int bytesNeeded = static_cast<int>(std::min<std::size_t>(needed, INT_MAX));
    const std::uint64_t least = atOnce ? needed : 1;
    const std::string label = platform::Format("pkback# %.3d", volume + 1);
    for (int code = bytesNeeded;;) {
        AskForDisk(code, volume);
        if (!m_pMedium->IsEmpty(m_path))
            code = kDiskNotEmpty;
        else if (m_pMedium->FreeSpace(m_path) < least)
            code = bytesNeeded;
        else if (!m_pMedium->Label(m_path, label))
            code = kDiskNotLabelled;
        else if (!m_file.Open(m_path, CZipBigFile::Mode::kCreate))
            code = kVolumeNotCreated;
        else
            break;
    }
    m_uFreeSpace = m_pMedium->FreeSpace(m_path);
}

std::uint64_t CZipStorage::GetPosition() {
    return m_file.GetPosition() + m_uBuffered;
}

void CZipStorage::Seek(std::uint64_t position) {
    if (position == GetPosition())
        return;
    Flush();
    m_file.Seek(position);
}

void CZipStorage::SeekToEnd() {
    // Buffered bytes always go to the file's position, so there they are already at the end.
    if (m_file.GetPosition() == m_file.GetLength())
        return;
    Flush();
    m_file.SeekToEnd();
}

void CZipStorage::WriteAt(std::uint64_t position, const void* data, std::size_t size) {
    if (m_bReadOnly)
        Fail(CZipException::kGeneric, "archive opened for reading only");
    const std::uint64_t buffered = m_file.GetPosition();
    if (position >= buffered && position + size <= buffered + m_uBuffered) {
        std::memcpy(m_writeBuffer.Data() + (position - buffered), data, size);
        return;
    }
    const std::uint64_t back = GetPosition();
    Flush();
    m_file.Seek(position);
    m_file.Write(data, size);
    m_file.Seek(back);
}

void CZipStorage::Truncate(std::uint64_t length) {
    Flush();
    m_file.SetLength(length);
    m_file.SeekToEnd();
}
