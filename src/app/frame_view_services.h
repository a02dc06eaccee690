#pragma once
// The main view's neighbours as the running program has them: the application's current setup
// record, the frame's cross-reference switch and display-mode word, its "Spectrum" windows and
// the view's graph windows of the recording.

#include "app/view_services.h"

class CMainFrame;

class FrameViewServices : public ViewServices {
public:
    explicit FrameViewServices(CMainFrame& frame) : m_frame(frame) {}

    CInstrStatus& CurrentSetup() override;
    void SetCrossReference(BOOL on) override;
    void ClearMenuState() override;
    void HideDemoWindows() override;
    void ShowSpectrumGraph(const std::string& text) override;
    void RefreshGraphWindows() override;

private:
    CMainFrame& m_frame;
};
