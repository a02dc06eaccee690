#include "live_records.h"

#include <cstdlib>

namespace simmeter {

namespace {

constexpr char kEtx = '\x03';
constexpr const char* kLineEnd = "\r\n";
constexpr int kOctaveBands = 12;
constexpr int kThirdOctaveBands = 33;
constexpr int kLevelValues = 5;

std::string TwoDigits(int value) {
    return std::string{static_cast<char>('0' + value / 10 % 10),
                       static_cast<char>('0' + value % 10)};
}

// Right-aligned in five characters.
std::string BandText(int tenths) {
    std::string text = LevelText(tenths);
    return std::string(text.size() < 5 ? 5 - text.size() : 0, ' ') + text;
}

}  // namespace

std::string ElapsedText(int seconds) {
    return TwoDigits(seconds / 3600) + ":" + TwoDigits(seconds / 60 % 60) + ":" +
           TwoDigits(seconds % 60);
}

std::string LevelText(int tenths) {
    if (tenths == kMissing)
        return "---";
    const std::string sign = tenths < 0 ? "-" : "";
    const int magnitude = std::abs(tenths);
    return sign + std::to_string(magnitude / 10) + "." + std::to_string(magnitude % 10);
}

std::string LiveLevelRecord(int elapsed, const std::vector<int>& levels, bool marker,
                            bool lastMarker) {
    std::string text = ElapsedText(elapsed);
    for (const int level : levels)
        text += "\t" + LevelText(level);
    if (lastMarker)
        text += "ML";
    else if (marker)
        text += "M";
    return text + kEtx;
}

std::string LiveProfileRecord(int elapsed, const std::vector<int>& samples) {
    std::string text = ElapsedText(elapsed);
    for (const int sample : samples)
        text += "\t" + LevelText(sample);
    return text + kEtx;
}

std::string LiveSpectrumRecord(int elapsed, const std::vector<int>& bands,
                               const std::string& marker) {
    std::string text = std::string("SPECTRUM =  ") + ElapsedText(elapsed) + kLineEnd;
    if (!marker.empty())
        text += "MARKER" + marker + kLineEnd;
    text += std::string("[dB]") + kLineEnd;
    for (size_t band = 0; band < bands.size(); ++band) {
        if (band + 1 == bands.size())
            text += kLineEnd;  // the overall level stands apart
        text += BandText(bands[band]) + kLineEnd;
    }
    return text + kEtx;
}

std::string LiveErrorRecord() {
    return std::string("ERROR") + kEtx;
}

int SyntheticLevel(int record, int value) {
    return 300 + (record * 37 + value * 101) % 700;
}

LiveRecordStream::LiveRecordStream(int mode, int interval, int samples)
    : m_mode(mode), m_interval(interval), m_samples(samples) {}

std::vector<int> LiveRecordStream::Values(int record) const {
    int count = kLevelValues;
    if (m_mode == 1)
        count = m_samples;
    else if (m_mode == 2)
        count = kOctaveBands;
    else if (m_mode == 3)
        count = kThirdOctaveBands;
    std::vector<int> values;
    for (int value = 0; value < count; ++value)
        values.push_back(SyntheticLevel(record, value));
    return values;
}

std::string LiveRecordStream::Next() {
    const int record = m_record++;
    const int elapsed = Elapsed(record);
    switch (m_mode) {
        case 0:
            return LiveLevelRecord(elapsed, Values(record));
        case 1:
            return LiveProfileRecord(elapsed, Values(record));
        default:
            return LiveSpectrumRecord(elapsed, Values(record));
    }
}

std::string LiveRecordStream::NextTruncated(size_t bytes) {
    std::string text = Next();
    text.pop_back();
    return text.substr(0, bytes) + kEtx;
}

void LiveRecordStream::Skip(int records) {
    m_record += records;
}

}  // namespace simmeter
