#include "zip/zip_extract_folders.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

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
    m_openNewFileMode = nullptr;
    m_real.clear();
    m_visited.clear();
}

bool ExtractFolders::HasNoLinkOnTheWay(const std::string& folder, std::string_view name,
                                       bool includeLast) {
    std::string path;
    bool clear = true;
    ForEachNamePart(name, [&](std::string_view part, bool last) {
        if (last && !includeLast)
            return false;
        path = platform::JoinPath(path.empty() ? std::string_view(folder) : path, part);
        if (m_real.contains(path))
            return true;
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0)
            return false;  // nothing further exists yet
        if (S_ISLNK(st.st_mode))
            clear = false;
        else if (S_ISDIR(st.st_mode))
            m_real.insert(path);
        return clear;
    });
    return clear;
}

int ExtractFolders::Open(std::string_view folder) {
    if (m_openFd >= 0 && folder == m_openPath)
        return m_openFd;
    if (m_openFd >= 0)
        ::close(m_openFd);
    m_openPath = folder;
    m_openNewFileMode = nullptr;
    m_openFd = ::open(m_openPath.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    const bool made = m_openFd < 0 && errno == ENOENT && platform::MakeDirectories(m_openPath);
    if (made)
        m_openFd = ::open(m_openPath.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (m_openFd < 0)
        return m_openFd;
    const auto [visited, first] = m_visited.try_emplace(m_openPath);
    if (first && !made)
        RemoveAbandonedParts(m_openPath);
    m_openNewFileMode = &visited->second;
    return m_openFd;
}

std::optional<mode_t> ExtractFolders::NewFileMode(int fd) {
    if (m_openNewFileMode && *m_openNewFileMode)
        return *m_openNewFileMode;
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        return std::nullopt;
    const mode_t mode = st.st_mode & 07777;
    if (m_openNewFileMode)
        *m_openNewFileMode = mode;
    return mode;
}

}  // namespace zip
