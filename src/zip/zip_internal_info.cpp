#include "zip/zip_internal_info.h"

namespace {

constexpr int kRawDeflateWindow = -15;  // no zlib header or trailer
constexpr int kMemoryLevel = 8;

}  // namespace

CZipInternalInfo::CZipInternalInfo(std::size_t bufferSize) : m_uBufferSize(bufferSize) {}

CZipInternalInfo::~CZipInternalInfo() {
    EndStream();
}

void CZipInternalInfo::AllocateBuffer() {
    if (m_buffer.GetSize() != m_uBufferSize)
        m_buffer.Allocate(m_uBufferSize);
}

int CZipInternalInfo::StartInflate() {
    m_stream.next_in = Z_NULL;
    m_stream.avail_in = 0;
    if (m_kind == StreamKind::kInflate)
        return inflateReset(&m_stream);
    EndStream();
    const int result = inflateInit2(&m_stream, kRawDeflateWindow);
    if (result == Z_OK)
        m_kind = StreamKind::kInflate;
    return result;
}

int CZipInternalInfo::StartDeflate(int level) {
    if (m_kind == StreamKind::kDeflate && m_level == level)
        return deflateReset(&m_stream);
    EndStream();
    const int result = deflateInit2(&m_stream, level, Z_DEFLATED, kRawDeflateWindow, kMemoryLevel,
                                    Z_DEFAULT_STRATEGY);
    if (result == Z_OK) {
        m_kind = StreamKind::kDeflate;
        m_level = level;
    }
    return result;
}

void CZipInternalInfo::EndStream() {
    if (m_kind == StreamKind::kInflate)
        inflateEnd(&m_stream);
    if (m_kind == StreamKind::kDeflate)
        deflateEnd(&m_stream);
    m_kind = StreamKind::kNone;
}
