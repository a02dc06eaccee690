#include "acquisition/path_watch.h"

#include <linux/magic.h>
#include <sys/inotify.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>

#include "platform/text.h"

namespace acquisition {

namespace {

constexpr std::uint32_t kFileEvents =
    IN_MODIFY | IN_ATTRIB | IN_CLOSE_WRITE | IN_MOVE_SELF | IN_DELETE_SELF;
constexpr std::uint32_t kFolderEvents =
    kFileEvents | IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_ONLYDIR;

// File systems whose every change goes through this system's kernel, which so hears of it.
bool IsLocalFileSystem(const std::string& folder) {
    constexpr std::array<unsigned long, 11> kLocal = {
        EXT4_SUPER_MAGIC,      XFS_SUPER_MAGIC,      BTRFS_SUPER_MAGIC, TMPFS_MAGIC,
        RAMFS_MAGIC,           F2FS_SUPER_MAGIC,     MSDOS_SUPER_MAGIC, EXFAT_SUPER_MAGIC,
        OVERLAYFS_SUPER_MAGIC, REISERFS_SUPER_MAGIC, 0x2fc12fc1 /* zfs */};
    struct statfs status {};
    return ::statfs(folder.c_str(), &status) == 0 &&
           std::find(kLocal.begin(), kLocal.end(), static_cast<unsigned long>(status.f_type)) !=
               kLocal.end();
}

}  // namespace

bool PathWatch::Watch(const std::string& path) {
    Stop();
    const size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string(".")
                               : slash == 0               ? std::string("/")
                                                          : path.substr(0, slash);
    m_name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (m_name.empty() || !IsLocalFileSystem(folder))
        return false;
    m_fd = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (m_fd < 0)
        return false;
    m_folderWatch = ::inotify_add_watch(m_fd, folder.c_str(), kFolderEvents);
    if (m_folderWatch < 0)
        Stop();
    return IsWatching();
}

void PathWatch::AddFile(int fd) {
    if (m_fd < 0)
        return;
    // The descriptor names the file itself, whatever the path names by now.
    m_fileWatch =
        ::inotify_add_watch(m_fd, platform::Format("/proc/self/fd/%d", fd).c_str(), kFileEvents);
    if (m_fileWatch < 0)
        Stop();
}

void PathWatch::Stop() {
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = m_folderWatch = m_fileWatch = -1;
    m_changed = false;
}

bool PathWatch::HeardOfChange() {
    if (m_fd < 0)
        return true;
    alignas(inotify_event) std::array<char, 4096> events;
    for (;;) {
        const ssize_t n = ::read(m_fd, events.data(), events.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        for (size_t at = 0; at < static_cast<size_t>(n);) {
            inotify_event event;
            std::memcpy(&event, events.data() + at, sizeof event);
            const char* name = events.data() + at + sizeof event;
            // A folder's own events and a lost queue have no name; the folder's other events
            // name the file they happened to.
            m_changed = m_changed || event.wd == m_fileWatch || event.wd < 0 ||
                        (event.wd == m_folderWatch && (event.len == 0 || name == m_name));
            at += sizeof event + event.len;
        }
    }
    return m_changed;
}

}  // namespace acquisition
