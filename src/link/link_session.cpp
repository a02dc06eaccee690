// The link session's queue: sending one command at a time, resending it on silence and
// refusal, and handing its reply to the host.

#include "link/link_session.h"

#include <algorithm>
#include <utility>

#include "link/command_codes.h"
#include "link/link_clock.h"
#include "link/link_port.h"
#include "link/link_session_host.h"
#include "link/port_record.h"
#include "link/protocol_bytes.h"
#include "link/serial_wnd.h"
#include "platform/operator.h"
#include "platform/text.h"

using namespace command_code;

namespace {

constexpr unsigned kSlowLinkFactor = 4;
constexpr int kSlowLinkBaudRate = 1200;
constexpr unsigned kUnansweredCommandWaitMs = 300;

}  // namespace

LinkSession::LinkSession(LinkSessionHost& host, LinkClock& clock)
    : m_host(host),
      m_clock(clock),
      m_shared(std::make_shared<LinkReplyState>()),
      m_direct(*m_shared, clock, [this](unsigned ms) { m_host.WaitWithMessages(ms); }) {
    m_shared->SetCurrentReader(static_cast<int>(m_side));
    m_clock.SetTimerHandler([this](int id) { OnTimer(id); });
}

LinkSession::~LinkSession() {
    m_clock.SetTimerHandler(nullptr);
    StopTimers();
}

// --- the queue

void LinkSession::SendCommand(int code, const std::string& arg1, const std::string& arg2, int param,
                              BOOL bUrgent) {
    auto command = std::make_unique<CCommand>(code, arg1, arg2, param);
    if (!command->IsValid()) {
        platform::AfxMessageBox("Syntax message incorrect", MB_ICONEXCLAMATION);
        return;
    }
    if (bUrgent)
        m_CommandList.push_back(std::move(command));
    else
        m_CommandList.push_front(std::move(command));
    UpdateSendTick();
}

void LinkSession::DeleteAllCommands() {
    m_pCurrentCommand = nullptr;
    m_CommandList.clear();
    m_nRetryCount = 0;
}

std::vector<int> LinkSession::QueuedCodes() const {
    std::vector<int> codes;
    for (auto it = m_CommandList.rbegin(); it != m_CommandList.rend(); ++it)
        codes.push_back((*it)->GetCode());
    return codes;
}

void LinkSession::StartSendTick() {
    m_tickArmed = true;
    UpdateSendTick();
}

void LinkSession::StopTimers() {
    m_tickArmed = false;
    m_clock.KillTimer(kSendTick);
    m_clock.KillTimer(kReplyTimeout);
}

void LinkSession::SetReadyToSend(BOOL ready) {
    m_bReadyToSend = ready;
    UpdateSendTick();
}

bool LinkSession::IsTimerSet(int id) const {
    return m_clock.IsTimerSet(id);
}

void LinkSession::UpdateSendTick() {
    // The tick stops by itself once it found the queue empty; a queued command or a link
    // ready again starts it.
    if (m_tickArmed && m_bReadyToSend) {
        if (!m_clock.IsTimerSet(kSendTick))
            m_clock.SetTimer(kSendTick, kSendTickMs);
    } else {
        m_clock.KillTimer(kSendTick);
    }
}

std::unique_ptr<CCommand> LinkSession::TakeCommand(const CCommand* command) {
    if (command && command == m_pCurrentCommand)
        m_pCurrentCommand = nullptr;
    const auto it = std::find_if(m_CommandList.begin(), m_CommandList.end(),
                                 [command](const auto& queued) { return queued.get() == command; });
    if (!command || it == m_CommandList.end())
        return nullptr;
    std::unique_ptr<CCommand> taken = std::move(*it);
    m_CommandList.erase(it);
    return taken;
}

bool LinkSession::IsQueued(const CCommand* command) const {
    return command &&
           std::any_of(m_CommandList.begin(), m_CommandList.end(),
                       [command](const auto& queued) { return queued.get() == command; });
}

// --- the timers

void LinkSession::OnTimer(int id) {
    if (id == kSendTick)
        SendNextCommand();
    else if (id == kReplyTimeout)
        OnReplyTimeout();
}

void LinkSession::SendNextCommand() {
    if (!m_bReadyToSend || m_CommandList.empty() || m_host.IsSendingHeld()) {
        if (m_CommandList.empty()) {
            m_clock.KillTimer(kSendTick);
            m_host.OnQueueEmpty();
        }
        return;
    }
    CCommand* command = m_CommandList.back().get();
    m_pCurrentCommand = command;
    if (!command || command->GetCode() < 0 || command->GetText().empty())
        return;

    if (command->GetCode() == kBaudChange) {
        ChangeBaudRate(*command);
        return;
    }
    SendRawCommand(command->GetText(), true);
    switch (command->GetCode()) {
        case kMonitorOn:
            m_clock.Sleep(kUnansweredCommandWaitMs);
            TakeCommand(command);
            m_host.OnMonitorOnSent();
            m_shared->receiveEnabled = TRUE;
            SetReadyToSend(TRUE);
            break;
        case kRunAcquisitionSlow:
            m_clock.Sleep(kUnansweredCommandWaitMs);
            TakeCommand(command);
            break;
        case kPowerOff:
            m_host.OnPowerOffSent();
            break;
        default: {
            const bool slowLink =
                LinkPortRecord().m_nBaudRate < kSlowLinkBaudRate || IsThroughModem();
            const auto timeout = static_cast<unsigned>(command->GetTimeout());
            m_clock.SetTimer(kReplyTimeout, timeout * (slowLink ? kSlowLinkFactor : 1u));
            SetReadyToSend(FALSE);
            break;
        }
    }
}

void LinkSession::SendRawCommand(const std::string& text, bool awaitReply) {
    SetReadyToSend(FALSE);
    PurgeLink();
    if (LinkPort* port = Port())
        port->WriteString(text);
    if (awaitReply)
        m_shared->receiveEnabled = TRUE;
}

void LinkSession::SendAgain() {
    PurgeLink();
    m_shared->receiveEnabled = TRUE;
    SetReadyToSend(TRUE);
}

void LinkSession::OnReplyTimeout() {
    if (!m_pCurrentCommand) {
        // The awaited command was cancelled or the link disconnected meanwhile.
        m_clock.KillTimer(kReplyTimeout);
        m_nRetryCount = 0;
        SetReadyToSend(TRUE);
        return;
    }
    if (m_nRetryCount < kMaxTimeoutResends) {
        ++m_nRetryCount;
        // The next tick sends the same command and arms the time-out again.
        SendAgain();
        return;
    }

    SetReadyToSend(FALSE);
    m_clock.KillTimer(kReplyTimeout);
    PurgeLink();
    m_nRetryCount = 0;
    const std::unique_ptr<CCommand> command = TakeCommand(m_pCurrentCommand);
    if (command)
        m_host.OnTimedOut(*command);
    // The command is given up and the queue goes on, unless the host sent one meanwhile.
    if (!m_pCurrentCommand)
        SetReadyToSend(TRUE);
}

// --- replies

void LinkSession::OnTextMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam,
                                const std::string& text) {
    if (message == CSerialWnd::DefaultMessage())
        OnReply(text);
    else
        OnMessage(message, wParam, lParam);
}

void LinkSession::OnMessage(unsigned message, std::uintptr_t /*wParam*/, std::intptr_t /*lParam*/) {
    if (message != CSerialWnd::AlarmMessage())
        return;
    for (const LinkAlarm& alarm : m_shared->TakeAlarms())
        m_host.OnAlarm(alarm);
}

void LinkSession::OnReply(const std::string& reply) {
    if (m_host.TakeLiveRecord(reply)) {
        m_shared->receiveEnabled = TRUE;
        return;
    }
    if (!IsQueued(m_pCurrentCommand)) {
        m_pCurrentCommand = nullptr;
        platform::AfxMessageBox(
            platform::Format("none command active. Receive : %s", reply.c_str()));
        return;
    }
    m_clock.KillTimer(kReplyTimeout);

    const bool refused = protocol::IsRefusal(reply);
    // A reply of its ETX alone is an answer with nothing in it, not silence.
    const bool empty = reply.empty();
    if (refused || empty) {
        if (m_nRetryCount < kMaxRefusalResends) {
            ++m_nRetryCount;
            SendAgain();
            return;
        }
        const std::unique_ptr<CCommand> command = TakeCommand(m_pCurrentCommand);
        m_nRetryCount = 0;
        if (command)
            m_host.OnGivenUp(*command, refused);
    } else if (reply.front() == '#') {
        const std::unique_ptr<CCommand> command = TakeCommand(m_pCurrentCommand);
        m_nRetryCount = 0;
        m_host.OnWrongState(*command);
    } else {
        const std::unique_ptr<CCommand> command = TakeCommand(m_pCurrentCommand);
        m_nRetryCount = 0;
        m_host.OnReply(*command, protocol::WithoutEtx(reply));
    }

    // A handler that let the queue go on while it waited may have sent a command whose reply
    // is still to come: the link is that command's now.
    if (m_pCurrentCommand)
        return;
    m_shared->receiveEnabled = TRUE;
    SetReadyToSend(TRUE);
}

std::optional<std::string> LinkSession::Exchange(LinkPort& port, const ExchangeRequest& request) {
    return m_direct.Exchange(port, request);
}

bool LinkSession::ExchangeAndWait(const std::string& command, const std::string& query,
                                  const std::string& expected) {
    LinkPort* port = Port();
    if (!port || !port->IsOpen()) {
        m_shared->receiveEnabled = FALSE;
        return false;
    }
    ConfirmRequest request;
    request.command = command;
    request.query = query;
    request.expected = expected;
    request.betweenChecks = [this] { m_host.PumpWaitingMessages(); };
    return m_direct.Confirm(*port, request);
}
