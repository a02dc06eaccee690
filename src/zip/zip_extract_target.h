#pragma once
// The file an entry is extracted to. A new file is made without a name in its folder and linked
// under its name only once the entry was read whole and checked; a file that is there is
// replaced by a rename. A failed, cancelled or killed extraction so never leaves half a file
// under the entry's name or destroys the file that was there. Where the file system refuses
// unnamed files, the data goes to a short named temporary beside the target (names of any
// length allowed still work), locked while its extraction runs so that the one a killed
// extraction left is told from it.

#include <string>

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

    // Off, every extraction takes the named temporaries, as on file systems without unnamed
    // files.
    static void SetUnnamedFiles(bool allowed);

private:
    bool CreateNamed();
    bool LinkUnder(const char* name);
    bool LinkAsTemporary();

    int m_folder;
    const char* m_name;
    std::string m_temporary;  // named, once there is one
    int m_fd = -1;
    bool m_unnamed = false;
    bool m_committed = false;
};

// A name for a temporary that no other extraction, of this process or another, takes:
// ".<pid>-<n>.part".
std::string NextTemporaryName();
// Removes from `folder` the temporaries of extractions that were killed before they ended; one
// whose extraction still runs stays. Returns how many went.
int RemoveAbandonedParts(const std::string& folder);

}  // namespace zip
