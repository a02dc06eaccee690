#pragma once
// Where an extracted entry may go: always inside the folder it is extracted to.

#include <string>
#include <string_view>

namespace zip {

// False for a name that is absolute, starts with a drive, has a ".." component or holds a NUL;
// '\' and '/' both separate folders.
bool IsSafeEntryName(std::string_view name);
// False when a folder between `folder` and `folder/name` exists as a symbolic link, which would
// carry the file elsewhere; the last component is checked only when `includeLast` is set.
bool HasNoLinkOnTheWay(const std::string& folder, std::string_view name, bool includeLast);

// The name's last component ('\' or '/' separated), trailing separators ignored.
std::string FileNamePart(std::string_view name);
// A path as an entry name: '\' between folders, no drive, no leading separator, no "." or
// ".." components.
std::string PathToEntryName(std::string_view path);

}  // namespace zip
