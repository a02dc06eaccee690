#pragma once
// The main view's neighbours as the running program has them: the application's current setup
// record, the frame's setup block, its cross-reference switch and its display-mode word; the
// data files keep ViewServices' plain defaults.

#include "app/view_services.h"

class CMainFrame;

class FrameViewServices : public ViewServices {
public:
    explicit FrameViewServices(CMainFrame& frame) : m_frame(frame) {}

    CInstrStatus& CurrentSetup() override;
    void SetCrossReference(BOOL on) override;
    std::string SetupBlock() const override;
    void ClearMenuState() override;

private:
    CMainFrame& m_frame;
};
