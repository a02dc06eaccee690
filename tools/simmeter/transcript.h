#pragma once
// The meter's conversation as readable text lines, both directions in the order the meter took
// part in it: ">> " and a line it took (CR LF left out), "<< " and what it wrote, one entry up
// to and with each ETX. Control bytes are shown by their ASCII names ("<ETX>", "<NAK>",
// "<CR><LF>", "<TAB>"), other bytes outside printable ASCII as "<xHH>", and a binary record of
// the memory as its length and CRC-32, so that a whole memory dump stays a few short lines.

#include <string>
#include <string_view>
#include <vector>

namespace simmeter {

constexpr std::string_view kHeard = ">> ";
constexpr std::string_view kSaid = "<< ";

// Bytes as the transcript shows them.
std::string ReadableBytes(std::string_view bytes);
// "[binary <n> bytes, CRC-32 <8 hex digits>]".
std::string BinarySummary(std::string_view bytes);

// The entries of one line the meter took.
std::string HeardEntry(std::string_view line);
// The entries of bytes the meter wrote: one per ETX-ended piece; a binary record is one entry.
std::vector<std::string> SaidEntries(std::string_view bytes, bool binary);

}  // namespace simmeter
