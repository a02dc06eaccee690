// The frame's window timers: the send tick and reply time-out of the link, and the periodic
// jobs around it.

#include <cstring>

#include "app/kx9monitor_app.h"
#include "app/main_frame.h"
#include "link/command_codes.h"
#include "link/serial_wnd.h"
#include "platform/date_time.h"
#include "platform/operator.h"
#include "platform/text.h"

using namespace command_code;

namespace {
constexpr int kSetupReadOp = 5;
constexpr size_t kDumpRecordSize = 67;
constexpr const char* kRecordingMark = "-RECORDING-";
}  // namespace

void CMainFrame::OnTimer(int id) {
    switch (id) {
        case kSendTick:
            OnSendTick();
            break;
        case kReplyTimeout:
            OnReplyTimeout();
            break;
        case kDownloadProgress:
            OnDownloadProgressTimer();
            break;
        case kRecordingBlink:
            OnRecordingBlinkTimer();
            break;
        case kFirmwareUpgrade:
            OnFirmwareUpgradeTimer();
            break;
        case kStatusPoll:
            OnStatusPollTimer();
            break;
        case kReportTrim:
            OnReportTrimTimer();
            break;
        case kIntegrationEnd:
            OnIntegrationEndTimer();
            break;
        case kInstrumentClock:
            OnInstrumentClockTimer();
            break;
        case kCalibExpiryUpdate:
            KillTimer(kCalibExpiryUpdate);
            OnUpdateCalibExpiry();
            break;
        case kReportValidation:
            OnReportValidationTimer();
            break;
        default:
            break;
    }
}

void CMainFrame::OnReplyTimeout() {
    if (!m_pCurrentCommand) {
        // The awaited command was cancelled or the link disconnected meanwhile.
        KillTimer(kReplyTimeout);
        m_nRetryCount = 0;
        m_bReadyToSend = TRUE;
        return;
    }
    if (m_nRetryCount < kMaxTimeoutResends) {
        ++m_nRetryCount;
        PurgeLink();
        m_bReceiveEnabled = TRUE;
        m_bReadyToSend = TRUE;  // the next tick sends the same command and re-arms this timer
        return;
    }

    m_bReadyToSend = FALSE;
    KillTimer(kReplyTimeout);
    PurgeLink();
    const int code = m_pCurrentCommand->GetCode();
    if (code == kAcquisitionQuery)
        KillTimer(kStatusPoll);
    m_nRetryCount = 0;
    TakeCommand(m_pCurrentCommand);
    if (m_nPendingOp == kSetupReadOp) {
        AbortSetupRead(code);
        return;
    }
    // The command is given up silently; the queue goes on with the next one.
    m_bReadyToSend = TRUE;
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
    DeleteAllCommands();
    m_nPendingOp = -1;
    m_bReadyToSend = TRUE;
    if (m_bDownloading)
        KillTimer(kDownloadProgress);
    platform::AfxMessageBox(timeoutText);
    if (m_bDownloading) {
        BYTE record[kDumpRecordSize];
        std::memset(record, 0xFF, sizeof record);
        record[kDumpRecordSize - 1] = CSerialWnd::kEtx;
        Monitoring().MakeIncompleteDumpRecord(record);
        m_bDownloading = FALSE;
        SendCommand(kDumpOff, "", "");
        platform::AfxMessageBox("Download Interrupted");
        if (Ui().IsDownloadBoxShown())
            Ui().CloseDownloadBox();
    }
}

void CMainFrame::OnDownloadProgressTimer() {
    if (m_bDownloading) {
        if (Ui().IsMinimized())
            Ui().SetTitle(platform::Format("Download progress: file %d - line %d", m_nDownloadFile,
                                           m_nDownloadLine));
        else
            Ui().SetTitle(NormalTitle());
    }
    if (Ui().IsDownloadBoxShown()) {
        if (Ui().StepDownloadProgress() >= 120)
            Ui().SetDownloadProgress(0);
        Ui().SetDownloadFields(platform::Format("%d", m_nDownloadFile),
                               platform::Format("%d", m_nDownloadLine));
    }
}

void CMainFrame::OnRecordingBlinkTimer() {
    if (!m_bLinkActive || !m_bDataLogging)
        return;
    const std::string title = Ui().GetTitle();
    if (platform::Contains(title, kRecordingMark))
        Ui().SetTitle(NormalTitle());
    else
        Ui().SetTitle(title + "                 " + kRecordingMark);
}

void CMainFrame::OnStatusPollTimer() {
    Ui().EmptyInstrStatusText();
    for (int code : {100, 17, 11, 109})
        SendCommand(code, "", "");
}

void CMainFrame::OnReportTrimTimer() {
    if (m_bTrimBlocked)
        return;
    Ui().EnsureReportRowVisible(m_nTrimVisibleRow);
    for (int attempt = 0; attempt < 100; ++attempt) {
        if (!Ui().DeleteReportRow(m_nTrimRow)) {
            Ui().SetReportTrimFinished();
            m_nTrimRow = 0;
            KillTimer(kReportTrim);
            return;
        }
    }
}

void CMainFrame::OnIntegrationEndTimer() {
    KillTimer(kIntegrationEnd);
    if (CSerialMFC* port = LinkPort())
        port->Purge();
    if (m_bDataLogging) {
        m_bMonitorOn = FALSE;
        m_bReadyToSend = TRUE;
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
    m_bMonitorOn = TRUE;
    m_bAcquiring = TRUE;
    StartNewSession();
    Warn("End Monitor by integration time expired.", MB_ICONINFORMATION);
}

void CMainFrame::OnInstrumentClockTimer() {
    if (!m_bLinkActive)
        return;
    const platform::DateTime now = platform::DateTime::Now();
    if (!now.IsValid())
        return;
    const int datePane = m_bSchedulerMode ? 9 : 6;
    Ui().SetPaneText(datePane, "Instr.Date: " + now.Format("%Y/%m/%d"));
    Ui().SetPaneText(datePane + 1, "Instr.Time: " + now.Format("%H:%M:%S"));
}

void CMainFrame::OnReportValidationTimer() {
    KillTimer(kReportValidation);
    if (platform::AfxMessageBox("Eseguire la validazione del rapporto",
                                MB_YESNO | MB_ICONINFORMATION) == IDYES)
        OnValidateReport();
}
