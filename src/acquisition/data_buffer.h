#pragma once
// The application's data buffer read as what it holds: one page of a recording, its 20-byte
// start text and then records of the page's layout. The lists and graphs ask it for a sample's
// values and time instead of counting words themselves; nothing past the loaded bytes or the
// buffer's end is ever read.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "records/record_layout.h"

namespace acquisition {

// The data buffer as the page reader fills it: the page's bytes, then 0xFF to the end.
struct PageBuffer {
    std::span<unsigned char> bytes;
    // How far the bytes may hold anything but 0xFF: the end of the page loaded last, or the
    // buffer's full size while that is not known (a new buffer). It lives with the buffer and
    // the reader is its only writer, so that a page fills with 0xFF only what the page before
    // it held beyond it.
    std::size_t& filled;
};

class DataBufferView {
public:
    DataBufferView() = default;
    // `loadedBytes`: how much of the buffer the page filled (start text included); the rest of
    // the buffer is no data.
    DataBufferView(std::span<const unsigned char> buffer, records::RecordLayout layout,
                   long long loadedBytes);
    // The whole buffer taken as loaded.
    DataBufferView(std::span<const unsigned char> buffer, records::RecordLayout layout)
        : DataBufferView(buffer, layout, static_cast<long long>(buffer.size())) {}

    const records::RecordLayout& Layout() const { return m_layout; }
    std::optional<records::RecordKind> Kind() const { return m_layout.Kind(); }
    // Whole samples loaded.
    long long SampleCount() const { return m_samples; }
    // The page's start text, trailing blanks and unset bytes cut.
    std::string StartText() const;

    // Value `value` (0-based: a channel's level, the profile level, a band of a spectrum).
    std::optional<std::uint16_t> Value(long long sample, int value) const;
    // Every value of a sample: the band levels of a spectrum, the channels' levels.
    std::vector<std::uint16_t> Values(long long sample) const;
    // The time word of the record that holds the sample.
    std::optional<std::uint16_t> TimeWord(long long sample) const;
    std::optional<int> TimeSeconds(long long sample) const;

private:
    std::optional<std::uint16_t> WordAt(long long index) const;

    std::span<const unsigned char> m_buffer;
    records::RecordLayout m_layout;
    long long m_loaded = 0;
    long long m_samples = 0;
};

}  // namespace acquisition
