// The frame's side of the verification bench and of the software update: the connect
// routines, the bench window's state for the menus, close and hot keys, and the version check.

#include "app/kx9monitor_app.h"
#include "app/main_frame.h"
#include "maintenance/software_update.h"
#include "verification/instrument_connection.h"

BOOL CMainFrame::ConnectInstrumentUnderTest() {
    return verification::ConnectInstrumentUnderTest(m_benchHost);
}

BOOL CMainFrame::ConnectReferenceInstrument() {
    return verification::ConnectReferenceInstrument(m_benchHost);
}

BOOL CMainFrame::IsBenchWindowCreated() const {
    return m_SoundDlg.HasWindow() ? TRUE : FALSE;
}

BOOL CMainFrame::IsVerificationRunning() const {
    return m_SoundDlg.HasWindow() && m_SoundDlg.m_bRunning ? TRUE : FALSE;
}

void CMainFrame::DestroyBenchWindow() {
    m_SoundDlg.DestroyWindow();
}

void CMainFrame::SwapBenchDebugControls(BOOL debug) {
    m_SoundDlg.ShowDebugControls(debug != 0);
}

int CMainFrame::CheckSoftwareUpdate(int askUser, int verbose) {
    return maintenance::CheckSoftwareUpdate(m_web.Client(), TheApp().m_strProgramDir, askUser,
                                            verbose);
}
