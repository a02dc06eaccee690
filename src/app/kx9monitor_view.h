#pragma once
// The main view. For now it holds the instrument link's two ports: the reference meter's and
// the instrument under test's. Both share the frame's link state; which one carries the link
// is the frame's choice (CMainFrame::SetLinkPort).

#include "link/serial_wnd.h"

class CKX9MonitorView {
public:
    // Built after the frame, whose link state the ports take.
    CKX9MonitorView();
    ~CKX9MonitorView();
    CKX9MonitorView(const CKX9MonitorView&) = delete;
    CKX9MonitorView& operator=(const CKX9MonitorView&) = delete;

    CSerialMFC m_RefSerial;
    CSerialMFC m_TargetSerial;
};
