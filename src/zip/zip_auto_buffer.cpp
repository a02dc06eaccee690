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

CZipAutoBuffer::CZipAutoBuffer(CZipAutoBuffer&& other) noexcept
    : m_data(std::move(other.m_data)), m_size(other.m_size) {
    other.m_size = 0;
}

CZipAutoBuffer& CZipAutoBuffer::operator=(CZipAutoBuffer&& other) noexcept {
    m_data = std::move(other.m_data);
    m_size = other.m_size;
    other.m_size = 0;
    return *this;
}

CZipAutoBuffer::~CZipAutoBuffer() = default;

char* CZipAutoBuffer::Allocate(std::size_t size, bool clear) {
    Release();
    if (size == 0)
        return nullptr;
    m_data.reset(clear ? new char[size]() : new char[size]);
    m_size = size;
    return m_data.get();
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
    std::unique_ptr<char[]> copy(new char[bytes.size()]);
    std::memcpy(copy.get(), bytes.data(), bytes.size());
    m_data = std::move(copy);
    m_size = bytes.size();
}
