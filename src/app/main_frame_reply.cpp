// Entry of every reply the listener posts. While live monitoring runs a reply is a record for
// the processor of the channel mode. Otherwise it is matched to the awaited command: a refused
// or empty one is resent, a wrong-state one reported, a good one handled by its command's code
// (main_frame_dispatch.cpp); then the command is released so that the queue goes on.

#include <algorithm>
#include <cmath>

#include "app/kx9monitor_app.h"
#include "app/main_frame.h"
#include "link/command_codes.h"
#include "link/model_rules.h"
#include "link/serial_wnd.h"
#include "platform/operator.h"
#include "platform/text.h"

using namespace command_code;

namespace {

constexpr char kNak = 0x15;
constexpr int kCalibrationFailedStep = 11;
constexpr double kShortestLiveInterval = 0.5;  // seconds
constexpr double kLongestLiveInterval = 86400.0;

// The live watchdog: ten record intervals without a record end the run. 0: not re-armed.
unsigned LiveWatchdogMs(int channelMode, const CInstrStatus& current) {
    double seconds = 0;
    switch (channelMode) {
        case 0:
            return 5000;
        case 1:
            seconds = std::max(platform::Atof(current.m_strProfileTime), kShortestLiveInterval);
            break;
        case 2:
        case 3:
            seconds = model_rules::IsQS4160(current.m_strModel)
                          ? platform::Atof(current.m_strProfileSpectrumTime)
                          : kShortestLiveInterval;
            // A time the meter never told ("0" after a reset, "-1" before any read) would
            // make a watchdog that ends the run at once.
            if (seconds <= 0)
                seconds = kShortestLiveInterval;
            break;
        default:
            return 0;
    }
    seconds = std::min(seconds, kLongestLiveInterval);
    return static_cast<unsigned>(std::llround(seconds * 10 * 1000));
}

}  // namespace

long CMainFrame::OnSerialMessage(std::uintptr_t /*wParam*/, std::intptr_t /*lParam*/) {
    if (m_bMonitorOn && m_bAcquiring) {
        OnLiveRecord();
        return 0;
    }

    const std::string reply = m_strReply;
    const bool awaited =
        m_pCurrentCommand &&
        std::any_of(m_CommandList.begin(), m_CommandList.end(),
                    [this](const auto& c) { return c.get() == m_pCurrentCommand; });
    if (!awaited) {
        m_pCurrentCommand = nullptr;
        platform::AfxMessageBox(
            platform::Format("none command active. Receive : %s", reply.c_str()));
        return -1;
    }
    KillTimer(kReplyTimeout);

    const bool refused = !reply.empty() && reply[0] == kNak;
    // The meter's empty message is its ETX alone.
    const bool empty = platform::Remove(reply, static_cast<char>(CSerialWnd::kEtx)).empty();
    if (refused || empty) {
        if (m_nRetryCount < kMaxRefusalResends) {
            ++m_nRetryCount;
            PurgeLink();
            m_bReceiveEnabled = TRUE;
            m_bReadyToSend = TRUE;
            return 0;  // the send tick sends the same command again
        }
        OnRefusedOrEmptyReply(refused);
    } else if (reply[0] == '#') {
        const std::unique_ptr<CCommand> command = TakeCommand(m_pCurrentCommand);
        m_nRetryCount = 0;
        Warn(
            platform::Format("WARNING : WRONG INSTR STATUS Received.\n\n(Command = %d ,param = %s)",
                             command->GetCode(), command->GetName().c_str()),
            MB_OK);
    } else {
        const std::unique_ptr<CCommand> command = TakeCommand(m_pCurrentCommand);
        m_nRetryCount = 0;
        m_strReply = platform::Remove(reply, static_cast<char>(CSerialWnd::kEtx));
        if (Ui().IsSetupWaitBoxShown())
            Ui().StepSetupWaitProgress();
        DispatchReply(*command);
    }

    // A handler that let the queue go on while it waited (the setup sheet does) may have sent
    // a command whose reply is still to come: the link is that command's now.
    if (m_pCurrentCommand)
        return 0;
    m_strReply.Empty();
    m_bReceiveEnabled = TRUE;
    m_bReadyToSend = TRUE;
    return 0;
}

void CMainFrame::OnLiveRecord() {
    KillTimer(kIntegrationEnd);
    if (const unsigned ms = LiveWatchdogMs(m_nChannelMode, Current()))
        SetTimer(kIntegrationEnd, ms);
    m_bProcessingRecord = TRUE;
    switch (m_nChannelMode) {
        case 0:
            ProcessMonitorRecordMode0();
            break;
        case 1:
            ProcessMonitorRecordMode1();
            break;
        case 2:
            ProcessMonitorRecordMode2();
            break;
        case 3:
            ProcessMonitorRecordMode3();
            break;
        default:
            break;
    }
    m_bProcessingRecord = FALSE;
    m_bReceiveEnabled = TRUE;
}

// The third refusal or silence: the command is given up.
void CMainFrame::OnRefusedOrEmptyReply(bool refused) {
    const std::unique_ptr<CCommand> command = TakeCommand(m_pCurrentCommand);
    m_nRetryCount = 0;
    if (!command)
        return;
    const int code = command->GetCode();
    // Meters that do not know their class refuse the query; that is an answer too.
    if (code == kClassQuery) {
        Current().m_strClass = "-1";
        return;
    }

    const std::string message =
        refused
            ? platform::Format("WARNING : Command not recognized.\n\n(Command = %d ,param = %s)",
                               code, command->GetName().c_str())
            : "WARNING: Empty message received" + command->GetText();
    if (m_bSchedulerMode) {
        LogScheduler(FALSE, refused ? message : "WARNING: Empty message received", FALSE);
    } else if (code == kDataLogKey) {
        platform::AfxMessageBox(
            "ERROR: Logging not allowed.\nPlease check if any channel is selected.", MB_ICONSTOP);
    } else if (code == kStartCalibrationKey) {
        LogScheduler(FALSE, "WARNING: Calibration Failed", TRUE);
        Monitoring().SetSchedulerStep(kCalibrationFailedStep);
    } else {
        platform::AfxMessageBox(message);
    }
}
