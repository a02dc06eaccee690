#include "zip/zip_extract_stage.h"

#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdint>
#include <utility>

#include "platform/files.h"
#include "platform/text.h"

namespace zip {

namespace {

StageHooks g_hooks;

// Linking an open file by its descriptor alone needs a capability on kernels before 6.10;
// /proc/self/fd names it everywhere, at the cost of a longer look-up.
std::atomic<bool> g_linkByDescriptorRefused{false};

constexpr const char* kMarkName = ".stage";

// The mark names the stage's own inode: a copy of a stage, or a folder a user named so, is
// not taken for one.
std::string MarkFor(const struct stat& stage) {
    return platform::Format("kx9monitor extraction stage %llu\n",
                            static_cast<unsigned long long>(stage.st_ino));
}

bool WriteMark(int stageFd, const struct stat& stage) {
    const int fd =
        ::openat(stageFd, kMarkName, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    const std::string mark = MarkFor(stage);
    const bool written = ::write(fd, mark.data(), mark.size()) == static_cast<ssize_t>(mark.size());
    return ::close(fd) == 0 && written;
}

bool CarriesMark(int stageFd, const struct stat& stage) {
    const int fd = ::openat(stageFd, kMarkName, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    char text[64];
    const ssize_t n = ::read(fd, text, sizeof text);
    ::close(fd);
    return n > 0 && std::string_view(text, static_cast<std::size_t>(n)) == MarkFor(stage);
}

// Empties the stage `fd` has open and removes it, `name` in the folder `parentFd` has open; a
// stage holding a folder, which no extraction puts there, stays.
bool RemoveStage(int fd, int parentFd, const std::string& name) {
    const int listing = ::openat(fd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* dir = listing >= 0 ? ::fdopendir(listing) : nullptr;
    if (!dir) {
        if (listing >= 0)
            ::close(listing);
        return false;
    }
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view file = entry->d_name;
        if (file != "." && file != "..")
            ::unlinkat(fd, entry->d_name, 0);
    }
    ::closedir(dir);
    return ::unlinkat(parentFd, name.c_str(), AT_REMOVEDIR) == 0;
}

// A stage whose extraction still runs is locked; the kernel lets go of a killed one's lock.
bool RemoveIfAbandoned(int folderFd, const char* name) {
    const int fd =
        ::openat(folderFd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat st {};
    const bool removed = ::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &st) == 0 &&
                         st.st_nlink > 0 && CarriesMark(fd, st) && RemoveStage(fd, folderFd, name);
    ::close(fd);
    return removed;
}

bool IsDigits(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string NextStageName() {
    static std::atomic<unsigned> counter{0};
    return platform::Format(".%d-%u.part", static_cast<int>(::getpid()), counter++);
}

// What a rename could not replace either.
bool MustNotChange(int folderFd, const char* name) {
    struct statx st {};
    constexpr std::uint64_t kFixed = STATX_ATTR_IMMUTABLE | STATX_ATTR_APPEND;
    return ::statx(folderFd, name, AT_SYMLINK_NOFOLLOW, 0, &st) == 0 &&
           (st.stx_attributes & st.stx_attributes_mask & kFixed) != 0;
}

bool LinkInto(int folderFd, const char* name, int stageFd, const std::string& link) {
    if (g_hooks.withoutLinkOrExchange) {
        errno = EPERM;
        return false;
    }
    return ::linkat(folderFd, name, stageFd, link.c_str(), 0) == 0;
}

// EINVAL where the file system knows no such flag.
bool RenameWith(int fromFd, const std::string& from, int toFd, const char* to, unsigned flags) {
    if (g_hooks.withoutLinkOrExchange) {
        errno = EINVAL;
        return false;
    }
    return ::renameat2(fromFd, from.c_str(), toFd, to, flags) == 0;
}

}  // namespace

bool IsTemporaryName(std::string_view name) {
    constexpr std::string_view kSuffix = ".part";
    if (name.size() < 1 + kSuffix.size() || name.front() != '.' || !name.ends_with(kSuffix))
        return false;
    name = name.substr(1, name.size() - 1 - kSuffix.size());
    const std::size_t dash = name.find('-');
    return dash != std::string_view::npos && IsDigits(name.substr(0, dash)) &&
           IsDigits(name.substr(dash + 1));
}

ScopedStageHooks::ScopedStageHooks(StageHooks hooks)
    : m_previous(std::exchange(g_hooks, std::move(hooks))) {}

ScopedStageHooks::~ScopedStageHooks() {
    g_hooks = std::move(m_previous);
}

bool LinkOpenFile(int fd, int folderFd, const char* name) {
    if (!g_linkByDescriptorRefused) {
        if (::linkat(fd, "", folderFd, name, AT_EMPTY_PATH) == 0)
            return true;
        if (errno != ENOENT)
            return false;
        g_linkByDescriptorRefused = true;
    }
    const std::string self = platform::Format("/proc/self/fd/%d", fd);
    return ::linkat(AT_FDCWD, self.c_str(), folderFd, name, AT_SYMLINK_FOLLOW) == 0;
}

bool ExtractStage::Begin(int folderFd, const std::string& folder) {
    End();
    if (folderFd < 0)
        return false;
    m_parent = ::fcntl(folderFd, F_DUPFD_CLOEXEC, 0);
    if (m_parent < 0)
        return false;
    for (int attempt = 0; attempt < 100 && m_fd < 0; ++attempt) {
        std::string name = NextStageName();
        // Nobody else's business while it is filled.
        if (::mkdirat(m_parent, name.c_str(), 0700) != 0) {
            if (errno != EEXIST)
                break;
            continue;
        }
        const int fd =
            ::openat(m_parent, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0) {
            ::unlinkat(m_parent, name.c_str(), AT_REMOVEDIR);
            break;
        }
        if (g_hooks.madeUnlocked) {
            const auto hook = g_hooks.madeUnlocked;  // which may set the hooks again
            hook();
        }
        // Where a file system has no locks the clean-up cannot take one either and removes
        // nothing.
        int locked;
        do
            locked = ::flock(fd, LOCK_EX);
        while (locked != 0 && errno == EINTR);
        // Unmarked, the stage is nobody's to remove; a program that knows no mark might still
        // have taken it for abandoned before the lock: then it is begun again under a new name.
        struct stat st {};
        if (::fstat(fd, &st) != 0 || st.st_nlink == 0) {
            ::close(fd);
            continue;
        }
        if (!WriteMark(fd, st)) {
            RemoveStage(fd, m_parent, name);
            ::close(fd);
            break;
        }
        m_fd = fd;
        m_name = std::move(name);
        m_folder = folder;
    }
    if (m_fd < 0) {
        ::close(m_parent);
        m_parent = -1;
    }
    return m_fd >= 0;
}

std::string ExtractStage::Path() const {
    return platform::JoinPath(m_folder, m_name);
}

int ExtractStage::Create() {
    Drop();
    if (m_fd < 0)
        return -1;
    m_fileName = NextFileName();
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

std::string ExtractStage::Adopt(int fd) {
    std::string name = NextFileName();
    return m_fd >= 0 && LinkOpenFile(fd, m_fd, name.c_str()) ? name : std::string();
}

bool ExtractStage::KeepReplaced(int folderFd, const char* name, std::string& kept) {
    kept.clear();
    if (m_fd < 0 || folderFd < 0)
        return false;
    std::string link = NextFileName();
    if (LinkInto(folderFd, name, m_fd, link)) {
        kept = std::move(link);
        return true;
    }
    return errno == ENOENT || (errno != EXDEV && !MustNotChange(folderFd, name));
}

bool ExtractStage::Move(const std::string& staged, int folderFd, const char* name) {
    if (g_hooks.beforeMove) {
        const auto hook = g_hooks.beforeMove;
        hook();
    }
    return m_fd >= 0 && folderFd >= 0 && ::renameat(m_fd, staged.c_str(), folderFd, name) == 0;
}

bool ExtractStage::MoveKeeping(const std::string& staged, int folderFd, const char* name,
                               std::string& kept) {
    if (!kept.empty())
        return Move(staged, folderFd, name);
    if (g_hooks.beforeMove) {
        const auto hook = g_hooks.beforeMove;
        hook();
    }
    if (m_fd < 0 || folderFd < 0)
        return false;
    if (RenameWith(m_fd, staged, folderFd, name, RENAME_NOREPLACE))
        return true;
    const bool flagsKnown = errno != EINVAL;
    if (flagsKnown && errno != EEXIST)
        return false;
    // A folder there is nobody's to replace: a plain rename would refuse it too.
    struct stat there {};
    if (::fstatat(folderFd, name, &there, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(there.st_mode))
        return false;
    if (flagsKnown) {
        if (RenameWith(m_fd, staged, folderFd, name, RENAME_EXCHANGE)) {
            kept = staged;
            return true;
        }
        if (errno != EINVAL)
            return false;
    }
    // For a moment no file has the name: a kill then leaves the one that had it in the stage.
    std::string aside = NextFileName();
    const bool movedAside = ::renameat(folderFd, name, m_fd, aside.c_str()) == 0;
    if (!movedAside && errno != ENOENT)
        return false;
    if (::renameat(m_fd, staged.c_str(), folderFd, name) == 0) {
        if (movedAside)
            kept = std::move(aside);
        return true;
    }
    if (movedAside && ::renameat(m_fd, aside.c_str(), folderFd, name) != 0)
        kept = std::move(aside);
    return false;
}

bool ExtractStage::PutBack(const std::string& staged, const std::string& kept, int folderFd,
                           const char* name) {
    if (kept.empty()) {
        if (m_fd >= 0 && folderFd >= 0)
            ::renameat(folderFd, name, m_fd, staged.c_str());
        return true;
    }
    const bool back =
        m_fd >= 0 && folderFd >= 0 && ::renameat(m_fd, kept.c_str(), folderFd, name) == 0;
    m_holdsStranded = m_holdsStranded || !back;
    return back;
}

void ExtractStage::End() {
    Drop();
    if (m_fd >= 0) {
        if (!m_holdsStranded)
            RemoveStage(m_fd, m_parent, m_name);
        ::close(m_fd);
        ::close(m_parent);
    }
    m_fd = m_parent = -1;
    m_folder.clear();
    m_name.clear();
    m_files = 0;
    m_newFileMode.reset();
    m_holdsStranded = false;
}

int RemoveAbandonedStages(int folderFd) {
    const int listing = ::openat(folderFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* dir = listing >= 0 ? ::fdopendir(listing) : nullptr;
    if (!dir) {
        if (listing >= 0)
            ::close(listing);
        return 0;
    }
    int removed = 0;
    while (const dirent* entry = ::readdir(dir))
        if ((entry->d_type == DT_DIR || entry->d_type == DT_UNKNOWN) &&
            IsTemporaryName(entry->d_name) && RemoveIfAbandoned(folderFd, entry->d_name))
            ++removed;
    ::closedir(dir);
    return removed;
}

}  // namespace zip
