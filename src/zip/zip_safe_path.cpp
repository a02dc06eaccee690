#include "zip/zip_safe_path.h"

#include <sys/stat.h>

#include <vector>

#include "platform/files.h"

namespace zip {

namespace {

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

bool HasDrive(std::string_view name) {
    return name.size() >= 2 && name[1] == ':' &&
           ((name[0] >= 'A' && name[0] <= 'Z') || (name[0] >= 'a' && name[0] <= 'z'));
}

std::vector<std::string_view> Components(std::string_view name) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= name.size(); ++i) {
        if (i == name.size() || IsSeparator(name[i])) {
            if (i > start)
                parts.push_back(name.substr(start, i - start));
            start = i + 1;
        }
    }
    return parts;
}

}  // namespace

bool IsSafeEntryName(std::string_view name) {
    if (name.empty() || IsSeparator(name.front()) || HasDrive(name))
        return false;
    if (name.find('\0') != std::string_view::npos)
        return false;
    for (std::string_view part : Components(name))
        if (part == "..")
            return false;
    return true;
}

bool HasNoLinkOnTheWay(const std::string& folder, std::string_view name, bool includeLast) {
    const std::vector<std::string_view> parts = Components(name);
    std::string path = folder;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i + 1 == parts.size() && !includeLast)
            break;
        path = platform::JoinPath(path, parts[i]);
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0)
            return true;  // nothing further exists yet
        if (S_ISLNK(st.st_mode))
            return false;
    }
    return true;
}

std::string FileNamePart(std::string_view name) {
    const std::vector<std::string_view> parts = Components(name);
    return parts.empty() ? std::string() : std::string(parts.back());
}

std::string PathToEntryName(std::string_view path) {
    if (HasDrive(path))
        path.remove_prefix(2);
    std::string name;
    for (std::string_view part : Components(path)) {
        if (part == "." || part == "..")
            continue;
        if (!name.empty())
            name.push_back('\\');
        name.append(part);
    }
    return name;
}

}  // namespace zip
