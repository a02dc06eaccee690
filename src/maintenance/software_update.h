#pragma once
// The software update: the web service keeps a list of the program's versions, each with its
// update archive. When a version newer than the running one is listed, its archive is
// downloaded, unpacked with the zip archive, and the maker's updater is started on it; the
// program then ends so that the updater can replace it.
//
// The updater is an outside program named in "updater.ini" (UPDATER=<path>). Without one no
// update can be installed: the operator is told of the newer version once, nothing is
// downloaded and the program goes on.

#include <optional>
#include <string>

namespace web {
class WebClient;
}

namespace maintenance {

// The version this program is.
inline constexpr const char* kProgramVersion = "1.0.0";
// On the web service, after "software_upgrade//": lines "<version>;<archive file>".
inline constexpr const char* kVersionListFile = "sw_versions.txt";
inline constexpr const char* kUpdaterIni = "\\updater.ini";
// Where the archive is unpacked, in the program folder.
inline constexpr const char* kUnpackFolder = "\\software_upgrade";

// Dotted versions compared part by part as numbers ("1.10" > "1.9"); negative, 0, positive.
int CompareVersions(const std::string& a, const std::string& b);

struct AvailableUpdate {
    std::string version;
    std::string archive;
    bool operator==(const AvailableUpdate&) const = default;
};
// The newest listed version that is newer than `running`; nothing when there is none. Lines
// without an archive name are skipped.
std::optional<AvailableUpdate> FindNewerVersion(const std::string& listText,
                                                const std::string& running);

// The program's version check, with the archive and its updater in `programDir`. It keeps the
// newer version it told the operator it could not install: a later check of the same run that
// the operator did not ask for says nothing more and downloads nothing.
class SoftwareUpdate {
public:
    // 1 when the updater was started (the program's end is requested), 0 otherwise.
    int Check(web::WebClient& web, const std::string& programDir, int ask, int tellWhenNone,
              const std::string& running = kProgramVersion);

private:
    std::string m_notInstalled;
};

}  // namespace maintenance
