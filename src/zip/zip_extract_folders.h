#pragma once
// The folders an archive extracts into while it is open. Each is checked once for symbolic
// links on the way and, once an extraction into it succeeded, cleared once of what killed
// extractions left in it; the one in use is kept open, so that an entry costs no look-up of the
// folders above it. The permissions a new file gets in a folder are learnt from the first one made
// there, so that the others need no look at their own.

#include <sys/types.h>

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

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
    int Open(std::string_view folder);
    // Makes `folder` and the folders above it that are missing, appending each one made to
    // `made`, outermost first; false when one cannot be made or a file stands in the way.
    static bool Make(const std::string& folder, std::vector<std::string>& made);
    // Removes from the open folder, the first time only, the stages killed extractions left.
    void RemoveAbandonedOnce();
    // The permissions of `fd`, a file just made in the open folder with mode 0666: those that
    // the process's mask or the folder's default ACL gave the first such file, the same for
    // every file made there with that mode (a mask changed while the archive is open is not
    // seen: the program sets none). nullopt when the first file cannot be looked at.
    std::optional<mode_t> NewFileMode(int fd);
    void Clear();

private:
    std::unordered_set<std::string> m_real;  // folders that are no links
    struct Visited {
        std::optional<mode_t> newFileMode;  // what a new file gets there
        bool cleared = false;               // of killed extractions' stages
    };
    std::unordered_map<std::string, Visited> m_visited;
    std::string m_openPath;
    int m_openFd = -1;
    Visited* m_open = nullptr;
};

}  // namespace zip
