#pragma once
// The main view. For now it holds the instrument link's two ports: the reference meter's and
// the instrument under test's, and what the replies tell its charts. Both ports share the
// frame's link state; which one carries the link is the frame's choice
// (CMainFrame::SetLinkPort).

#include <string>

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

    // The top of the live level scale, from the meter's input gain and range.
    int m_nLevelScaleTop = 0;
    // Set once the meter has told whether its extended range is on.
    int m_nExtendedRangeMark = 0;
    // The start time of the live recording's current page.
    std::string m_strPageStartTime;
};
