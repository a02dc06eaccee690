#pragma once
// Where an extracted entry may go: always inside the folder it is extracted to.

#include <string>
#include <string_view>
#include <vector>

namespace zip {

// The folders and the file of a name, '\' or '/' separated, empty components left out.
std::vector<std::string_view> NameParts(std::string_view name);
// False for a name that is absolute, starts with a drive, has a ".." component or holds a NUL;
// '\' and '/' both separate folders.
bool IsSafeEntryName(std::string_view name);

// The name's last component ('\' or '/' separated), trailing separators ignored.
std::string FileNamePart(std::string_view name);
// A path as an entry name: '\' between folders, no drive, no leading separator, no "." or
// ".." components.
std::string PathToEntryName(std::string_view path);

// The path as std::filesystem's lexically_normal gives it ('/' separated), without its cost when
// there is nothing to resolve: no "." or ".." components and no repeated separators.
std::string NormalPath(const std::string& path);

}  // namespace zip
