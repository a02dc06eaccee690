#include "zip/zip_safe_path.h"

#include <algorithm>
#include <filesystem>
#include <vector>

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

std::vector<std::string_view> NameParts(std::string_view name) {
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

bool IsSafeEntryName(std::string_view name) {
    if (name.empty() || IsSeparator(name.front()) || HasDrive(name))
        return false;
    if (name.find('\0') != std::string_view::npos)
        return false;
    for (std::string_view part : NameParts(name))
        if (part == "..")
            return false;
    return true;
}

std::string NormalPath(const std::string& path) {
    bool plain = !path.empty();
    for (std::size_t start = path.starts_with('/') ? 1 : 0; plain && start <= path.size();) {
        const std::size_t end = std::min(path.find('/', start), path.size());
        const std::string_view part = std::string_view(path).substr(start, end - start);
        plain = !part.empty() && part != "." && part != "..";
        start = end + 1;
    }
    return plain ? path : std::filesystem::path(path).lexically_normal().string();
}

std::string FileNamePart(std::string_view name) {
    const std::vector<std::string_view> parts = NameParts(name);
    return parts.empty() ? std::string() : std::string(parts.back());
}

std::string PathToEntryName(std::string_view path) {
    if (HasDrive(path))
        path.remove_prefix(2);
    std::string name;
    for (std::string_view part : NameParts(path)) {
        if (part == "." || part == "..")
            continue;
        if (!name.empty())
            name.push_back('\\');
        name.append(part);
    }
    return name;
}

}  // namespace zip
