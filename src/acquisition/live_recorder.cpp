#include "acquisition/live_recorder.h"

#include <algorithm>
#include <utility>

#include "acquisition/loose_data_dlg.h"
#include "link/meter_mode.h"
#include "platform/date_time.h"
#include "platform/files.h"
#include "platform/qt_text.h"
#include "platform/text.h"
#include "platform/win_types.h"

namespace acquisition {

namespace {

constexpr double kShortestLossGap = 1.0;  // seconds
constexpr int kFewerLevelChannels = 3;
constexpr int kRowsBeforeRepeatsDrop = 10;
constexpr const char* kFirstElapsed = "00:00:00";
constexpr const char* kLossWarning = "WARNING: Loss data detected.";
constexpr const char* kWriteFailure =
    "ERROR: Unable to write the record file %s.\nMonitoring goes on without recording.";

// The value of a setup text, with or without the label the view's setup list gives it.
std::string Bare(const std::string& text) {
    constexpr int kLabelLength = 12;  // "Instr.Date: ", "Instr.Time: "
    return platform::StartsWith(text, "Instr.") ? platform::Trim(platform::Mid(text, kLabelLength))
                                                : platform::Trim(text);
}

// A record interval with its unit letter ("0.5s", "2m", "1h") in seconds; a gap longer than
// it, and at least a second, is a loss.
double LossThreshold(const std::string& interval) {
    const double number = platform::Atof(interval);
    double seconds = 0;
    if (platform::Contains(interval, "s"))
        seconds = number;
    if (platform::Contains(interval, "m"))
        seconds = number * 60;
    if (platform::Contains(interval, "h"))
        seconds = number * 3600;
    return std::max(seconds, kShortestLossGap);
}

int ElapsedSeconds(const records::ElapsedTime& time) {
    return time.hours * 3600 + time.minutes * 60 + time.seconds;
}

}  // namespace

void LiveRecorder::Reset() {
    m_row = 0;
    m_sincePageStart = 0;
    m_pageSamples = 0;
    m_page = 0;
    m_total = 0;
    m_spectrumRows = 0;
    m_failed = !m_uses.file.IsOpen();
    m_last = Timing{kFirstElapsed, 0, std::nullopt};
    m_previous.reset();
}

void LiveRecorder::BeginRecording() {
    m_page = 0;
    m_pageSamples = 0;
    // The run's start has told the operator already when its first page could not be made.
    m_failed = !m_uses.file.IsOpen();
    m_previous.reset();
}

records::RecordLayout LiveRecorder::Layout(records::RecordKind kind) const {
    return records::RecordLayout::For(kind, m_uses.host.Setup().profileTime);
}

long long LiveRecorder::PageSize(records::RecordKind kind) const {
    const records::RecordLayout layout = Layout(kind);
    const long long chosen = m_uses.host.Setup().pageSize;
    const long long fits =
        (static_cast<long long>(records::kDataBufferSize) - records::kPageStartBytes) /
        layout.RecordBytes() * layout.SamplesPerRecord();
    const long long size = chosen > 0 ? chosen : kDefaultPageSize;
    return std::clamp<long long>(size, layout.SamplesPerRecord(), fits);
}

// --- the processors, one per shape of record

void LiveRecorder::ProcessRecord(records::RecordKind kind, const std::string& reply) {
    using Processor = void (LiveRecorder::*)(records::RecordKind, const std::string&);
    static constexpr std::pair<records::RecordShape, Processor> kProcessors[] = {
        {records::RecordShape::Levels, &LiveRecorder::ProcessLevels},
        {records::RecordShape::Profile, &LiveRecorder::ProcessProfile},
        {records::RecordShape::Spectrum, &LiveRecorder::ProcessSpectrum},
    };
    for (const auto& [shape, process] : kProcessors)
        if (shape == kind->shape)
            (this->*process)(kind, reply);
}

void LiveRecorder::ProcessLevels(records::RecordKind kind, const std::string& reply) {
    const int values = kind->valuesPerSample;
    const LiveRecordText record = ParseLevelRecord(reply, values);
    // Only a "QS4160" shows every channel; the others show the first three.
    const int channels =
        platform::Contains(m_uses.host.Setup().model, "QS4160") ? values : kFewerLevelChannels;
    ++m_sincePageStart;
    if (TakeTime(record.elapsed, kind))
        RecordLoss(kind, 1, channels);
    if (record.hasLevels) {
        const int row = InsertRow(m_last.text);
        for (int value = 0; value < values; ++value)
            m_uses.reports.SetReportText(row, value + 1,
                                         record.levelTexts[static_cast<size_t>(value)]);
        if (!record.marker.empty())
            m_uses.reports.SetReportText(row, channels + 1, record.marker);
        if (m_uses.reports.FollowsLastRow())
            m_uses.reports.ShowReportRow(row);
        m_uses.displays.AddLiveRecord(row, record.levelTexts);
        WriteRecord(kind, record.words);
    }
    ++m_total;
}

void LiveRecorder::ProcessProfile(records::RecordKind kind, const std::string& reply) {
    const int samples = Layout(kind).SamplesPerRecord();
    const LiveRecordText record = ParseProfileRecord(reply, samples);
    if (TakeTime(record.elapsed, kind))
        RecordLoss(kind, samples, 1);
    if (!record.hasLevels) {
        ++m_total;
        return;
    }
    int row = -1;
    for (int sample = 0; sample < samples; ++sample) {
        const std::string& level = record.levelTexts[static_cast<size_t>(sample)];
        row = InsertRow(m_last.text);
        m_uses.reports.SetReportText(row, 1, level);
        m_uses.displays.AddLiveGraphPoint(row, level);
        ++m_total;
        ++m_sincePageStart;
    }
    if (m_uses.reports.FollowsLastRow())
        m_uses.reports.ShowReportRow(row);
    WriteRecord(kind, record.words);
}

void LiveRecorder::ProcessSpectrum(records::RecordKind kind, const std::string& reply) {
    const int bands = kind->valuesPerSample;
    const LiveRecordText record = ParseSpectrumRecord(reply, bands);
    // A meter that repeats its first record: once the run is going the repeat is dropped.
    if (kind->repeatsFirstRecord && record.elapsed &&
        ElapsedText(*record.elapsed) == kFirstElapsed &&
        m_uses.reports.ReportRowCount() > kRowsBeforeRepeatsDrop)
        return;
    ++m_sincePageStart;
    if (TakeTime(record.elapsed, kind))
        RecordLoss(kind, 1, bands);
    if (record.hasLevels) {
        const int row = InsertRow(m_last.text);
        if (!record.marker.empty())
            m_uses.reports.SetReportText(row, bands + 1, record.marker);
        for (int band = 0; band < bands; ++band)
            m_uses.reports.SetReportText(row, band + 1,
                                         record.levelTexts[static_cast<size_t>(band)]);
        if (m_uses.reports.FollowsLastRow())
            m_uses.reports.ShowReportRow(row);
        AddSpectrumRow(record.words);
        WriteRecord(kind, record.words);
        if (m_uses.displays.ShowsLiveSpectrum() && m_uses.reports.FollowsLastRow())
            m_uses.displays.RearrangeGraphWindows(std::string(SpectrumLevelList(reply)));
    }
    ++m_total;
}

// --- time and loss

bool LiveRecorder::TakeTime(const std::optional<records::ElapsedTime>& elapsed,
                            records::RecordKind kind) {
    if (!elapsed)
        return false;
    const LiveSetup setup = m_uses.host.Setup();
    const auto interval = records::IntervalSetting(kind, setup.profileTime, setup.spectrumTime);
    const double threshold = interval ? LossThreshold(std::string(*interval)) : kShortestLossGap;
    Timing now{ElapsedText(*elapsed),
               records::PackTimeWord(elapsed->hours, elapsed->minutes, elapsed->seconds),
               std::nullopt};
    if (const auto meter = CivilTime::Parse(Bare(setup.date) + " " + Bare(setup.time)))
        now.when = meter->AddSeconds(ElapsedSeconds(*elapsed));
    const bool lost =
        m_previous && now.when && now.when->Seconds() - m_previous->Seconds() > threshold;
    m_previous = now.when;
    m_last = std::move(now);
    return lost;
}

void LiveRecorder::RecordLoss(records::RecordKind kind, int rows, int levelColumns) {
    const bool spectrum = kind.IsSpectrum();
    m_uses.lossNotice.ShowLoss();
    if (m_uses.mode.IsSchedulerMode())
        m_uses.notices.LogScheduler(kLossWarning);
    if (spectrum && m_uses.spectrum.HasWindow())
        m_uses.spectrum.Hide();
    for (int lost = 0; lost < rows; ++lost) {
        const int row = InsertRow(m_last.text);
        for (int column = 1; column <= levelColumns; ++column)
            m_uses.reports.SetReportText(row, column, "0");
        if (kind->shape == records::RecordShape::Profile)
            m_uses.displays.AddLiveGraphPoint(row, "0");
        ++m_total;
    }
    const records::RecordLayout layout = Layout(kind);
    if (spectrum)
        AddSpectrumRow(std::vector<std::uint16_t>(layout.ValuesPerSample(), 0));
    // A lost record is zero in every byte, its time word included.
    const std::vector<std::uint16_t> zeros(layout.WordsPerRecord() - 1, 0);
    const std::uint16_t word = m_last.word;
    m_last.word = 0;
    WriteRecord(kind, zeros);
    m_last.word = word;
}

// --- rows, the 3-D window and the page files

int LiveRecorder::InsertRow(const std::string& time) {
    const int row = m_row++;
    m_uses.reports.InsertReportRow(row, time);
    return row;
}

void LiveRecorder::AddSpectrumRow(const std::vector<std::uint16_t>& bands) {
    if (!m_uses.spectrum.HasWindow())
        return;
    m_uses.spectrum.AddRow(bands);
    if (++m_spectrumRows >= kSpectrumWindowRows) {
        m_uses.spectrum.ClearRows();
        m_spectrumRows = 0;
    }
}

void LiveRecorder::WriteRecord(records::RecordKind kind, const std::vector<std::uint16_t>& values) {
    const records::RecordLayout layout = Layout(kind);
    if (!m_failed && !m_uses.file.Write(records::EncodeRecord(m_last.word, values)))
        Fail(m_uses.file.IsOpen() ? m_uses.file.Path() : std::string(records::kRecordIndexName));
    // A loss record may fill the page as well as a measured one: the page ends at whichever
    // reaches its size, and holds exactly the records the readers read of a page.
    m_pageSamples += layout.SamplesPerRecord();
    const long long pageSamples =
        layout.PageDataBytes(PageSize(kind)) / layout.RecordBytes() * layout.SamplesPerRecord();
    if (m_pageSamples >= pageSamples)
        ClosePage(kind);
}

void LiveRecorder::ClosePage(records::RecordKind kind) {
    // The next page's start text and its file's name tell the same second.
    const platform::DateTime now = platform::DateTime::Now();
    const std::string start = now.Format(records::kPageStartFormat);
    if (m_uses.spectrum.HasWindow())
        m_uses.spectrum.ClearRows();
    m_spectrumRows = 0;

    Timebase& timebase = m_uses.recording.Time();
    const unsigned last = timebase.SegmentStarts().empty() ? 0 : timebase.SegmentStarts().back();
    timebase.AppendSegment(last + static_cast<unsigned>(m_row), "0#" + start);
    m_uses.reports.SetFollowsLastRow();
    m_row = 0;
    m_sincePageStart = 0;
    m_pageSamples = 0;

    m_uses.reports.InsertEmptyReportRows(kEmptyRowsAtPageEnd);
    m_uses.host.StartReportTrim();
    m_uses.displays.ClearLiveChart();
    m_uses.displays.RepaintLiveGraph();

    const std::string recordStart = m_last.when ? m_last.when->Format() + " " : start;
    const int rows = m_uses.pages.RowCount();
    if (rows >= 2)
        m_uses.pages.SetRowText(rows - 2, platform::Format("PAGE %d", m_page));
    m_uses.pages.AppendRow("CURR PAGE", 0);
    m_uses.pages.AppendRow(recordStart, -1);
    m_uses.pages.SetPageStartText(recordStart);
    m_uses.pages.ShowLastRow();

    m_uses.file.Close();
    ++m_page;
    if (!m_failed)
        OpenNextPage(start, now.Format(records::kPageNameStampFormat), kind);
}

bool LiveRecorder::OpenNextPage(const std::string& start, const std::string& stamp,
                                records::RecordKind kind) {
    const std::string& folder = m_uses.recordFolder;
    const std::string index = platform::JoinPath(folder, records::kRecordIndexName);
    const std::optional<std::string> listed = platform::ReadWholeFile(index);
    if (!listed || !records::IsIndexFirstLine(platform::Left(*listed, 64))) {
        Fail(index);
        return false;
    }
    // Pages closed within one second are told apart by a number after the stamp.
    std::string name = records::RecordPageName(stamp);
    for (int other = 1; platform::Contains(*listed, name + "\r\n") ||
                        platform::FileExists(platform::JoinPath(folder, name));
         ++other)
        name = records::RecordPageName(stamp + platform::Format("_%d", other));
    if (!platform::WriteFileAtomic(index, *listed + name + "\r\n")) {
        Fail(index);
        return false;
    }
    const std::string path = platform::JoinPath(folder, name);
    if (!m_uses.file.Create(path)) {
        Fail(path);
        return false;
    }
    const Timebase& times = m_uses.recording.Time();
    records::SetupBlock header = m_uses.header;
    header.SetField(records::SetupBlock::kPagingSize, platform::Format("%.11lld", PageSize(kind)));
    const bool scheduled = m_uses.mode.IsSchedulerMode() && times.AcquisitionTime().IsValid();
    if (!m_uses.file.Write(records::PageFileHead(
            header, scheduled ? times.AcquisitionTime() : records::ScheduleTime{},
            scheduled ? times.RepetitionTime() : records::ScheduleTime{}, start))) {
        Fail(path);
        return false;
    }
    return true;
}

void LiveRecorder::Fail(const std::string& path) {
    if (m_failed)
        return;
    m_failed = true;
    m_uses.file.Close();
    m_uses.notices.Warn(platform::Format(kWriteFailure, platform::SystemNameToText(path).c_str()),
                        MB_ICONSTOP);
}

}  // namespace acquisition
