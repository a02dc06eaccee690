#pragma once
// The folder of named custom settings, "CustomSettings/" below the program folder: one file
// per setting, its name followed by ".cnf", and the list of those file names in the order
// they were saved, "ConfigFileList.inf", one a line. Every file is written whole, so a write
// that fails leaves the old file as it was; a setting's file goes only once the list no
// longer names it. Names reach the file system only after CheckedSettingName.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace setup {

class CustomSettingsFolder {
public:
    static constexpr const char* kFolder = "CustomSettings";
    static constexpr const char* kListFile = "ConfigFileList.inf";
    static constexpr const char* kExtension = ".cnf";
    // The fixed buffer of the program's readers: longer lines come in pieces.
    static constexpr size_t kLineChars = 127;

    explicit CustomSettingsFolder(const std::string& programDir);

    const std::string& Path() const { return m_path; }
    std::string ListPath() const;
    std::string SettingPath(const std::string& fileName) const;

    // A fresh installation has neither the folder nor the list: makes them. False when one
    // is missing and cannot be made.
    bool Prepare() const;

    // The names the list shows, in its order: each line's text before its first "."; lines
    // without "." are left out. nullopt when the list cannot be read.
    std::optional<std::vector<std::string>> Names() const;

    // Writes a setting's file; false when it cannot be written.
    bool WriteSetting(const std::string& fileName, std::string_view text) const;
    // Lists `fileName` once, last; false when the list cannot be read or written.
    bool AddToList(const std::string& fileName) const;
    // The lines of the setting `name` (its file name is the name and ".cnf"); nullopt when
    // the name is no plain file name or the file cannot be read.
    std::optional<std::vector<std::string>> ReadSetting(const std::string& name) const;
    // Drops every list line naming the setting `name` (trailing blanks ignored), then its
    // file. False, with both kept, when the list cannot be read or written.
    bool Remove(const std::string& name) const;

private:
    std::optional<std::vector<std::string>> ListLines() const;
    bool WriteList(const std::vector<std::string>& lines) const;

    std::string m_path;
};

// The file name a typed setting name is saved under: the name, with ".cnf" appended unless
// it already ends in it. nullopt for a name that cannot be saved and listed: empty, longer
// than `kMaxNameChars`, holding a path separator, a control character or a "." (the list
// shows a name up to its first "."; this also keeps out ".." and hidden names).
constexpr size_t kMaxNameChars = 120;
std::optional<std::string> SettingFileName(std::string_view typed);
// The listed name a typed one stands for: without a final ".cnf".
std::string ListedName(std::string_view typed);

}  // namespace setup
