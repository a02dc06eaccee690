// What the link session hands over of every reply. While live monitoring runs a reply is a
// record of the channel mode's kind for the live recorder. Otherwise the session has matched
// it to the awaited command: a good one is handled by its command's code
// (main_frame_dispatch.cpp), a wrong-state one and a command given up after its refusals are
// reported here.

#include <algorithm>
#include <cmath>

#include "app/kx9monitor_app.h"
#include "app/main_frame.h"
#include "link/command_codes.h"
#include "link/model_rules.h"
#include "platform/operator.h"
#include "platform/text.h"

using namespace command_code;

namespace {

constexpr double kShortestLiveInterval = 0.5;  // seconds
constexpr double kLongestLiveInterval = 86400.0;
constexpr const char* kRunLeftoversDropped = "Data received after the end of the run discarded.";

// The live watchdog: ten record intervals without a record end the run. 0: not re-armed.
unsigned LiveWatchdogMs(std::optional<acquisition::RecordKind> kind, const CInstrStatus& current) {
    if (!kind)
        return 0;
    // Only a "QS4160" sets its spectrum time; the others send a spectrum a half second.
    const std::string spectrumTime =
        model_rules::IsQS4160(current.m_strModel) ? current.m_strProfileSpectrumTime : "";
    const auto setting =
        acquisition::IntervalSetting(*kind, current.m_strProfileTime, spectrumTime);
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

bool CMainFrame::OnLiveRecord(const std::string& record) {
    if (!m_bMonitorOn || !m_bAcquiring)
        return TakeRunLeftover();
    if (m_bSchedulerMode)
        m_schedulerRun.CountReceivedRecord();
    KillTimer(kIntegrationEnd);
    if (const unsigned ms = LiveWatchdogMs(m_channelMode, Current()))
        SetTimer(kIntegrationEnd, ms);
    m_bProcessingRecord = TRUE;
    if (m_channelMode)
        m_liveRecorder.ProcessRecord(*m_channelMode, record);
    m_bProcessingRecord = FALSE;
    return true;
}

bool CMainFrame::TakeRunLeftover() {
    // An answer to a command stays that command's.
    if (!m_runLeftovers.IsDraining() || m_link.CurrentCommand())
        return false;
    if (m_runLeftovers.Take() == 1)
        LogScheduler(FALSE, kRunLeftoversDropped, TRUE);
    return true;
}

void CMainFrame::OnCommandReply(const CCommand& command, const std::string& reply) {
    if (Ui().IsSetupWaitBoxShown())
        Ui().StepSetupWaitProgress();
    DispatchReply(command, reply);
}

void CMainFrame::OnWrongState(const CCommand& command) {
    Warn(platform::Format("WARNING : WRONG INSTR STATUS Received.\n\n(Command = %d ,param = %s)",
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
    if (m_bSchedulerMode) {
        LogScheduler(FALSE, refused ? message : "WARNING: Empty message received", FALSE);
    } else if (code == kDataLogKey) {
        platform::AfxMessageBox(
            "ERROR: Logging not allowed.\nPlease check if any channel is selected.", MB_ICONSTOP);
    } else if (code == kStartCalibrationKey) {
        LogScheduler(FALSE, "WARNING: Calibration Failed", TRUE);
        m_schedulerRun.SetState(acquisition::SchedulerRun::kCalibrated);
    } else {
        platform::AfxMessageBox(message);
    }
}
