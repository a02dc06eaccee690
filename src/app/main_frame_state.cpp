// The replies about the meter's state: acquisition, datalogging, monitoring, its screen and
// its recorder, registered with the link's router. They move the meter mode, feed the
// instrument status dialog and keep the status poll and the recording mark going.

#include "app/frame_scheduler.h"
#include "app/frame_timers.h"
#include "app/frame_ui.h"
#include "app/kx9monitor_app.h"
#include "app/main_frame.h"
#include "app/maintenance_commands.h"
#include "link/command_codes.h"
#include "link/reply_router.h"
#include "link/state_replies.h"
#include "platform/operator.h"
#include "platform/text.h"

using namespace command_code;

namespace {

constexpr unsigned kFastStatusPollMs = 5000;

// The meter logs, or not: both setup records and the mode say so.
void NoteDataLogging(MeterMode& mode, bool on) {
    CKX9MonitorApp& app = TheApp();
    app.m_InstrStatus.m_nDataLogging = on ? 1 : 0;
    app.m_EditStatus.m_nDataLogging = on ? 1 : 0;
    if (on)
        mode.OnDataLoggingStarted();
    else
        mode.OnDataLoggingStopped();
}

}  // namespace

void CMainFrame::RegisterStateReplies(ReplyRouter& router) {
    router.Register(kAcquisitionQuery, [this](const CCommand&, const std::string& reply) {
        OnAcquisitionStateReply(reply);
    });
    router.Register(kDataLogKey, [this](const CCommand&, const std::string&) {
        NoteDataLogging(Mode(), true);
        Mode().EndPendingOp();
        if (!Mode().ChannelMode())
            m_timers.Set(FrameTimers::kStatusPoll, kFastStatusPollMs);
        m_timers.Set(FrameTimers::kRecordingBlink, FrameTimers::kRecordingBlinkMs);
    });
    router.Register(kStopDataLogging, [this](const CCommand&, const std::string&) {
        NoteDataLogging(Mode(), false);
        Mode().EndPendingOp();
        Ui().SetTitle(NormalTitle());
        Wait(2000);
        SendCommand(kEnterKey, "", "");
        m_timers.Set(FrameTimers::kStatusPoll, FrameTimers::kStatusPollMs);
    });
    router.Register(kMonitorQuery, [this](const CCommand&, const std::string& reply) {
        OnMonitorStateReply(reply);
    });
    router.Register(kRunAcquisitionSlow,
                    [this](const CCommand&, const std::string&) { Mode().OnAcquisitionStarted(); });
    router.Register(kDisplayQuery,
                    [this](const CCommand&, const std::string& reply) { OnDisplayReply(reply); });
    router.Register(kStopAcquisition,
                    [this](const CCommand&, const std::string&) { Mode().OnAcquisitionStopped(); });
    router.Register(kRunAcquisition, [this](const CCommand&, const std::string&) {
        Mode().OnAcquisitionStarted();
        if (Current().m_strAutoStore == "ON") {
            NoteDataLogging(Mode(), true);
            Mode().EndPendingOp();
            m_timers.Set(FrameTimers::kStatusPoll, kFastStatusPollMs);
        }
    });
    router.Register(kRecordingQuery, [this](const CCommand&, const std::string& reply) {
        AppendInstrStatusText(reply);
        Ui().SetInstrStatusText(platform::ReplaceAll(Ui().GetInstrStatusText(), "STT", "STATUS"));
        Ui().ShowInstrStatus();
    });
}

void CMainFrame::AppendInstrStatusText(const std::string& text) {
    Ui().SetInstrStatusText(Ui().GetInstrStatusText() + text);
}

void CMainFrame::OnAcquisitionStateReply(const std::string& reply) {
    if (!Ui().HasInstrStatusDlg()) {
        Ui().CreateInstrStatusDlg();
        Mode().OnStatusDlgOpened();
    }
    AppendInstrStatusText(reply);

    const int pendingOp = Mode().TakeAcquisitionRequest();
    const AcquisitionReplyOutcome outcome =
        ::OnAcquisitionStateReply(reply, Mode().IsDataLogging(), pendingOp, Current(), Edited(),
                                  [this](const std::string& q) { return Confirm(q); });
    Mode().OnAcquisitionReported(outcome);
    if (outcome.startRecordingBlink)
        m_timers.Set(FrameTimers::kRecordingBlink, FrameTimers::kRecordingBlinkMs);
    if (!outcome.warning.empty())
        m_notices.Warn(outcome.warning, MB_ICONEXCLAMATION);
    if (outcome.clearStatusText)
        Ui().EmptyInstrStatusText();
    m_link.QueueFollowUps(outcome.commands);
}

void CMainFrame::OnDisplayStateReply(const std::string& reply) {
    if (Mode().CountDisplayRound() > kMaxDisplayRounds) {
        Mode().EndDisplayCheck();
        return;
    }
    const DisplayReplyOutcome outcome = ::OnDisplayStateReply(
        reply, Mode().IsSchedulerMode(), [this](const std::string& q) { return Confirm(q); });
    if (outcome.checkDisplay)
        Mode().BeginDisplayCheck();
    else
        Mode().EndDisplayCheck();
    if (outcome.refuseDump)
        Mode().OnDumpRefused();
    if (!outcome.warning.empty())
        m_notices.Warn(outcome.warning, MB_ICONEXCLAMATION);
    m_link.QueueFollowUps(outcome.commands);
}

void CMainFrame::OnDisplayReply(const std::string& reply) {
    if (Mode().IsCheckingDisplay())
        OnDisplayStateReply(reply);
    m_scheduler->ElectricCalibration().TakeScreen(reply);
    AppendInstrStatusText(reply);
    // The meter left datalogging by itself at the end of its integration time.
    if (platform::Contains(reply, "Title") && Mode().IsDataLogging()) {
        SendCommand(kEnterKey, "", "");
        WaitWithMessages(500);
        Ui().SetTitle(NormalTitle());
        Mode().OnDataLoggingStopped();
        if (Mode().IsSchedulerMode())
            m_notices.LogScheduler(
                false, "WARNING: Monitor and Datalogging interrupded by integration time expired",
                true);
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
        // Only a new session asks, with the meter free: a start is taken.
        if (platform::Contains(state, "ON"))
            Mode().OnMonitorStarted();
        else if (platform::Contains(state, "OFF"))
            Mode().OnMonitorStopped();
    }
    if (!Mode().IsSchedulerMode())
        ShowMonitoringOptions();
    else if (m_scheduler->Run().State() != acquisition::SchedulerRun::kAcquiring)
        m_scheduler->Run().SetState(acquisition::SchedulerRun::kStopMeterAcquisition);
    Ui().ShowGraphWindow(false);
    if (const auto kind = Mode().ChannelMode())
        Ui().ShowBandChart(kind->IsSpectrum());
}

void CMainFrame::CloseSetupWaitBox() {
    Ui().KillSetupWaitBoxTimer();
    Ui().SetSetupWaitProgress(100);
    Wait(500);
    Ui().DestroySetupWaitBox();
}
