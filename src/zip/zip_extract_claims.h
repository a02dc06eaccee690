#pragma once
// Which entry each file was extracted from while an archive is open, so that no entry replaces
// another's file. Looked up once for every extracted entry: the paths are kept end to end in
// one string and found through a table of their hashes, open addressing, so that a look-up
// touches one slot instead of a chain of nodes.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zip {

class ExtractClaims {
public:
    // Claims `path` for entry `index`: -1 when the path is now `index`'s (`fresh` tells
    // whether it was not before), else the entry that has it.
    int Claim(std::string_view path, int index, bool& fresh);
    // Gives up a fresh claim on `path`: its file was not written.
    void Release(std::string_view path);
    void Clear();

private:
    struct Slot {
        std::uint64_t hash = 0;
        std::size_t offset = 0;  // of the path in m_paths
        std::uint32_t length = 0;
        int index = kEmpty;
    };
    static constexpr int kEmpty = -1;
    static constexpr int kReleased = -2;

    Slot* Find(std::string_view path, std::uint64_t hash);
    void Grow();

    std::vector<Slot> m_slots;  // a power of two of them, at most half in use
    std::size_t m_used = 0;
    std::string m_paths;
};

}  // namespace zip
