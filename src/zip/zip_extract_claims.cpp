#include "zip/zip_extract_claims.h"

#include <functional>

namespace zip {

namespace {

std::uint64_t HashOf(std::string_view path) {
    return std::hash<std::string_view>{}(path);
}

}  // namespace

// The slot that holds `path`, or the empty one where it would go.
ExtractClaims::Slot* ExtractClaims::Find(std::string_view path, std::uint64_t hash) {
    const std::size_t mask = m_slots.size() - 1;
    for (std::size_t at = hash & mask;; at = (at + 1) & mask) {
        Slot& slot = m_slots[at];
        if (slot.index == kEmpty || (slot.hash == hash && std::string_view(m_paths).substr(
                                                              slot.offset, slot.length) == path))
            return &slot;
    }
}

void ExtractClaims::Grow() {
    std::vector<Slot> old(m_slots.empty() ? 64 : m_slots.size() * 2);
    old.swap(m_slots);
    const std::size_t mask = m_slots.size() - 1;
    for (const Slot& slot : old) {
        if (slot.index == kEmpty)
            continue;
        std::size_t at = slot.hash & mask;
        while (m_slots[at].index != kEmpty)
            at = (at + 1) & mask;
        m_slots[at] = slot;
    }
}

int ExtractClaims::Claim(std::string_view path, int index, bool& fresh) {
    if (2 * (m_used + 1) > m_slots.size())
        Grow();
    const std::uint64_t hash = HashOf(path);
    Slot* slot = Find(path, hash);
    fresh = false;
    if (slot->index >= 0 && slot->index != index)
        return slot->index;
    fresh = slot->index < 0;
    if (slot->index == kEmpty) {
        slot->hash = hash;
        slot->offset = m_paths.size();
        slot->length = static_cast<std::uint32_t>(path.size());
        m_paths.append(path);
        ++m_used;
    }
    slot->index = index;
    return -1;
}

void ExtractClaims::Release(std::string_view path) {
    if (m_slots.empty())
        return;
    Slot* slot = Find(path, HashOf(path));
    if (slot->index >= 0)
        slot->index = kReleased;
}

void ExtractClaims::Clear() {
    m_slots.clear();
    m_used = 0;
    m_paths.clear();
}

}  // namespace zip
