#include "zip/zip_removable_medium.h"

#include <dirent.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <vector>

#include "platform/files.h"
#include "platform/text.h"

extern char** environ;

namespace zip {

RemovableMedium::~RemovableMedium() = default;

namespace {

std::optional<std::string> RealPath(const std::string& path) {
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved) == nullptr)
        return std::nullopt;
    return std::string(resolved);
}

// mountinfo writes blanks, tabs, line feeds and backslashes in paths as three octal digits.
std::string Unescape(std::string_view field) {
    std::string out;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            const std::string_view digits = field.substr(i + 1, 3);
            if (digits.find_first_not_of("01234567") == std::string_view::npos) {
                out.push_back(
                    static_cast<char>(std::strtol(std::string(digits).c_str(), nullptr, 8)));
                i += 3;
                continue;
            }
        }
        out.push_back(field[i]);
    }
    return out;
}

bool Holds(const std::string& point, const std::string& folder) {
    return point == "/" || folder == point || platform::StartsWith(folder, point + "/");
}

// Runs a program with no terminal and waits for it; true when it exits with 0.
bool RunQuietly(const std::vector<std::string>& argv) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    std::vector<char*> args;
    for (const std::string& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    pid_t pid = 0;
    const int started = ::posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (started != 0)
        return false;
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0)
        if (errno != EINTR)
            return false;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

class SystemMedium final : public RemovableMedium {
public:
    bool IsRemovable(const std::string& archivePath) override {
        struct stat st {};
        const std::optional<std::string> folder = Folder(archivePath);
        return folder && ::stat(folder->c_str(), &st) == 0 &&
               IsRemovableBlockDevice("/sys", major(st.st_dev), minor(st.st_dev));
    }

    bool IsEmpty(const std::string& archivePath) override {
        const std::optional<MountEntry> mount = MountOf(archivePath);
        return mount && HoldsOnlyFolders(mount->point);
    }

    bool Label(const std::string& archivePath, const std::string& label) override {
        const std::optional<MountEntry> mount = MountOf(archivePath);
        if (!mount || (mount->type != "vfat" && mount->type != "msdos"))
            return false;
        return RunQuietly({"fatlabel", mount->source, label});
    }

    std::uint64_t FreeSpace(const std::string& archivePath) override {
        struct statvfs fs {};
        const std::optional<std::string> folder = Folder(archivePath);
        if (!folder || ::statvfs(folder->c_str(), &fs) != 0)
            return 0;
        return std::uint64_t{fs.f_bavail} * fs.f_frsize;
    }

private:
    static std::optional<std::string> Folder(const std::string& archivePath) {
        const int slash = platform::ReverseFind(archivePath, '/');
        if (slash < 0)
            return RealPath(".");
        return RealPath(slash == 0 ? "/" : platform::Left(archivePath, slash));
    }

    static std::optional<MountEntry> MountOf(const std::string& archivePath) {
        const std::optional<std::string> folder = Folder(archivePath);
        struct stat st {};
        if (!folder || ::stat(folder->c_str(), &st) != 0)
            return std::nullopt;
        const std::optional<std::string> mountinfo =
            platform::ReadWholeFile("/proc/self/mountinfo");
        if (!mountinfo)
            return std::nullopt;
        return FindMount(*mountinfo, major(st.st_dev), minor(st.st_dev), *folder);
    }
};

}  // namespace

RemovableMedium& SystemRemovableMedium() {
    static SystemMedium medium;
    return medium;
}

bool IsRemovableBlockDevice(const std::string& sysRoot, unsigned major, unsigned minor) {
    const std::optional<std::string> device =
        RealPath(platform::Format("%s/dev/block/%u:%u", sysRoot.c_str(), major, minor));
    if (!device)
        return false;
    std::string disk = *device;
    if (platform::FileExists(disk + "/partition"))
        disk = platform::Left(disk, platform::ReverseFind(disk, '/'));
    const std::optional<std::string> removable = platform::ReadWholeFile(disk + "/removable");
    return removable && platform::StartsWith(*removable, "1");
}

std::optional<MountEntry> FindMount(std::string_view mountinfo, unsigned major, unsigned minor,
                                    const std::string& folder) {
    const std::string device = platform::Format("%u:%u", major, minor);
    std::optional<MountEntry> best;
    for (const std::string& line : platform::Split(mountinfo, '\n')) {
        const std::vector<std::string> fields = platform::Split(line, ' ');
        if (fields.size() < 5 || fields[2] != device)
            continue;
        std::size_t dash = 5;
        while (dash < fields.size() && fields[dash] != "-")
            ++dash;
        if (dash + 2 >= fields.size())
            continue;
        MountEntry entry{Unescape(fields[4]), fields[dash + 1], Unescape(fields[dash + 2])};
        if (Holds(entry.point, folder) && (!best || entry.point.size() > best->point.size()))
            best = std::move(entry);
    }
    return best;
}

bool HoldsOnlyFolders(const std::string& folder) {
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return false;
    bool onlyFolders = true;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..")
            continue;
        struct stat st {};
        if (::fstatat(::dirfd(dir), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 ||
            !S_ISDIR(st.st_mode)) {
            onlyFolders = false;
            break;
        }
    }
    ::closedir(dir);
    return onlyFolders;
}

}  // namespace zip
