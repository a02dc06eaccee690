#include "verification/direct_exchange.h"

#include "link/serial.h"
#include "link/serial_wnd.h"
#include "platform/text.h"

namespace verification {

namespace {

// A reply arrives within one wait, or in a few pieces; a port that never stops sending is not
// read for ever.
constexpr int kWaitLimit = 4;
constexpr size_t kReadSize = 511;

}  // namespace

std::optional<std::string> ExchangeDirect(CSerial& port, const std::string& command,
                                          unsigned waitMs, const DirectWait& wait) {
    // The port's listener would take the reply for the command queue.
    if (auto* listened = dynamic_cast<CSerialWnd*>(&port))
        listened->Link().receiveEnabled = FALSE;
    port.Purge();
    port.WriteString(command + "\r\n");
    std::string reply;
    for (int made = 0; made < kWaitLimit; ++made) {
        if (!wait(waitMs))
            return std::nullopt;
        char buffer[kReadSize];
        size_t read = 0;
        port.Read(buffer, kReadSize, &read);
        reply.append(buffer, read);
        if (read == 0 || platform::Contains(reply, std::string(1, kEtx)))
            break;
    }
    return reply;
}

std::optional<std::string> ExchangeWithRetries(CSerial& port, const std::string& command,
                                               unsigned waitMs, const DirectWait& wait,
                                               int attempts) {
    for (int attempt = 0; attempt < attempts; ++attempt) {
        const auto reply = ExchangeDirect(port, command, waitMs, wait);
        if (!reply)
            return std::nullopt;
        if (!reply->empty() && reply->front() != kNak)
            return reply;
    }
    return std::nullopt;
}

std::string CleanReply(const std::string& reply) {
    return platform::Trim(platform::Remove(reply, kEtx));
}

}  // namespace verification
