#include "zip/zip_file_header.h"

#include <sys/stat.h>

#include "zip/zip_bytes.h"
#include "zip/zip_dos_time.h"
#include "zip/zip_names.h"

using namespace zip;

namespace {

constexpr std::uint16_t kVersion20 = 20;

// The mode a Unix tool gives a file whose attribute word holds only the Windows bits.
std::uint32_t UnixModeOf(std::uint32_t windowsBits) {
    if (windowsBits & CZipFileHeader::kDirectory)
        return S_IFDIR | 0755;
    return S_IFREG | ((windowsBits & CZipFileHeader::kReadOnly) ? 0444 : 0644);
}

}  // namespace

CZipFileHeader::CZipFileHeader() : m_uSignature(kCentralHeaderSignature) {}

CZipFileHeader::~CZipFileHeader() = default;

void CZipFileHeader::SetFileName(std::string_view name) {
    m_fileName.Assign(name);
    m_bNameStored = false;
}

std::time_t CZipFileHeader::GetTime() const {
    return FromDosDateTime(m_uModTime, m_uModDate);
}

void CZipFileHeader::SetTime(std::time_t seconds) {
    const DosDateTime dos = ToDosDateTime(seconds);
    m_uModTime = dos.time;
    m_uModDate = dos.date;
}

bool CZipFileHeader::IsDirectory() const {
    if (m_uExternalAttr & kDirectory)
        return true;
    const std::string_view name = m_fileName.View();
    return !name.empty() && (name.back() == '\\' || name.back() == '/');
}

bool CZipFileHeader::IsSymbolicLink() const {
    return (m_uVersionMadeBy >> 8) == kHostUnix && ((m_uExternalAttr >> 16) & S_IFMT) == S_IFLNK;
}

bool CZipFileHeader::IsZip64() const {
    if (m_uComprSize != kMax32 && m_uUncomprSize != kMax32 && m_uOffset != kMax32 &&
        m_uVolumeStart != 0xFFFF)
        return false;
    const std::string_view extra = m_extraField.View();
    for (std::size_t at = 0; at + 4 <= extra.size(); at += 4 + GetU16(extra.data() + at + 2))
        if (GetU16(extra.data() + at) == kZip64ExtraTag)
            return true;
    return false;
}

std::size_t CZipFileHeader::GetSize() const {
    bool utf8 = false;
    return kCentralHeaderSize + StoredName(&utf8).size() + m_extraField.GetSize() +
           m_comment.GetSize();
}

std::size_t CZipFileHeader::GetLocalSize() const {
    bool utf8 = false;
    return kLocalHeaderSize + StoredName(&utf8).size() + m_extraField.GetSize();
}

std::size_t CZipFileHeader::ReadCentral(const char* record, std::size_t available) {
    if (available < kCentralHeaderSize || GetU32(record) != kCentralHeaderSignature)
        return 0;
    const std::size_t nameLength = GetU16(record + 28);
    const std::size_t extraLength = GetU16(record + 30);
    const std::size_t commentLength = GetU16(record + 32);
    const std::size_t total = kCentralHeaderSize + nameLength + extraLength + commentLength;
    if (total > available)
        return 0;
    m_uSignature = kCentralHeaderSignature;
    m_uVersionMadeBy = GetU16(record + 4);
    m_uVersionNeeded = GetU16(record + 6);
    m_uFlags = GetU16(record + 8);
    m_uMethod = GetU16(record + 10);
    m_uModTime = GetU16(record + 12);
    m_uModDate = GetU16(record + 14);
    m_uCrc32 = GetU32(record + 16);
    m_uComprSize = GetU32(record + 20);
    m_uUncomprSize = GetU32(record + 24);
    m_uVolumeStart = GetU16(record + 34);
    m_uInternalAttr = GetU16(record + 36);
    m_uExternalAttr = GetU32(record + 38);
    m_uOffset = GetU32(record + 42);
    const char* variable = record + kCentralHeaderSize;
    m_fileName.Assign({variable, nameLength});
    m_extraField.Assign({variable + nameLength, extraLength});
    m_comment.Assign({variable + nameLength + extraLength, commentLength});
    m_bNameStored = true;
    m_originalStored = m_fileName.ToString();
    m_bOriginalUtf8 = (m_uFlags & kUtf8NameFlag) != 0;
    m_originalCaller = NameToCallerForm(m_originalStored);
    if (m_originalCaller == m_originalStored)
        m_originalCaller.clear();
    return total;
}

std::string CZipFileHeader::StoredName(bool* utf8) const {
    if (m_bNameStored) {
        *utf8 = (m_uFlags & kUtf8NameFlag) != 0;
        return m_fileName.ToString();
    }
    if (!m_originalStored.empty() && m_fileName.View() == OriginalCaller()) {
        *utf8 = m_bOriginalUtf8;
        return m_originalStored;
    }
    return NameToStoredForm(m_fileName.View(), utf8);
}

std::uint16_t CZipFileHeader::FlagsToWrite(bool utf8) const {
    return static_cast<std::uint16_t>((m_uFlags & ~kUtf8NameFlag) | (utf8 ? kUtf8NameFlag : 0));
}

std::string CZipFileHeader::FormatCentral() const {
    bool utf8 = false;
    const std::string name = StoredName(&utf8);
    std::string out;
    out.reserve(kCentralHeaderSize + name.size() + m_extraField.GetSize() + m_comment.GetSize());
    PutU32(out, kCentralHeaderSignature);
    PutU16(out, m_uVersionMadeBy);
    PutU16(out, m_uVersionNeeded);
    PutU16(out, FlagsToWrite(utf8));
    PutU16(out, m_uMethod);
    PutU16(out, m_uModTime);
    PutU16(out, m_uModDate);
    out += FormatSizes();
    PutU16(out, static_cast<std::uint16_t>(name.size()));
    PutU16(out, static_cast<std::uint16_t>(m_extraField.GetSize()));
    PutU16(out, static_cast<std::uint16_t>(m_comment.GetSize()));
    PutU16(out, m_uVolumeStart);
    PutU16(out, m_uInternalAttr);
    PutU32(out, m_uExternalAttr);
    PutU32(out, m_uOffset);
    out += name;
    out.append(m_extraField.View());
    out.append(m_comment.View());
    return out;
}

std::string CZipFileHeader::FormatLocal() const {
    bool utf8 = false;
    const std::string name = StoredName(&utf8);
    std::string out;
    out.reserve(kLocalHeaderSize + name.size() + m_extraField.GetSize());
    PutU32(out, kLocalHeaderSignature);
    PutU16(out, m_uVersionNeeded);
    PutU16(out, FlagsToWrite(utf8));
    PutU16(out, m_uMethod);
    PutU16(out, m_uModTime);
    PutU16(out, m_uModDate);
    out += FormatSizes();
    PutU16(out, static_cast<std::uint16_t>(name.size()));
    PutU16(out, static_cast<std::uint16_t>(m_extraField.GetSize()));
    out += name;
    out.append(m_extraField.View());
    return out;
}

std::string CZipFileHeader::FormatSizes() const {
    std::string out;
    PutU32(out, m_uCrc32);
    PutU32(out, m_uComprSize);
    PutU32(out, m_uUncomprSize);
    return out;
}

std::string CZipFileHeader::FormatDescriptor(bool withSignature) const {
    std::string out;
    if (withSignature)
        PutU32(out, kDescriptorSignature);
    return out + FormatSizes();
}

bool CZipFileHeader::PrepareData(int level, bool spanned, bool encrypted) {
    // Made on Unix: Info-ZIP's unzip reads the names of entries made on MS-DOS as code page
    // 437 even when they carry the UTF-8 flag. A Unix entry carries a Unix mode.
    m_uVersionMadeBy = static_cast<std::uint16_t>(kHostUnix << 8 | kVersion20);
    m_uVersionNeeded = kVersion20;
    if ((m_uExternalAttr >> 16) == 0)
        m_uExternalAttr |= UnixModeOf(m_uExternalAttr) << 16;
    // A folder holds no data, so it is never deflated (an empty deflate stream is 2 bytes).
    m_uMethod = (level == 0 || IsDirectory()) ? 0 : 8;
    m_uFlags = 0;
    if (encrypted)
        m_uFlags |= 0x01 | 0x08;
    if (spanned)
        m_uFlags |= 0x08;
    if (m_uMethod == 8) {
        switch (level) {
            case 1:
                m_uFlags |= 6;
                break;
            case 2:
                m_uFlags |= 4;
                break;
            case 8:
            case 9:
                m_uFlags |= 2;
                break;
            default:
                break;
        }
    }
    m_uCrc32 = 0;
    m_uComprSize = encrypted ? static_cast<std::uint32_t>(kEncryptionHeaderSize) : 0;
    m_uUncomprSize = 0;
    bool utf8 = false;
    return StoredName(&utf8).size() <= kFieldLimit && m_extraField.GetSize() <= kFieldLimit &&
           m_comment.GetSize() <= kFieldLimit;
}

std::string CZipFileHeader::CallerName() const {
    if (!m_bNameStored)
        return m_fileName.ToString();
    return m_fileName.View() == m_originalStored ? OriginalCaller()
                                                 : NameToCallerForm(m_fileName.View());
}

void CZipFileHeader::ConvertToCallerForm() {
    if (!m_bNameStored)
        return;
    // Most names read the same in both forms.
    if (m_fileName.View() != m_originalStored || !m_originalCaller.empty())
        m_fileName.Assign(CallerName());
    m_bNameStored = false;
}

void CZipFileHeader::ConvertToStoredForm() {
    if (m_bNameStored)
        return;
    bool utf8 = false;
    m_fileName.Assign(StoredName(&utf8));
    m_uFlags = FlagsToWrite(utf8);
    m_bNameStored = true;
}
