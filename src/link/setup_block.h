#pragma once
// The setup block: the meter's identity and settings as the recording files keep them, 45 text
// fields of 11 characters (blank padded, longer texts cut) and 5 further bytes, 500 in all. The
// frame fills it field by field as the replies arrive and writes it at the head of every record
// file; the data-file reader takes it back apart.

#include <array>
#include <string>
#include <string_view>

class SetupBlock {
public:
    static constexpr int kFieldCount = 45;
    static constexpr int kFieldSize = 11;
    static constexpr int kSize = 500;
    static constexpr unsigned char kUnset = 0xFF;

    // Every byte unset.
    SetupBlock() { Fill(0, kUnset); }

    // Ignored for a field number out of range.
    void SetField(int field, std::string_view text);
    // The field's 11 characters as stored.
    std::string Field(int field) const;
    // Sets every byte from `from` on.
    void Fill(int from, unsigned char byte);

    const char* Data() const { return m_bytes.data(); }
    std::string_view Bytes() const { return {m_bytes.data(), m_bytes.size()}; }

private:
    std::array<char, kSize> m_bytes{};
};
