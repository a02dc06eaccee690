#include "zip/zip_storage.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
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
    m_bNewSpan = m_bVolumesCreated = m_bVolumeWritten = m_bReadOnly = false;
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
                // Removable disks cannot be told apart here, so no medium qualifies.
                Fail(m_pCallback ? CZipException::kNotRemovable : CZipException::kNoVolumeCallback,
                     "spanning over removable disks");
            }
            m_iSpanMode = kFixedSpan;
            m_bNewSpan = m_bVolumesCreated = true;
            m_uVolumeSize = m_uFreeSpace = volumeSize;
            opened = m_file.Open(zip::VolumeFileName(path, 0), CZipBigFile::Mode::kCreate);
            break;
        default:
            Fail(CZipException::kGeneric, "unknown open mode");
    }
    if (!opened)
        Fail(CZipException::kGeneric, "open: " + m_file.OpenError());
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
    } else {
        Flush();
        m_file.Close();
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
    m_iSpanMode = kFixedSpan;
    m_iCurrentVolume = m_iLastVolume = lastVolume;
}

void CZipStorage::EndSpanning() {
    m_iSpanMode = kNoSpan;
    m_bNewSpan = false;
}

void CZipStorage::OpenVolumeForReading(int volume) {
    const std::string name = volume == m_iLastVolume ? m_path : zip::VolumeFileName(m_path, volume);
    if (!m_file.Open(name, CZipBigFile::Mode::kRead)) {
        const int cause = errno == ENOENT ? CZipException::kMissingVolume : CZipException::kGeneric;
        Fail(cause, platform::Format("volume %d of %d, %s: %s", volume + 1, m_iLastVolume + 1,
                                     name.c_str(), m_file.OpenError().c_str()));
    }
    m_iCurrentVolume = volume;
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
    if (volume < 0 || volume > m_iLastVolume)
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
    if (size > m_uVolumeSize)
        Fail(CZipException::kGeneric, "record larger than a volume");
    if (size > m_uFreeSpace)
        NextVolume();
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
                NextVolume();
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

void CZipStorage::NextVolume() {
    Flush();
    int next = m_iCurrentVolume;
    if (m_bVolumeWritten)
        ++next;
    if (next >= kMaxVolumes)
        Fail(CZipException::kTooManyVolumes, {});
    m_file.Close();
    if (!m_file.Open(zip::VolumeFileName(m_path, next), CZipBigFile::Mode::kCreate))
        Fail(CZipException::kGeneric, "volume: " + m_file.OpenError());
    m_iCurrentVolume = next;
    m_uFreeSpace = m_uVolumeSize;
    m_bVolumeWritten = false;
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
