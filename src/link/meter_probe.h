#pragma once
// Telling a meter on a fresh link: the identification probe, and the port names and rates that
// the port search goes through.

#include <array>
#include <string>

class DirectExchange;
class LinkPort;

namespace meter_probe {

// Rates a port reached through USB is tried at, fastest first; any other port is tried at
// kPlainPortRate only.
inline constexpr std::array<int, 10> kUsbRates{115200, 57600, 38400, 19200, 9600,
                                               4800,   2400,  1200,  600,   300};
inline constexpr int kPlainPortRate = 230400;
// Program milliseconds the reply is awaited: the search is quicker than a stored port, and a
// slow line gets longer.
inline constexpr unsigned kSearchReplyWait = 1000;
inline constexpr unsigned kStoredPortReplyWait = 2000;
unsigned ReplyWait(unsigned base, int baudRate);

// The friendly name from its first "COM" on, without ")": "USB Serial Port (COM12)" gives
// "COM12". A name without "COM" is kept whole.
std::string WorkingPortName(const std::string& friendlyName);
// The value of the two characters after the first "COM"; -1 when there is no "COM".
int ComNumberAfterCom(const std::string& text);
// The name the connecting box shows: a working name without '.' and '\', or "COM<n>".
std::string PortNameOf(const std::string& workingName);
std::string PortNameOf(int comNumber);

// Writes the probe on an open, set-up port and reads once what came back (at most 31 bytes)
// after `replyWaitMs`, past the port's listener. The waits block.
std::string RunIdentificationProbe(DirectExchange& exchange, LinkPort& port, unsigned replyWaitMs);
// Whether the probe's reply comes from a meter.
bool IsMeterReply(const std::string& reply);

}  // namespace meter_probe
