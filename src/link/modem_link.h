#pragma once
// A meter far from the PC, reached through a pair of Hayes-compatible modems: the local modem
// on the link port dials the remote one cabled to the meter. Once the call stands, the port
// carries the meter's ordinary protocol.
//
// Every wait here sleeps on the link's clock: nothing may reach the port between the commands,
// least of all during the guard times of the escape sequence.

#include <functional>
#include <string>
#include <string_view>

class LinkClock;
class LinkPort;

namespace modem_link {

enum DialResult : int {
    kConnected = 1,      // the dial's reply holds "CONNECT"
    kNoAnswer = -1,      // the remote modem did not answer in time
    kNoLocalModem = -2,  // no reply, or no "OK", to "AT"
    kLineReply = -3,     // the dial ended with another reply (BUSY, NO CARRIER, ...)
};

// What the dial shows of its progress.
struct DialFeedback {
    // The connecting box's line.
    std::function<void(const std::string&)> showText;
    // Hides the connecting box and empties its line.
    std::function<void()> hideBox;
    // A plain message box.
    std::function<void(const std::string&)> warn;
};

// The program milliseconds the dial waits for the remote modem after the first 2000: polls
// of 500 ms.
inline constexpr int kDialPolls = 120;

// Digits and the dial modifiers (* # , W P T ! @, blanks, "-", "(", ")", "+"): nothing that
// would end the dial command and start another.
bool IsDialNumber(std::string_view number);

// Checks the local modem on the open, set-up port, configures it, dials `number` and waits
// for the carrier. `comPort` and `baudRate` are only shown. A number that is no dial number is
// not dialled: the line reply "Invalid modem number", nothing written.
int DialModem(LinkClock& clock, LinkPort& port, int comPort, int baudRate,
              const std::string& number, const DialFeedback& feedback);

// Hayes escape guard: the modem takes "+++" as an escape only after this much silence before
// and after it (its S12 register, one second by default; half a second more here, for its
// timer and for bytes still on their way).
inline constexpr int kEscapeGuardMs = 1500;

// The pause after the remote modem's CONNECT before the meter behind it is probed.
inline constexpr unsigned kAfterCarrierMs = 3000;

// Ends the call: guard time, "+++", guard time, then "ATH" with its CR, and a moment for the
// modem to take it before the port is closed; all of it one turn on the port's line.
void HangUp(LinkClock& clock, LinkPort& port);

}  // namespace modem_link
