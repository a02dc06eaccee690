#pragma once
// The main view's neighbours as the running program has them: the application's current setup
// record and the frame's cross-reference switch. Charts and data files are not part of this
// program yet; their calls keep ViewServices' plain defaults.

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
