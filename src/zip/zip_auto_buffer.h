#pragma once
// A byte buffer that frees itself: names, extra fields, comments, the password and the
// working buffer of an entry. Short contents (most names and extra fields) are kept in the
// object itself, so that reading a directory of many entries allocates little.

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

class CZipAutoBuffer {
public:
    CZipAutoBuffer() = default;
    explicit CZipAutoBuffer(std::size_t size, bool clear = false);
    CZipAutoBuffer(const CZipAutoBuffer& other);
    CZipAutoBuffer& operator=(const CZipAutoBuffer& other);
    CZipAutoBuffer(CZipAutoBuffer&& other) noexcept;
    CZipAutoBuffer& operator=(CZipAutoBuffer&& other) noexcept;
    virtual ~CZipAutoBuffer();

    // Replaces the content with `size` bytes, zeroed when `clear` is set.
    char* Allocate(std::size_t size, bool clear = false);
    void Release();
    void Assign(std::string_view bytes);

    std::size_t GetSize() const { return m_size; }
    bool IsAllocated() const { return m_size != 0; }
    char* Data() { return m_size == 0 ? nullptr : m_size <= kInline ? m_inline : m_data.get(); }
    const char* Data() const {
        return m_size == 0 ? nullptr : m_size <= kInline ? m_inline : m_data.get();
    }
    std::string_view View() const { return {Data(), m_size}; }
    std::string ToString() const { return std::string(View()); }

private:
    static constexpr std::size_t kInline = 40;

    std::unique_ptr<char[]> m_data;  // when longer than kInline
    std::size_t m_size = 0;
    char m_inline[kInline];
};
