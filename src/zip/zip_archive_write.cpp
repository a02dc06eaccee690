// Writing an entry: local header, encryption header, stored or deflated data, and the sizes
// written once they are known.

#include <algorithm>

#include "platform/text.h"
#include "zip/zip_archive.h"
#include "zip/zip_bytes.h"
#include "zip/zip_crc32.h"
#include "zip/zip_exception.h"
#include "zip/zip_file_attributes.h"

using namespace zip;

bool CZipArchive::OpenNewFile(CZipFileHeader& header, int level, const std::string& sourcePath) {
    if (IsClosed() || m_state != EntryState::kNone || m_storage.IsReadOnly() ||
        (m_storage.IsSpanned() && !m_storage.IsWritingSpanned()) ||
        static_cast<std::size_t>(m_centralDir.GetCount()) >= kFieldLimit)
        return false;
    // zlib would refuse the level only after the local header is on disk.
    if (level < Z_DEFAULT_COMPRESSION || level > Z_BEST_COMPRESSION)
        Fail(CZipException::kZlibStreamError, platform::Format("compression level %d", level));
    if (!sourcePath.empty()) {
        const std::optional<SourceFacts> facts = ReadSourceFacts(sourcePath);
        if (!facts)
            return false;
        header.SetTime(facts->modified);
        header.m_uExternalAttr = facts->attributes;
    }
    CZipFileHeader entry = header;
    if (entry.m_fileName.GetSize() == 0)
        entry.SetFileName(platform::Format("file%d", m_centralDir.GetCount() + 1));
    const bool encrypted = m_password.GetSize() > 0;
    const bool spanned = m_storage.IsWritingSpanned();
    if (!entry.PrepareData(level, spanned, encrypted))
        Fail(CZipException::kFieldTooLong);
    if (!m_centralDir.m_bConvertNames)
        entry.ConvertToStoredForm();

    CutOldDirectory();
    if (!spanned)
        m_storage.SeekToEnd();
    const std::string local = entry.FormatLocal();
    m_storage.MakeRoom(local.size());
    m_uNewFileStart = m_storage.GetPosition();
    const std::uint64_t offset = m_uNewFileStart - BytesBefore();
    if (offset > kMax32)
        Fail(CZipException::kGeneric, "archive larger than 4 GiB");
    entry.m_uOffset = static_cast<std::uint32_t>(offset);
    entry.m_uVolumeStart = static_cast<std::uint16_t>(m_storage.GetCurrentVolume());
    m_storage.Write(local.data(), local.size(), true);
    CZipFileHeader& added = m_centralDir.AddNewFile(entry);
    m_iCurrentIndex = m_centralDir.GetCount() - 1;
    m_state = EntryState::kWriting;
    m_bChanged = true;

    m_uCrc32 = 0;
    m_uTotalIn = m_uTotalOut = 0;
    m_info.AllocateBuffer();
    if (encrypted) {
        const std::string start =
            m_crypto.StartEncryption(m_password.View(), added.m_uModTime, m_random);
        m_storage.Write(start.data(), start.size(), false);
    }
    if (added.m_uMethod == 8)
        CheckZlibResult(m_info.StartDeflate(level), GetArchivePath());
    m_info.m_stream.next_out = reinterpret_cast<Bytef*>(m_info.m_buffer.Data());
    m_info.m_stream.avail_out = static_cast<uInt>(m_info.m_buffer.GetSize());
    return true;
}

void CZipArchive::CutOldDirectory() {
    if (m_iMode != kOpen || m_bDirectoryCut)
        return;
    m_storage.Truncate(m_centralDir.GetDirectoryStart());
    m_bDirectoryCut = true;
    m_uCompleteEnd = m_centralDir.GetDirectoryStart();
}

bool CZipArchive::WriteNewFile(const void* buffer, std::size_t size) {
    if (m_state != EntryState::kWriting)
        return false;
    const auto* in = static_cast<const Bytef*>(buffer);
    m_uCrc32 = zip::Crc32(m_uCrc32, in, size);
    m_uTotalIn += size;
    z_stream& stream = m_info.m_stream;
    const bool deflated = m_centralDir.GetHeader(m_iCurrentIndex).m_uMethod == 8;
    while (size > 0) {
        const auto part = static_cast<uInt>(std::min<std::size_t>(size, 0x40000000u));
        if (deflated) {
            stream.next_in = const_cast<Bytef*>(in);
            stream.avail_in = part;
            while (stream.avail_in > 0) {
                if (stream.avail_out == 0)
                    FlushEntryBuffer();
                CheckZlibResult(deflate(&stream, Z_NO_FLUSH), GetArchivePath());
            }
            in += part;
            size -= part;
        } else {
            if (stream.avail_out == 0)
                FlushEntryBuffer();
            const uInt copied = std::min(part, stream.avail_out);
            std::copy(in, in + copied, stream.next_out);
            stream.next_out += copied;
            stream.avail_out -= copied;
            in += copied;
            size -= copied;
        }
    }
    return true;
}

void CZipArchive::FlushEntryBuffer() {
    z_stream& stream = m_info.m_stream;
    char* data = m_info.m_buffer.Data();
    const std::size_t used = m_info.m_buffer.GetSize() - stream.avail_out;
    if (used > 0) {
        if (m_password.GetSize() > 0)
            m_crypto.Encrypt(data, used);
        m_storage.Write(data, used, false);
        m_uTotalOut += used;
    }
    stream.next_out = reinterpret_cast<Bytef*>(data);
    stream.avail_out = static_cast<uInt>(m_info.m_buffer.GetSize());
}

bool CZipArchive::CloseNewFile() {
    if (m_state != EntryState::kWriting)
        return false;
    CZipFileHeader& header = m_centralDir.GetHeader(m_iCurrentIndex);
    z_stream& stream = m_info.m_stream;
    if (header.m_uMethod == 8) {
        for (;;) {
            if (stream.avail_out == 0)
                FlushEntryBuffer();
            const int result = deflate(&stream, Z_FINISH);
            if (result == Z_STREAM_END)
                break;
            CheckZlibResult(result, GetArchivePath());
        }
    }
    FlushEntryBuffer();
    const bool encrypted = header.IsEncrypted();
    const std::uint64_t compressed = m_uTotalOut + (encrypted ? kEncryptionHeaderSize : 0);
    if (compressed > kMax32 || m_uTotalIn > kMax32)
        Fail(CZipException::kGeneric, "entry larger than 4 GiB");
    header.m_uCrc32 = m_uCrc32;
    header.m_uComprSize = static_cast<std::uint32_t>(compressed);
    header.m_uUncomprSize = static_cast<std::uint32_t>(m_uTotalIn);

    const bool spanned = m_storage.IsWritingSpanned();
    if (header.HasDataDescriptor()) {
        const std::string descriptor = header.FormatDescriptor(spanned || encrypted);
        m_storage.Write(descriptor.data(), descriptor.size(), true);
    }
    if (!spanned && (!header.HasDataDescriptor() || encrypted))
        WriteSizesIntoLocalHeader(header);
    EndEntry();
    if (!spanned)
        m_uCompleteEnd = m_storage.GetPosition();
    return true;
}

void CZipArchive::WriteSizesIntoLocalHeader(const CZipFileHeader& header) {
    const std::string sizes = header.FormatSizes();
    m_storage.WriteAt(m_uNewFileStart + 14, sizes.data(), sizes.size());
}

void CZipArchive::DiscardNewFile() {
    if (m_state != EntryState::kWriting)
        return;
    if (m_storage.IsWritingSpanned()) {
        // Earlier volumes cannot be taken back: the entry stays, consistent but incomplete.
        CloseNewFile();
        return;
    }
    EndEntry();
    m_storage.Truncate(m_uNewFileStart);
    m_centralDir.RemoveLastFile();
}

void CZipArchive::RestoreDirectoryAfterFailure() {
    // Adding to an existing archive cut its directory off; without it every old entry would be
    // lost with the failed addition. Best effort: the failure may be the disk itself.
    try {
        if (m_centralDir.GetCount() > 0 &&
            m_centralDir.GetHeader(m_centralDir.GetCount() - 1).m_uOffset + BytesBefore() >=
                m_uCompleteEnd)
            m_centralDir.RemoveLastFile();
        m_storage.Truncate(m_uCompleteEnd);
        m_centralDir.Write(m_storage);
    } catch (...) {
    }
}
