#pragma once
// Entry names between their two forms. Stored in the archive: '/' between folders, UTF-8 when
// flag bit 11 is set and code page 437 otherwise. In the program: '\' between folders and
// UTF-8, the form Linux gives file names, so that a name read from the disk goes into the
// archive and back out to the disk unchanged.

#include <string>
#include <string_view>

namespace zip {

constexpr unsigned kUtf8NameFlag = 0x0800;

bool IsValidUtf8(std::string_view text);

// Tools that write UTF-8 without the flag (Info-ZIP on Linux) are common, and code page 437
// text is almost never valid UTF-8: so any name that is valid UTF-8 is read as UTF-8, flag or
// not, and only the others as code page 437.
std::string NameToCallerForm(std::string_view stored);
// Plain ASCII names are stored as they are; others in UTF-8, for which `*utf8` is set. A name
// that is not valid UTF-8 is the program's own Latin-1 text and is converted.
std::string NameToStoredForm(std::string_view caller, bool* utf8);

}  // namespace zip
