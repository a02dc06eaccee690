#pragma once
// The main view's neighbours that live in other parts of the program: the frame's floating
// windows. The view calls through here; until a part installs itself these do nothing. The
// recording the view shows is the frame's (CMainFrame::m_recording).

class ViewServices {
public:
    virtual ~ViewServices() = default;

    // --- the frame's floating windows
    virtual void ShowNavigator(bool /*show*/) {}
};
