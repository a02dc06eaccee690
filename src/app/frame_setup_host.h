#pragma once
// What the instrument setup needs of the application, the main frame and the main view,
// served by the frame.

#include "setup/setup_host.h"

class CMainFrame;

class FrameSetupHost : public setup::SetupHost {
public:
    explicit FrameSetupHost(CMainFrame& frame) : m_frame(frame) {}

    CInstrStatus& Current() override;
    CInstrStatus& Edited() override;
    std::string ParameterName(const std::string& stored) const override;
    std::string ProgramDir() const override;
    bool StopAcquisition() override;
    void SendSetup() override;

private:
    CMainFrame& m_frame;
};
