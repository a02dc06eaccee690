#include "setup/custom_settings_folder.h"

#include <algorithm>

#include "platform/files.h"
#include "platform/text.h"

namespace setup {

namespace {

constexpr const char* kLineEnd = "\r\n";

bool IsPlainName(std::string_view name) {
    return !name.empty() && std::ranges::none_of(name, [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return c == '/' || c == '\\' || c == '.' || u < 0x20 || u == 0x7F;
    });
}

std::string FileNameOf(std::string_view name) {
    return std::string(name) + CustomSettingsFolder::kExtension;
}

}  // namespace

std::string ListedName(std::string_view typed) {
    const std::string_view extension = CustomSettingsFolder::kExtension;
    if (platform::EndsWith(typed, extension))
        typed.remove_suffix(extension.size());
    return std::string(typed);
}

std::optional<std::string> SettingFileName(std::string_view typed) {
    const std::string name = ListedName(typed);
    if (typed.size() > kMaxNameChars || !IsPlainName(name))
        return std::nullopt;
    return FileNameOf(name);
}

CustomSettingsFolder::CustomSettingsFolder(const std::string& programDir)
    : m_path(platform::JoinPath(programDir, kFolder)) {}

std::string CustomSettingsFolder::ListPath() const {
    return platform::JoinPath(m_path, kListFile);
}

std::string CustomSettingsFolder::SettingPath(const std::string& fileName) const {
    return platform::JoinPath(m_path, fileName);
}

bool CustomSettingsFolder::Prepare() const {
    if (!platform::MakeDirectories(m_path))
        return false;
    return platform::FileExists(ListPath()) || platform::WriteFileAtomic(ListPath(), "");
}

std::optional<std::vector<std::string>> CustomSettingsFolder::ListLines() const {
    platform::LineReader reader(ListPath());
    if (!reader.IsOpen())
        return std::nullopt;
    std::vector<std::string> lines;
    std::string line;
    while (reader.ReadLine(line, kLineChars))
        lines.push_back(line);
    return lines;
}

bool CustomSettingsFolder::WriteList(const std::vector<std::string>& lines) const {
    std::string text;
    for (const std::string& line : lines)
        text += line + kLineEnd;
    return platform::WriteFileAtomic(ListPath(), text);
}

std::optional<std::vector<std::string>> CustomSettingsFolder::Names() const {
    auto lines = ListLines();
    if (!lines)
        return std::nullopt;
    std::vector<std::string> names;
    for (const std::string& line : *lines) {
        const size_t dot = line.find('.');
        if (dot != std::string::npos)
            names.push_back(line.substr(0, dot));
    }
    return names;
}

bool CustomSettingsFolder::WriteSetting(const std::string& fileName, std::string_view text) const {
    return platform::WriteFileAtomic(SettingPath(fileName), text);
}

bool CustomSettingsFolder::AddToList(const std::string& fileName) const {
    auto lines = ListLines();
    if (!lines)
        return false;
    std::erase(*lines, fileName);
    lines->push_back(fileName);
    return WriteList(*lines);
}

std::optional<std::vector<std::string>> CustomSettingsFolder::ReadSetting(
    const std::string& name) const {
    if (!IsPlainName(name))
        return std::nullopt;
    platform::LineReader reader(SettingPath(FileNameOf(name)));
    if (!reader.IsOpen())
        return std::nullopt;
    std::vector<std::string> lines;
    std::string line;
    while (reader.ReadLine(line, kLineChars))
        lines.push_back(line);
    return lines;
}

bool CustomSettingsFolder::Remove(const std::string& name) const {
    auto lines = ListLines();
    if (!lines)
        return false;
    const std::string fileName = FileNameOf(name);
    std::erase_if(*lines,
                  [&](const std::string& line) { return platform::TrimRight(line) == fileName; });
    if (!WriteList(*lines))
        return false;
    if (IsPlainName(name))
        platform::RemoveFile(SettingPath(fileName));
    return true;
}

}  // namespace setup
