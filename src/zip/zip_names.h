#pragma once
// Entry names between their two forms. Stored in the archive: '/' between folders, UTF-8 when
// flag bit 11 is set and code page 437 otherwise. In the program: '\' between folders and
// Latin-1, like every other text.

#include <string>
#include <string_view>

namespace zip {

constexpr unsigned kUtf8NameFlag = 0x0800;

std::string NameToCallerForm(std::string_view stored, bool utf8);
// Plain ASCII names are stored as they are; others in UTF-8, for which `*utf8` is set.
std::string NameToStoredForm(std::string_view caller, bool* utf8);

}  // namespace zip
