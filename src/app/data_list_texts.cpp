#include "app/data_list_texts.h"

#include <functional>
#include <optional>

#include "charts/band_labels.h"
#include "charts/equal_loudness.h"
#include "link/instr_status.h"
#include "link/model_rules.h"
#include "platform/date_time.h"
#include "platform/text.h"

using platform::Contains;
using platform::Format;

namespace {

constexpr int kTimeWidth = 100;
constexpr int kLevelWidth = 80;
constexpr int kBandWidth = 50;
constexpr const char* kTimeHeading = "Time (hh:mm:ss)";
constexpr const char* kStatusHeading = "Status";
constexpr const char* kLastSample = "LAST";

constexpr int kHeadBytes = 20;
constexpr unsigned kNoValue = 65436;  // -100 as a signed word
constexpr long long kSecondsPerDay = 86400;

constexpr int kLevelWords = 6;
constexpr int kOctaveWords = 13;
constexpr int kThirdOctaveWords = 34;

bool IsMarkedVariant(std::string_view model) {
    for (char variant = 'a'; variant <= 'g'; ++variant)
        if (Contains(model, std::string("QS4060_") + variant))
            return true;
    return false;
}

// The band edges that a marked variant does not measure to the full.
bool IsMarkedBand(std::string_view band) {
    return band == "16" || band == "16k" || band == "20" || band == "20k";
}

// The band captions without their blank ("1 k" heads its column as "1k"); the caption after
// the last band, the overall level's, is the auxiliary weighting as the meter names it.
std::vector<ui::ListColumn> BandColumns(int bands, const std::function<std::string(int)>& caption,
                                        const CInstrStatus& current) {
    const bool marked = IsMarkedVariant(current.m_strModel);
    std::vector<ui::ListColumn> columns{{kTimeHeading, ui::LVCFMT_LEFT, kTimeWidth}};
    for (int band = 0; band < bands; ++band) {
        const std::string heading = platform::Remove(caption(band), ' ');
        columns.push_back(
            {(marked && IsMarkedBand(heading) ? "*" : "") + heading, ui::LVCFMT_LEFT, kBandWidth});
    }
    columns.push_back({caption(bands), ui::LVCFMT_LEFT, kBandWidth});
    columns.push_back({kStatusHeading, ui::LVCFMT_LEFT, kBandWidth});
    return columns;
}

// The levels a sound-level record shows; its status column follows them.
int LevelColumns(std::string_view model) {
    return model_rules::IsQS4160(model) ? 5 : 3;
}

// Word `index` of the records after the head; nothing past the end of the buffer.
std::optional<unsigned> Word(std::span<const unsigned char> buffer, long long index) {
    if (index < 0)
        return std::nullopt;
    const long long offset = kHeadBytes + 2 * index;
    if (offset + 1 >= static_cast<long long>(buffer.size()))
        return std::nullopt;
    return static_cast<unsigned>(buffer[offset]) | (static_cast<unsigned>(buffer[offset + 1]) << 8);
}

std::string ValueText(std::optional<unsigned> word) {
    if (!word)
        return std::string();
    if (*word == kNoValue)
        return "---";
    return Format("%.1f", *word / 10.0);
}

std::string ClockText(long long seconds) {
    return Format("%.2lld:%.2lld:%.2lld", (seconds / 3600) % 24, (seconds / 60) % 60, seconds % 60);
}

// The value after "Instr.Date: " when the setup text still carries its label.
std::string Bare(const std::string& text) {
    return platform::StartsWith(text, "Instr.") ? platform::Trim(platform::Mid(text, 12))
                                                : platform::Trim(text);
}

std::string TimeText(const DataListSource& source, int row, long long seconds) {
    if (!source.absoluteTimes)
        return ClockText(seconds);
    if (source.schedulerMode)
        return source.sampleTime ? source.sampleTime(row) : std::string();
    const auto start =
        platform::DateTime::Parse(Bare(source.instrumentDate) + " " + Bare(source.instrumentTime));
    if (!start || !start->IsValid())
        return ClockText(seconds);
    return start->AddSeconds(seconds).Format("%Y/%m/%d %H:%M:%S");
}

// "LAST" marks the sample that ends an integration interval, counted in samples from the time
// of day of the page's first row; an interval of 0 marks nothing.
std::string LastMark(long long row, long long firstRowTimeOfDay, long long samplesPerSecond,
                     long long interval) {
    const long long period = samplesPerSecond * interval;
    if (row <= 0 || period <= 0)
        return std::string();
    return (row + samplesPerSecond * firstRowTimeOfDay + 1) % period == 0 ? kLastSample : "";
}

struct ProfileRate {
    long long perSecond;
    long long groupWords;
    long long valuesPerGroup;
    long long markRate;
};

ProfileRate ProfileRateOf(const std::string& profileTime) {
    if (Contains(profileTime, "0.125"))
        return {8, 5, 4, 8};
    if (Contains(profileTime, "0.25"))
        return {4, 3, 2, 4};
    return {2, 2, 1, Contains(profileTime, "0.5") ? 2 : 1};
}

std::string LevelCell(const DataListSource& source, int row, int column) {
    const long long first = source.selectedPage * source.recordsPerPage;
    const long long seconds = (first + row + 1) / 2;
    const int levels = LevelColumns(source.model);
    if (column == 0)
        return TimeText(source, row, seconds);
    if (column <= levels)
        return ValueText(Word(source.buffer, static_cast<long long>(row) * kLevelWords + column));
    if (column == levels + 1) {
        const long long firstRowTime = ((first + 1) / 2) % kSecondsPerDay;
        return LastMark(row, firstRowTime, 2, IntegrationSeconds(source.integrationTime));
    }
    return std::string();
}

std::string ProfileCell(const DataListSource& source, int row, int column) {
    const ProfileRate rate = ProfileRateOf(source.profileTime);
    const long long first = source.selectedPage * source.recordsPerPage;
    switch (column) {
        case 0:
            return TimeText(source, row, (first + row + rate.perSecond / 2) / rate.perSecond);
        case 1:
            return ValueText(Word(source.buffer, 1 + rate.groupWords * (row / rate.valuesPerGroup) +
                                                     row % rate.valuesPerGroup));
        case 2: {
            const long long firstRowTime =
                ((first + rate.perSecond / 2) / rate.perSecond) % kSecondsPerDay;
            return LastMark(row, firstRowTime, rate.markRate,
                            IntegrationSeconds(source.integrationTime));
        }
        default:
            return std::string();
    }
}

std::string SpectrumCell(const DataListSource& source, int row, int column, int words) {
    const long long record = static_cast<long long>(row) * words;
    if (column == 0) {
        const auto packed = Word(source.buffer, record);
        if (!packed)
            return std::string();
        const long long seconds =
            (*packed >> 12) * 3600LL + ((*packed >> 6) & 63) * 60LL + (*packed & 63);
        return TimeText(source, row, seconds);
    }
    if (column < words)
        return ValueText(Word(source.buffer, record + column));
    if (column == words)
        return source.recordStatus ? source.recordStatus(row) : std::string();
    return std::string();
}

}  // namespace

std::vector<ui::ListColumn> DataListColumns(int kind, const CInstrStatus& current) {
    switch (kind) {
        case kSoundLevelMeter: {
            std::vector<ui::ListColumn> columns{{kTimeHeading, ui::LVCFMT_LEFT, kTimeWidth}};
            const std::string* levels[] = {&current.m_strSlm1Param, &current.m_strSlm2Param,
                                           &current.m_strSlm3Param, &current.m_strSlm4Param,
                                           &current.m_strSlm5Param};
            for (int i = 0; i < LevelColumns(current.m_strModel); ++i)
                columns.push_back({*levels[i], ui::LVCFMT_LEFT, kLevelWidth});
            columns.push_back({kStatusHeading, ui::LVCFMT_LEFT, kLevelWidth});
            return columns;
        }
        case kProfile:
            return {{kTimeHeading, ui::LVCFMT_LEFT, kTimeWidth},
                    {Contains(current.m_strModel, "QS4060") ? std::string("LAFmx")
                                                            : current.m_strProfileParam,
                     ui::LVCFMT_LEFT, kLevelWidth},
                    {kStatusHeading, ui::LVCFMT_LEFT, kLevelWidth}};
        case kOctave:
            return BandColumns(
                charts::kOctaveBands,
                [&](int band) {
                    return charts::OctaveBandLabel(band, current.m_strSpectAuxWeighting);
                },
                current);
        case kThirdOctave:
            return BandColumns(
                charts::kThirdOctaveBands,
                [&](int band) {
                    return charts::ThirdOctaveBandLabel(band, charts::kNoBandShift,
                                                        current.m_strSpectAuxWeighting);
                },
                current);
        default:
            return {};
    }
}

std::string DataListCellText(const DataListSource& source, int row, int column) {
    if (row < 0 || column < 0)
        return std::string();
    switch (source.kind) {
        case kSoundLevelMeter:
            return LevelCell(source, row, column);
        case kProfile:
            return ProfileCell(source, row, column);
        case kOctave:
            return SpectrumCell(source, row, column, kOctaveWords);
        case kThirdOctave:
            return SpectrumCell(source, row, column, kThirdOctaveWords);
        default:
            return std::string();
    }
}

std::vector<uint16_t> SpectrumRecordLevels(std::span<const unsigned char> buffer, int kind,
                                           int row) {
    if ((kind != kOctave && kind != kThirdOctave) || row < 0)
        return {};
    const int words = kind == kOctave ? kOctaveWords : kThirdOctaveWords;
    std::vector<uint16_t> levels;
    for (int word = 1; word < words; ++word) {
        const auto value = Word(buffer, static_cast<long long>(row) * words + word);
        if (!value)
            break;
        levels.push_back(static_cast<uint16_t>(*value));
    }
    return levels;
}

std::string IsophoneCellText(int column, const charts::IsophoneContour& contour) {
    constexpr int kFirstBandColumn = 2;
    if (column == 1)
        return "ISOPHONE";
    const auto level = contour.LevelDb(column - kFirstBandColumn);
    return level ? Format("[%.1f]", *level) : std::string();
}

long long IntegrationSeconds(const std::string& text) {
    long long seconds = platform::Atoll(text);
    if (Contains(text, "m"))
        seconds *= 60;
    else if (Contains(text, "h"))
        seconds *= 3600;
    return seconds;
}
