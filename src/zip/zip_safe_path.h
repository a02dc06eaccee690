#pragma once
// Where an extracted entry may go: always inside the folder it is extracted to.

#include <algorithm>
#include <string>
#include <string_view>

namespace zip {

// Calls `visit(part, isLast)` on the folders and the file of a name, '\' or '/' separated,
// empty components left out, while it returns true.
template <typename Visit>
void ForEachNamePart(std::string_view name, Visit visit) {
    constexpr std::string_view kSeparators = "\\/";
    std::size_t start = name.find_first_not_of(kSeparators);
    while (start != std::string_view::npos) {
        const std::size_t end = std::min(name.find_first_of(kSeparators, start), name.size());
        const std::size_t next = name.find_first_not_of(kSeparators, end);
        if (!visit(name.substr(start, end - start), next == std::string_view::npos))
            return;
        start = next;
    }
}
// False for a name that is absolute, starts with a drive, has a ".." component or holds a NUL;
// '\' and '/' both separate folders.
bool IsSafeEntryName(std::string_view name);

// The name's first component that is not "." ('\' or '/' separated).
std::string_view FirstNamePart(std::string_view name);
// The name's last component ('\' or '/' separated), trailing separators ignored.
std::string FileNamePart(std::string_view name);
// A path as an entry name: '\' between folders, no drive, no leading separator, no "." or
// ".." components.
std::string PathToEntryName(std::string_view path);

// Whether std::filesystem's lexically_normal leaves the path ('/' separated) as it is: no "."
// or ".." components and no repeated separators.
bool IsNormalPath(std::string_view path);
// The path as lexically_normal gives it, without its cost when it is normal already.
std::string NormalPath(const std::string& path);

}  // namespace zip
