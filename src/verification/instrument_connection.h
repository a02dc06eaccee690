#pragma once
// The connection of the bench's two meters, each on its own port of the link with the settings
// of its port record: the port is opened and the meter identified by its replies, which go to
// the bench's instruments.

#include <optional>
#include <string>

#include "platform/win_types.h"
#include "verification/bench_host.h"

class LinkPort;
enum class LinkSide;

namespace verification {

// The only model this edition verifies.
inline constexpr const char* kBenchModel = "QS4060KRTN";
// What every command that needs the instrument under test says when it does not answer.
inline constexpr const char* kTargetSilent =
    "Fonometro da verificare non risponde.\nVerificare impostazioni porta seriale.";

// kTargetSilent, and a line on why when the port of the instrument under test did not even
// open: in use by another program, no rights on its device, no such device (each naming the
// device the open tried), or a port number in "port.ini" that names no port.
std::string TargetSilentText(const BenchTools& tools);

// TRUE when the instrument under test answered. Its identity is kept only when it is a model
// this edition verifies, with a firmware version; otherwise a box says why and the identity
// is emptied (its model then tells the callers that nothing was identified).
BOOL ConnectInstrumentUnderTest(BenchHost& host, const BenchTools& tools,
                                BenchInstruments& instruments);

// TRUE when the reference meter answered, is a model this edition verifies and told its
// firmware version and serial number; the serial number is then kept.
BOOL ConnectReferenceInstrument(BenchHost& host, const BenchTools& tools,
                                BenchInstruments& instruments);

// The link session's port of `side`, talked through past its listener; nullptr once the main
// view is gone.
LinkPort* BenchPort(BenchHost& host, const BenchTools& tools, LinkSide side);

// The value in an identity reply: the text after `key`, without ETX bytes and blanks around
// it; nothing when the reply lacks the key, as another query's answer does.
std::optional<std::string> IdentityValue(const std::string& reply, const std::string& key);

}  // namespace verification
