#pragma once
// The zlib stream of the entry being read or written and its working buffer: compressed bytes
// read from the archive, or compressed bytes waiting to be written to it. The stream outlives
// its entry and is reset for the next one, which spares a quarter of a megabyte of allocation
// and clearing per entry when an archive holds many small files.

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
    // inflateInit2/deflateInit2 for raw deflate, or a reset of the stream of that kind (and
    // level) left by the entry before; returns zlib's result.
    int StartInflate();
    int StartDeflate(int level);
    // Ends the stream and frees its memory, if there is one.
    void EndStream();

    z_stream m_stream{};
    StreamKind m_kind = StreamKind::kNone;
    int m_level = 0;  // of a deflate stream
    CZipAutoBuffer m_buffer;
    std::size_t m_uBufferSize;
};
