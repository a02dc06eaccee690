// The frame's window timers: the periodic jobs around the link (the send tick and the reply
// time-out are the link session's).

#include "app/frame_ui.h"
#include "app/kx9monitor_app.h"
#include "app/main_frame.h"
#include "app/monitoring_session.h"
#include "link/command_codes.h"
#include "platform/date_time.h"
#include "platform/operator.h"
#include "platform/text.h"

using namespace command_code;

namespace {
constexpr const char* kRecordingMark = "-RECORDING-";
}  // namespace

void CMainFrame::RegisterTimers() {
    m_timers.OnExpiry(FrameTimers::kDownloadProgress, [this] { OnDownloadProgressTimer(); });
    m_timers.OnExpiry(FrameTimers::kRecordingBlink, [this] { OnRecordingBlinkTimer(); });
    m_timers.OnExpiry(FrameTimers::kStatusPoll, [this] { OnStatusPollTimer(); });
    m_timers.OnExpiry(FrameTimers::kIntegrationEnd, [this] { OnIntegrationEndTimer(); });
    m_timers.OnExpiry(FrameTimers::kInstrumentClock, [this] { OnInstrumentClockTimer(); });
}

void CMainFrame::AbortSetupRead(int code) {
    const std::string timeoutText = platform::Format("Command %d : Timeout Expired", code);
    if (Ui().IsSetupWaitBoxShown())
        Ui().KillSetupWaitBoxTimer();
    platform::AfxMessageBox("Comunication error: setup abort", MB_ICONEXCLAMATION);
    if (Ui().IsSetupWaitBoxShown()) {
        Ui().KillSetupWaitBoxTimer();
        Ui().SetSetupWaitProgress(100);
        Wait(500);
        Ui().DestroySetupWaitBox();
    }
    m_link.DeleteAllCommands();
    Mode().EndPendingOp();
    m_link.SetReadyToSend(TRUE);
    if (Mode().IsDownloading())
        m_timers.Kill(FrameTimers::kDownloadProgress);
    platform::AfxMessageBox(timeoutText);
    if (Mode().IsDownloading())
        EndInterruptedDownload();
}

void CMainFrame::EndInterruptedDownload() {
    // The held record and the file's synthetic end go to the dump file; dump mode ends.
    m_dumpDecoder.Interrupt();
    Mode().EndDownload();
    SendCommand(kDumpOff, "", "");
    m_notices.Warn("Download Interrupted", MB_OK);
    if (Ui().IsDownloadBoxShown())
        Ui().CloseDownloadBox();
}

void CMainFrame::OnDownloadProgressTimer() {
    if (Mode().IsDownloading()) {
        if (Ui().IsMinimized())
            Ui().SetTitle(platform::Format("Download progress: file %d - line %d",
                                           m_dumpHost.Progress().file, m_dumpHost.Progress().line));
        else
            Ui().SetTitle(NormalTitle());
    }
    if (Ui().IsDownloadBoxShown()) {
        if (Ui().StepDownloadProgress() >= 120)
            Ui().SetDownloadProgress(0);
        Ui().SetDownloadFields(platform::Format("%d", m_dumpHost.Progress().file),
                               platform::Format("%d", m_dumpHost.Progress().line));
    }
}

void CMainFrame::OnRecordingBlinkTimer() {
    if (!Mode().IsLinkActive() || !Mode().IsDataLogging())
        return;
    const std::string title = Ui().GetTitle();
    if (platform::Contains(title, kRecordingMark))
        Ui().SetTitle(NormalTitle());
    else
        Ui().SetTitle(title + "                 " + kRecordingMark);
}

void CMainFrame::OnStatusPollTimer() {
    Ui().EmptyInstrStatusText();
    for (int code : kStatusQueries)
        SendCommand(code, "", "");
}

void CMainFrame::OnIntegrationEndTimer() {
    m_timers.Kill(FrameTimers::kIntegrationEnd);
    m_link.PurgeLink();
    if (Mode().IsDataLogging()) {
        Mode().OnMonitorStopped();
        m_link.SetReadyToSend(TRUE);
        SendCommand(100, "", "");
    }
    const CInstrStatus& current = TheApp().m_InstrStatus;
    if (current.m_strIntegrationMode != "SINGLE")
        return;
    const std::string timeText = current.m_strIntegrationTime;
    long long limit = platform::Atoll(platform::Mid(timeText, platform::Find(timeText, ':') + 1));
    if (platform::Contains(timeText, "MM") || platform::Contains(timeText, "m"))
        limit *= 60;
    if (platform::Contains(timeText, "HH") || platform::Contains(timeText, "h"))
        limit *= 3600;
    if (m_nElapsedSeconds < limit)
        return;
    // Live again for a moment, so that the new session ends the live run.
    if (!Mode().BeginLive())
        return;
    m_session->StartNewSession();
    m_notices.Warn("End Monitor by integration time expired.", MB_ICONINFORMATION);
}

void CMainFrame::OnInstrumentClockTimer() {
    if (!Mode().IsLinkActive())
        return;
    const platform::DateTime now = platform::DateTime::Now();
    if (!now.IsValid())
        return;
    const int datePane = Mode().IsSchedulerMode() ? 9 : 6;
    Ui().SetPaneText(datePane, "Instr.Date: " + now.Format("%Y/%m/%d"));
    Ui().SetPaneText(datePane + 1, "Instr.Time: " + now.Format("%H:%M:%S"));
}
