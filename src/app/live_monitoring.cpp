#include "app/live_monitoring.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "acquisition/live_recorder.h"
#include "acquisition/record_file.h"
#include "acquisition/recording.h"
#include "acquisition/scheduler_dlg.h"
#include "acquisition/scheduler_run.h"
#include "app/frame_notices.h"
#include "app/frame_timers.h"
#include "app/frame_ui.h"
#include "app/kx9monitor_view.h"
#include "app/monitoring_session.h"
#include "app/view_lookup.h"
#include "link/command_codes.h"
#include "link/instr_status.h"
#include "link/link_session.h"
#include "link/model_rules.h"
#include "link/reply_router.h"
#include "link/state_replies.h"
#include "platform/date_time.h"
#include "platform/files.h"
#include "platform/operator.h"
#include "platform/qt_text.h"
#include "platform/text.h"
#include "records/record_layout.h"

using namespace command_code;
using records::SetupBlock;

namespace {

constexpr double kShortestLiveInterval = 0.5;  // seconds
constexpr double kLongestLiveInterval = 86400.0;

// The live watchdog: ten record intervals without a record end the run. 0: not re-armed.
unsigned LiveWatchdogMs(std::optional<records::RecordKind> kind, const CInstrStatus& current) {
    if (!kind)
        return 0;
    // Only a "QS4160" sets its spectrum time; the others send a spectrum a half second.
    const std::string spectrumTime =
        model_rules::IsQS4160(current.m_strModel) ? current.m_strProfileSpectrumTime : "";
    const auto setting = records::IntervalSetting(*kind, current.m_strProfileTime, spectrumTime);
    double seconds = setting ? platform::Atof(*setting) : kShortestLiveInterval;
    // Samples of the short profile times come grouped, a record a half second.
    if ((*kind)->samplesByProfileStep)
        seconds = std::max(seconds, kShortestLiveInterval);
    // A time the meter never told ("0" after a reset, "-1" before any read) would make a
    // watchdog that ends the run at once.
    if (seconds <= 0)
        seconds = kShortestLiveInterval;
    seconds = std::min(seconds, kLongestLiveInterval);
    return static_cast<unsigned>(std::llround(seconds * 10 * 1000));
}

}  // namespace

LiveMonitoring::LiveMonitoring(const Uses& uses) : m_uses(uses) {
    ReplyRouter& router = m_uses.link.Router();
    router.Register(kRecordFileStart,
                    [this](const CCommand&, const std::string& reply) { StartRecordFile(reply); });
    router.SetRecordTaker([this](const std::string& record) { return TakeRecord(record); });
    m_uses.timers.OnExpiry(FrameTimers::kIntegrationEnd, [this] { OnIntegrationEndTimer(); });
}

LiveMonitoring::~LiveMonitoring() {
    m_uses.timers.OnExpiry(FrameTimers::kIntegrationEnd, nullptr);
}

void LiveMonitoring::StartRecordFile(const std::string& reply) {
    SetupBlock& block = m_uses.setupBlock;
    acquisition::SchedulerRun& run = m_uses.run;
    acquisition::CSchedulerDlg& scheduler = m_uses.schedulerWindow;
    const bool schedulerMode = m_uses.link.Mode().IsSchedulerMode();
    if (reply.size() >= kMonitorReplyMinimum)
        block.SetField(SetupBlock::kAcquisitionMode,
                       platform::TrimRight(platform::Mid(reply, kMonitorValueOffset)));
    // The pages are read back at the size they are written with, the first one included.
    const auto kind = records::RecordKind::OfModeText(block.Text(SetupBlock::kAcquisitionMode));
    block.SetField(SetupBlock::kPagingSize,
                   platform::Format("%.11lld", m_uses.recorder.PageSize(kind)));
    if (schedulerMode && !run.IsFirstAcquisition()) {
        run.SetState(acquisition::SchedulerRun::kSwitchMonitorOn);
        return;
    }
    run.ClearFirstAcquisition();

    const platform::DateTime now = platform::DateTime::Now();
    const std::string pageName = records::RecordPageName(now.Format(records::kPageNameStampFormat));
    const std::string indexPath =
        platform::JoinPath(m_uses.recordFolder, std::string("\\") + records::kRecordIndexName);
    const std::string pagePath = platform::JoinPath(m_uses.recordFolder, "\\" + pageName);
    if (!platform::WriteFileAtomic(indexPath, records::IndexFileText({pageName})))
        m_uses.notices.Warn(platform::Format("ERROR: Unable to create the record file %s",
                                             platform::SystemNameToText(indexPath).c_str()),
                            MB_ICONSTOP);
    else if (!m_uses.recordFile.Create(pagePath))
        m_uses.notices.Warn(platform::Format("ERROR: Unable to create the record file %s",
                                             platform::SystemNameToText(pagePath).c_str()),
                            MB_ICONSTOP);

    // 20 characters, the trailing blank included: the page's start time as the files keep it.
    const std::string startTime = now.Format(records::kPageStartFormat);
    block.SetField(SetupBlock::kDate, platform::Left(startTime, SetupBlock::kFieldSize));
    block.SetField(SetupBlock::kTime,
                   platform::Mid(startTime, SetupBlock::kFieldSize, SetupBlock::kFieldSize));
    if (schedulerMode)
        scheduler.SetStartTimeText(startTime);
    if (CKX9MonitorView* view = m_uses.views.Current())
        view->m_strPageStartTime = startTime;
    FrameUi& ui = m_uses.ui;
    ui.AppendPageListRow("CURR. PAGE", 0);
    ui.AppendPageListRow(startTime, -1);
    ui.ScrollPageListToEnd();
    m_uses.recording.SetLoadedFromFile(false);
    m_uses.recording.Time().SetSegments({0}, {"0#" + startTime});

    // The lengths of the run's acquisitions and repetitions, which time the recording's samples.
    const bool scheduled = schedulerMode && scheduler.AcquisitionTime().IsValid();
    m_uses.recordFile.Write(records::PageFileHead(
        block, scheduled ? scheduler.AcquisitionTime() : records::ScheduleTime{},
        scheduled ? scheduler.RepetitionTime() : records::ScheduleTime{}, startTime));
    m_uses.recorder.BeginRecording();
    if (schedulerMode)
        run.SetState(acquisition::SchedulerRun::kSwitchMonitorOn);
    ui.RefreshSetupDisplay();
}

bool LiveMonitoring::TakeRecord(const std::string& record) {
    MeterMode& mode = m_uses.link.Mode();
    if (!mode.IsLive())
        return false;
    if (mode.IsSchedulerMode())
        m_uses.run.CountReceivedRecord();
    m_uses.timers.Kill(FrameTimers::kIntegrationEnd);
    const std::optional<records::RecordKind> kind = mode.ChannelMode();
    if (const unsigned ms = LiveWatchdogMs(kind, m_uses.current))
        m_uses.timers.Set(FrameTimers::kIntegrationEnd, ms);
    mode.BeginRecordProcessing();
    if (kind)
        m_uses.recorder.ProcessRecord(*kind, record);
    mode.EndRecordProcessing();
    return true;
}

void LiveMonitoring::OnIntegrationEndTimer() {
    LinkSession& link = m_uses.link;
    MeterMode& mode = link.Mode();
    m_uses.timers.Kill(FrameTimers::kIntegrationEnd);
    link.PurgeLink();
    if (mode.IsDataLogging()) {
        mode.OnMonitorStopped();
        link.SetReadyToSend(TRUE);
        link.SendCommand(100, "", "");
    }
    const CInstrStatus& current = m_uses.current;
    if (current.m_strIntegrationMode != "SINGLE")
        return;
    const std::string timeText = current.m_strIntegrationTime;
    long long limit = platform::Atoll(platform::Mid(timeText, platform::Find(timeText, ':') + 1));
    if (platform::Contains(timeText, "MM") || platform::Contains(timeText, "m"))
        limit *= 60;
    if (platform::Contains(timeText, "HH") || platform::Contains(timeText, "h"))
        limit *= 3600;
    if (m_elapsedSeconds < limit)
        return;
    // Live again for a moment, so that the new session ends the live run.
    if (!mode.BeginLive())
        return;
    m_uses.session.StartNewSession();
    m_uses.notices.Warn("End Monitor by integration time expired.", MB_ICONINFORMATION);
}
