#include "zip/zip_extract_target.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <string_view>

#include "platform/files.h"
#include "platform/text.h"
#include "zip/zip_extract_stage.h"

namespace zip {

namespace {

std::atomic<bool> g_unnamedAllowed{true};
// Linking an open file by its descriptor alone needs a capability on kernels before 6.10;
// /proc/self/fd names it everywhere, at the cost of a longer look-up.
std::atomic<bool> g_linkByDescriptorRefused{false};

// Without /proc an unnamed file could not be given a name.
bool UnnamedFilesUsable() {
    static const bool procMounted = ::access("/proc/self/fd", X_OK) == 0;
    return procMounted && g_unnamedAllowed;
}

bool IsDigits(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// ".<pid>-<n>.part", as NextTemporaryName makes them.
bool IsPartName(std::string_view name) {
    constexpr std::string_view kSuffix = ".part";
    if (name.size() < 1 + kSuffix.size() || name.front() != '.' || !name.ends_with(kSuffix))
        return false;
    name = name.substr(1, name.size() - 1 - kSuffix.size());
    const std::size_t dash = name.find('-');
    return dash != std::string_view::npos && IsDigits(name.substr(0, dash)) &&
           IsDigits(name.substr(dash + 1));
}

// A temporary whose extraction still runs is locked; the kernel lets go of a killed one's lock.
// A folder is the stage of an extraction of many entries (ExtractStage).
bool RemoveIfAbandoned(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return false;
    struct stat st {};
    const bool removed =
        ::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &st) == 0 &&
        (S_ISDIR(st.st_mode) ? RemoveStageFolder(fd, path) : ::unlink(path.c_str()) == 0);
    ::close(fd);
    return removed;
}

}  // namespace

std::string NextTemporaryName() {
    static std::atomic<unsigned> counter{0};
    return platform::Format(".%d-%u.part", static_cast<int>(::getpid()), counter++);
}

void ExtractTarget::SetUnnamedFiles(bool allowed) {
    g_unnamedAllowed = allowed;
}

ExtractTarget::ExtractTarget(int folder, const char* name) : m_folder(folder), m_name(name) {}

ExtractTarget::~ExtractTarget() {
    if (m_fd >= 0)
        ::close(m_fd);
    if (!m_temporary.empty() && !m_committed)
        ::unlinkat(m_folder, m_temporary.c_str(), 0);
}

// 0666 so that the mask of the process decides, as for any new file.
bool ExtractTarget::Create() {
    if (UnnamedFilesUsable()) {
        m_fd = ::openat(m_folder, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
        m_unnamed = m_fd >= 0;
        if (m_unnamed)
            return true;
    }
    return CreateNamed();
}

// O_EXCL never follows a link and never opens what is there already.
bool ExtractTarget::CreateNamed() {
    for (int attempt = 0; attempt < 100 && m_fd < 0; ++attempt) {
        const std::string name = NextTemporaryName();
        m_fd = ::openat(m_folder, name.c_str(),
                        O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (m_fd >= 0)
            m_temporary = name;
        else if (errno != EEXIST)
            return false;
    }
    // Where a file system has no locks the clean-up cannot take one either and removes nothing.
    if (m_fd >= 0)
        ::flock(m_fd, LOCK_EX);
    return m_fd >= 0;
}

bool ExtractTarget::LinkUnder(const char* name) {
    if (!g_linkByDescriptorRefused) {
        if (::linkat(m_fd, "", m_folder, name, AT_EMPTY_PATH) == 0)
            return true;
        if (errno != ENOENT)
            return false;
        g_linkByDescriptorRefused = true;
    }
    const std::string self = platform::Format("/proc/self/fd/%d", m_fd);
    return ::linkat(AT_FDCWD, self.c_str(), m_folder, name, AT_SYMLINK_FOLLOW) == 0;
}

// A file that is there is replaced by a rename, so the unnamed file takes a temporary name for
// that moment, locked as a named temporary is.
bool ExtractTarget::LinkAsTemporary() {
    ::flock(m_fd, LOCK_EX);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string name = NextTemporaryName();
        if (LinkUnder(name.c_str())) {
            m_temporary = name;
            return true;
        }
        if (errno != EEXIST)
            return false;
    }
    return false;
}

bool ExtractTarget::Commit() {
    if (m_unnamed && LinkUnder(m_name)) {
        m_committed = true;
        const bool closed = ::close(m_fd) == 0;
        m_fd = -1;
        // A file whose last writes failed to land is no whole file.
        if (!closed)
            ::unlinkat(m_folder, m_name, 0);
        return closed;
    }
    if (m_unnamed && (errno != EEXIST || !LinkAsTemporary()))
        return false;
    const bool closed = ::close(m_fd) == 0;
    m_fd = -1;
    if (!closed)
        return false;
    m_committed = ::renameat(m_folder, m_temporary.c_str(), m_folder, m_name) == 0;
    return m_committed;
}

int RemoveAbandonedParts(const std::string& folder) {
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return 0;
    int removed = 0;
    while (const dirent* entry = ::readdir(dir))
        if (IsPartName(entry->d_name) &&
            RemoveIfAbandoned(platform::JoinPath(folder, entry->d_name)))
            ++removed;
    ::closedir(dir);
    return removed;
}

}  // namespace zip
