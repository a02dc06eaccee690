#pragma once
// The file an entry is extracted to. A new file is made without a name in its folder and linked
// under its name only once the entry was read whole and checked; a file that is there is
// replaced by a rename. A failed, cancelled or killed extraction so never leaves half a file
// under the entry's name or destroys the file that was there. Where the file system refuses
// unnamed files, and for the rename over a file that is there, the data waits in a stage of
// its own beside the target (zip::ExtractStage).

#include "zip/zip_extract_stage.h"

namespace zip {

class ExtractTarget {
public:
    // `folder` is the target's folder, open (ExtractFolders::Open); `name` the target's name in
    // it, kept by the caller while the target lives.
    ExtractTarget(int folder, const char* name);
    ~ExtractTarget();
    ExtractTarget(const ExtractTarget&) = delete;
    ExtractTarget& operator=(const ExtractTarget&) = delete;

    bool Create();
    // Open for the entry's data to be written through.
    int Descriptor() const { return m_fd; }
    // Gives the file the target's name and closes it.
    bool Commit();

    // Off, every extraction takes a stage, as on file systems without unnamed files.
    static void SetUnnamedFiles(bool allowed);

private:
    bool MoveFromStage(const std::string& staged);

    int m_folder;
    const char* m_name;
    int m_fd = -1;
    bool m_unnamed = false;  // else m_fd is the stage's file
    ExtractStage m_stage;
};

}  // namespace zip
