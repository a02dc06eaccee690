#pragma once
// The recording that the main view's lists and graphs show: the layout and page size of its
// pages, the page in the data buffer and how much of the buffer it filled, the selected page,
// segment and record, its start text and its timebase. The data-file reader fills it from a
// data set; the live side fills it as records arrive.

#include <span>
#include <string>

#include "acquisition/data_buffer.h"
#include "acquisition/sample_timebase.h"
#include "records/record_layout.h"

namespace acquisition {

class Recording {
public:
    // The layout and the samples per page of the recording's pages.
    void SetLayout(const records::RecordLayout& layout, long long pageSize);
    const records::RecordLayout& Layout() const { return m_layout; }
    long long PageSize() const { return m_pageSize; }

    // The page now in the data buffer: its number, the bytes it filled, its start text.
    void SetLoadedPage(int page, long long bytes, std::string startText);
    int SelectedPage() const { return m_page; }
    long long LoadedBytes() const { return m_loadedBytes; }
    const std::string& PageStartText() const { return m_pageStartText; }
    long long SampleCount() const { return m_layout.SamplesInPage(m_loadedBytes); }
    // The data buffer as the loaded page's records.
    DataBufferView View(std::span<const unsigned char> buffer) const {
        return DataBufferView(buffer, m_layout, m_loadedBytes);
    }

    // The page shown, by segment (-1: the last or live one), and the record whose values the
    // graphs show (-1: none).
    void SelectSegment(int segment) { m_timebase.SelectSegment(segment); }
    int SelectedSegment() const { return m_timebase.SelectedSegment(); }
    void SelectRecord(int record) { m_record = record; }
    int SelectedRecord() const { return m_record; }

    // Opened from a data file (rather than recorded live).
    void SetLoadedFromFile(bool loaded) { m_loadedFromFile = loaded; }
    bool LoadedFromFile() const { return m_loadedFromFile; }

    // Full date-times in the lists' time column instead of times of day.
    void SetAbsoluteTimes(bool on) { m_absoluteTimes = on; }
    bool AbsoluteTimes() const { return m_absoluteTimes; }

    Timebase& Time() { return m_timebase; }
    const Timebase& Time() const { return m_timebase; }
    // Recorded under the scheduler: its samples take their date-times from the timebase.
    bool IsScheduled() const { return m_timebase.HasScheduleTimes(); }

private:
    records::RecordLayout m_layout;
    long long m_pageSize = 0;
    int m_page = 0;
    long long m_loadedBytes = 0;
    std::string m_pageStartText;
    int m_record = -1;
    bool m_loadedFromFile = false;
    bool m_absoluteTimes = false;
    Timebase m_timebase;
};

}  // namespace acquisition
