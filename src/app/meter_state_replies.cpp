#include "app/meter_state_replies.h"

#include "acquisition/scheduler_run.h"
#include "acquisition/sel_ch_monitor_dlg.h"
#include "app/frame_notices.h"
#include "app/frame_timers.h"
#include "app/frame_ui.h"
#include "app/kx9monitor_app.h"
#include "link/command_codes.h"
#include "link/instr_status.h"
#include "link/link_session.h"
#include "link/meter_mode.h"
#include "link/reply_router.h"
#include "link/state_replies.h"
#include "maintenance/electric_calibration_dlg.h"
#include "platform/clock.h"
#include "platform/operator.h"
#include "platform/text.h"
#include "records/record_layout.h"

using namespace command_code;

namespace {

constexpr unsigned kFastStatusPollMs = 5000;
constexpr const char* kRecordingMark = "-RECORDING-";

bool Confirm(const std::string& question) {
    return platform::AfxMessageBox(question, MB_YESNO | MB_ICONEXCLAMATION) == IDYES;
}

}  // namespace

MeterStateReplies::MeterStateReplies(const Uses& uses) : m_uses(uses) {
    RegisterReplies(m_uses.link.Router());
    m_uses.timers.OnExpiry(FrameTimers::kRecordingBlink, [this] { OnRecordingBlinkTimer(); });
    m_uses.timers.OnExpiry(FrameTimers::kStatusPoll, [this] { OnStatusPollTimer(); });
}

MeterStateReplies::~MeterStateReplies() {
    m_uses.timers.OnExpiry(FrameTimers::kRecordingBlink, nullptr);
    m_uses.timers.OnExpiry(FrameTimers::kStatusPoll, nullptr);
}

void MeterStateReplies::RegisterReplies(ReplyRouter& router) {
    router.Register(kAcquisitionQuery, [this](const CCommand&, const std::string& reply) {
        OnAcquisitionStateReply(reply);
    });
    router.Register(kDataLogKey, [this](const CCommand&, const std::string&) {
        NoteDataLogging(true);
        m_uses.link.Mode().EndPendingOp();
        if (!m_uses.link.Mode().ChannelMode())
            m_uses.timers.Set(FrameTimers::kStatusPoll, kFastStatusPollMs);
        m_uses.timers.Set(FrameTimers::kRecordingBlink, FrameTimers::kRecordingBlinkMs);
    });
    router.Register(kStopDataLogging, [this](const CCommand&, const std::string&) {
        NoteDataLogging(false);
        m_uses.link.Mode().EndPendingOp();
        m_uses.ui.SetTitle(NormalFrameTitle(m_uses.current));
        // A plain wait: nothing else runs meanwhile.
        platform::Clock::Sleep(2000);
        m_uses.link.SendCommand(kEnterKey, "", "");
        m_uses.timers.Set(FrameTimers::kStatusPoll, FrameTimers::kStatusPollMs);
    });
    router.Register(kMonitorQuery, [this](const CCommand&, const std::string& reply) {
        OnMonitorStateReply(reply);
    });
    router.Register(kRunAcquisitionSlow, [this](const CCommand&, const std::string&) {
        m_uses.link.Mode().OnAcquisitionStarted();
    });
    router.Register(kDisplayQuery,
                    [this](const CCommand&, const std::string& reply) { OnDisplayReply(reply); });
    router.Register(kStopAcquisition, [this](const CCommand&, const std::string&) {
        m_uses.link.Mode().OnAcquisitionStopped();
    });
    router.Register(kRunAcquisition, [this](const CCommand&, const std::string&) {
        m_uses.link.Mode().OnAcquisitionStarted();
        if (m_uses.current.m_strAutoStore == "ON") {
            NoteDataLogging(true);
            m_uses.link.Mode().EndPendingOp();
            m_uses.timers.Set(FrameTimers::kStatusPoll, kFastStatusPollMs);
        }
    });
    router.Register(kRecordingQuery, [this](const CCommand&, const std::string& reply) {
        AppendInstrStatusText(reply);
        m_uses.ui.SetInstrStatusText(
            platform::ReplaceAll(m_uses.ui.GetInstrStatusText(), "STT", "STATUS"));
        m_uses.ui.ShowInstrStatus();
    });
}

void MeterStateReplies::NoteDataLogging(bool on) {
    m_uses.current.m_nDataLogging = on ? 1 : 0;
    m_uses.edited.m_nDataLogging = on ? 1 : 0;
    if (on)
        m_uses.link.Mode().OnDataLoggingStarted();
    else
        m_uses.link.Mode().OnDataLoggingStopped();
}

void MeterStateReplies::AppendInstrStatusText(const std::string& text) {
    m_uses.ui.SetInstrStatusText(m_uses.ui.GetInstrStatusText() + text);
}

void MeterStateReplies::OnAcquisitionStateReply(const std::string& reply) {
    MeterMode& mode = m_uses.link.Mode();
    FrameUi& ui = m_uses.ui;
    if (!ui.HasInstrStatusDlg()) {
        ui.CreateInstrStatusDlg();
        mode.OnStatusDlgOpened();
    }
    AppendInstrStatusText(reply);

    const int pendingOp = mode.TakeAcquisitionRequest();
    const AcquisitionReplyOutcome outcome = ::OnAcquisitionStateReply(
        reply, mode.IsDataLogging(), pendingOp, m_uses.current, m_uses.edited, Confirm);
    mode.OnAcquisitionReported(outcome);
    if (outcome.startRecordingBlink)
        m_uses.timers.Set(FrameTimers::kRecordingBlink, FrameTimers::kRecordingBlinkMs);
    if (!outcome.warning.empty())
        m_uses.notices.Warn(outcome.warning, MB_ICONEXCLAMATION);
    if (outcome.clearStatusText)
        ui.EmptyInstrStatusText();
    m_uses.link.QueueFollowUps(outcome.commands);
}

void MeterStateReplies::OnDisplayStateReply(const std::string& reply) {
    MeterMode& mode = m_uses.link.Mode();
    if (mode.CountDisplayRound() > kMaxDisplayRounds) {
        mode.EndDisplayCheck();
        return;
    }
    const DisplayReplyOutcome outcome =
        ::OnDisplayStateReply(reply, mode.IsSchedulerMode(), Confirm);
    if (outcome.checkDisplay)
        mode.BeginDisplayCheck();
    else
        mode.EndDisplayCheck();
    if (outcome.refuseDump)
        mode.OnDumpRefused();
    if (!outcome.warning.empty())
        m_uses.notices.Warn(outcome.warning, MB_ICONEXCLAMATION);
    m_uses.link.QueueFollowUps(outcome.commands);
}

void MeterStateReplies::OnDisplayReply(const std::string& reply) {
    MeterMode& mode = m_uses.link.Mode();
    if (mode.IsCheckingDisplay())
        OnDisplayStateReply(reply);
    m_uses.guidedPrograms.TakeScreen(reply);
    AppendInstrStatusText(reply);
    // The meter left datalogging by itself at the end of its integration time.
    if (platform::Contains(reply, "Title") && mode.IsDataLogging()) {
        m_uses.link.SendCommand(kEnterKey, "", "");
        TheApp().WaitWithMessages(500);
        m_uses.ui.SetTitle(NormalFrameTitle(m_uses.current));
        mode.OnDataLoggingStopped();
        if (mode.IsSchedulerMode())
            m_uses.notices.LogScheduler(
                false, "WARNING: Monitor and Datalogging interrupded by integration time expired",
                true);
        else
            platform::AfxMessageBox("End Datalogging by integration time expired.",
                                    MB_ICONINFORMATION);
    }
}

void MeterStateReplies::OnMonitorStateReply(const std::string& reply) {
    MeterMode& mode = m_uses.link.Mode();
    FrameUi& ui = m_uses.ui;
    if (ui.IsSetupWaitBoxShown())
        ui.EndSetupWaitBox();
    if (reply.size() >= kMonitorReplyMinimum) {
        const std::string state = platform::Trim(platform::Mid(reply, kMonitorValueOffset));
        if (platform::Contains(state, "ON")) {
            if (!mode.OnMonitorStarted())
                m_uses.notices.Log(MonitorStartRefusal(mode.Activity()));
        } else if (platform::Contains(state, "OFF")) {
            mode.OnMonitorStopped();
        }
    }
    if (!mode.IsSchedulerMode())
        ShowMonitoringOptions();
    else if (m_uses.run.State() != acquisition::SchedulerRun::kAcquiring)
        m_uses.run.SetState(acquisition::SchedulerRun::kStopMeterAcquisition);
    ui.ShowGraphWindow(false);
    if (const auto kind = mode.ChannelMode())
        ui.ShowBandChart(kind->IsSpectrum());
}

void MeterStateReplies::ShowMonitoringOptions() {
    acquisition::CSelCHMonitorDlg dialog(m_uses.link.Mode().ChannelMode(), m_uses.pagingSize);
    if (dialog.DoModal() != IDOK)
        return;
    m_uses.pagingSize = dialog.PageSize();
    m_uses.setupBlock.SetField(records::SetupBlock::kPagingSize,
                               platform::Format("%.11d", m_uses.pagingSize));
}

void MeterStateReplies::OnRecordingBlinkTimer() {
    const MeterMode& mode = m_uses.link.Mode();
    if (!mode.IsLinkActive() || !mode.IsDataLogging())
        return;
    FrameUi& ui = m_uses.ui;
    const std::string title = ui.GetTitle();
    if (platform::Contains(title, kRecordingMark))
        ui.SetTitle(NormalFrameTitle(m_uses.current));
    else
        ui.SetTitle(title + "                 " + kRecordingMark);
}

void MeterStateReplies::OnStatusPollTimer() {
    m_uses.ui.EmptyInstrStatusText();
    for (int code : kStatusQueries)
        m_uses.link.SendCommand(code, "", "");
}
