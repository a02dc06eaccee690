#include "link/setup_block.h"

#include <algorithm>

void SetupBlock::SetField(int field, std::string_view text) {
    if (field < 0 || field >= kFieldCount)
        return;
    char* start = m_bytes.data() + field * kFieldSize;
    const size_t used = std::min<size_t>(text.size(), kFieldSize);
    std::copy_n(text.data(), used, start);
    std::fill(start + used, start + kFieldSize, ' ');
}

std::string SetupBlock::Field(int field) const {
    if (field < 0 || field >= kFieldCount)
        return std::string();
    return std::string(m_bytes.data() + field * kFieldSize, kFieldSize);
}

void SetupBlock::Fill(int from, unsigned char byte) {
    if (from < 0 || from >= kSize)
        return;
    std::fill(m_bytes.begin() + from, m_bytes.end(), static_cast<char>(byte));
}
