#pragma once
// What the firmware update needs of the application, the main frame and the main view, served
// by the frame.

#include "maintenance/firmware_upgrade.h"

class CMainFrame;

class FrameMaintenanceHost : public maintenance::FirmwareUpgradeHost {
public:
    // Where the writer would start: the maker's writer is a program of another system.
    static constexpr const char* kWriterMissing =
        "Il programma di scrittura del firmware del produttore non e' disponibile su questo "
        "sistema.";

    explicit FrameMaintenanceHost(CMainFrame& frame) : m_frame(frame) {}

    std::string ProgramDir() override;
    int TargetComPort() override;
    std::optional<std::string> ExchangeWithTarget(const std::string& command) override;
    void CloseTargetPort() override;
    bool ReopenTargetPort() override;
    bool BeginUpgrade() override;
    void EndUpgrade() override;
    void ArmEndTimer(bool on) override;
    bool StartWriter(const std::string& folder, std::string& why) override;

private:
    CMainFrame& m_frame;
};
