// Entry of every reply the listener posts: it matches the reply to the awaited command,
// resends a refused or empty one, and releases the command so that the queue goes on. What a
// good reply means, code by code, is the reply dispatcher's (FrameServices::DispatchReply).

#include <algorithm>

#include "app/main_frame.h"
#include "link/serial_wnd.h"
#include "platform/operator.h"
#include "platform/text.h"

namespace {
constexpr char kNak = 0x15;
}

long CMainFrame::OnSerialMessage(std::uintptr_t /*wParam*/, std::intptr_t /*lParam*/) {
    if (m_bMonitorOn && m_bAcquiring) {
        m_bProcessingRecord = TRUE;
        Services().ProcessLiveRecord(*this);
        m_bProcessingRecord = FALSE;
        m_bReceiveEnabled = TRUE;
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
        const CCommand& command = *m_pCurrentCommand;
        if (refused)
            Warn(platform::Format("WARNING : Command not recognized.\n\n(Command = %d ,param = %s)",
                                  command.GetCode(), command.GetName().c_str()),
                 MB_OK);
        else
            Warn("WARNING: Empty message received" + command.GetText(), MB_OK,
                 "WARNING: Empty message received");
        TakeCommand(m_pCurrentCommand);
        m_nRetryCount = 0;
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
        Services().DispatchReply(*this, *command);
    }

    m_pCurrentCommand = nullptr;
    m_strReply.Empty();
    m_bReceiveEnabled = TRUE;
    m_bReadyToSend = TRUE;
    return 0;
}
