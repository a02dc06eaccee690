#pragma once
// The main view's neighbours as the running program has them: the application's current setup
// record and the frame's cross-reference switch; the charts and data files keep ViewServices'
// plain defaults.

#include "app/view_services.h"

class CMainFrame;

class FrameViewServices : public ViewServices {
public:
    explicit FrameViewServices(CMainFrame& frame) : m_frame(frame) {}

    CInstrStatus& CurrentSetup() override;
    void SetCrossReference(BOOL on) override;

private:
    CMainFrame& m_frame;
};
