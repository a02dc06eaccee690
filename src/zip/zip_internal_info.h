#pragma once
// The zlib stream of the entry being read or written and its working buffer: compressed bytes
// read from the archive, or compressed bytes waiting to be written to it.

#include <zlib.h>

#include <cstddef>

#include "zip/zip_auto_buffer.h"

class CZipInternalInfo {
public:
    enum class StreamKind { kNone, kInflate, kDeflate };
    static constexpr std::size_t kDefaultBufferSize = 16384;

    explicit CZipInternalInfo(std::size_t bufferSize = kDefaultBufferSize);
    virtual ~CZipInternalInfo();
    CZipInternalInfo(const CZipInternalInfo&) = delete;
    CZipInternalInfo& operator=(const CZipInternalInfo&) = delete;

    void AllocateBuffer();
    void ReleaseBuffer() { m_buffer.Release(); }
    // inflateInit2/deflateInit2 for raw deflate; returns zlib's result.
    int StartInflate();
    int StartDeflate(int level);
    // Ends the stream that is running, if any.
    void EndStream();

    z_stream m_stream{};
    StreamKind m_kind = StreamKind::kNone;
    CZipAutoBuffer m_buffer;
    std::size_t m_uBufferSize;
};
