#pragma once
// The timebase of a recording made under the acquisition scheduler: a chain of acquisitions,
// one every repetition time, each lasting the acquisition time, whose samples follow each
// other in the recording's pages (segments). It answers whether a sample is the first of an
// acquisition and the date and time of a sample; with either schedule time missing it answers
// false and empty texts. It also keeps the segments and which one is shown.

#include <string>
#include <string_view>
#include <vector>

#include "records/record_layout.h"

namespace acquisition {

// The sampling interval of a kind in seconds (IntervalSeconds), 0 without a kind.
float SamplingInterval(std::optional<records::RecordKind> kind, std::string_view profileTime,
                       std::string_view spectrumTime);

class Timebase {
public:
    void SetScheduleTimes(const records::ScheduleTime& acquisition,
                          const records::ScheduleTime& repetition);
    const records::ScheduleTime& AcquisitionTime() const { return m_acquisition; }
    const records::ScheduleTime& RepetitionTime() const { return m_repetition; }
    bool HasScheduleTimes() const { return m_acquisition.IsValid() && m_repetition.IsValid(); }

    void SetSamplingInterval(float seconds) { m_interval = seconds; }
    float SamplingInterval() const { return m_interval; }

    // The first sample number of each segment and its text: a sample count, "#" and a date and
    // time, optionally followed by "#" and a second date and time that holds for the samples
    // after the count.
    void SetSegments(std::vector<unsigned> starts, std::vector<std::string> texts);
    void AppendSegment(unsigned start, std::string text);
    const std::vector<unsigned>& SegmentStarts() const { return m_starts; }
    const std::vector<std::string>& SegmentTexts() const { return m_texts; }
    // -1: the last one.
    void SelectSegment(int segment) { m_selected = segment; }
    int SelectedSegment() const { return m_selected; }

    // `index` counts within the selected segment.
    bool IsReportIntervalSample(long long index) const;
    // The 3-D window's test on a record's time of day in seconds.
    bool IsReportIntervalIndex(long long seconds) const;
    // "%Y/%m/%d %H:%M:%S" of a sample whose record carries `recordSeconds`; empty without
    // schedule times, segment or readable base, or past the calendar's range.
    std::string FormatSampleTime(int recordSeconds, long long index) const;

private:
    // The start of the selected (or last) segment; nothing when there is no such segment.
    std::optional<long long> SegmentStart() const;
    long long AcquisitionSeconds() const { return m_acquisition.WholeSeconds(); }

    records::ScheduleTime m_acquisition;
    records::ScheduleTime m_repetition;
    float m_interval = 0;
    std::vector<unsigned> m_starts;
    std::vector<std::string> m_texts;
    int m_selected = -1;
};

}  // namespace acquisition
