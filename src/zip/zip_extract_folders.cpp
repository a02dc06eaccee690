#include "zip/zip_extract_folders.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "platform/files.h"
#include "zip/zip_extract_target.h"
#include "zip/zip_safe_path.h"

namespace zip {

ExtractFolders::~ExtractFolders() {
    Clear();
}

void ExtractFolders::Clear() {
    if (m_openFd >= 0)
        ::close(m_openFd);
    m_openFd = -1;
    m_openPath.clear();
    m_real.clear();
    m_cleared.clear();
}

bool ExtractFolders::HasNoLinkOnTheWay(const std::string& folder, std::string_view name,
                                       bool includeLast) {
    std::vector<std::string_view> parts = NameParts(name);
    if (!includeLast && !parts.empty())
        parts.pop_back();
    std::string path = folder;
    for (std::string_view part : parts) {
        path = platform::JoinPath(path, part);
        if (m_real.contains(path))
            continue;
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0)
            return true;  // nothing further exists yet
        if (S_ISLNK(st.st_mode))
            return false;
        if (S_ISDIR(st.st_mode))
            m_real.insert(path);
    }
    return true;
}

int ExtractFolders::Open(const std::string& folder) {
    if (m_openFd >= 0 && folder == m_openPath)
        return m_openFd;
    if (m_openFd >= 0)
        ::close(m_openFd);
    m_openPath = folder;
    m_openFd = ::open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    const bool made = m_openFd < 0 && errno == ENOENT && platform::MakeDirectories(folder);
    if (made)
        m_openFd = ::open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (m_openFd >= 0 && m_cleared.insert(folder).second && !made)
        RemoveAbandonedParts(folder);
    return m_openFd;
}

}  // namespace zip
