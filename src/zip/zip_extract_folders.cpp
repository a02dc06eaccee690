#include "zip/zip_extract_folders.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/files.h"
#include "zip/zip_extract_stage.h"
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
    m_open = nullptr;
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
    m_open = nullptr;
    m_openFd = ::open(m_openPath.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (m_openFd < 0 && errno == ENOENT && platform::MakeDirectories(m_openPath))
        m_openFd = ::open(m_openPath.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (m_openFd < 0)
        return m_openFd;
    m_open = &m_visited.try_emplace(m_openPath).first->second;
    return m_openFd;
}

bool ExtractFolders::Make(const std::string& folder, std::vector<std::string>& made) {
    std::vector<std::string> missing;
    std::string path = folder;
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    struct stat st {};
    while (!path.empty() && ::stat(path.c_str(), &st) != 0) {
        if (errno != ENOENT)
            return false;
        missing.push_back(path);
        const std::size_t slash = path.rfind('/');
        path.resize(slash == std::string::npos ? 0 : slash);
        while (path.size() > 1 && path.back() == '/')
            path.pop_back();
    }
    if (!path.empty() && !S_ISDIR(st.st_mode))
        return false;
    for (auto at = missing.rbegin(); at != missing.rend(); ++at) {
        if (::mkdir(at->c_str(), 0777) == 0)
            made.push_back(*at);
        else if (errno != EEXIST)  // another program's, made meanwhile
            return false;
    }
    return true;
}

void ExtractFolders::RemoveAbandonedOnce() {
    if (m_openFd < 0 || !m_open || m_open->cleared)
        return;
    m_open->cleared = true;
    RemoveAbandonedStages(m_openFd);
}

std::optional<mode_t> ExtractFolders::NewFileMode(int fd) {
    if (m_open && m_open->newFileMode)
        return m_open->newFileMode;
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        return std::nullopt;
    const mode_t mode = st.st_mode & 07777;
    if (m_open)
        m_open->newFileMode = mode;
    return mode;
}

}  // namespace zip
