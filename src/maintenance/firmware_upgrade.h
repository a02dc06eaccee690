#pragma once
// The firmware update of the instrument under test up to the maker's writer: the firmware file
// named by the server's versions table and the writer tool are downloaded into
// "firmware_upgrade" of the program folder, the writer's port file is written, the meter is put
// into its upgrade mode and its port closed, the queued link is held (the meter mode's firmware
// upgrade), frame timer 8 is armed to watch for the writer's end, and the writer
// is started. A writer that cannot be started gives everything back: timer 8 stopped, the
// port open again, the meter out of upgrade mode, the link sending again.

#include <optional>
#include <string>

class LinkSession;
struct PortRecord;
namespace web {
class WebClient;
class WaitFeedback;
}  // namespace web

namespace maintenance {

// In the program folder.
inline constexpr const char* kFirmwareFolder = "\\firmware_upgrade\\";
inline constexpr const char* kWriterToolName = "writer.txb";
// The writer's port: "COM<n>", the port of the instrument under test.
inline constexpr const char* kWriterPortFileName = "writer_port.txt";

// What the update needs of the application beyond the objects it is handed.
class FirmwareUpgradeHost {
public:
    virtual ~FirmwareUpgradeHost() = default;
    // The program's window shows its view: without it the update neither talks to the
    // instrument under test nor opens its port again.
    virtual bool HasView() = 0;
    // Frame timer 8, which watches for the writer's end.
    virtual void ArmEndTimer(bool on) = 0;
    // Starts the maker's writer on the firmware folder; false, with `why`, when it cannot.
    virtual bool StartWriter(const std::string& folder, std::string& why) = 0;
};

// What the update is handed, none of it owned.
struct FirmwareUpgradeTools {
    FirmwareUpgradeHost& host;
    // The instrument under test's port, closed for the writer, and the meter mode's firmware
    // upgrade: while it lasts the queue sends nothing and the program cannot be left; a link
    // busy with the meter otherwise refuses it.
    LinkSession& link;
    // The instrument under test's port settings: the writer's COM port, and the port opened
    // again.
    const PortRecord& targetPort;
    // The firmware file and the writer come from the web service while the please-wait box
    // tells the operator.
    web::WebClient& web;
    web::WaitFeedback& pleaseWait;
    // The program folder, which holds the firmware folder.
    const std::string& programDir;
};

inline constexpr const char* kBadFirmwareEntry = "Voce della tabella firmware non valida: ";

// The box that says why the update stopped before the writer.
void StopFirmwareUpgrade(const std::string& why);

// The firmware file an entry of the versions table names: the entry trimmed, when it is a
// plain file name. An entry with "/", "\" or ".." in it, or none at all, names nothing.
std::optional<std::string> FirmwareFileName(const std::string& entry);

// True when the writer runs and timer 8 watches it; false, after a message saying why, when the
// update stopped before (nothing is held then).
bool RunFirmwareUpgrade(const FirmwareUpgradeTools& tools, const std::string& entry);

}  // namespace maintenance
