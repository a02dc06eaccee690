#pragma once
// The entries of a zipped data set unpacked into its folder, every one or none: every entry's
// name and place, and that the folders it lands in can be written, are checked before any data
// is read, each entry is then written once, without its name, its CRC checked on the way, and
// the files take their names only after the last one passed (a failure then puts back the names
// already given). An entry that replaces the archive itself takes its name last.

#include <optional>
#include <string>

class CZipArchive;

namespace acquisition {

// Why the archive's entries were not unpacked into `folder`, if they were not; a failure of the
// zip classes comes as their exception.
std::optional<std::string> ExtractEveryEntry(CZipArchive& zip, const std::string& folder);

}  // namespace acquisition
