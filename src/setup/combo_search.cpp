#include "setup/combo_search.h"

namespace setup {

namespace {

char Folded(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool BeginsWith(std::string_view entry, std::string_view text) {
    if (entry.size() < text.size())
        return false;
    for (size_t i = 0; i < text.size(); ++i)
        if (Folded(entry[i]) != Folded(text[i]))
            return false;
    return true;
}

}  // namespace

int FindPrefix(const std::vector<std::string>& entries, std::string_view text, int after) {
    const int count = static_cast<int>(entries.size());
    if (text.empty() || count == 0)
        return -1;
    const int start = after >= 0 && after < count ? after + 1 : 0;
    for (int step = 0; step < count; ++step) {
        const int index = (start + step) % count;
        if (BeginsWith(entries[static_cast<size_t>(index)], text))
            return index;
    }
    return -1;
}

}  // namespace setup
