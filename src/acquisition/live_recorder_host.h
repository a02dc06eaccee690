#pragma once
// What the live record processors need of the application: the setup the records are read
// with, the main view's report list, the live graph, band chart and 3-D spectrum
// window, the lost-data notice and the frame's messages.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "records/record_layout.h"

namespace acquisition {

// The current setup values a live record is read with.
struct LiveSetup {
    std::string model;
    // The meter's date and time (DATE and TIME), bare or after "Instr.Date: " / "Instr.Time: ".
    std::string date;
    std::string time;
    std::string profileTime;
    std::string spectrumTime;
    // Samples per page as the operator chose them (0: not chosen).
    long long pageSize = 0;
    // The scheduler's acquisition and repetition times, kept in every page file's header.
    records::ScheduleTime acquisitionTime;
    records::ScheduleTime repetitionTime;
};

class LiveRecorderHost {
public:
    virtual ~LiveRecorderHost() = default;

    // --- the recording
    virtual LiveSetup Setup() const = 0;
    // The folder of the record index and its page files.
    virtual std::string RecordFolder() const = 0;

    // --- the main view's report list (one row per record; columns 1.. the levels)
    virtual int ReportRowCount() const = 0;
    virtual void InsertReportRow(int row, const std::string& time) = 0;
    virtual void SetReportText(int row, int column, const std::string& text) = 0;
    // The follow-the-last-row flag of the view.
    virtual bool FollowsLastRow() const = 0;
    virtual void SetFollowsLastRow() = 0;
    virtual void ShowReportRow(int row) = 0;
    // A page ended: empty rows go in front of the old page's rows, and the list is trimmed
    // back to the rows of the new page while records arrive (frame timer 12).
    virtual void InsertEmptyReportRows(int count) = 0;
    virtual void StartReportTrim() = 0;

    // --- the live displays
    // The five level texts of level record `record` into the live graph (AddLiveRecord).
    virtual void AddLiveRecord(int record, const std::vector<std::string>& levels) = 0;
    // One profile sample into the live graph (AddLiveGraphPoint).
    virtual void AddLiveGraphPoint(int sample, const std::string& level) = 0;
    // Whether the live spectrum is on screen, and a record's band lines (from the first one
    // on) shown in the live band chart (RearrangeGraphWindows).
    virtual bool ShowsLiveSpectrum() const = 0;
    virtual void RearrangeGraphWindows(const std::string& reply) = 0;
    virtual void ClearLiveChart() = 0;
    virtual void RepaintLiveGraph() = 0;
    // The live 3-D spectrum window, while it exists: a record's band words (every band of its
    // kind, the overall level last) as its next row, and its graph cleared.
    virtual bool HasLiveSpectrumWindow() const = 0;
    virtual void HideLiveSpectrumWindow() = 0;
    virtual void AddLiveSpectrum(std::span<const std::uint16_t> bands) = 0;
    virtual void ClearLiveSpectrum() = 0;

    // --- the frame
    // The lost-data notice (CLooseDataDlg).
    virtual void ShowDataLoss() = 0;
    // A time-stamped line of the scheduler log.
    virtual void LogScheduler(const std::string& text) = 0;
    // A box, or a scheduler log line while the scheduler runs.
    virtual void Warn(const std::string& text) = 0;
};

}  // namespace acquisition
