#pragma once
// The one way to talk to a meter past its port's listener: write a line, wait for the reply,
// and try again while it is empty or refused. The listener is paused for it (the receive flag
// drops), so that the reply stays in the port for the exchange; the command queue's next send
// lets the listener read again.
//
// A reply either ends at its ETX, bounded by the exchange's time-out, or, where the protocol's
// rules fix the waits, is read once after each whole wait.
//
// Late answers are kept apart as on the command queue (overdue_answers.h): once an exchange met
// silence, its port's next exchange waits until the late answer could have come (purged with
// the send), and a reply that names the field of a query so answered late, rather than its own
// query's, is never taken; nor is one that echoes a field without the key its request names.

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>

#include "link/overdue_answers.h"

class LinkClock;
class LinkPort;
class LinkReplyState;

struct ExchangeRequest {
    enum class Waits {
        // Each attempt ends when the reply's ETX has come, or after `waitMs` without it. Of
        // several replies read at once the last is the attempt's (protocol::LastWholeReply).
        UntilEtx,
        // Each read follows a whole wait of `waitMs`; another wait and read follow, up to
        // `reads` in all, while the last read brought bytes and the reply is no refusal.
        Fixed,
    };

    std::string text;  // written as it stands, its line end included
    Waits waits = Waits::UntilEtx;
    unsigned waitMs = 1000;
    int reads = 1;
    // Sends of the text while the reply is empty or a refusal.
    int attempts = 1;
    size_t readLimit = 511;  // bytes per read
    // Waits handle messages (the application's wait) or block.
    bool pumping = true;
    // Asked after every wait: false ends the exchange with nothing (an abort, a window gone).
    std::function<bool()> mayGoOn;
    // Told of every attempt whose reply was empty or a refusal, with that reply: false ends
    // the exchange with nothing.
    std::function<bool(const std::string& reply)> onFailedAttempt;
    // Whether the port's next exchange waits for this one's late answer after a silence. Not
    // for a search's probe, which moves on to another rate or port: a meter that cannot be
    // understood there has nothing to answer.
    bool quietAfterSilence = true;
    // What the awaited reply carries where it echoes its field ("SET:INSTR_NUMBER:" for
    // "SET:INSTR_N:?"); empty for a reply that echoes none (an enciphered frame's). A whole
    // reply that echoes a settings or state field without it answers something else, such as
    // the copy of an earlier answer that a meter sent twice: it is skipped, and the reading
    // goes on. Nothing: any reply but a late answer is taken.
    std::optional<std::string> replyKey;

    // A command line (its CR LF added) whose reply ends at its ETX, within `timeoutMs`, sent
    // up to `attempts` times; the waits handle messages.
    static ExchangeRequest Query(const std::string& command, unsigned timeoutMs, int attempts);
};

// A state change that must be confirmed before anything else happens: the command, then a
// query of the state, until the reply holds the expected text.
struct ConfirmRequest {
    std::string command;  // written as they stand, their line ends included
    std::string query;
    std::string expected;
    unsigned waitMs = 500;  // after each of the two lines
    int checks = 3;
    size_t readLimit = 511;
    // Run after each failed check but the last.
    std::function<void()> betweenChecks;
};

class DirectExchange {
public:
    // `pumpingWait` is the application's message-pumping wait, for the fixed waits that pump.
    DirectExchange(LinkReplyState& shared, LinkClock& clock,
                   std::function<void(unsigned ms)> pumpingWait);

    // Purges the port before every send. The reply as it came (ETX included) when it is
    // neither empty nor a refusal; nothing otherwise.
    std::optional<std::string> Exchange(LinkPort& port, const ExchangeRequest& request);
    // Drops what waits on the port, and a reply half collected.
    void DiscardPending(LinkPort& port);
    // The port was closed: no late answer of an earlier exchange can come through it, so its
    // next exchange neither waits for one nor leaves out a reply that names its field.
    void ForgetLine(const LinkPort& port) { m_lines.erase(&port); }
    // Rounds of: the command, a wait, the query, a wait, one read (the port purged after the
    // reads of the later rounds), until a read holds the expected text. The waits block.
    // Whether it came; the listener listens again only then.
    bool Confirm(LinkPort& port, const ConfirmRequest& request);

private:
    // What a port's line may still bring: late answers to the fields of earlier exchanges, and
    // until when the line stays quiet for them.
    struct LateAnswers {
        OverdueAnswers overdue;
        std::optional<std::uint32_t> quietUntil;
    };

    // False when mayGoOn ended the exchange.
    bool AwaitQuiet(LateAnswers& line, const ExchangeRequest& request);
    bool CollectUntilEtx(LinkPort& port, const ExchangeRequest& request,
                         const OverdueAnswers& overdue, std::string& reply);
    bool CollectAfterFixedWaits(LinkPort& port, const ExchangeRequest& request,
                                const OverdueAnswers& overdue, std::string& reply);
    void FixedWait(unsigned ms, bool pumping);

    LinkReplyState& m_shared;
    LinkClock& m_clock;
    std::function<void(unsigned)> m_pumpingWait;
    std::map<const LinkPort*, LateAnswers> m_lines;
};
