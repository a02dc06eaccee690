#pragma once
// The meter's memory as a dump serves it: the records of its files, sent one at a time, the
// next on "DMP:NE" and the same again on "DMP:RE", "END OF DUMP" after the last one; and the
// faults a test asks of it. Records are built at the lengths of the dump layout, so the meter
// sends what the program reads. SplitDumpFile reads a dump file back into records, as a viewer
// of the file would.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace simmeter {

// A record as the meter sends it: level `tenths` in bytes 1-2, the body of `fill`, the sum of
// what comes before it in the next-to-last byte and ETX last. A multi record with a profile
// counts `profileSamples`; after a REPORT or EVENT setup its flag 0x80 carries more bytes.
std::string MakeDumpRecord(unsigned char type, unsigned char flags, char fill = 'd',
                           std::int16_t tenths = 452, int profileSamples = 0,
                           bool afterReportOrEvent = false);
// The same record with a body byte changed: its checksum fails.
std::string WithBadChecksum(std::string record);

// Two files that hold every record type and length rule: a start, setups of each kind, multi,
// single, pause, block and date records and an end; then an extended start, one record of 0xFF
// bytes and an end.
std::vector<std::string> EveryRecordTypeDump();

enum class DumpFault { BadChecksum, Refusal, Silence };

struct MeterDump {
    std::vector<std::string> records;  // all files, in order
    // Record index -> how its next requests are answered, one fault per request.
    std::map<size_t, std::deque<DumpFault>> faults;
    // Asked for this record the first time, the meter says "DUMP ERROR" instead; asked again,
    // it sends the record.
    std::optional<size_t> dumpErrorAt;

    // What the meter did: the record it is at, and the index of each record it sent whole.
    std::optional<size_t> current;
    std::vector<size_t> sent;
};

// The records of a dump file after its 64-byte header, split by their stored lengths; bytes that
// make no whole record are the last entry.
std::vector<std::string> SplitDumpFile(const std::string& file);

}  // namespace simmeter
