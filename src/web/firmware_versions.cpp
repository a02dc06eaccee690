#include "web/firmware_versions.h"

#include "platform/files.h"
#include "platform/operator.h"
#include "platform/text.h"

namespace web {

namespace {
constexpr size_t kLineLimit = 128;

// Reads up to and including the next line that holds "[" and `what`; false at the end.
bool SkipToSection(platform::LineReader& reader, const std::string& what) {
    std::string line;
    while (reader.ReadLine(line, kLineLimit))
        if (platform::Contains(line, "[") && platform::Contains(line, what))
            return true;
    return false;
}
}  // namespace

FirmwareLookup FindFirmwareEntry(const std::string& model, const std::string& version,
                                 const std::string& tablePath) {
    FirmwareLookup lookup;
    platform::LineReader reader(tablePath);
    if (!reader.IsOpen())
        return lookup;
    lookup.tableFound = true;
    if (!SkipToSection(reader, model) || !SkipToSection(reader, "ITA"))
        return lookup;

    const std::string a = platform::Mid(version, 0, 3);
    const std::string b = platform::Mid(version, 4, 3);
    std::string line;
    while (reader.ReadLine(line, kLineLimit)) {
        if (line.size() < 4)
            continue;
        if (platform::Mid(line, 0, 3) == b && platform::Mid(line, 4, 3) == a) {
            const std::string answer = platform::TrimRight(platform::Mid(line, 8));
            lookup.entry = platform::Contains(answer, ";LAST VER") ? "LAST" : answer;
            return lookup;
        }
        if (platform::Contains(line, "["))
            return lookup;
    }
    return lookup;
}

}  // namespace web

std::string CheckFirmwareUpdateAvailable(const std::string& model, const std::string& version,
                                         const std::string& tablePath) {
    const web::FirmwareLookup lookup = web::FindFirmwareEntry(model, version, tablePath);
    if (!lookup.tableFound) {
        platform::AfxMessageBox("File FirmwareFiles.txt not found");
        return "";
    }
    if (lookup.entry.empty())
        platform::AfxMessageBox("Non sono disponibili aggiornamenti per lo strumento.",
                                MB_ICONINFORMATION);
    return lookup.entry;
}
