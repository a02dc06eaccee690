#include "zip/zip_extract_stage.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string_view>

#include "platform/files.h"
#include "zip/zip_extract_target.h"

namespace zip {

bool ExtractStage::Begin(int folderFd, const std::string& folder) {
    End();
    if (folderFd < 0)
        return false;
    for (int attempt = 0; attempt < 100 && m_fd < 0; ++attempt) {
        const std::string name = NextTemporaryName();
        // Nobody else's business while it is filled.
        if (::mkdirat(folderFd, name.c_str(), 0700) != 0) {
            if (errno != EEXIST)
                return false;
            continue;
        }
        m_fd = ::openat(folderFd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (m_fd < 0) {
            ::unlinkat(folderFd, name.c_str(), AT_REMOVEDIR);
            return false;
        }
        // Where a file system has no locks the clean-up cannot take one either and removes nothing.
        ::flock(m_fd, LOCK_EX);
        m_folder = folder;
        m_path = platform::JoinPath(folder, name);
    }
    return m_fd >= 0;
}

int ExtractStage::Create() {
    Drop();
    if (m_fd < 0)
        return -1;
    m_fileName = std::to_string(m_files++);
    // 0666 so that the mask of the process decides, as for any new file.
    m_file = ::openat(m_fd, m_fileName.c_str(),
                      O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    return m_file;
}

std::optional<mode_t> ExtractStage::NewFileMode() {
    if (m_newFileMode || m_file < 0)
        return m_newFileMode;
    struct stat st {};
    if (::fstat(m_file, &st) == 0)
        m_newFileMode = st.st_mode & 07777;
    return m_newFileMode;
}

std::string ExtractStage::Keep() {
    if (m_file < 0)
        return {};
    const bool closed = ::close(m_file) == 0;
    m_file = -1;
    if (!closed) {
        ::unlinkat(m_fd, m_fileName.c_str(), 0);
        return {};
    }
    return m_fileName;
}

void ExtractStage::Drop() {
    if (m_file < 0)
        return;
    ::close(m_file);
    m_file = -1;
    ::unlinkat(m_fd, m_fileName.c_str(), 0);
}

bool ExtractStage::Move(const std::string& staged, int folderFd, const char* name) {
    return m_fd >= 0 && folderFd >= 0 && ::renameat(m_fd, staged.c_str(), folderFd, name) == 0;
}

void ExtractStage::End() {
    Drop();
    if (m_fd >= 0) {
        RemoveStageFolder(m_fd, m_path);
        ::close(m_fd);
    }
    m_fd = -1;
    m_folder.clear();
    m_path.clear();
    m_files = 0;
    m_newFileMode.reset();
}

bool RemoveStageFolder(int fd, const std::string& path) {
    const int listing = ::dup(fd);
    DIR* dir = listing >= 0 ? ::fdopendir(listing) : nullptr;
    if (!dir) {
        if (listing >= 0)
            ::close(listing);
        return false;
    }
    ::rewinddir(dir);
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (name != "." && name != "..")
            ::unlinkat(fd, entry->d_name, 0);
    }
    ::closedir(dir);
    return ::rmdir(path.c_str()) == 0;
}

}  // namespace zip
