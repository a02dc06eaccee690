#pragma once
// The conversation with the meter on the monitoring link: the command queue, the send tick
// and the reply time-out, resends on silence and refusal, the slow-link rule, the baud change,
// the two serial ports (which of them carries the link) and the listeners' shared state; and
// the one direct exchange that talks to a meter past the listener. What is written to, read
// from or purged on a port goes through here, the dump decoder's requests through its
// listener's input (listener_input.h).
//
// Queued commands: normal ones join the head of m_CommandList, urgent ones its tail, and the
// send tick sends the tail, so normal commands leave in the order they came and an urgent one
// goes next. One command at a time awaits its reply; the listener posts the reply's text, the
// session matches it to the awaited command and hands both to the owner of the command's code
// (ReplyRouter). The send tick runs while the link is armed, sending is allowed, the line is
// not kept quiet and something may be waiting to go.
//
// A late answer to a command given up or resent is never taken as another command's reply:
// after such a command ends the line stays quiet while its late answers may still come (they
// are dropped, then the port is purged), and a reply that echoes an overdue command's field
// rather than the awaited one's is dropped whenever it comes.
//
// The link's classes live in the global namespace, as CSerial does: POSIX already has a
// function named link.

#include <cstdint>
#include <list>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "link/command.h"
#include "link/direct_exchange.h"
#include "link/follow_up.h"
#include "link/link_ports.h"
#include "link/link_reply_state.h"
#include "link/link_settings.h"
#include "link/meter_mode.h"
#include "link/modem_link.h"
#include "link/overdue_answers.h"
#include "link/reply_router.h"
#include "platform/messages.h"
#include "platform/win_types.h"

class LinkClock;
class LinkPort;
class LinkSessionHost;
struct PortRecord;
struct PortSettings;

class LinkSession : public platform::MessageTarget {
public:
    enum TimerId { kSendTick = 0, kReplyTimeout = 1, kLineQuiet = 2 };
    static constexpr int kMaxTimeoutResends = 10;
    static constexpr int kMaxRefusalResends = 2;
    static constexpr unsigned kSendTickMs = 1;

    LinkSession(LinkSessionHost& host, LinkClock& clock, const LinkSettings& settings);
    // The session talks through `target` and `reference` instead of its serial ports: tests'
    // in-memory ports.
    LinkSession(LinkSessionHost& host, LinkClock& clock, const LinkSettings& settings,
                LinkPort& target, LinkPort& reference);
    ~LinkSession() override;
    LinkSession(const LinkSession&) = delete;
    LinkSession& operator=(const LinkSession&) = delete;

    // What the program is doing with the meter, and where the replies go.
    MeterMode& Mode() { return m_mode; }
    const MeterMode& Mode() const { return m_mode; }
    ReplyRouter& Router() { return m_router; }

    // --- the ports. The session alone opens, sets up, reopens at another speed and closes
    // them, on the settings the callers name (PortSettings' variants); the listeners post to
    // the session.
    // What the ports' listeners share with the session.
    std::shared_ptr<LinkReplyState> SharedState() const { return m_shared; }
    // The port the session talks through on `side`.
    LinkPort& PortOf(LinkSide side) const { return *m_ports[static_cast<int>(side)]; }
    bool IsPortOpen(LinkSide side) const;
    void SetLinkPort(LinkSide side);
    LinkSide Side() const { return m_side; }
    // The link port: the port of the link's side.
    LinkPort& Port() const { return PortOf(m_side); }
    PortRecord& LinkPortRecord() const;
    // Opens the port of `side` afresh on the settings' port and sets it up with them; a port
    // that refuses them is closed again. 0, or the first error.
    int OpenPort(LinkSide side, const PortSettings& settings);
    // Makes `side` the link and opens its port on COM `comNumber` as a port opens, for the
    // connect routines, which set it up when they are ready to (SetUpPort); the listener stays
    // paused until the queue sends. 0, or the port's error.
    int OpenLinkPort(LinkSide side, int comNumber);
    // Gives the open port of `side` the settings' line and handshaking; 0, or the first error.
    int SetUpPort(LinkSide side, const PortSettings& settings);
    // Closes the port of `side` and ends its listener, also one that ended by itself.
    void ClosePort(LinkSide side);
    // Both ports closed and their listeners ended: nothing they post reaches the session after.
    void ClosePorts();

    // --- lines past the queue. Each is a turn on the port's line (LinkPort::TakeTurn), so that
    // it goes whole before or after a download's request, never between its bytes.
    // Purges the link port and forgets the reply being collected.
    void PurgeLink();
    // The command's line straight to the port, nothing awaited and the listener left as it is
    // ("STT:MON:OFF" before a disconnection, "KEY:OFF"); nothing while the port is closed.
    void WriteCommand(int code) { WriteCommand(m_side, code); }
    void WriteCommand(LinkSide side, int code);
    // The command's line to the link port, awaiting no reply: the listener is paused first, so
    // that the meter's acknowledgement waits in the port for the next purge, or for the
    // writer's own read, instead of arriving as a reply to nothing.
    void WriteUnanswered(int code);
    // What has arrived on the link port, at most `limit` bytes; nothing while it is closed.
    std::string ReadWaiting(size_t limit);
    // A memory download begins: the listener's decoder takes the port from now on (dump mode)
    // and the meter is asked for its first record, a purge and "DMP:NE" in one turn, as the
    // decoder asks for the others. False, with nothing sent, when the mode refuses the
    // download (the meter is monitored, say).
    bool StartDumpDownload();
    // The listener takes what arrives unasked from now on: live records.
    void ListenForRecords();
    // The link's part of a disconnection: the listener paused, a modem call ended, the port
    // closed, the queue emptied and nothing awaited.
    void Close();

    // --- the queue
    // Refuses a code the table does not know with "Syntax message incorrect".
    void SendCommand(int code, const std::string& arg1, const std::string& arg2, int param = -1,
                     BOOL bUrgent = FALSE);
    // The queue's SendCommand as a function, and the follow-ups a reply handler queues, in
    // their order.
    SendCommandFn Sender();
    void QueueFollowUps(const std::vector<FollowUp>& followUps);
    // Takes the next queued command of `code` built with these arguments off the queue, unless
    // it has gone out (the awaited command has); whether there was one. Its owner changed its
    // mind about it: the meter never hears it.
    bool WithdrawUnsent(int code, const std::string& arg1, const std::string& arg2);
    WithdrawCommandFn Withdrawer();
    // Empties the queue; no command is awaited afterwards, and no resend is counted.
    void DeleteAllCommands();
    // The link is open for the queue: the send tick may run.
    void StartSendTick();
    // The tick runs at least once more, so that the host hears of an empty queue even when
    // nothing was queued.
    void WakeSendTick() { UpdateSendTick(); }
    // Everything stops: no tick, no time-out (the program is leaving).
    void StopTimers();
    void SetReadyToSend(BOOL ready);
    BOOL IsReadyToSend() const { return m_bReadyToSend; }
    // The command sent and awaiting its reply; nullptr when none.
    const CCommand* CurrentCommand() const { return m_pCurrentCommand; }
    // The queued commands' codes in the order they will go out.
    std::vector<int> QueuedCodes() const;
    bool IsQueueEmpty() const { return m_CommandList.empty(); }
    int RetryCount() const { return m_nRetryCount; }
    // What each send tick does: sends the tail command when sending is allowed, or tells the
    // host that the queue ran empty.
    void SendNextCommand();
    bool IsTimerSet(int id) const;
    // Whether the listener may collect a reply now.
    bool IsListening() const { return m_shared->receiveEnabled; }

    // --- replies and alarms, as the listener posts them
    void OnReply(const std::string& reply);
    void OnMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;
    void OnTextMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam,
                       const std::string& text) override;

    // --- past the listener
    std::optional<std::string> Exchange(LinkPort& port, const ExchangeRequest& request);
    // Confirms a state change on the link port (DirectExchange::Confirm): the command, then
    // the query, until the reply holds `expected`, three rounds at most, the host's waiting
    // messages handled between them. Whether it came; the listener listens again only then.
    bool ExchangeAndWait(const std::string& command, const std::string& query,
                         const std::string& expected);
    // The confirmed acquisition stop: "STT:ACQ:STOP", until "STT:ACQ:?" answers STOP.
    bool ConfirmAcquisitionStop();
    // The confirmed end of monitoring: "STT:MON:OFF", until "STT:MON:?" answers OFF.
    bool ConfirmMonitorOff();
    DirectExchange& Direct() { return m_direct; }
    // The Hayes dial on the link port (modem_link::DialModem), the listener paused.
    int DialModem(const std::string& number, const modem_link::DialFeedback& feedback);
    // Ends the modem call on the link port when the link goes through a modem.
    void HangUpModem();
    // The modem carries only the monitoring link: the instrument under test is on a cable.
    bool IsThroughModem() const;

private:
    void OnTimer(int id);
    void OnReplyTimeout();
    // The one place for a reply that is not the awaited command's: a live record or a stray
    // reply the router's owners take, a late answer dropped, anything else reported. False
    // when the reply is the awaited command's.
    bool TakeUnawaitedReply(const std::string& reply);
    // A reply that no command awaits, and that is neither a live record nor a late answer.
    void OnUnexpectedReply(const std::string& reply);
    // The awaited command's reply time-out, four times as long on a slow link.
    unsigned ReplyTimeoutOf(const CCommand& command) const;
    // The awaited command ends, answered or given up (`givenUp`: its last send timed out too).
    // When some of its sends went unanswered their answers may still come: its field is
    // noted as overdue and the line stays quiet while they may.
    void EndAwaitedCommand(bool givenUp);
    void KeepLineQuiet(unsigned ms);
    void OnLineQuietEnd();
    // Sends the baud change and moves the port to the rate of the edited setting; a setting
    // the port cannot follow is not sent.
    void ChangeBaudRate(const CCommand& command);
    // Writes a command's text; the listener collects the reply when one is awaited.
    void SendRawCommand(const std::string& text, bool awaitReply);
    // The awaited command is sent again by the next tick.
    void SendAgain();
    // Takes the command out of the queue (the caller owns it now); clears the current command
    // when it is that one.
    std::unique_ptr<CCommand> TakeCommand(const CCommand* command);
    bool IsQueued(const CCommand* command) const;
    // Starts or stops the send tick as the link's state asks.
    void UpdateSendTick();

    LinkSessionHost& m_host;
    LinkClock& m_clock;
    LinkSettings m_settings;
    std::shared_ptr<LinkReplyState> m_shared;
    MeterMode m_mode{*m_shared};
    ReplyRouter m_router;
    LinkPorts m_serial{m_shared};
    // The ports talked through, by side: the serial ones unless a test gave its own.
    LinkPort* m_ports[2];
    DirectExchange m_direct;
    LinkSide m_side = LinkSide::Target;
    bool m_tickArmed = false;

    // Owns the queued commands: normal ones at the head (front), urgent ones at the tail
    // (back); the send tick takes the tail.
    std::list<std::unique_ptr<CCommand>> m_CommandList;
    // The command taken from the queue and awaiting its reply; still in the queue.
    CCommand* m_pCurrentCommand = nullptr;
    BOOL m_bReadyToSend = FALSE;
    int m_nRetryCount = 0;

    // The sends of the awaited command: when the first and the last went out, and how many
    // of them met their time-out.
    struct Sends {
        const CCommand* command = nullptr;
        std::uint32_t first = 0;
        std::uint32_t last = 0;
        int timedOut = 0;
    };
    Sends m_sends;
    bool m_lineQuiet = false;
    OverdueAnswers m_overdue;
};
