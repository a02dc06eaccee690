#pragma once
// How every list of the setup pages finds a stored value: the first entry, after a given one
// and wrapping round to the top, that begins with the text, letters compared without case.

#include <string>
#include <string_view>
#include <vector>

namespace setup {

// The index of that entry, searching from the entry after `after` (-1: from the top) to the
// end and then from the top; -1 when no entry begins with `text`, and for an empty text, which
// stands for a value never read and must not pick the first entry.
int FindPrefix(const std::vector<std::string>& entries, std::string_view text, int after = -1);

}  // namespace setup
