#include "link/direct_exchange.h"

#include <algorithm>
#include <array>
#include <utility>

#include "link/link_clock.h"
#include "link/link_port.h"
#include "link/link_reply_state.h"
#include "link/protocol_bytes.h"

namespace {

constexpr size_t kReadBuffer = 1024;

// What one read brought, appended to the reply; how many bytes.
size_t ReadInto(LinkPort& port, size_t limit, std::string& reply) {
    std::array<char, kReadBuffer> buffer;
    size_t read = 0;
    port.Read(buffer.data(), std::min(limit, buffer.size()), &read);
    reply.append(buffer.data(), read);
    return read;
}

// Takes out of `bytes` each whole reply that is not the request's: one that answers an overdue
// query rather than it, or one that lacks the key its reply carries.
void DropOtherAnswers(std::string& bytes, const OverdueAnswers& overdue,
                      const ExchangeRequest& request) {
    std::string kept;
    size_t start = 0;
    for (size_t end = bytes.find(protocol::kEtx); end != std::string::npos;
         end = bytes.find(protocol::kEtx, start)) {
        const std::string_view reply = std::string_view(bytes).substr(start, end + 1 - start);
        if (!overdue.IsLateAnswer(reply, request.text) &&
            !(request.replyKey && AnswersAnotherField(reply, *request.replyKey)))
            kept += reply;
        start = end + 1;
    }
    kept.append(bytes, start);
    bytes = std::move(kept);
}

}  // namespace

ExchangeRequest ExchangeRequest::Query(const std::string& command, unsigned timeoutMs,
                                       int attempts) {
    ExchangeRequest request;
    request.text = command + std::string(protocol::kLineEnd);
    request.waitMs = timeoutMs;
    request.attempts = attempts;
    return request;
}

DirectExchange::DirectExchange(LinkReplyState& shared, LinkClock& clock,
                               std::function<void(unsigned)> pumpingWait)
    : m_shared(shared), m_clock(clock), m_pumpingWait(std::move(pumpingWait)) {}

std::optional<std::string> DirectExchange::Exchange(LinkPort& port,
                                                    const ExchangeRequest& request) {
    m_shared.receiveEnabled = FALSE;
    LateAnswers& line = m_lines[&port];
    if (!AwaitQuiet(line, request))
        return std::nullopt;
    std::optional<std::string> answer;
    std::uint32_t firstSend = 0;
    std::uint32_t lastSend = 0;
    bool silence = false;
    for (int attempt = 0; attempt < std::max(1, request.attempts); ++attempt) {
        {
            const LinkPort::Turn turn = port.TakeTurn();
            port.Purge();
            port.WriteString(request.text);
        }
        lastSend = m_clock.Now();
        if (attempt == 0)
            firstSend = lastSend;
        std::string reply;
        const bool goOn = request.waits == ExchangeRequest::Waits::UntilEtx
                              ? CollectUntilEtx(port, request, line.overdue, reply)
                              : CollectAfterFixedWaits(port, request, line.overdue, reply);
        // An attempt ended without an answer may still get one.
        silence = silence || !goOn || reply.empty();
        if (!goOn)
            break;
        if (protocol::IsUsable(reply)) {
            answer = std::move(reply);
            break;
        }
        if (request.onFailedAttempt && !request.onFailedAttempt(reply))
            break;
    }
    if (silence) {
        const unsigned quietMs =
            line.overdue.Overdue(request.text, firstSend, lastSend, request.waitMs, !answer);
        if (request.quietAfterSilence)
            line.quietUntil = m_clock.Now() + quietMs;
    }
    return answer;
}

void DirectExchange::DiscardPending(LinkPort& port) {
    port.Purge();
}

bool DirectExchange::Confirm(LinkPort& port, const ConfirmRequest& request) {
    m_shared.receiveEnabled = FALSE;
    for (int check = 1;; ++check) {
        port.WriteString(request.command);
        m_clock.Sleep(request.waitMs);
        port.WriteString(request.query);
        m_clock.Sleep(request.waitMs);
        std::string reply;
        const size_t read = ReadInto(port, request.readLimit, reply);
        if (check > 1)
            port.Purge();
        if (read > 0 && reply.find(request.expected) != std::string::npos) {
            m_shared.receiveEnabled = TRUE;
            return true;
        }
        if (check >= request.checks)
            return false;
        if (request.betweenChecks)
            request.betweenChecks();
    }
}

bool DirectExchange::AwaitQuiet(LateAnswers& line, const ExchangeRequest& request) {
    if (!line.quietUntil)
        return true;
    // What comes meanwhile goes with the purge before the send.
    const auto left = static_cast<std::int32_t>(*line.quietUntil - m_clock.Now());
    if (left > 0) {
        FixedWait(static_cast<unsigned>(left), request.pumping);
        if (request.mayGoOn && !request.mayGoOn())
            return false;
    }
    line.quietUntil.reset();
    return true;
}

bool DirectExchange::CollectUntilEtx(LinkPort& port, const ExchangeRequest& request,
                                     const OverdueAnswers& overdue, std::string& reply) {
    const std::uint32_t start = m_clock.Now();
    for (;;) {
        const std::uint32_t elapsed = m_clock.Now() - start;
        const unsigned left = elapsed >= request.waitMs ? 0 : request.waitMs - elapsed;
        const bool input = left > 0 && m_clock.WaitForInput(port, left, request.pumping);
        if (request.mayGoOn && !request.mayGoOn())
            return false;
        const size_t read = ReadInto(port, request.readLimit, reply);
        // Time is up, or the port woke without bytes (a device gone).
        const bool over = !input || read == 0;
        if (!over && reply.find(protocol::kEtx) == std::string::npos)
            continue;
        DropOtherAnswers(reply, overdue, request);
        // A reply is whole, or none will be: an earlier attempt's answer that came late may
        // have been read with this one's.
        if (over || reply.find(protocol::kEtx) != std::string::npos) {
            reply = std::string(protocol::LastWholeReply(reply));
            return true;
        }
    }
}

bool DirectExchange::CollectAfterFixedWaits(LinkPort& port, const ExchangeRequest& request,
                                            const OverdueAnswers& overdue, std::string& reply) {
    for (int made = 1;; ++made) {
        FixedWait(request.waitMs, request.pumping);
        if (request.mayGoOn && !request.mayGoOn())
            return false;
        const size_t read = ReadInto(port, request.readLimit, reply);
        DropOtherAnswers(reply, overdue, request);
        if (protocol::IsRefusal(reply) || read == 0 || made >= request.reads)
            return true;
    }
}

void DirectExchange::FixedWait(unsigned ms, bool pumping) {
    if (pumping && m_pumpingWait)
        m_pumpingWait(ms);
    else
        m_clock.Sleep(ms);
}
