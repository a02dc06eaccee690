#include "zip/zip_safe_path.h"

#include <algorithm>
#include <filesystem>

namespace zip {

namespace {

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

bool HasDrive(std::string_view name) {
    return name.size() >= 2 && name[1] == ':' &&
           ((name[0] >= 'A' && name[0] <= 'Z') || (name[0] >= 'a' && name[0] <= 'z'));
}

}  // namespace

bool IsSafeEntryName(std::string_view name) {
    if (name.empty() || IsSeparator(name.front()) || HasDrive(name))
        return false;
    if (name.find('\0') != std::string_view::npos)
        return false;
    bool climbs = false;
    ForEachNamePart(name, [&](std::string_view part, bool) {
        climbs = part == "..";
        return !climbs;
    });
    return !climbs;
}

bool IsNormalPath(std::string_view path) {
    bool plain = !path.empty();
    for (std::size_t start = path.starts_with('/') ? 1 : 0; plain && start <= path.size();) {
        const std::size_t end = std::min(path.find('/', start), path.size());
        const std::string_view part = path.substr(start, end - start);
        plain = !part.empty() && part != "." && part != "..";
        start = end + 1;
    }
    return plain;
}

std::string NormalPath(const std::string& path) {
    return IsNormalPath(path) ? path : std::filesystem::path(path).lexically_normal().string();
}

std::string_view FirstNamePart(std::string_view name) {
    std::string_view first;
    ForEachNamePart(name, [&](std::string_view part, bool) {
        first = part;
        return part == ".";
    });
    return first;
}

std::string FileNamePart(std::string_view name) {
    std::string_view file;
    ForEachNamePart(name, [&](std::string_view part, bool) {
        file = part;
        return true;
    });
    return std::string(file);
}

std::string PathToEntryName(std::string_view path) {
    if (HasDrive(path))
        path.remove_prefix(2);
    std::string name;
    ForEachNamePart(path, [&](std::string_view part, bool) {
        if (part != "." && part != "..") {
            if (!name.empty())
                name.push_back('\\');
            name.append(part);
        }
        return true;
    });
    return name;
}

}  // namespace zip
