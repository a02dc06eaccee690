#include "meter_dump.h"

#include <span>

#include "records/record_layout.h"

namespace simmeter {

namespace {

using records::DumpRecordSizeOf;
using records::DumpRecordTypeOf;
using records::DumpSizeBytes;

constexpr size_t kHeadBytes = 16;
constexpr size_t kDumpFileHeader = 64;

std::span<const unsigned char> Bytes(const std::string& text) {
    return {reinterpret_cast<const unsigned char*>(text.data()), text.size()};
}

}  // namespace

std::string MakeDumpRecord(unsigned char type, unsigned char flags, char fill, std::int16_t tenths,
                           int profileSamples, bool afterReportOrEvent) {
    std::string record(kHeadBytes, fill);
    const auto level = static_cast<std::uint16_t>(tenths);
    record[0] = static_cast<char>(records::kDumpStartByte);
    record[1] = static_cast<char>(level >> 8);
    record[2] = static_cast<char>(level & 0xFF);
    record[3] = static_cast<char>(type);
    record[4] = static_cast<char>(flags);
    if (records::DumpRecordTypeOf(type) == records::kDumpMulti && (flags & 0x02))
        record[flags & 0x01 ? 15 : 5] = static_cast<char>(profileSamples);
    const auto size = records::DumpRecordSizeOf(Bytes(record), afterReportOrEvent);
    if (!size)
        return record.substr(0, 5);
    record.resize(static_cast<size_t>(size->sent), fill);
    // Types without a checksum take the sum as a data byte.
    unsigned sum = 0;
    for (size_t i = 0; i + 2 < record.size(); ++i)
        sum += static_cast<unsigned char>(record[i]);
    record[record.size() - 2] = static_cast<char>(sum);
    record.back() = 0x03;
    return record;
}

std::string WithBadChecksum(std::string record) {
    record[5] = static_cast<char>(record[5] ^ 0x5A);
    return record;
}

std::vector<std::string> EveryRecordTypeDump() {
    return {
        MakeDumpRecord(records::kDumpStart, 0x00, 's', 452),
        MakeDumpRecord(records::kDumpSetup, 0x4F, 'u', -5),
        MakeDumpRecord(records::kDumpSetup, 0x10, 'u', 5),
        MakeDumpRecord(records::kDumpMulti | 0x03, 0x86, 'm', 1234, 3),
        MakeDumpRecord(records::kDumpSetupReport, 0x00, 'r', 0x6C00),
        MakeDumpRecord(records::kDumpMulti, 0xAF, 'm', 0x6F00, 2, true),
        MakeDumpRecord(records::kDumpSetupEvent, 0x00, 'e', 0x7200),
        MakeDumpRecord(records::kDumpSingle, 0x61, 'a'),
        MakeDumpRecord(records::kDumpSingle, 0x40, 'b'),
        MakeDumpRecord(records::kDumpSingle, 0x0C, 'c'),
        MakeDumpRecord(records::kDumpPause | 0x05, 0x00, 'p'),
        MakeDumpRecord(records::kDumpBlock, 0x01, 'k'),
        MakeDumpRecord(records::kDumpDateTime, 0x00, 't'),
        MakeDumpRecord(records::kDumpEnd, 0x00, 'z', 452),
        MakeDumpRecord(records::kDumpExtendedStart, 0x00, 'x', 601),
        MakeDumpRecord(records::kDumpBlock, 0xFF, '\xFF', -1),
        MakeDumpRecord(records::kDumpEnd, 0x00, 'z', 601),
    };
}

std::vector<std::string> SplitDumpFile(const std::string& file) {
    std::vector<std::string> records;
    bool reportOrEvent = false;
    for (size_t at = kDumpFileHeader; at < file.size();) {
        const auto rest = Bytes(file).subspan(at);
        const auto size = static_cast<size_t>(records::DumpSizeBytes(rest)) <= rest.size()
                              ? records::DumpRecordSizeOf(rest, reportOrEvent)
                              : std::nullopt;
        if (!size || at + static_cast<size_t>(size->kept) > file.size()) {
            records.push_back(file.substr(at));
            break;
        }
        const int type = records::DumpRecordTypeOf(rest[3]);
        if (type == records::kDumpStart || type == records::kDumpExtendedStart)
            reportOrEvent = false;
        else if (type == records::kDumpSetupReport || type == records::kDumpSetupEvent)
            reportOrEvent = true;
        records.push_back(file.substr(at, static_cast<size_t>(size->kept)));
        at += static_cast<size_t>(size->kept);
    }
    return records;
}

}  // namespace simmeter
