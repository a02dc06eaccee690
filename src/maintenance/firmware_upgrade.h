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

class FirmwareUpgradeHost {
public:
    virtual ~FirmwareUpgradeHost() = default;
    virtual std::string ProgramDir() = 0;
    // The COM port number of the instrument under test.
    virtual int TargetComPort() = 0;
    // A command line to the instrument under test past its listener; the reply, or nothing.
    virtual std::optional<std::string> ExchangeWithTarget(const std::string& command) = 0;
    virtual void CloseTargetPort() = 0;
    // False when the port could not be opened again.
    virtual bool ReopenTargetPort() = 0;
    // The meter mode's firmware upgrade: while it lasts the queued link sends nothing and the
    // program cannot be left; when it ends the queue goes on. Refused (false) while the link
    // is busy with the meter otherwise.
    virtual bool BeginUpgrade() = 0;
    virtual void EndUpgrade() = 0;
    // Frame timer 8, which watches for the writer's end.
    virtual void ArmEndTimer(bool on) = 0;
    // Starts the maker's writer on the firmware folder; false, with `why`, when it cannot.
    virtual bool StartWriter(const std::string& folder, std::string& why) = 0;
};

inline constexpr const char* kBadFirmwareEntry = "Voce della tabella firmware non valida: ";

// The box that says why the update stopped before the writer.
void StopFirmwareUpgrade(const std::string& why);

// The firmware file an entry of the versions table names: the entry trimmed, when it is a
// plain file name. An entry with "/", "\" or ".." in it, or none at all, names nothing.
std::optional<std::string> FirmwareFileName(const std::string& entry);

// CMainFrame::RunFirmwareUpgrade: the files come through `web` while `pleaseWait` tells the
// operator. True when the writer runs and timer 8 watches it; false, after a message saying
// why, when the update stopped before (nothing is held then).
bool RunFirmwareUpgrade(FirmwareUpgradeHost& host, web::WebClient& web,
                        web::WaitFeedback& pleaseWait, const std::string& entry);

}  // namespace maintenance
