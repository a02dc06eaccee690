// Who owns which of the meter's replies: the frame registers its handlers and the other
// owners' with the link's router. While live monitoring runs a reply is a record of the
// channel mode's kind for the live recorder; a reply to nothing after a run ended is dropped.
// Otherwise the session has matched it to the awaited command: a good one goes to the owner of
// its command's code, a wrong-state one and a command given up after its refusals are reported
// here.

#include <algorithm>
#include <cmath>

#include "app/frame_scheduler.h"
#include "app/frame_timers.h"
#include "app/kx9monitor_app.h"
#include "app/live_recording.h"
#include "app/main_frame.h"
#include "app/maintenance_commands.h"
#include "link/command_codes.h"
#include "link/model_rules.h"
#include "link/reply_router.h"
#include "maintenance/calibration_replies.h"
#include "platform/operator.h"
#include "platform/text.h"

using namespace command_code;

namespace {

constexpr double kShortestLiveInterval = 0.5;  // seconds
constexpr double kLongestLiveInterval = 86400.0;
constexpr const char* kRunLeftoversDropped = "Data received after the end of the run discarded.";

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

void CMainFrame::RegisterReplies() {
    ReplyRouter& router = m_link.Router();
    m_setupValues.Register(router);
    RegisterIdentityReplies(router);
    RegisterStateReplies(router);
    RegisterRecordingReplies(router);
    maintenance::RegisterCalibrationReplies(router, m_maintenance->MicCalibration(),
                                            m_scheduler->ElectricCalibration());
    router.SetRecordTaker([this](const std::string& record) { return OnLiveRecord(record); });
    router.SetStrayTaker([this](const std::string&) { return TakeRunLeftover(); });
}

bool CMainFrame::OnLiveRecord(const std::string& record) {
    if (!Mode().IsLive())
        return false;
    if (Mode().IsSchedulerMode())
        m_scheduler->Run().CountReceivedRecord();
    m_timers.Kill(FrameTimers::kIntegrationEnd);
    const std::optional<records::RecordKind> kind = Mode().ChannelMode();
    if (const unsigned ms = LiveWatchdogMs(kind, Current()))
        m_timers.Set(FrameTimers::kIntegrationEnd, ms);
    Mode().BeginRecordProcessing();
    if (kind)
        m_live->Recorder().ProcessRecord(*kind, record);
    Mode().EndRecordProcessing();
    return true;
}

bool CMainFrame::TakeRunLeftover() {
    if (!m_scheduler->Leftovers().IsDraining())
        return false;
    if (m_scheduler->Leftovers().Take() == 1)
        m_notices.LogScheduler(false, kRunLeftoversDropped, true);
    return true;
}

void CMainFrame::OnWrongState(const CCommand& command) {
    m_notices.Warn(
        platform::Format("WARNING : WRONG INSTR STATUS Received.\n\n(Command = %d ,param = %s)",
                         command.GetCode(), command.GetName().c_str()),
        MB_OK);
}

// The third refusal or silence: the command is given up.
void CMainFrame::OnRefusedOrEmptyReply(const CCommand& command, bool refused) {
    const int code = command.GetCode();
    // Meters that do not know their class refuse the query; that is an answer too.
    if (code == kClassQuery) {
        Current().m_strClass = "-1";
        Edited().m_strClass = "-1";
        return;
    }

    const std::string message =
        refused
            ? platform::Format("WARNING : Command not recognized.\n\n(Command = %d ,param = %s)",
                               code, command.GetName().c_str())
            : "WARNING: Empty message received" + command.GetText();
    if (Mode().IsSchedulerMode()) {
        m_notices.LogScheduler(false, refused ? message : "WARNING: Empty message received", false);
    } else if (code == kDataLogKey) {
        platform::AfxMessageBox(
            "ERROR: Logging not allowed.\nPlease check if any channel is selected.", MB_ICONSTOP);
    } else if (code == kStartCalibrationKey) {
        m_notices.LogScheduler(false, "WARNING: Calibration Failed", true);
        m_scheduler->Run().SetState(acquisition::SchedulerRun::kCalibrated);
    } else {
        platform::AfxMessageBox(message);
    }
}
