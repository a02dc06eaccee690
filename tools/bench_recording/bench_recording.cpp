#include "bench_recording.h"

#include <cstdint>

namespace bench {

std::vector<std::string> RecordingPages(const records::RecordLayout& layout, long long pageSize,
                                        long long recordingBytes) {
    std::vector<std::string> pages;
    std::vector<std::uint16_t> levels(static_cast<size_t>(layout.ValuesPerSample()));
    long long record = 0;
    for (long long data = 0; data < recordingBytes;) {
        std::string page = "2024/03/09 14:05:07 ";
        for (long long i = 0; i < pageSize && data < recordingBytes; ++i, ++record) {
            for (size_t band = 0; band < levels.size(); ++band)
                levels[band] = static_cast<std::uint16_t>((record * 7 + band * 13) % 1400);
            const std::string bytes =
                records::EncodeRecord(records::PackTimeWord(static_cast<int>(record / 3600),
                                                            record / 60 % 60, record % 60),
                                      levels);
            page += bytes;
            data += static_cast<long long>(bytes.size());
        }
        pages.push_back(std::move(page));
    }
    return pages;
}

}  // namespace bench
