#pragma once
// The verification bench on the frame: its window and the calibration-expiry dialog, what they
// need of the program (FrameBenchHost, and the frame's objects they use as they are), and the
// bench's two meters as they were last identified, which the workflow and maintenance commands
// read.

#include "app/frame_bench_host.h"
#include "maintenance/fono_config_dlg.h"
#include "platform/win_types.h"
#include "verification/bench_host.h"
#include "verification/sound_dlg.h"
#include "web/server_databases.h"

class CMainFrame;

class FrameBench {
public:
    FrameBench(CMainFrame& frame, const verification::BenchTools& tools)
        : m_frame(frame), m_host(frame), m_tools(tools) {}
    FrameBench(const FrameBench&) = delete;
    FrameBench& operator=(const FrameBench&) = delete;

    // Each meter on its port, identified into Instruments(); TRUE when it answered.
    BOOL ConnectInstrumentUnderTest();
    BOOL ConnectReferenceInstrument();
    verification::BenchInstruments& Instruments() { return m_instruments; }

    CSoundDlg& Window() { return m_window; }
    bool IsWindowCreated() const { return m_window.HasWindow(); }
    bool IsVerificationRunning() const { return m_window.HasWindow() && m_window.m_bRunning; }
    // The window's key alignment of the instrument under test, the window created hidden when
    // there is none. False, after the log line and the box, when the keys could not be
    // aligned; the port of the instrument under test is closed then.
    bool AlignTargetKeys();

    CFonoConfigDlg& CalibExpiryDialog() { return m_calibExpiry; }

private:
    CMainFrame& m_frame;
    FrameBenchHost m_host;
    const verification::BenchTools m_tools;
    verification::BenchInstruments m_instruments;
    CSoundDlg m_window{m_host, m_tools, m_instruments};
    CFonoConfigDlg m_calibExpiry{m_host, m_tools.exchange, m_tools.databases.Client()};
};
