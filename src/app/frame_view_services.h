#pragma once
// The main view's neighbours as the running program has them: the application's current setup
// record, the frame's cross-reference switch and its display-mode word; the floating windows
// keep ViewServices' plain defaults.

#include "app/view_services.h"

class CMainFrame;

class FrameViewServices : public ViewServices {
public:
    explicit FrameViewServices(CMainFrame& frame) : m_frame(frame) {}

    CInstrStatus& CurrentSetup() override;
    void SetCrossReference(BOOL on) override;
    void ClearMenuState() override;

private:
    CMainFrame& m_frame;
};
