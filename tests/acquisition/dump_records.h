#pragma once
// Memory-dump records built byte by byte with their lengths written out, apart from the layout
// module, for the tests of the dump's decoder and its line.

#include <string>

namespace acqtest {

// A record of `length` bytes: the level 30.0 dB, the type and flags, a body of `fill`, the
// checksum of what comes before it and an ETX at the end.
inline std::string DumpRecord(unsigned char type, unsigned char flags, int length,
                              char fill = 'x') {
    std::string record(static_cast<size_t>(length), fill);
    record[0] = 0x02;
    record[1] = 0x01;
    record[2] = 0x2C;
    record[3] = static_cast<char>(type);
    record[4] = static_cast<char>(flags);
    unsigned sum = 0;
    for (int i = 0; i < length - 2; ++i)
        sum += static_cast<unsigned char>(record[static_cast<size_t>(i)]);
    record[static_cast<size_t>(length - 2)] = static_cast<char>(sum);
    record[static_cast<size_t>(length - 1)] = 0x03;
    return record;
}

}  // namespace acqtest
