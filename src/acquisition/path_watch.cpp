#include "acquisition/path_watch.h"

#include <linux/magic.h>
#include <sys/inotify.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <string_view>

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

bool PathWatch::Watch(const std::vector<std::string>& paths) {
    Stop();
    m_fd = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    for (const std::string& path : paths) {
        if (path.empty())
            continue;
        const size_t slash = path.rfind('/');
        const std::string folder = slash == std::string::npos ? std::string(".")
                                   : slash == 0               ? std::string("/")
                                                              : path.substr(0, slash);
        Watched& watched = m_paths.emplace_back(
            Watched{path, slash == std::string::npos ? path : path.substr(slash + 1)});
        // A folder watched already gives its watch again.
        if (m_fd >= 0 && !watched.name.empty() && IsLocalFileSystem(folder))
            watched.folderWatch = ::inotify_add_watch(m_fd, folder.c_str(), kFolderEvents);
        if (watched.folderWatch < 0)
            Refuse();
    }
    return IsWatching();
}

void PathWatch::AddFiles() {
    for (const Watched& watched : m_paths) {
        if (m_fd < 0)
            return;
        const int watch = ::inotify_add_watch(m_fd, watched.path.c_str(), kFileEvents);
        if (watch >= 0)
            m_fileWatches.push_back(watch);
        else if (errno != ENOENT)
            Refuse();
    }
}

void PathWatch::Refuse() {
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    m_fileWatches.clear();
}

void PathWatch::Stop() {
    Refuse();
    m_paths.clear();
    m_changed = false;
}

bool PathWatch::Covers(const std::string& path) const {
    return std::any_of(m_paths.begin(), m_paths.end(),
                       [&](const Watched& watched) { return watched.path == path; });
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
            const int wd = event.wd;
            // A lost queue and a folder's own events have no name; a folder's other events name
            // the file they happened to.
            const std::string_view name =
                event.len == 0 ? std::string_view() : events.data() + at + sizeof event;
            const auto touches = [&](const Watched& watched) {
                return wd == watched.folderWatch && (name.empty() || name == watched.name);
            };
            m_changed =
                m_changed || wd < 0 ||
                std::find(m_fileWatches.begin(), m_fileWatches.end(), wd) != m_fileWatches.end() ||
                std::any_of(m_paths.begin(), m_paths.end(), touches);
            at += sizeof event + event.len;
        }
    }
    return m_changed;
}

}  // namespace acquisition
