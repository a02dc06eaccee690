#include "maintenance/software_update.h"

#include <algorithm>
#include <exception>

#include "platform/event_loop.h"
#include "platform/files.h"
#include "platform/operator.h"
#include "platform/shell.h"
#include "platform/text.h"
#include "web/service_paths.h"
#include "web/web_client.h"
#include "zip/zip_archive.h"

namespace maintenance {

namespace {

constexpr const char* kAskText =
    "E' disponibile una versione aggiornata del software.\nScaricarla ora ?";
constexpr const char* kAnnounceText =
    "E' disponibile una versione aggiornata del software.\nL'aggiornamento verra' eseguito ora";
constexpr const char* kNoneText = "Non ci sono aggiornamenti.";

std::optional<std::string> ConfiguredUpdater(const std::string& programDir) {
    platform::LineReader reader(platform::JoinPath(programDir, kUpdaterIni));
    std::string line;
    while (reader.ReadLine(line)) {
        const std::string trimmed = platform::Trim(line);
        if (platform::StartsWith(trimmed, "UPDATER=")) {
            const std::string path = platform::Trim(platform::Mid(trimmed, 8));
            if (!path.empty())
                return path;
        }
    }
    return std::nullopt;
}

// Every entry of the archive into `folder`; false when the archive is unreadable.
bool Unpack(const std::string& archivePath, const std::string& folder) {
    try {
        CZipArchive zip;
        if (!zip.Open(archivePath, CZipArchive::kOpenReadOnly))
            return false;
        platform::MakeDirectories(folder);
        bool ok = zip.GetCount() > 0;
        for (int index = 0; ok && index < zip.GetCount(); ++index)
            ok = zip.ExtractFile(index, folder);
        zip.Close();
        return ok;
    } catch (const std::exception&) {
        return false;
    }
}

}  // namespace

int CompareVersions(const std::string& a, const std::string& b) {
    const auto left = platform::Split(a, '.');
    const auto right = platform::Split(b, '.');
    for (size_t i = 0; i < std::max(left.size(), right.size()); ++i) {
        const long long x = i < left.size() ? platform::Atoll(left[i]) : 0;
        const long long y = i < right.size() ? platform::Atoll(right[i]) : 0;
        if (x != y)
            return x < y ? -1 : 1;
    }
    return 0;
}

std::optional<AvailableUpdate> FindNewerVersion(const std::string& listText,
                                                const std::string& running) {
    std::optional<AvailableUpdate> newest;
    for (const std::string& raw : platform::Split(listText, '\n')) {
        const auto parts = platform::Split(platform::Remove(raw, '\r'), ';');
        if (parts.size() < 2)
            continue;
        AvailableUpdate entry{platform::Trim(parts[0]), platform::Trim(parts[1])};
        if (entry.version.empty() || entry.archive.empty() ||
            CompareVersions(entry.version, running) <= 0)
            continue;
        if (!newest || CompareVersions(entry.version, newest->version) > 0)
            newest = entry;
    }
    return newest;
}

int SoftwareUpdate::Check(web::WebClient& web, const std::string& programDir, int ask,
                          int tellWhenNone, const std::string& running) {
    const bool tell = ask && tellWhenNone;
    const auto updater = ConfiguredUpdater(programDir);
    if (!updater && !tell && !m_notInstalled.empty())
        return 0;
    const std::string remoteFolder = web.SrvPath() + web::kSoftwareFolder;
    const std::string list = web.DownloadHttpFile(
        remoteFolder + kVersionListFile, platform::JoinPath(programDir, kVersionListFile), false);
    if (list == "-1") {
        if (tell)
            platform::AfxMessageBox(
                "Verifica aggiornamenti software non riuscita.\n\nErr=" + web.HttpError(),
                MB_ICONEXCLAMATION);
        return 0;
    }
    const auto update = FindNewerVersion(list, running);
    if (!update) {
        if (tell)
            platform::AfxMessageBox(kNoneText, MB_ICONINFORMATION);
        return 0;
    }
    if (!updater) {
        platform::AfxMessageBox(
            "E' disponibile una versione aggiornata del software (" + update->version +
                ").\nNessun programma di aggiornamento configurato (updater.ini): "
                "l'aggiornamento non viene installato e il programma prosegue.",
            MB_ICONEXCLAMATION);
        m_notInstalled = update->version;
        return 0;
    }
    if (ask) {
        if (platform::AfxMessageBox(kAskText, MB_YESNO | MB_ICONQUESTION) != IDYES)
            return 0;
    } else {
        platform::AfxMessageBox(kAnnounceText, MB_ICONINFORMATION);
    }

    // Only the archive's own name: a listed path must not write outside the program folder.
    const std::string archiveName = platform::Mid(
        update->archive,
        platform::ReverseFind(platform::ReplaceAll(update->archive, "\\", "/"), '/') + 1);
    const std::string archivePath = platform::JoinPath(programDir, archiveName);
    if (web.DownloadHttpFile(remoteFolder + update->archive, archivePath, true) == "-1") {
        platform::AfxMessageBox(
            "Download dell'aggiornamento software fallito.\n\nErr=" + web.HttpError(),
            MB_ICONEXCLAMATION);
        return 0;
    }
    const std::string folder = platform::JoinPath(programDir, kUnpackFolder);
    if (!Unpack(archivePath, folder)) {
        platform::AfxMessageBox("Archivio dell'aggiornamento software non valido: " + archiveName,
                                MB_ICONEXCLAMATION);
        return 0;
    }
    if (!platform::StartProgram(*updater, {folder, programDir})) {
        platform::AfxMessageBox("Avvio del programma di aggiornamento fallito: " + *updater,
                                MB_ICONSTOP);
        return 0;
    }
    platform::EventLoop::RequestQuit(0);
    return 1;
}

}  // namespace maintenance
