#include "acquisition/sample_timebase.h"

#include <cmath>

#include "acquisition/civil_time.h"
#include "platform/text.h"

namespace acquisition {

namespace {

// Samples per acquisition: at the short intervals each acquisition carries half a second of
// samples more than its length. At the others the first-sample test takes the length in
// seconds as it is and the time stamps divide it by the interval.
long long SamplesPerAcquisition(long long seconds, float interval, bool divideLongIntervals) {
    if (interval <= 0)
        return divideLongIntervals ? 0 : seconds;
    const float samples = static_cast<float>(seconds) / interval;
    if (interval == 0.125f)
        return static_cast<long long>(samples + 4);
    if (interval == 0.25f)
        return static_cast<long long>(samples + 2);
    if (interval == 0.5f)
        return static_cast<long long>(samples + 1);
    return divideLongIntervals ? static_cast<long long>(samples) : seconds;
}

}  // namespace

float SamplingInterval(std::optional<records::RecordKind> kind, std::string_view profileTime,
                       std::string_view spectrumTime) {
    return kind ? static_cast<float>(records::IntervalSeconds(*kind, profileTime, spectrumTime))
                : 0;
}

void Timebase::SetScheduleTimes(const records::ScheduleTime& acquisition,
                                const records::ScheduleTime& repetition) {
    m_acquisition = acquisition;
    m_repetition = repetition;
}

void Timebase::SetSegments(std::vector<unsigned> starts, std::vector<std::string> texts) {
    m_starts = std::move(starts);
    m_texts = std::move(texts);
}

void Timebase::AppendSegment(unsigned start, std::string text) {
    m_starts.push_back(start);
    m_texts.push_back(std::move(text));
}

std::optional<long long> Timebase::SegmentStart() const {
    if (m_starts.empty())
        return std::nullopt;
    const long long segment =
        m_selected == -1 ? static_cast<long long>(m_starts.size()) - 1 : m_selected;
    if (segment < 0 || segment >= static_cast<long long>(m_starts.size()))
        return std::nullopt;
    return m_starts[static_cast<size_t>(segment)];
}

bool Timebase::IsReportIntervalSample(long long index) const {
    if (!HasScheduleTimes())
        return false;
    const auto start = SegmentStart();
    const long long perAcquisition = SamplesPerAcquisition(AcquisitionSeconds(), m_interval, false);
    if (!start || perAcquisition <= 0 || *start + index < 0)
        return false;
    return (*start + index) % perAcquisition == 0;
}

bool Timebase::IsReportIntervalIndex(long long seconds) const {
    if (!HasScheduleTimes())
        return false;
    const auto start = SegmentStart();
    if (!start || *start + seconds < 0)
        return false;
    const auto sample = static_cast<unsigned long long>(*start + seconds);
    const float elapsed = static_cast<float>(sample) * m_interval;
    const long long acquisition = AcquisitionSeconds();
    const long long perAcquisition =
        m_interval > 0 && m_interval < 1
            ? static_cast<long long>(static_cast<float>(acquisition) / m_interval + 1)
            : acquisition;
    if (perAcquisition <= 0)
        return false;
    if (m_interval >= 1)
        return static_cast<float>(sample % static_cast<unsigned long long>(perAcquisition)) ==
               m_interval;
    return elapsed == 0;
}

std::string Timebase::FormatSampleTime(int recordSeconds, long long index) const {
    if (!HasScheduleTimes() || m_texts.empty())
        return std::string();
    const auto start = SegmentStart();
    const long long segment =
        m_selected == -1 ? static_cast<long long>(m_texts.size()) - 1 : m_selected;
    if (!start || segment < 0 || segment >= static_cast<long long>(m_texts.size()))
        return std::string();

    const std::vector<std::string> parts =
        platform::Split(m_texts[static_cast<size_t>(segment)], '#');
    if (parts.size() < 2)
        return std::string();
    const long long count = platform::Atoll(parts[0]);
    const std::string& baseText = index > count && parts.size() > 2 ? parts[2] : parts[1];
    const auto base = CivilTime::Parse(baseText);
    if (!base)
        return std::string();

    const long long perAcquisition = SamplesPerAcquisition(AcquisitionSeconds(), m_interval, true);
    const long long acquisitions = perAcquisition > 0 ? (*start + index) / perAcquisition : 0;
    const auto time = base->AddSeconds(acquisitions * m_repetition.WholeSeconds() + recordSeconds);
    return time ? time->Format() : std::string();
}

}  // namespace acquisition
