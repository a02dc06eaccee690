#include "zip/zip_zlib_allocations.h"

#include <algorithm>
#include <limits>
#include <new>

namespace zip {

namespace {

voidpf AllocateBlock(voidpf opaque, uInt items, uInt size) {
    if (size != 0 && items > std::numeric_limits<std::size_t>::max() / size)
        return Z_NULL;
    return static_cast<ZlibAllocationList*>(opaque)->Allocate(std::size_t{items} * size);
}

void FreeBlock(voidpf opaque, voidpf block) {
    static_cast<ZlibAllocationList*>(opaque)->Free(block);
}

}  // namespace

ZlibAllocationList::~ZlibAllocationList() {
    FreeAll();
}

void* ZlibAllocationList::Allocate(std::size_t size) {
    char* block = new (std::nothrow) char[size == 0 ? 1 : size];
    if (block && m_bKeep)
        m_blocks.push_back(block);
    return block;
}

void ZlibAllocationList::Free(void* block) {
    // Looked up whatever the keeping setting is now, so a block is never freed twice.
    const auto found = std::find(m_blocks.rbegin(), m_blocks.rend(), block);
    if (found != m_blocks.rend())
        m_blocks.erase(std::next(found).base());
    delete[] static_cast<char*>(block);
}

void ZlibAllocationList::FreeAll() {
    for (void* block : m_blocks)
        delete[] static_cast<char*>(block);
    m_blocks.clear();
}

void ZlibAllocationList::Attach(z_stream& stream) {
    stream.zalloc = AllocateBlock;
    stream.zfree = FreeBlock;
    stream.opaque = this;
}

}  // namespace zip
