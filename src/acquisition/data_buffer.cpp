#include "acquisition/data_buffer.h"

#include <algorithm>

namespace acquisition {

DataBufferView::DataBufferView(std::span<const unsigned char> buffer, records::RecordLayout layout,
                               long long loadedBytes)
    : m_buffer(buffer),
      m_layout(layout),
      m_loaded(std::clamp<long long>(loadedBytes, 0, static_cast<long long>(buffer.size()))),
      m_samples(layout.SamplesInPage(m_loaded)) {}

std::string DataBufferView::StartText() const {
    const size_t length = std::min<size_t>(records::kPageStartBytes, static_cast<size_t>(m_loaded));
    std::string text(reinterpret_cast<const char*>(m_buffer.data()), length);
    while (!text.empty() && (static_cast<unsigned char>(text.back()) <= ' ' ||
                             static_cast<unsigned char>(text.back()) == 0xFF))
        text.pop_back();
    return text;
}

std::optional<std::uint16_t> DataBufferView::WordAt(long long index) const {
    if (index < 0)
        return std::nullopt;
    const long long offset = records::kPageStartBytes + 2 * index;
    if (offset + 2 > m_loaded)
        return std::nullopt;
    return records::GetWord(m_buffer, static_cast<size_t>(offset));
}

std::optional<std::uint16_t> DataBufferView::Value(long long sample, int value) const {
    if (sample < 0 || sample >= m_samples || value < 0 || value >= m_layout.ValuesPerSample())
        return std::nullopt;
    return WordAt(m_layout.ValueWordIndex(sample, value));
}

std::vector<std::uint16_t> DataBufferView::Values(long long sample) const {
    std::vector<std::uint16_t> values;
    for (int value = 0; value < m_layout.ValuesPerSample(); ++value)
        if (const auto word = Value(sample, value))
            values.push_back(*word);
    return values;
}

std::optional<std::uint16_t> DataBufferView::TimeWord(long long sample) const {
    if (sample < 0 || sample >= m_samples)
        return std::nullopt;
    return WordAt(m_layout.TimeWordIndex(sample));
}

std::optional<int> DataBufferView::TimeSeconds(long long sample) const {
    const auto word = TimeWord(sample);
    if (!word)
        return std::nullopt;
    return records::TimeWordSeconds(*word);
}

}  // namespace acquisition
