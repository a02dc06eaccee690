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
#include <system_error>
#include <thread>

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

// Hands `heard` each queued event's watch (-1 for a lost queue) and name (empty for a watched
// thing's own events) until nothing more is queued.
template <typename Heard>
void ReadQueuedEvents(int fd, Heard&& heard) {
    alignas(inotify_event) std::array<char, 4096> events;
    for (;;) {
        const ssize_t n = ::read(fd, events.data(), events.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return;
        for (size_t at = 0; at < static_cast<size_t>(n);) {
            inotify_event event;
            std::memcpy(&event, events.data() + at, sizeof event);
            heard(event.wd,
                  event.len == 0 ? std::string_view() : events.data() + at + sizeof event);
            at += sizeof event + event.len;
        }
    }
}

bool Contains(const std::vector<int>& watches, int watch) {
    return std::find(watches.begin(), watches.end(), watch) != watches.end();
}

}  // namespace

PathWatch::~PathWatch() {
    if (m_fd < 0)
        return;
    const int fd = m_fd;
    try {
        std::thread([fd] { ::close(fd); }).detach();
    } catch (const std::system_error&) {
        ::close(fd);
    }
}

bool PathWatch::Watch(const std::vector<std::string>& paths) {
    const std::vector<int> before = Watches();
    m_paths.clear();
    m_fileWatches.clear();
    m_changed = false;
    if (m_fd < 0)
        m_fd = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    bool watching = m_fd >= 0;
    for (const std::string& path : paths) {
        if (path.empty())
            continue;
        const size_t slash = path.rfind('/');
        const std::string folder = slash == std::string::npos ? std::string(".")
                                   : slash == 0               ? std::string("/")
                                                              : path.substr(0, slash);
        Watched& watched = m_paths.emplace_back(
            Watched{path, slash == std::string::npos ? path : path.substr(slash + 1)});
        if (watching && !watched.name.empty() && IsLocalFileSystem(folder))
            watched.folderWatch = ::inotify_add_watch(m_fd, folder.c_str(), kFolderEvents);
        watching = watching && watched.folderWatch >= 0;
    }
    Drop(before, Watches());
    m_watching = watching;
    if (!m_watching)
        Refuse();
    DiscardEvents();
    return m_watching;
}

void PathWatch::AddFiles() {
    for (const Watched& watched : m_paths) {
        if (!m_watching)
            return;
        // Added to what a watch the kernel gives again already hears, never narrowing it.
        const int watch =
            ::inotify_add_watch(m_fd, watched.path.c_str(), kFileEvents | IN_MASK_ADD);
        if (watch >= 0)
            m_fileWatches.push_back(watch);
        else if (errno != ENOENT)
            Refuse();
    }
}

void PathWatch::Refuse() {
    Drop(Watches());
    m_watching = false;
    for (Watched& watched : m_paths)
        watched.folderWatch = -1;
    m_fileWatches.clear();
}

void PathWatch::Stop() {
    Refuse();
    m_paths.clear();
    m_changed = false;
}

std::vector<int> PathWatch::Watches() const {
    std::vector<int> watches = m_fileWatches;
    for (const Watched& watched : m_paths)
        if (watched.folderWatch >= 0)
            watches.push_back(watched.folderWatch);
    std::sort(watches.begin(), watches.end());
    watches.erase(std::unique(watches.begin(), watches.end()), watches.end());
    return watches;
}

void PathWatch::Drop(const std::vector<int>& dropped, const std::vector<int>& kept) {
    // A watch the kernel ended itself (its file removed) is refused here, and that is all.
    for (const int watch : dropped)
        if (!Contains(kept, watch))
            ::inotify_rm_watch(m_fd, watch);
}

void PathWatch::DiscardEvents() {
    if (m_fd >= 0)
        ReadQueuedEvents(m_fd, [](int, std::string_view) {});
}

bool PathWatch::Covers(const std::string& path) const {
    return std::any_of(m_paths.begin(), m_paths.end(),
                       [&](const Watched& watched) { return watched.path == path; });
}

bool PathWatch::HeardOfChange() {
    if (!m_watching)
        return true;
    ReadQueuedEvents(m_fd, [&](int wd, std::string_view name) {
        // A folder's other events name the file they happened to.
        const auto touches = [&](const Watched& watched) {
            return wd == watched.folderWatch && (name.empty() || name == watched.name);
        };
        m_changed = m_changed || wd < 0 || Contains(m_fileWatches, wd) ||
                    std::any_of(m_paths.begin(), m_paths.end(), touches);
    });
    return m_changed;
}

}  // namespace acquisition
