#include "acquisition/data_set_unpack.h"

#include <sys/stat.h>

#include <unordered_map>
#include <vector>

#include "platform/files.h"
#include "platform/text.h"
#include "zip/zip_archive.h"
#include "zip/zip_safe_path.h"

namespace acquisition {

namespace {

std::string EntryName(const CZipArchive& zip, int entry) {
    CZipFileHeader header;
    return zip.GetFileInfo(header, entry) ? header.GetFileName() : std::to_string(entry);
}

bool IsSameFile(const std::string& path, const struct stat& file) {
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 && status.st_dev == file.st_dev &&
           status.st_ino == file.st_ino;
}

// The order the entries are written in, once every one's name (safe, no link, no other entry's
// file) was checked. An entry that replaces the archive itself (the saver's index under the
// archive's name) comes last, so that whatever fails before it leaves the archive as it was.
// The reason of the first entry that fails the checks, if one does.
std::optional<std::string> CheckEveryEntry(const CZipArchive& zip, const std::string& folder,
                                           std::vector<int>& order) {
    const int count = zip.GetCount();
    if (count <= 0)
        return std::string("the archive holds no entry");
    struct stat archive {};
    if (::stat(zip.GetArchivePath().c_str(), &archive) != 0)
        return std::string("the archive could not be read");
    std::unordered_map<std::string, int> targets;
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
        const std::string target = zip::NormalPath(platform::JoinPath(folder, name));
        if (!header.IsDirectory()) {
            const auto [taken, fresh] = targets.emplace(target, entry);
            if (!fresh)
                return platform::Format("entries %s and %s name the same file",
                                        EntryName(zip, taken->second).c_str(), name.c_str());
        }
        (IsSameFile(target, archive) ? replacingArchive : order).push_back(entry);
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
