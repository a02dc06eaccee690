#include "zip/zip_auto_buffer.h"

#include <cstring>

CZipAutoBuffer::CZipAutoBuffer(std::size_t size, bool clear) {
    Allocate(size, clear);
}

CZipAutoBuffer::CZipAutoBuffer(const CZipAutoBuffer& other) {
    Assign(other.View());
}

CZipAutoBuffer& CZipAutoBuffer::operator=(const CZipAutoBuffer& other) {
    if (this != &other)
        Assign(other.View());
    return *this;
}

CZipAutoBuffer::CZipAutoBuffer(CZipAutoBuffer&& other) noexcept {
    *this = std::move(other);
}

CZipAutoBuffer& CZipAutoBuffer::operator=(CZipAutoBuffer&& other) noexcept {
    if (this == &other)
        return *this;
    m_data = std::move(other.m_data);
    m_size = other.m_size;
    if (m_size <= kInline)
        std::memcpy(m_inline, other.m_inline, m_size);
    other.m_size = 0;
    return *this;
}

CZipAutoBuffer::~CZipAutoBuffer() = default;

char* CZipAutoBuffer::Allocate(std::size_t size, bool clear) {
    Release();
    if (size == 0)
        return nullptr;
    if (size > kInline)
        m_data.reset(new char[size]);
    m_size = size;
    if (clear)
        std::memset(Data(), 0, size);
    return Data();
}

void CZipAutoBuffer::Release() {
    m_data.reset();
    m_size = 0;
}

void CZipAutoBuffer::Assign(std::string_view bytes) {
    if (bytes.empty()) {
        Release();
        return;
    }
    // Copied first: `bytes` may be this buffer's own content.
    if (bytes.size() <= kInline) {
        char copy[kInline];
        std::memcpy(copy, bytes.data(), bytes.size());
        Release();
        std::memcpy(m_inline, copy, bytes.size());
        m_size = bytes.size();
        return;
    }
    std::unique_ptr<char[]> copy(new char[bytes.size()]);
    std::memcpy(copy.get(), bytes.data(), bytes.size());
    m_data = std::move(copy);
    m_size = bytes.size();
}
