// The replies about the meter's state: acquisition, datalogging, monitoring, its screen and
// its recorder. They move the frame's run flags, feed the instrument status dialog and keep the
// status poll and the recording mark going.

#include "app/kx9monitor_app.h"
#include "app/main_frame.h"
#include "link/command_codes.h"
#include "link/state_replies.h"
#include "platform/operator.h"
#include "platform/text.h"

using namespace command_code;

namespace {

constexpr unsigned kFastStatusPollMs = 5000;

}  // namespace

void CMainFrame::DispatchStateReply(int code, const std::string& reply) {
    switch (code) {
        case kAcquisitionQuery:
            OnAcquisitionStateReply(reply);
            break;
        case kDataLogKey:
            SetDataLogging(TRUE);
            m_nPendingOp = kNoPendingOp;
            if (!m_channelMode)
                SetTimer(kStatusPoll, kFastStatusPollMs);
            SetTimer(kRecordingBlink, kRecordingBlinkMs);
            break;
        case kStopDataLogging:
            OnDataLoggingStopped();
            break;
        case kMonitorQuery:
            OnMonitorStateReply(reply);
            break;
        case kRunAcquisitionSlow:
            m_bAcquiring = TRUE;
            break;
        case kDisplayQuery:
            OnDisplayReply(reply);
            break;
        case kStopAcquisition:
            m_bAcquiring = FALSE;
            break;
        case kRunAcquisition:
            m_bAcquiring = TRUE;
            if (Current().m_strAutoStore == "ON") {
                SetDataLogging(TRUE);
                m_nPendingOp = kNoPendingOp;
                SetTimer(kStatusPoll, kFastStatusPollMs);
            }
            break;
        case kRecordingQuery:
            AppendInstrStatusText(reply);
            Ui().SetInstrStatusText(
                platform::ReplaceAll(Ui().GetInstrStatusText(), "STT", "STATUS"));
            Ui().ShowInstrStatus();
            break;
        default:
            break;
    }
}

void CMainFrame::SetDataLogging(BOOL on) {
    Current().m_nDataLogging = on ? 1 : 0;
    Edited().m_nDataLogging = on ? 1 : 0;
    m_bDataLogging = on;
}

void CMainFrame::AppendInstrStatusText(const std::string& text) {
    Ui().SetInstrStatusText(Ui().GetInstrStatusText() + text);
}

void CMainFrame::OnDataLoggingStopped() {
    SetDataLogging(FALSE);
    m_nPendingOp = kNoPendingOp;
    Ui().SetTitle(NormalTitle());
    Wait(2000);
    SendCommand(kEnterKey, "", "");
    SetTimer(kStatusPoll, kStatusPollMs);
}

void CMainFrame::OnAcquisitionStateReply(const std::string& reply) {
    if (!Ui().HasInstrStatusDlg()) {
        Ui().CreateInstrStatusDlg();
        m_bStatusDlgShown = TRUE;
    }
    AppendInstrStatusText(reply);

    // A pending request is carried out once, whatever the operator answers.
    const int pendingOp = m_nPendingOp;
    if (pendingOp == kStartDataLoggingOp || pendingOp == kStopDataLoggingOp ||
        pendingOp == kStartDownloadOp)
        m_nPendingOp = kNoPendingOp;
    const AcquisitionReplyOutcome outcome =
        ::OnAcquisitionStateReply(reply, m_bDataLogging, pendingOp, Current(), Edited(),
                                  [this](const std::string& q) { return Confirm(q); });
    m_bAcquiring = outcome.acquiring;
    m_bDataLogging = outcome.dataLogging;
    m_nPendingOp = outcome.pendingOp;
    if (outcome.startRecordingBlink)
        SetTimer(kRecordingBlink, kRecordingBlinkMs);
    if (!outcome.warning.empty())
        Warn(outcome.warning, MB_ICONEXCLAMATION);
    if (outcome.clearStatusText)
        Ui().EmptyInstrStatusText();
    QueueCommands(outcome.commands);
}

void CMainFrame::OnDisplayStateReply(const std::string& reply) {
    if (++m_nDisplayRounds > kMaxDisplayRounds) {
        m_bCheckDisplay = FALSE;
        m_nDisplayRounds = 0;
        return;
    }
    const DisplayReplyOutcome outcome = ::OnDisplayStateReply(
        reply, m_bSchedulerMode, [this](const std::string& q) { return Confirm(q); });
    m_bCheckDisplay = outcome.checkDisplay ? TRUE : FALSE;
    if (!m_bCheckDisplay)
        m_nDisplayRounds = 0;
    if (outcome.refuseDump) {
        m_bDumpRefused = TRUE;
        m_bDownloading = FALSE;
    }
    if (!outcome.warning.empty())
        Warn(outcome.warning, MB_ICONEXCLAMATION);
    QueueCommands(outcome.commands);
}

void CMainFrame::OnDisplayReply(const std::string& reply) {
    if (m_bCheckDisplay)
        OnDisplayStateReply(reply);
    else
        m_nDisplayRounds = 0;
    if (m_bElectricCalRunning) {
        Wait(250);
        if (m_ElectricCalibrationDlg.HasWindow()) {
            m_ElectricCalibrationDlg.SetDisplayText(reply);
            m_ElectricCalibrationDlg.Step();
        }
    }
    AppendInstrStatusText(reply);
    // The meter left datalogging by itself at the end of its integration time.
    if (platform::Contains(reply, "Title") && m_bDataLogging) {
        SendCommand(kEnterKey, "", "");
        WaitWithMessages(500);
        Ui().SetTitle(NormalTitle());
        m_bDataLogging = FALSE;
        if (m_bSchedulerMode)
            LogScheduler(FALSE,
                         "WARNING: Monitor and Datalogging interrupded by integration time expired",
                         TRUE);
        else
            platform::AfxMessageBox("End Datalogging by integration time expired.",
                                    MB_ICONINFORMATION);
    }
}

void CMainFrame::OnMonitorStateReply(const std::string& reply) {
    if (Ui().IsSetupWaitBoxShown())
        CloseSetupWaitBox();
    if (reply.size() >= kMonitorReplyMinimum) {
        const std::string state = platform::Trim(platform::Mid(reply, kMonitorValueOffset));
        if (platform::Contains(state, "ON"))
            m_bMonitorOn = TRUE;
        else if (platform::Contains(state, "OFF"))
            m_bMonitorOn = FALSE;
    }
    if (!m_bSchedulerMode)
        ShowMonitoringOptions();
    else if (m_schedulerRun.State() != acquisition::SchedulerRun::kAcquiring)
        m_schedulerRun.SetState(acquisition::SchedulerRun::kStopMeterAcquisition);
    Ui().ShowGraphWindow(false);
    if (m_channelMode)
        Ui().ShowBandChart(m_channelMode->IsSpectrum());
}

void CMainFrame::CloseSetupWaitBox() {
    Ui().KillSetupWaitBoxTimer();
    Ui().SetSetupWaitProgress(100);
    Wait(500);
    Ui().DestroySetupWaitBox();
}
