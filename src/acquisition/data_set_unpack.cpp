#include "acquisition/data_set_unpack.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <unordered_map>
#include <vector>

#include "platform/files.h"
#include "platform/text.h"
#include "zip/zip_archive.h"
#include "zip/zip_extract_stage.h"
#include "zip/zip_safe_path.h"

namespace acquisition {

namespace {

std::string EntryName(const CZipArchive& zip, int entry) {
    CZipFileHeader header;
    return zip.GetFileInfo(header, entry) ? header.GetFileName() : std::to_string(entry);
}

// An entry's name as a path below the folder: '/' between its parts, no empty or "." part.
std::string RelativePath(std::string_view name) {
    std::string path;
    zip::ForEachNamePart(name, [&](std::string_view part, bool) {
        if (part != ".")
            path.append(path.empty() ? "" : "/").append(part);
        return true;
    });
    return path;
}

// Whether the program may make and replace names in the folder at `path`.
bool CanWriteIn(const std::string& path) {
    return ::faccessat(AT_FDCWD, path.c_str(), W_OK | X_OK, AT_EACCESS) == 0;
}

// Where the entries land, checked against each other and against what is on disk before any is
// written: an entry that needs a folder where a file stands or goes, or a file where a folder
// stands or is made, or a folder there that the program cannot write would otherwise fail only
// at the commit.
class TargetPlan {
public:
    TargetPlan(const CZipArchive& zip, std::string folder, const struct stat& archive)
        : m_zip(zip), m_folder(std::move(folder)), m_archive(archive) {}

    // Why entry `entry` cannot land where its name says, if it cannot. `replacesArchive` tells
    // whether its file is the archive's own.
    std::optional<std::string> Add(int entry, const std::string& name, bool isFolder,
                                   bool& replacesArchive) {
        const std::string path = RelativePath(name);
        for (size_t slash = path.find('/'); slash != std::string::npos;
             slash = path.find('/', slash + 1))
            if (auto failure = PlanFolder(entry, name, path.substr(0, slash)))
                return failure;
        if (path.empty())
            return isFolder ? std::nullopt
                            : std::optional(platform::Format("entry %s would replace a folder",
                                                             name.c_str()));
        if (isFolder)
            return PlanFolder(entry, name, path);
        const auto [planned, fresh] = m_planned.try_emplace(path, Planned{false, entry});
        if (!fresh)
            return planned->second.folder
                       ? platform::Format("entry %s would replace the folder of entry %s",
                                          name.c_str(), Named(planned->second.entry).c_str())
                       : platform::Format("entries %s and %s name the same file",
                                          Named(planned->second.entry).c_str(), name.c_str());
        struct stat status {};
        if (!LookAt(path, status))
            return platform::Format("the place of entry %s cannot be looked at", name.c_str());
        if (status.st_nlink > 0 && S_ISDIR(status.st_mode))
            return platform::Format("entry %s would replace a folder", name.c_str());
        replacesArchive = status.st_nlink > 0 && status.st_dev == m_archive.st_dev &&
                          status.st_ino == m_archive.st_ino;
        return std::nullopt;
    }

private:
    struct Planned {
        bool folder = false;
        int entry = 0;
    };

    std::string Named(int entry) const { return EntryName(m_zip, entry); }

    // What is at `path` below the folder, links not followed; st_nlink 0 when nothing is.
    bool LookAt(const std::string& path, struct stat& status) const {
        if (::lstat(platform::JoinPath(m_folder, path).c_str(), &status) == 0)
            return true;
        status = {};
        return errno == ENOENT;
    }

    std::optional<std::string> PlanFolder(int entry, const std::string& name,
                                          const std::string& path) {
        const auto [planned, fresh] = m_planned.try_emplace(path, Planned{true, entry});
        if (!planned->second.folder)
            return platform::Format("entry %s needs a folder where entry %s puts its file",
                                    name.c_str(), Named(planned->second.entry).c_str());
        if (!fresh)
            return std::nullopt;  // looked at already
        struct stat status {};
        if (!LookAt(path, status))
            return platform::Format("the place of entry %s cannot be looked at", name.c_str());
        if (status.st_nlink > 0 && !S_ISDIR(status.st_mode))
            return platform::Format("entry %s needs a folder where %s is no folder", name.c_str(),
                                    path.c_str());
        if (status.st_nlink > 0 && !CanWriteIn(platform::JoinPath(m_folder, path)))
            return platform::Format("entry %s goes to the folder %s, which cannot be written",
                                    name.c_str(), path.c_str());
        return std::nullopt;
    }

    const CZipArchive& m_zip;
    std::string m_folder;
    struct stat m_archive;
    // Each file and folder the entries make, by its path below the folder.
    std::unordered_map<std::string, Planned> m_planned;
};

// The order the entries are written in, once every one's name (safe, no link, no other entry's
// file) and place were checked. An entry that replaces the archive itself (the saver's index
// under the archive's name) comes last, so that whatever fails before it leaves the archive as
// it was. The reason of the first entry that fails the checks, if one does.
std::optional<std::string> CheckEveryEntry(const CZipArchive& zip, const std::string& folder,
                                           std::vector<int>& order) {
    const int count = zip.GetCount();
    if (count <= 0)
        return std::string("the archive holds no entry");
    struct stat archive {};
    if (::stat(zip.GetArchivePath().c_str(), &archive) != 0)
        return std::string("the archive could not be read");
    if (!CanWriteIn(folder))
        return std::string("its folder cannot be written");
    TargetPlan plan(zip, folder, archive);
    std::vector<int> replacingArchive;
    for (int entry = 0; entry < count; ++entry) {
        CZipFileHeader header;
        if (!zip.GetFileInfo(header, entry))
            return platform::Format("entry %d could not be read", entry);
        const std::string name = header.CallerName();
        if (header.IsSymbolicLink())
            return platform::Format("entry %s is a link", name.c_str());
        if (!zip::IsSafeEntryName(name))
            return platform::Format("entry %s would land outside the folder", name.c_str());
        if (zip::IsTemporaryName(zip::FirstNamePart(name)))
            return platform::Format("entry %s has the name of an unpack's temporary folder",
                                    name.c_str());
        bool replaces = false;
        if (auto failure = plan.Add(entry, name, header.IsDirectory(), replaces))
            return failure;
        (replaces ? replacingArchive : order).push_back(entry);
    }
    order.insert(order.end(), replacingArchive.begin(), replacingArchive.end());
    return std::nullopt;
}

}  // namespace

std::optional<std::string> ExtractEveryEntry(CZipArchive& zip, const std::string& folder) {
    std::vector<int> order;
    if (auto failure = CheckEveryEntry(zip, folder, order))
        return failure;
    for (const int entry : order)
        if (!zip.StageFile(entry, folder))
            return platform::Format("entry %s could not be extracted",
                                    EntryName(zip, entry).c_str());
    if (!zip.CommitStaged())
        return std::string("the entries could not be given their names");
    return std::nullopt;
}

}  // namespace acquisition
