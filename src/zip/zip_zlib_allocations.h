#pragma once
// zlib's memory for the archive's streams. Blocks are recorded while they are held, so that a
// stream left unfinished by an exception cannot leak them: the list frees what is left.

#include <zlib.h>

#include <cstddef>
#include <vector>

namespace zip {

class ZlibAllocationList {
public:
    ZlibAllocationList() = default;
    ~ZlibAllocationList();
    ZlibAllocationList(const ZlibAllocationList&) = delete;
    ZlibAllocationList& operator=(const ZlibAllocationList&) = delete;

    // Whether new blocks are recorded (on by default).
    void SetKeeping(bool keep) { m_bKeep = keep; }
    bool IsKeeping() const { return m_bKeep; }
    std::size_t Count() const { return m_blocks.size(); }

    void* Allocate(std::size_t size);
    void Free(void* block);
    void FreeAll();

    // Points `stream`'s allocation at this list.
    void Attach(z_stream& stream);

private:
    std::vector<void*> m_blocks;
    bool m_bKeep = true;
};

}  // namespace zip
