#pragma once
// The firmware versions table ("firmware_upgrade\target_instr_ver.txt"): per model a section,
// inside it a language section, and in that one line per known firmware version:
//     "BBB AAA answer"  (characters 1-3 and 5-7 are version fields, the answer starts at 9)
// where the answer is the firmware file to install, or holds ";LAST VER" when the listed
// version is the newest.

#include <string>

namespace web {

struct FirmwareLookup {
    bool tableFound = false;
    std::string entry;  // the firmware file, "LAST", or empty when the table has none
};

FirmwareLookup FindFirmwareEntry(const std::string& model, const std::string& version,
                                 const std::string& tablePath);

}  // namespace web

// The firmware entry for the model and version, "LAST" when the instrument is up to date, the
// empty string (after telling the operator) when the table offers nothing.
std::string CheckFirmwareUpdateAvailable(const std::string& model, const std::string& version,
                                         const std::string& tablePath);
