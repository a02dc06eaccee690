#include "cipher/enciphered_exchange.h"

#include <mutex>
#include <random>

#include "cipher/enciphered_command.h"
#include "cipher/meter_readings.h"
#include "link/direct_exchange.h"
#include "link/link_port.h"
#include "platform/text.h"

namespace cipher {

namespace {

constexpr int kAttempts = 2;
constexpr unsigned kPauseAfterFailedAttemptMs = 2000;
// The new key reads for as long as the meter sends; a meter that never pauses must not hold
// the bench for ever.
constexpr int kNewKeyWaitLimit = 8;

}  // namespace

// What sets one operation's exchange apart from the others.
struct EncipheredExchange::Rules {
    Meter meter;
    std::string_view keyword;
    ReplyWaits waits;
    std::string_view nakLog;
    std::string_view nullLog;
    // Readings and the unlock: after both attempts failed; nothing logged when empty.
    std::string_view finalLog;
};

int StandardRandom() {
    static std::mutex mutex;
    static std::mt19937 generator{std::random_device{}()};
    std::lock_guard lock(mutex);
    return std::uniform_int_distribution<int>(0, 32767)(generator);
}

EncipheredExchange::EncipheredExchange(BenchState& bench, BenchExchangeHost& host)
    : m_bench(bench), m_host(host) {}

int EncipheredExchange::DrawChallenge() {
    int n = m_host.Random() % 4095;
    if (n == 0)
        n = m_host.Random() % 4095;
    return n;
}

bool EncipheredExchange::Confirms(std::string_view decoded, int challenge) {
    return platform::Contains(decoded, platform::Format("%.4d_RND_KEYGEN", challenge));
}

bool EncipheredExchange::StillThere(Meter meter, const ReplyWaits& waits) {
    if (!waits.checked)
        return true;
    LinkPort* port = m_host.Port(meter);
    if (!m_host.WindowsPresent() || !port) {
        if (!waits.windowGoneLog.empty())
            m_host.AddLog(std::string(waits.windowGoneLog));
        return false;
    }
    if (!port->IsOpen()) {
        if (!waits.portClosedLog.empty())
            m_host.AddLog(std::string(waits.portClosedLog));
        return false;
    }
    return true;
}

ExchangeRequest EncipheredExchange::FrameRequest(Meter meter, const std::string& frame,
                                                 const ReplyWaits& waits, bool& stopped) {
    ExchangeRequest request;
    request.text = frame;
    request.waits = ExchangeRequest::Waits::Fixed;
    request.waitMs = waits.waitMs;
    request.reads = waits.waitLimit;
    // The frame's reply echoes no field: one that does is an earlier answer sent twice, which
    // would otherwise be decoded as the frame's.
    request.replyKey = "";
    request.mayGoOn = [this, meter, waits, &stopped] {
        stopped = m_bench.abortRequested || !StillThere(meter, waits);
        return !stopped;
    };
    return request;
}

std::optional<std::string> EncipheredExchange::Exchange(const Rules& rules, int challenge) {
    BenchMeter& meter = m_bench.Of(rules.meter);
    // The challenge of the first attempt is sent again unchanged: nothing was advanced.
    const std::string frame =
        CommandFrame(meter.cipher, CommandText(rules.keyword, challenge), CipherKey::Keystream);
    bool stopped = false;
    ExchangeRequest request = FrameRequest(rules.meter, frame, rules.waits, stopped);
    request.attempts = kAttempts;
    request.onFailedAttempt = [&](const std::string& reply) {
        m_host.AddLog(std::string(reply.empty() ? rules.nullLog : rules.nakLog));
        if (rules.waits.checked) {
            m_host.Wait(kPauseAfterFailedAttemptMs);
            ++meter.keyErrors;
            stopped = m_bench.abortRequested != 0;
        }
        return !stopped;
    };
    const auto reply = m_host.Exchange(rules.meter, request);
    if (reply || stopped)
        return reply;
    if (rules.waits.checked) {
        if (!rules.finalLog.empty())
            m_host.AddLog(std::string(rules.finalLog));
        ++meter.keyErrors;
    }
    return std::nullopt;
}

bool EncipheredExchange::NewKey(Meter meter) {
    const bool reference = meter == Meter::Reference;
    const Rules rules{
        meter,
        kNewKeyKeyword,
        {5000, kNewKeyWaitLimit, false, {}, {}},
        reference ? "REF : RefNewKey (NEWKEY_RND_) receive NAK -> Repeat command"
                  : "DUT : TargetNewKey (NEWKEY_RND_) receive NAK -> Repeat command",
        reference ? "REF : RefNewKey (NEWKEY_RND_)receive NULL -> Repeat command"
                  : "DUT : TargetNewKey (NEWKEY_RND_) receive NULL -> Repeat command",
        {},
    };
    m_host.AddLog(reference ? "REF : RefNewKey" : "TARGET : TargetNewKey");
    const int challenge = DrawChallenge();
    const auto reply = Exchange(rules, challenge);
    if (!reply)
        return false;
    MeterCipher& cipher = m_bench.Of(meter).cipher;
    // The meter answered, so it has advanced: so must we, whatever the reply holds.
    cipher.Advance(challenge);
    const auto decoded = DecodeReply(cipher, *reply);
    if (decoded && Confirms(*decoded, challenge))
        return true;
    m_host.AddLog(reference ? "REF : RefNewKey : decoded failed"
                            : "DUT : TargetNewKey : decoded failed");
    return false;
}

bool EncipheredExchange::RefNewKey() {
    return NewKey(Meter::Reference);
}

bool EncipheredExchange::TargetNewKey() {
    return NewKey(Meter::Target);
}

namespace {

constexpr ReplyWaits kTargetWaits{5000, 4, true, "err1", "err2"};
constexpr std::string_view kTargetNakLog = "DUT  crypt: receive NAK -> Repeat command";
constexpr std::string_view kTargetNullLog = "DUT  crypt: receive NULL -> Repeat command";
constexpr std::string_view kTargetFinalLog = "TARGET: Start crypt command: increase error";

}  // namespace

std::string EncipheredExchange::UnlockTargetCryp() {
    if (!m_host.WindowsPresent())
        return std::string(kFailed);
    const Rules rules{Meter::Target, kUnlockKeyword, kTargetWaits,
                      kTargetNakLog, kTargetNullLog, kTargetFinalLog};
    const int challenge = DrawChallenge();
    const auto reply = Exchange(rules, challenge);
    if (!reply)
        return std::string(kFailed);
    MeterCipher& cipher = m_bench.target.cipher;
    cipher.Advance(challenge);
    const auto decoded = DecodeReply(cipher, *reply);
    return std::string(decoded && Confirms(*decoded, challenge) ? kConfirmed : kFailed);
}

std::string EncipheredExchange::TargetGetValCrypt() {
    if (!m_host.WindowsPresent())
        return std::string(kFailed);
    const Rules rules{Meter::Target, kTargetReadingKeyword, kTargetWaits,
                      kTargetNakLog, kTargetNullLog,        kTargetFinalLog};
    const int challenge = DrawChallenge();
    const auto reply = Exchange(rules, challenge);
    if (!reply)
        return std::string(kFailed);
    BenchMeter& meter = m_bench.target;
    meter.cipher.Advance(challenge);
    const auto decoded = DecodeReply(meter.cipher, *reply);
    if (!decoded) {
        // A cut reply carries no reading; counted like a failed exchange.
        m_host.AddLog("DUT  crypt: reply too short: " + Printable(*reply));
        ++meter.keyErrors;
        return std::string(kFailed);
    }
    const TargetReading reading = ReadTargetReading(*decoded);
    if (!reading.numeric)
        m_host.AddLog("DUT  crypt: reading not numeric: " + Printable(*decoded));
    for (int channel = 0; channel < 3; ++channel)
        m_host.ShowValue(Meter::Target, channel,
                         platform::Format("%.1f", reading.channels[channel]));
    return TargetReadingText(reading);
}

std::string EncipheredExchange::RefGetExtCrypt() {
    if (!m_host.WindowsPresent())
        return std::string(kFailed);
    const Rules rules{
        Meter::Reference,
        kReferenceReadingKeyword,
        {3000, 4, true, {}, {}},
        "REF  crypt command : receive NAK -> Repeat command",
        "REF  crypt command: receive NULL -> Repeat command",
        {},
    };
    const int challenge = DrawChallenge();
    const auto reply = Exchange(rules, challenge);
    if (!reply)
        return std::string(kFailed);
    BenchMeter& meter = m_bench.reference;
    meter.cipher.Advance(challenge);
    const auto decoded = DecodeReply(meter.cipher, *reply);
    if (!decoded) {
        m_host.AddLog("REF  crypt command: reply too short: " + Printable(*reply));
        ++meter.keyErrors;
        return std::string(kFailed);
    }
    const ReferenceReading reading = ReadReferenceReading(*decoded);
    if (!reading.numeric)
        m_host.AddLog("REF  crypt command: reading not numeric: " + Printable(*decoded));
    m_host.ShowValue(Meter::Reference, 0, "");
    m_host.ShowValue(Meter::Reference, 1, platform::Format("%.2f", reading.level));
    m_host.ShowValue(Meter::Reference, 2, "");
    return ReferenceReadingText(reading);
}

}  // namespace cipher
