#pragma once
// What the bench window and the calibration-expiry dialog need of the application, the main
// frame and the main view, served by the frame.

#include "maintenance/calib_expiry_update.h"
#include "verification/bench_host.h"

class CMainFrame;

class FrameBenchHost : public verification::BenchHost, public maintenance::CalibExpiryHost {
public:
    explicit FrameBenchHost(CMainFrame& frame) : m_frame(frame) {}

    // Both.
    void WriteInstrLog(const std::string& text) override;
    std::string ProgramDir() override;
    LinkPort* TargetPort() override;

    // verification::BenchHost
    void WaitWithMessages(unsigned ms) override;
    void RequestAbortWait() override;
    void SetBenchLog(std::function<void(const std::string&)> log) override;
    PortRecord& RefPortRecord() override;
    PortRecord& TargetPortRecord() override;
    void SavePortIni() override;
    bool ViewPresent() override;
    LinkPort* RefPort() override;
    bool OpenPort(LinkSide side, const PortSettings& settings) override;
    void ClosePort(LinkSide side) override;

    // maintenance::CalibExpiryHost
    void CloseTargetPort() override;
    std::string UnlockTargetCryp() override;
    std::string TechnicianId() override;

private:
    CMainFrame& m_frame;
};
