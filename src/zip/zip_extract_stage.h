#pragma once
// Files extracted but not yet given their names: written into a hidden folder of their own inside
// the extraction's folder (".<pid>-<n>.part", locked while it is used, as a single temporary is)
// and moved to their names only once every one of them was written whole. A failed or killed
// extraction so changes no name at all; the folder a killed one left is removed the next time an
// archive extracts into its folder.

#include <sys/types.h>

#include <optional>
#include <string>

namespace zip {

class ExtractStage {
public:
    ExtractStage() = default;
    ~ExtractStage() { End(); }
    ExtractStage(const ExtractStage&) = delete;
    ExtractStage& operator=(const ExtractStage&) = delete;

    // Makes the stage inside `folder`, which `folderFd` has open; false when it cannot be made.
    bool Begin(int folderFd, const std::string& folder);
    bool IsBegun() const { return m_fd >= 0; }
    const std::string& Folder() const { return m_folder; }

    // A new file in the stage, open for writing; -1 when none can be made. One at a time.
    int Create();
    // The permissions the first file made in the stage got (mode 0666 through the process's mask
    // or the folder's default ACL), the same for every later one; nullopt when it cannot be told.
    std::optional<mode_t> NewFileMode();
    // Closes the file Create() gave and returns its name in the stage; empty, and the file gone,
    // when its last writes did not land.
    std::string Keep();
    // Removes the file Create() gave.
    void Drop();
    // Moves a kept file to `name` in the folder `folderFd` has open, replacing a file there.
    bool Move(const std::string& staged, int folderFd, const char* name);
    // Removes the stage with whatever is still in it.
    void End();

private:
    std::string m_folder;
    std::string m_path;  // of the stage itself
    int m_fd = -1;       // the stage, open and locked
    int m_file = -1;     // the file being written
    std::string m_fileName;
    unsigned m_files = 0;
    std::optional<mode_t> m_newFileMode;
};

// Removes the files of a stage folder that `fd` has open, then the folder at `path`.
bool RemoveStageFolder(int fd, const std::string& path);

}  // namespace zip
