// Reading an entry: local header, encryption header, stored or inflated data, and the checks
// made once the entry has been read to its end.

#include <algorithm>
#include <cstring>

#include "platform/text.h"
#include "zip/zip_archive.h"
#include "zip/zip_bytes.h"
#include "zip/zip_crc32.h"
#include "zip/zip_exception.h"
#include "zip/zip_file_attributes.h"

using namespace zip;

bool CZipArchive::OpenFile(int index) {
    if (IsClosed() || !m_centralDir.IsValidIndex(index) || m_storage.IsWritingSpanned() ||
        m_state != EntryState::kNone)
        return false;
    const CZipFileHeader& header = m_centralDir.GetHeader(index);
    if (header.IsEncrypted() && m_password.GetSize() == 0)
        return false;
    if (header.IsZip64())
        Fail(CZipException::kBadArchive, "Zip64 entry " + header.GetFileName() + ": not supported");
    if (header.m_uMethod != 0 && header.m_uMethod != 8)
        Fail(CZipException::kBadArchive,
             platform::Format("compression method %d of %s: not supported", header.m_uMethod,
                              header.GetFileName().c_str()));
    if (header.IsEncrypted() && (header.m_uFlags & 0x40))
        Fail(CZipException::kBadArchive, "unsupported encryption");

    SkipLocalHeader(header);
    m_uComprLeft = header.m_uComprSize;
    m_uUncomprLeft = header.m_uUncomprSize;
    m_uCrc32 = 0;
    m_bStreamEnded = false;
    m_info.AllocateBuffer();
    if (header.IsEncrypted())
        StartDecryption(header);
    if (header.m_uMethod == 0 && m_uComprLeft != m_uUncomprLeft)
        Fail(CZipException::kBadArchive, "stored entry with two sizes");
    if (header.m_uMethod == 8)
        CheckZlibResult(m_info.StartInflate(), GetArchivePath());
    m_state = EntryState::kReading;
    m_iCurrentIndex = index;
    return true;
}

void CZipArchive::SkipLocalHeader(const CZipFileHeader& header) {
    m_storage.ChangeVolume(header.m_uVolumeStart);
    m_storage.Flush();  // an entry added in this session may still be in the write buffer
    const std::uint64_t start = header.m_uOffset + BytesBefore();
    // A spanned archive's local header may continue on the next volume.
    const std::uint64_t headerHere = m_storage.IsSpanned() ? 1 : kLocalHeaderSize;
    if (start + headerHere > m_storage.File().GetLength())
        Fail(CZipException::kBadArchive,
             "local header of " + header.GetFileName() + " beyond the end");
    m_storage.Seek(start);
    char local[kLocalHeaderSize];
    m_storage.Read(local, sizeof local);
    if (GetU32(local) != kLocalHeaderSignature)
        Fail(CZipException::kBadArchive,
             "no local header where the directory puts " + header.GetFileName());
    std::size_t skip = std::size_t{GetU16(local + 26)} + GetU16(local + 28);
    // Entries that share data would let a small archive unfold into a huge one.
    if (m_centralDir.IsSharedStart(header.m_uVolumeStart, header.m_uOffset))
        Fail(CZipException::kBadArchive,
             header.GetFileName() + " starts where another entry does (zip bomb?)");
    CheckEntryExtent(header, kLocalHeaderSize + skip + header.m_uComprSize +
                                 (header.HasDataDescriptor() ? kDescriptorSize - 4 : 0));
    if (m_storage.GetCurrentVolume() == header.m_uVolumeStart &&
        start + kLocalHeaderSize + skip <= m_storage.File().GetLength()) {
        m_storage.Seek(start + kLocalHeaderSize + skip);
        return;
    }
    char scratch[4096];
    while (skip > 0) {
        const std::size_t part = std::min(skip, sizeof scratch);
        m_storage.Read(scratch, part);
        skip -= part;
    }
}

// An entry's bytes, from its local header on, over as many volumes as they take: on each volume
// they end before the next entry or the directory starts, and they end with the last volume.
// The volume numbers come from the archive itself, so the check holds whatever they say.
void CZipArchive::CheckEntryExtent(const CZipFileHeader& header, std::uint64_t length) {
    const std::uint64_t before = BytesBefore();
    std::uint64_t from = header.m_uOffset;
    for (int volume = header.m_uVolumeStart;; ++volume) {
        const std::optional<std::uint64_t> size = m_storage.VolumeLength(volume);
        if (!size)
            return;  // reading it names the missing volume
        const std::uint64_t end = *size > before ? *size - before : 0;
        const std::uint64_t here = std::min(length, end > from ? end - from : 0);
        const std::optional<std::uint64_t> next =
            volume == header.m_uVolumeStart ? m_centralDir.NextStart(volume, header.m_uOffset)
                                            : m_centralDir.StartFrom(volume, 0);
        if (next && from + here > *next)
            Fail(CZipException::kBadArchive,
                 volume == m_centralDir.m_end.centralDirVolume &&
                         *next == m_centralDir.m_end.centralDirOffset
                     ? "data of " + header.GetFileName() + " runs into the central directory"
                     : "data of " + header.GetFileName() + " overlaps the next entry (zip bomb?)");
        length -= here;
        if (length == 0)
            return;
        if (!m_storage.IsSpanned() || volume >= m_storage.GetLastVolume())
            Fail(CZipException::kBadArchive, "data of " + header.GetFileName() + " beyond the end");
        from = 0;
    }
}

void CZipArchive::StartDecryption(const CZipFileHeader& header) {
    if (m_uComprLeft < kEncryptionHeaderSize)
        Fail(CZipException::kBadArchive, "encrypted entry without its header");
    char encryptionHeader[kEncryptionHeaderSize];
    m_storage.Read(encryptionHeader, sizeof encryptionHeader);
    const auto check = static_cast<std::uint8_t>(
        header.HasDataDescriptor() ? header.m_uModTime >> 8 : header.m_uCrc32 >> 24);
    if (!m_crypto.StartDecryption(m_password.View(), encryptionHeader, check))
        Fail(CZipException::kBadPassword);
    m_uComprLeft -= kEncryptionHeaderSize;
}

std::size_t CZipArchive::ReadFile(void* buffer, std::size_t size) {
    if (m_state != EntryState::kReading || buffer == nullptr)
        return 0;
    // Never more than the entry declares, whatever the compressed data would unfold to.
    size = std::min<std::size_t>(size, m_uUncomprLeft);
    if (size == 0)
        return 0;
    const CZipFileHeader& header = m_centralDir.GetHeader(m_iCurrentIndex);
    auto* out = static_cast<char*>(buffer);
    const std::size_t done =
        header.m_uMethod == 0 ? ReadStored(out, size) : ReadDeflated(out, size);
    m_uCrc32 = zip::Crc32(m_uCrc32, out, done);
    m_uUncomprLeft -= static_cast<std::uint32_t>(done);
    if (m_bStreamEnded && m_uUncomprLeft > 0)
        Fail(CZipException::kBadArchive, "compressed data shorter than the entry");
    return done;
}

std::size_t CZipArchive::ReadStored(char* out, std::size_t size) {
    m_storage.Read(out, size);
    if (m_centralDir.GetHeader(m_iCurrentIndex).IsEncrypted())
        m_crypto.Decrypt(out, size);
    m_uComprLeft -= static_cast<std::uint32_t>(size);
    return size;
}

std::size_t CZipArchive::ReadDeflated(char* out, std::size_t size) {
    z_stream& stream = m_info.m_stream;
    const bool encrypted = m_centralDir.GetHeader(m_iCurrentIndex).IsEncrypted();
    stream.next_out = reinterpret_cast<Bytef*>(out);
    stream.avail_out = static_cast<uInt>(std::min<std::size_t>(size, 0xFFFFFFFFu));
    const uInt asked = stream.avail_out;
    // Room for all that the entry unfolds to: once its last compressed bytes are in, zlib may
    // finish in one call, without copying what it writes into its window.
    const bool roomForAll = asked == m_uUncomprLeft;
    while (stream.avail_out > 0 && !m_bStreamEnded) {
        if (stream.avail_in == 0 && m_uComprLeft > 0) {
            const std::size_t part = std::min<std::size_t>(m_info.m_buffer.GetSize(), m_uComprLeft);
            m_storage.Read(m_info.m_buffer.Data(), part);
            if (encrypted)
                m_crypto.Decrypt(m_info.m_buffer.Data(), part);
            m_uComprLeft -= static_cast<std::uint32_t>(part);
            stream.next_in = reinterpret_cast<Bytef*>(m_info.m_buffer.Data());
            stream.avail_in = static_cast<uInt>(part);
        }
        const int flush = roomForAll && m_uComprLeft == 0 ? Z_FINISH : Z_SYNC_FLUSH;
        const int result = inflate(&stream, flush);
        if (result == Z_STREAM_END) {
            m_bStreamEnded = true;
        } else if (result == Z_BUF_ERROR) {
            // Unfinished with the room full is no error (data longer than the entry declares;
            // the CRC decides); else the compressed data has run out.
            if (flush != Z_FINISH || stream.avail_out > 0)
                Fail(CZipException::kBadArchive, "compressed data cut short");
        } else {
            CheckZlibResult(result, GetArchivePath());
        }
    }
    return asked - stream.avail_out;
}

int CZipArchive::CloseFile(const std::string& filePath, bool afterException) {
    if (m_state != EntryState::kReading)
        return -1;
    if (afterException) {
        EndEntry();
        return 1;
    }
    const CZipFileHeader& header = m_centralDir.GetHeader(m_iCurrentIndex);
    int result = 1;
    if (m_uUncomprLeft == 0) {
        try {
            SkipRest();
            if (header.HasDataDescriptor())
                CheckDataDescriptor(header);
        } catch (...) {
            EndEntry();
            throw;
        }
        if (m_uCrc32 != header.m_uCrc32) {
            EndEntry();
            Fail(CZipException::kBadCrc, header.GetFileName());
        }
    } else {
        result = -1;
    }
    EndEntry();
    if (result == 1 && !filePath.empty() && !ApplyEntryAttributes(filePath, header))
        result = -2;
    return result;
}

void CZipArchive::SkipRest() {
    char scratch[4096];
    while (m_uComprLeft > 0) {
        const std::size_t part = std::min<std::size_t>(sizeof scratch, m_uComprLeft);
        m_storage.Read(scratch, part);
        m_uComprLeft -= static_cast<std::uint32_t>(part);
    }
}

void CZipArchive::CheckDataDescriptor(const CZipFileHeader& header) {
    // The signature is optional: without it the four bytes already read are the CRC.
    char descriptor[kDescriptorSize];
    m_storage.Read(descriptor, 4);
    if (GetU32(descriptor) == kDescriptorSignature) {
        m_storage.Read(descriptor, 12);
    } else {
        m_storage.Read(descriptor + 4, 8);
    }
    if (std::memcmp(descriptor, header.FormatSizes().data(), 12) != 0)
        Fail(CZipException::kBadArchive, "data descriptor differs from the directory");
}
