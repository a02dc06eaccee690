#include "meter_dump.h"

#include <span>

#include "acquisition/record_layout.h"

namespace simmeter {

namespace {

using acquisition::DumpRecordSizeOf;
using acquisition::DumpRecordTypeOf;
using acquisition::DumpSizeBytes;

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
    record[0] = static_cast<char>(acquisition::kDumpStartByte);
    record[1] = static_cast<char>(level >> 8);
    record[2] = static_cast<char>(level & 0xFF);
    record[3] = static_cast<char>(type);
    record[4] = static_cast<char>(flags);
    if (DumpRecordTypeOf(type) == acquisition::kDumpMulti && (flags & 0x02))
        record[flags & 0x01 ? 15 : 5] = static_cast<char>(profileSamples);
    const auto size = DumpRecordSizeOf(Bytes(record), afterReportOrEvent);
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
    using namespace acquisition;
    return {
        MakeDumpRecord(kDumpStart, 0x00, 's', 452),
        MakeDumpRecord(kDumpSetup, 0x4F, 'u', -5),
        MakeDumpRecord(kDumpSetup, 0x10, 'u', 5),
        MakeDumpRecord(kDumpMulti | 0x03, 0x86, 'm', 1234, 3),
        MakeDumpRecord(kDumpSetupReport, 0x00, 'r', 0x6C00),
        MakeDumpRecord(kDumpMulti, 0xAF, 'm', 0x6F00, 2, true),
        MakeDumpRecord(kDumpSetupEvent, 0x00, 'e', 0x7200),
        MakeDumpRecord(kDumpSingle, 0x61, 'a'),
        MakeDumpRecord(kDumpSingle, 0x40, 'b'),
        MakeDumpRecord(kDumpSingle, 0x0C, 'c'),
        MakeDumpRecord(kDumpPause | 0x05, 0x00, 'p'),
        MakeDumpRecord(kDumpBlock, 0x01, 'k'),
        MakeDumpRecord(kDumpDateTime, 0x00, 't'),
        MakeDumpRecord(kDumpEnd, 0x00, 'z', 452),
        MakeDumpRecord(kDumpExtendedStart, 0x00, 'x', 601),
        MakeDumpRecord(kDumpBlock, 0xFF, '\xFF', -1),
        MakeDumpRecord(kDumpEnd, 0x00, 'z', 601),
    };
}

std::vector<std::string> SplitDumpFile(const std::string& file) {
    std::vector<std::string> records;
    bool reportOrEvent = false;
    for (size_t at = kDumpFileHeader; at < file.size();) {
        const auto rest = Bytes(file).subspan(at);
        const auto size = static_cast<size_t>(DumpSizeBytes(rest)) <= rest.size()
                              ? DumpRecordSizeOf(rest, reportOrEvent)
                              : std::nullopt;
        if (!size || at + static_cast<size_t>(size->kept) > file.size()) {
            records.push_back(file.substr(at));
            break;
        }
        const int type = DumpRecordTypeOf(rest[3]);
        if (type == acquisition::kDumpStart || type == acquisition::kDumpExtendedStart)
            reportOrEvent = false;
        else if (type == acquisition::kDumpSetupReport || type == acquisition::kDumpSetupEvent)
            reportOrEvent = true;
        records.push_back(file.substr(at, static_cast<size_t>(size->kept)));
        at += static_cast<size_t>(size->kept);
    }
    return records;
}

}  // namespace simmeter
