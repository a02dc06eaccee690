#pragma once
// A command written straight to a meter's port and its reply read back, past the port's
// listener: what the bench and the connect routines do instead of queueing commands.

#include <functional>
#include <optional>
#include <string>

class CSerial;

namespace verification {

inline constexpr char kNak = 0x15;
inline constexpr char kEtx = 0x03;

// The message-pumping wait; false when the wait was cut short for an abort.
using DirectWait = std::function<bool(unsigned ms)>;

// Purges the port, writes the command and CR LF, and reads the reply: after a wait of
// `waitMs`, and again after each further wait while the meter is still sending, up to its ETX.
// Nothing when the wait was aborted.
std::optional<std::string> ExchangeDirect(CSerial& port, const std::string& command,
                                          unsigned waitMs, const DirectWait& wait);

// Up to `attempts` exchanges while the reply is empty or a refusal (NAK). The usable reply, or
// nothing.
std::optional<std::string> ExchangeWithRetries(CSerial& port, const std::string& command,
                                               unsigned waitMs, const DirectWait& wait,
                                               int attempts);

// The reply without its ETX bytes and the blanks around it.
std::string CleanReply(const std::string& reply);

}  // namespace verification
