// A spanned archive that fits on its first volume is closed as an ordinary archive: the marker
// at its start goes, and entries that are not encrypted lose their data descriptors and take
// their sizes into their local headers. Everything moves towards the start of the file, so
// copying front to back never overwrites bytes still to be copied.

#include <algorithm>
#include <vector>

#include "zip/zip_archive.h"
#include "zip/zip_bytes.h"
#include "zip/zip_exception.h"

using namespace zip;

void CZipArchive::MakeSpanOrdinary() {
    m_storage.Flush();
    CZipBigFile& file = m_storage.File();
    std::uint64_t write = 0;
    for (int i = 0; i < m_centralDir.GetCount(); ++i) {
        CZipFileHeader& header = m_centralDir.GetHeader(i);
        const std::uint64_t read = header.m_uOffset;
        const std::uint64_t localSize = header.GetLocalSize();
        const bool keepDescriptor = header.IsEncrypted();
        if (!keepDescriptor)
            header.m_uFlags &= static_cast<std::uint16_t>(~0x08);
        header.m_uOffset = static_cast<std::uint32_t>(write);
        MoveBytes(read + localSize, write + localSize, header.m_uComprSize);
        const std::string local = header.FormatLocal();
        file.Seek(write);
        file.Write(local.data(), local.size());
        write += localSize + header.m_uComprSize;
        if (keepDescriptor) {
            MoveBytes(read + localSize + header.m_uComprSize, write, kDescriptorSize);
            write += kDescriptorSize;
        }
    }
    file.SetLength(write);
    file.SeekToEnd();
    m_storage.EndSpanning();
}

void CZipArchive::MoveBytes(std::uint64_t from, std::uint64_t to, std::uint64_t count) {
    if (from == to || count == 0)
        return;
    CZipBigFile& file = m_storage.File();
    std::vector<char> block(std::min<std::uint64_t>(count, 1 << 16));
    for (std::uint64_t done = 0; done < count;) {
        const std::size_t part =
            static_cast<std::size_t>(std::min<std::uint64_t>(block.size(), count - done));
        file.Seek(from + done);
        if (file.Read(block.data(), part) != part)
            Fail(CZipException::kGeneric, "volume cut short");
        file.Seek(to + done);
        file.Write(block.data(), part);
        done += part;
    }
}
