#pragma once
// The verification bench on the frame: its window and the calibration-expiry dialog, what they
// need of the program (FrameBenchHost, and the program's objects they use as they are), and
// the bench's two meters as they were last identified, which the workflow and maintenance
// commands read.

#include <string>

#include "app/frame_bench_host.h"
#include "maintenance/fono_config_dlg.h"
#include "platform/win_types.h"
#include "verification/bench_host.h"
#include "verification/sound_dlg.h"

class FrameBoxes;
class ViewLookup;

class FrameBench {
public:
    // What the bench uses, none of it owned.
    struct Uses {
        // The link session, the local databases, the please-wait box, the instrument log, the
        // program folder and the port records, as the bench window uses them.
        verification::BenchTools tools;
        // The please-wait box of the key alignment.
        FrameBoxes& boxes;
        // The bench talks to its meters only while the frame's window shows the view.
        const ViewLookup& views;
        // The technician logged in, whom the calibration-expiry record names.
        const std::string& technicianId;
        // The application's pumped waits end early once it is set: the bench window's stop.
        int& abortWait;
    };

    explicit FrameBench(const Uses& uses);
    FrameBench(const FrameBench&) = delete;
    FrameBench& operator=(const FrameBench&) = delete;

    // Each meter on its port, identified into Instruments(); TRUE when it answered.
    BOOL ConnectInstrumentUnderTest();
    BOOL ConnectReferenceInstrument();
    // What to say when the instrument under test did not answer, with why when its port did
    // not open.
    std::string TargetSilentText() const;
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
    const verification::BenchTools m_tools;
    FrameBoxes& m_boxes;
    FrameBenchHost m_host;
    verification::BenchInstruments m_instruments;
    CSoundDlg m_window{m_host, m_tools, m_instruments};
    CFonoConfigDlg m_calibExpiry;
};
