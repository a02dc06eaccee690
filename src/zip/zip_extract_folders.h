#pragma once
// The folders an archive extracts into while it is open. Each is checked once for symbolic
// links on the way and cleared once of what killed extractions left in it; the one in use is
// kept open, so that an entry costs no look-up of the folders above it.

#include <string>
#include <string_view>
#include <unordered_set>

namespace zip {

class ExtractFolders {
public:
    ExtractFolders() = default;
    ~ExtractFolders();
    ExtractFolders(const ExtractFolders&) = delete;
    ExtractFolders& operator=(const ExtractFolders&) = delete;

    // False when a folder between `folder` and `folder/name` exists as a symbolic link, which
    // would carry the file elsewhere; the last component is checked only when `includeLast` is
    // set. Folders found real are not looked at again: the archive makes no links.
    bool HasNoLinkOnTheWay(const std::string& folder, std::string_view name, bool includeLast);
    // The folder, open for the calls that take a folder, made first when it is missing; -1
    // when it cannot be. Valid until the next call or Clear().
    int Open(const std::string& folder);
    void Clear();

private:
    std::unordered_set<std::string> m_real;     // folders that are no links
    std::unordered_set<std::string> m_cleared;  // of killed extractions' temporaries
    std::string m_openPath;
    int m_openFd = -1;
};

}  // namespace zip
