#include "records/record_kind.h"

#include <array>
#include <utility>

#include "platform/text.h"

namespace records {

namespace {

constexpr MonitoringRate kOctaveRates[] = {{"0.5s", 9600, {}}, {"1s", 4800, {}}};
constexpr MonitoringRate kThirdOctaveRates[] = {
    {"0.5s", 19200, " THIRDOCTAVE"}, {"1s", 9600, {}}, {"2s", 4800, {}}};

// One row per kind, in the order of the meter's numbers.
constexpr std::array<RecordKindTraits, 4> kTraits = {{
    {.channelMode = 0,
     .name = "SLM",
     .modeWord = {},
     .recordWord = "SLM",
     .shape = RecordShape::Levels,
     .valuesPerSample = 5,
     .samplesByProfileStep = false,
     .interval = IntervalSource::HalfSecond,
     .bands = BandSet::None,
     .monitoringRates = {},
     .repeatsFirstRecord = false},
    {.channelMode = 1,
     .name = "PROFILE",
     .modeWord = "PROFILE",
     .recordWord = "PROF",
     .shape = RecordShape::Profile,
     .valuesPerSample = 1,
     .samplesByProfileStep = true,
     .interval = IntervalSource::ProfileTime,
     .bands = BandSet::None,
     .monitoringRates = {},
     .repeatsFirstRecord = false},
    {.channelMode = 2,
     .name = "OCTAVE",
     .modeWord = "OCTAVE",
     .recordWord = "OCT",
     .shape = RecordShape::Spectrum,
     .valuesPerSample = 12,
     .samplesByProfileStep = false,
     .interval = IntervalSource::SpectrumTime,
     .bands = BandSet::Octave,
     .monitoringRates = kOctaveRates,
     .repeatsFirstRecord = false},
    {.channelMode = 3,
     .name = "THIRD OCTAVE",
     .modeWord = "THIRD OCTAV",
     .recordWord = "THIRD",
     .shape = RecordShape::Spectrum,
     .valuesPerSample = 33,
     .samplesByProfileStep = false,
     .interval = IntervalSource::SpectrumTime,
     .bands = BandSet::ThirdOctave,
     .monitoringRates = kThirdOctaveRates,
     .repeatsFirstRecord = true},
}};

}  // namespace

std::span<const RecordKind> RecordKind::All() {
    // One kind per row of the table.
    static constexpr auto kKinds = []<size_t... Row>(std::index_sequence<Row...>) {
        return std::array{RecordKind(static_cast<int>(Row))...};
    }
    (std::make_index_sequence<kTraits.size()>());
    return kKinds;
}

std::optional<RecordKind> RecordKind::OfChannelMode(int mode) {
    for (const RecordKind kind : All())
        if (kind.ChannelMode() == mode)
            return kind;
    return std::nullopt;
}

RecordKind RecordKind::OfModeText(std::string_view text) {
    std::optional<RecordKind> named;
    std::optional<RecordKind> unnamed;
    for (const RecordKind kind : All()) {
        if (kind->modeWord.empty())
            unnamed = unnamed.value_or(kind);
        else if (platform::Contains(text, kind->modeWord))
            named = kind;
    }
    return named.value_or(unnamed.value_or(All().front()));
}

const RecordKindTraits& RecordKind::Traits() const {
    return kTraits[static_cast<size_t>(m_row)];
}

std::optional<std::string_view> IntervalSetting(RecordKind kind, std::string_view profileTime,
                                                std::string_view spectrumTime) {
    switch (kind->interval) {
        case IntervalSource::ProfileTime:
            return profileTime;
        case IntervalSource::SpectrumTime:
            return spectrumTime;
        case IntervalSource::HalfSecond:
            break;
    }
    return std::nullopt;
}

double IntervalSeconds(RecordKind kind, std::string_view profileTime,
                       std::string_view spectrumTime) {
    constexpr double kHalfSecond = 0.5;
    const auto setting = IntervalSetting(kind, profileTime, spectrumTime);
    return setting ? platform::Atof(*setting) : kHalfSecond;
}

}  // namespace records
