#include "acquisition/data_list_texts.h"

#include <optional>

#include "link/instr_status.h"
#include "link/model_rules.h"
#include "platform/date_time.h"
#include "platform/text.h"
#include "records/band_labels.h"
#include "records/record_layout.h"

namespace acquisition {

using platform::Contains;
using platform::Format;

namespace {

constexpr int kTimeWidth = 100;
constexpr int kLevelWidth = 80;
constexpr int kBandWidth = 50;
constexpr const char* kTimeHeading = "Time (hh:mm:ss)";
constexpr const char* kStatusHeading = "Status";
constexpr const char* kLastSample = "LAST";

constexpr long long kSecondsPerDay = 86400;

// The integration interval in seconds ("10 s", "5 m", "1 h"); 0 when the text holds none.
long long IntegrationIntervalSeconds(const std::string& text) {
    long long seconds = platform::Atoll(text);
    if (Contains(text, "m"))
        seconds *= 60;
    else if (Contains(text, "h"))
        seconds *= 3600;
    return seconds;
}

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

// The levels a sound-level record shows; its status column follows them.
int LevelColumns(std::string_view model) {
    return model_rules::IsQS4160(model) ? 5 : 3;
}

std::vector<ui::ListColumn> LevelColumnsOf(records::RecordKind, const CInstrStatus& current) {
    std::vector<ui::ListColumn> columns{{kTimeHeading, ui::LVCFMT_LEFT, kTimeWidth}};
    const std::string* levels[] = {&current.m_strSlm1Param, &current.m_strSlm2Param,
                                   &current.m_strSlm3Param, &current.m_strSlm4Param,
                                   &current.m_strSlm5Param};
    for (int i = 0; i < LevelColumns(current.m_strModel); ++i)
        columns.push_back({*levels[i], ui::LVCFMT_LEFT, kLevelWidth});
    columns.push_back({kStatusHeading, ui::LVCFMT_LEFT, kLevelWidth});
    return columns;
}

std::vector<ui::ListColumn> ProfileColumnsOf(records::RecordKind, const CInstrStatus& current) {
    return {
        {kTimeHeading, ui::LVCFMT_LEFT, kTimeWidth},
        {Contains(current.m_strModel, "QS4060") ? std::string("LAFmx") : current.m_strProfileParam,
         ui::LVCFMT_LEFT, kLevelWidth},
        {kStatusHeading, ui::LVCFMT_LEFT, kLevelWidth}};
}

// The band captions without their blank ("1 k" heads its column as "1k"); the caption after
// the last band, the overall level's, is the auxiliary weighting as the meter names it.
std::vector<ui::ListColumn> BandColumnsOf(records::RecordKind kind, const CInstrStatus& current) {
    const auto caption = [&](int band) {
        return records::BandLabel(kind->bands, band, records::kNoBandShift,
                                  current.m_strSpectAuxWeighting);
    };
    const int bands = kind->valuesPerSample - 1;
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

std::string ValueText(std::optional<std::uint16_t> word) {
    return word ? records::LevelText(*word) : std::string();
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
    if (source.schedule) {
        const auto recordSeconds = source.page.TimeSeconds(row);
        return source.schedule->FormatSampleTime(recordSeconds.value_or(0), row);
    }
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

// Values a second, and the rate the "LAST" marks count at, by the profile interval.
struct ProfileRate {
    long long perSecond;
    long long markRate;
};

ProfileRate ProfileRateOf(const std::string& profileTime) {
    switch (records::ProfileStepOf(profileTime)) {
        case records::ProfileStep::Eighth:
            return {8, 8};
        case records::ProfileStep::Quarter:
            return {4, 4};
        case records::ProfileStep::Other:
            break;
    }
    return {2, Contains(profileTime, "0.5") ? 2 : 1};
}

std::string LevelCell(const DataListSource& source, int row, int column) {
    const long long first = source.selectedPage * source.recordsPerPage;
    const long long seconds = (first + row + 1) / 2;
    const int levels = LevelColumns(source.model);
    if (column == 0)
        return TimeText(source, row, seconds);
    if (column <= levels)
        return ValueText(source.page.Value(row, column - 1));
    if (column == levels + 1) {
        const long long firstRowTime = ((first + 1) / 2) % kSecondsPerDay;
        return LastMark(row, firstRowTime, 2, IntegrationIntervalSeconds(source.integrationTime));
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
            return ValueText(source.page.Value(row, 0));
        case 2: {
            const long long firstRowTime =
                ((first + rate.perSecond / 2) / rate.perSecond) % kSecondsPerDay;
            return LastMark(row, firstRowTime, rate.markRate,
                            IntegrationIntervalSeconds(source.integrationTime));
        }
        default:
            return std::string();
    }
}

// The status column of a spectrum stays empty: its record holds no status.
std::string SpectrumCell(const DataListSource& source, int row, int column) {
    if (column == 0) {
        const auto seconds = source.page.TimeSeconds(row);
        return seconds ? TimeText(source, row, *seconds) : std::string();
    }
    return ValueText(source.page.Value(row, column - 1));
}

// The column of a row's status ("LAST") as the graph panels look for it: after the levels a
// "QS4060" shows, or all five; after the profile level; none in a spectrum's rows, whose
// records hold no status.
int LevelStatusColumn(std::string_view model) {
    return 1 + (Contains(model, "QS4060") ? 3 : 5);
}

int ProfileStatusColumn(std::string_view) {
    return 2;
}

int NoStatusColumn(std::string_view) {
    return 0;
}

// The rows of each shape of record: its columns, and the text of a cell.
struct RowShape {
    records::RecordShape shape;
    std::vector<ui::ListColumn> (*columns)(records::RecordKind kind, const CInstrStatus& current);
    std::string (*cell)(const DataListSource& source, int row, int column);
    int (*statusColumn)(std::string_view model);
};

constexpr RowShape kRowShapes[] = {
    {records::RecordShape::Levels, LevelColumnsOf, LevelCell, LevelStatusColumn},
    {records::RecordShape::Profile, ProfileColumnsOf, ProfileCell, ProfileStatusColumn},
    {records::RecordShape::Spectrum, BandColumnsOf, SpectrumCell, NoStatusColumn},
};

const RowShape* RowShapeOf(std::optional<records::RecordKind> kind) {
    if (!kind)
        return nullptr;
    for (const RowShape& rows : kRowShapes)
        if (rows.shape == (*kind)->shape)
            return &rows;
    return nullptr;
}

}  // namespace

std::vector<ui::ListColumn> DataListColumns(std::optional<records::RecordKind> kind,
                                            const CInstrStatus& current) {
    const RowShape* rows = RowShapeOf(kind);
    return rows ? rows->columns(*kind, current) : std::vector<ui::ListColumn>();
}

std::string DataListCellText(const DataListSource& source, int row, int column) {
    const RowShape* rows = RowShapeOf(source.page.Kind());
    if (row < 0 || column < 0 || !rows)
        return std::string();
    return rows->cell(source, row, column);
}

int StatusColumn(std::optional<records::RecordKind> kind, std::string_view model) {
    const RowShape* rows = RowShapeOf(kind);
    return rows ? rows->statusColumn(model) : 0;
}

std::string IsophoneCellText(int column,
                             const std::function<std::optional<double>(int band)>& contourLevel) {
    constexpr int kFirstBandColumn = 2;
    if (column == 1)
        return "ISOPHONE";
    const auto level = column >= kFirstBandColumn && contourLevel
                           ? contourLevel(column - kFirstBandColumn)
                           : std::nullopt;
    return level ? Format("[%.1f]", *level) : std::string();
}

}  // namespace acquisition
