// The link session's queue: sending one command at a time, resending it on silence and
// refusal, and handing its reply to the host.

#include "link/link_session.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "link/command_codes.h"
#include "link/identity_replies.h"
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

// An identity query's reply carries its key: one that echoes a field without it is another
// query's answer, such as the copy of an earlier answer that a meter sent twice.
bool LacksAwaitedKey(const CCommand& awaited, const std::string& reply) {
    const auto key = IdentityReplyKey(awaited.GetCode());
    return key && AnswersAnotherField(reply, *key);
}

}  // namespace

LinkSession::LinkSession(LinkSessionHost& host, LinkClock& clock, const LinkSettings& settings)
    : m_host(host),
      m_clock(clock),
      m_settings(settings),
      m_shared(std::make_shared<LinkReplyState>()),
      m_ports{&m_serial.Of(LinkSide::Target), &m_serial.Of(LinkSide::Reference)},
      m_direct(*m_shared, clock, [this](unsigned ms) { m_host.WaitWithMessages(ms); }) {
    m_shared->SetCurrentReader(static_cast<int>(m_side));
    m_clock.SetTimerHandler([this](int id) { OnTimer(id); });
}

LinkSession::LinkSession(LinkSessionHost& host, LinkClock& clock, const LinkSettings& settings,
                         LinkPort& target, LinkPort& reference)
    : LinkSession(host, clock, settings) {
    m_ports[static_cast<int>(LinkSide::Target)] = &target;
    m_ports[static_cast<int>(LinkSide::Reference)] = &reference;
}

LinkSession::~LinkSession() {
    m_clock.SetTimerHandler(nullptr);
    StopTimers();
    ClosePorts();
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

SendCommandFn LinkSession::Sender() {
    return [this](int code, const std::string& arg1, const std::string& arg2, int param,
                  BOOL urgent) { SendCommand(code, arg1, arg2, param, urgent); };
}

void LinkSession::QueueFollowUps(const std::vector<FollowUp>& followUps) {
    ::QueueFollowUps(followUps, Sender());
}

bool LinkSession::WithdrawUnsent(int code, const std::string& arg1, const std::string& arg2) {
    const std::string text = CCommand(code, arg1, arg2).GetText();
    // From the tail, where the next to go out waits.
    for (auto it = m_CommandList.rbegin(); it != m_CommandList.rend(); ++it) {
        const CCommand& queued = **it;
        if (&queued != m_pCurrentCommand && queued.GetCode() == code && queued.GetText() == text) {
            m_CommandList.erase(std::next(it).base());
            return true;
        }
    }
    return false;
}

WithdrawCommandFn LinkSession::Withdrawer() {
    return [this](int code, const std::string& arg1, const std::string& arg2) {
        return WithdrawUnsent(code, arg1, arg2);
    };
}

void LinkSession::DeleteAllCommands() {
    m_pCurrentCommand = nullptr;
    m_CommandList.clear();
    m_nRetryCount = 0;
    m_sends = {};
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
    m_lineQuiet = false;
    m_clock.KillTimer(kSendTick);
    m_clock.KillTimer(kReplyTimeout);
    m_clock.KillTimer(kLineQuiet);
}

void LinkSession::SetReadyToSend(BOOL ready) {
    m_bReadyToSend = ready;
    UpdateSendTick();
}

bool LinkSession::IsTimerSet(int id) const {
    return m_clock.IsTimerSet(id);
}

void LinkSession::UpdateSendTick() {
    // The tick stops by itself once it found the queue empty; a queued command, a link ready
    // again or the end of the line's quiet starts it.
    if (m_tickArmed && m_bReadyToSend && !m_lineQuiet) {
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
    else if (id == kLineQuiet)
        OnLineQuietEnd();
}

void LinkSession::SendNextCommand() {
    if (m_lineQuiet)
        return;
    if (!m_bReadyToSend || m_CommandList.empty() || m_mode.IsSendingHeld()) {
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
    // A meter that another job holds does not hear the switch; the queue goes on.
    if (command->GetCode() == kMonitorOn && !m_mode.MayStartMonitor()) {
        TakeCommand(command);
        m_host.OnMonitorStartRefused(m_mode.Activity());
        SetReadyToSend(TRUE);
        return;
    }
    SendRawCommand(command->GetText(), true);
    switch (command->GetCode()) {
        case kMonitorOn:
            m_clock.Sleep(kUnansweredCommandWaitMs);
            TakeCommand(command);
            if (!m_mode.OnMonitorStarted())
                m_host.OnMonitorStartRefused(m_mode.Activity());
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
            const std::uint32_t now = m_clock.Now();
            if (m_sends.command == command)
                m_sends.last = now;
            else
                m_sends = {command, now, now, 0};
            m_clock.SetTimer(kReplyTimeout, ReplyTimeoutOf(*command));
            SetReadyToSend(FALSE);
            break;
        }
    }
}

unsigned LinkSession::ReplyTimeoutOf(const CCommand& command) const {
    const bool slowLink = LinkPortRecord().m_nBaudRate < kSlowLinkBaudRate || IsThroughModem();
    return static_cast<unsigned>(command.GetTimeout()) * (slowLink ? kSlowLinkFactor : 1u);
}

void LinkSession::SendRawCommand(const std::string& text, bool awaitReply) {
    SetReadyToSend(FALSE);
    {
        LinkPort& port = Port();
        const LinkPort::Turn turn = port.TakeTurn();
        port.Purge();
        port.WriteString(text);
    }
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
    if (m_sends.command == m_pCurrentCommand)
        ++m_sends.timedOut;
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
    // Before the host hears of it: nothing it queues goes out while the line is quiet.
    EndAwaitedCommand(true);
    const std::unique_ptr<CCommand> command = TakeCommand(m_pCurrentCommand);
    if (command)
        m_host.OnTimedOut(*command);
    // The command is given up and the queue goes on once the line's quiet ends, unless the
    // host sent one meanwhile.
    if (!m_pCurrentCommand)
        SetReadyToSend(TRUE);
}

void LinkSession::EndAwaitedCommand(bool givenUp) {
    const Sends sends = std::exchange(m_sends, {});
    if (!m_pCurrentCommand || sends.command != m_pCurrentCommand || sends.timedOut == 0)
        return;
    KeepLineQuiet(m_overdue.Overdue(m_pCurrentCommand->GetText(), sends.first, sends.last,
                                    ReplyTimeoutOf(*m_pCurrentCommand), givenUp));
}

void LinkSession::KeepLineQuiet(unsigned ms) {
    m_lineQuiet = true;
    m_clock.KillTimer(kSendTick);
    m_clock.SetTimer(kLineQuiet, std::max(1u, ms));
}

void LinkSession::OnLineQuietEnd() {
    m_clock.KillTimer(kLineQuiet);
    m_lineQuiet = false;
    // What arrived meanwhile were late answers, and so is what waits in the port now.
    PurgeLink();
    UpdateSendTick();
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
    if (TakeUnawaitedReply(reply))
        return;
    m_clock.KillTimer(kReplyTimeout);

    const bool refused = protocol::IsRefusal(reply);
    // A reply of its ETX alone says nothing: it is asked again as a refusal is.
    const bool empty = protocol::IsEmptyReply(reply);
    if ((refused || empty) && m_nRetryCount < kMaxRefusalResends) {
        ++m_nRetryCount;
        SendAgain();
        return;
    }
    // Before the host acts on it: nothing it queues goes out while the line is quiet.
    EndAwaitedCommand(false);
    const std::unique_ptr<CCommand> command = TakeCommand(m_pCurrentCommand);
    m_nRetryCount = 0;
    if (refused || empty) {
        // As before a resend: what the meter sent with it is no reply to the next command.
        PurgeLink();
        m_host.OnGivenUp(*command, refused);
    } else if (reply.front() == '#') {
        m_host.OnWrongState(*command);
    } else {
        m_host.OnAnswered(*command);
        m_router.Route(*command, protocol::WithoutEtx(reply));
    }

    // A handler that let the queue go on while it waited may have sent a command whose reply
    // is still to come: the link is that command's now.
    if (m_pCurrentCommand)
        return;
    m_shared->receiveEnabled = TRUE;
    SetReadyToSend(TRUE);
}

bool LinkSession::TakeUnawaitedReply(const std::string& reply) {
    // While records stream every reply is one; an answer to a command is never a stray.
    if (m_router.TakeRecord(reply) || (!m_pCurrentCommand && m_router.TakeStray(reply))) {
        m_shared->receiveEnabled = TRUE;
        return true;
    }
    const bool awaiting = IsQueued(m_pCurrentCommand);
    if (m_lineQuiet ||
        m_overdue.IsLateAnswer(reply, awaiting ? m_pCurrentCommand->GetText() : std::string()) ||
        (awaiting && LacksAwaitedKey(*m_pCurrentCommand, reply))) {
        // A late answer to a command given up or resent, or a copy of an earlier answer:
        // dropped, and the awaited command, if any, keeps waiting for its own.
        m_shared->receiveEnabled = TRUE;
        return true;
    }
    if (!awaiting) {
        OnUnexpectedReply(reply);
        return true;
    }
    return false;
}

void LinkSession::OnUnexpectedReply(const std::string& reply) {
    m_pCurrentCommand = nullptr;
    platform::AfxMessageBox(platform::Format("none command active. Receive : %s", reply.c_str()));
}

std::optional<std::string> LinkSession::Exchange(LinkPort& port, const ExchangeRequest& request) {
    return m_direct.Exchange(port, request);
}

bool LinkSession::ExchangeAndWait(const std::string& command, const std::string& query,
                                  const std::string& expected) {
    LinkPort& port = Port();
    if (!port.IsOpen()) {
        m_shared->receiveEnabled = FALSE;
        return false;
    }
    ConfirmRequest request;
    request.command = command;
    request.query = query;
    request.expected = expected;
    request.betweenChecks = [this] { m_host.PumpWaitingMessages(); };
    return m_direct.Confirm(port, request);
}

bool LinkSession::ConfirmAcquisitionStop() {
    return ExchangeAndWait(CommandLine(kStopAcquisition), CommandLine(kAcquisitionQuery), "STOP");
}

bool LinkSession::ConfirmMonitorOff() {
    return ExchangeAndWait(CommandLine(kMonitorOff), CommandLine(kMonitorQuery), "OFF");
}
