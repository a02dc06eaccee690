#pragma once
// The file an entry is extracted to. Data goes to a temporary file beside it, which replaces
// the target only once the entry has been read whole and checked, so a failed or cancelled
// extraction never leaves half a file or destroys the file that was there.

#include <cstddef>
#include <string>

namespace zip {

class ExtractTarget {
public:
    explicit ExtractTarget(std::string path);
    ~ExtractTarget();
    ExtractTarget(const ExtractTarget&) = delete;
    ExtractTarget& operator=(const ExtractTarget&) = delete;

    // Creates the target's folders and the temporary file.
    bool Create();
    bool Write(const char* data, std::size_t size);
    bool Finish();  // closes the temporary file
    const std::string& TemporaryPath() const { return m_temporary; }
    // Renames the temporary file over the target.
    bool Commit();

private:
    std::string m_path;
    std::string m_temporary;
    int m_fd = -1;
    bool m_committed = false;
};

}  // namespace zip
