#include "link/meter_probe.h"

#include "link/command.h"
#include "link/command_codes.h"
#include "link/direct_exchange.h"
#include "link/identity_replies.h"
#include "platform/text.h"

namespace meter_probe {

namespace {
constexpr unsigned kSlowLineExtraWait = 2000;
constexpr unsigned kMonitorOffWait = 500;
constexpr size_t kProbeReadLimit = 31;
}  // namespace

unsigned ReplyWait(unsigned base, int baudRate) {
    return base + (baudRate < 1200 ? kSlowLineExtraWait : 0);
}

std::string WorkingPortName(const std::string& friendlyName) {
    const int com = platform::Find(friendlyName, "COM");
    if (com < 0)
        return friendlyName;
    return platform::Remove(platform::Mid(friendlyName, com), ')');
}

int ComNumberAfterCom(const std::string& text) {
    const int com = platform::Find(text, "COM");
    return com < 0 ? -1 : platform::Atoi(platform::Mid(text, com + 3, 2));
}

std::string PortNameOf(const std::string& workingName) {
    return platform::Remove(platform::Remove(workingName, '.'), '\\');
}

std::string PortNameOf(int comNumber) {
    return platform::Format("COM%d", comNumber);
}

std::string RunIdentificationProbe(DirectExchange& exchange, LinkPort& port, unsigned replyWaitMs) {
    ExchangeRequest request;
    request.waits = ExchangeRequest::Waits::Fixed;
    request.pumping = false;
    request.quietAfterSilence = false;
    // What a monitoring meter still sends goes with the purge before the query.
    request.text = CommandLine(command_code::kMonitorOff);
    request.waitMs = kMonitorOffWait;
    exchange.Exchange(port, request);
    request.text = CommandLine(command_code::kIdentificationProbe);
    request.waitMs = replyWaitMs;
    request.readLimit = kProbeReadLimit;
    request.replyKey = IdentityReplyKey(command_code::kModelQuery);
    return exchange.Exchange(port, request).value_or(std::string());
}

bool IsMeterReply(const std::string& reply) {
    return !reply.empty() &&
           platform::Contains(reply, IdentityReplyKey(command_code::kModelQuery).value());
}

}  // namespace meter_probe
