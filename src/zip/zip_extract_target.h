#pragma once
// The file an entry is extracted to. The data goes to a temporary file beside it (with a short
// name, so that targets of any length allowed work) that takes the target's name only once the
// entry was read whole and checked: a failed, cancelled or killed extraction never leaves half
// a file under the entry's name or destroys the file that was there. A temporary is locked
// while its extraction runs, so that the one a killed extraction left is told from it.

#include <cstddef>
#include <string>

namespace zip {

class ExtractTarget {
public:
    explicit ExtractTarget(std::string path);
    ~ExtractTarget();
    ExtractTarget(const ExtractTarget&) = delete;
    ExtractTarget& operator=(const ExtractTarget&) = delete;

    // The folder the target goes into.
    const std::string& Folder() const { return m_folder; }
    // Creates the file, and the target's folders when they are missing.
    bool Create();
    bool Write(const char* data, std::size_t size);
    int Descriptor() const { return m_fd; }
    // Closes the file and keeps it as the target.
    bool Commit();

private:
    std::string m_path;
    std::string m_folder;
    std::string m_temporary;
    int m_fd = -1;
    bool m_created = false;
    bool m_committed = false;
};

// Removes from `folder` the temporaries of extractions that were killed before they ended; one
// whose extraction still runs stays. Returns how many went.
int RemoveAbandonedParts(const std::string& folder);

}  // namespace zip
