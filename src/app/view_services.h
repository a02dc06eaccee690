#pragma once
// The main view's neighbours that live in other parts of the program: the current setup
// record and the frame's floating windows. The view calls
// through here; until a part installs itself these keep plain values and do nothing. The
// recording the view shows is the frame's (CMainFrame::m_recording).

#include <string>

#include "link/instr_status.h"
#include "platform/win_types.h"

class ViewServices {
public:
    virtual ~ViewServices() = default;

    // --- the current setup record (CKX9MonitorApp::m_InstrStatus)
    virtual CInstrStatus& CurrentSetup() { return m_currentSetup; }

    // --- the frame's state
    virtual void SetCrossReference(BOOL /*on*/) {}
    // Clears the state word that the frame's menu update handler tests.
    virtual void ClearMenuState() {}

    // --- the frame's floating windows
    virtual void ShowNavigator(bool /*show*/) {}

private:
    CInstrStatus m_currentSetup;
};
