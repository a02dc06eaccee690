#pragma once
// The live record processors: each record the meter sends while live monitoring runs becomes
// a row of the report list (one per sample), a point of the live displays and a record of the
// current page file, written with the format module's layouts. A gap in the record times
// longer than the record interval is a loss: the notice shows and a zero row and a zero
// record stand for what was lost. A full page closes: it is listed in the record index, a new
// page file starts with the recording's header, and the report list is trimmed back to the new
// page's rows.
//
// A page file or index that cannot be written stops the recording with one message; the rows
// go on. The processors run on the user-interface thread as the link hands them the records.

#include <optional>
#include <string>
#include <vector>

#include "acquisition/civil_time.h"
#include "acquisition/live_displays.h"
#include "acquisition/live_record_sink.h"
#include "acquisition/live_record_text.h"
#include "acquisition/live_recorder_host.h"
#include "acquisition/live_spectrum_window.h"
#include "acquisition/operator_notices.h"
#include "acquisition/page_list_view.h"
#include "acquisition/record_file.h"
#include "acquisition/recording.h"
#include "acquisition/report_list_view.h"

class MeterMode;

namespace acquisition {

class CLooseDataDlg;

class LiveRecorder : public LiveRecordSink {
public:
    // Empty rows put in front of the old page's rows when a page ends.
    static constexpr int kEmptyRowsAtPageEnd = 50;
    // The paging choice the dialog opens on, for a recording whose page size was never chosen.
    static constexpr long long kDefaultPageSize = 200;
    // The live 3-D window starts again after this many rows.
    static constexpr int kSpectrumWindowRows = 2000;

    // What the recorder uses, none of it owned.
    struct Uses {
        LiveRecorderHost& host;
        // Where the records show: the pages as they end, a row per sample, the live graph and
        // band chart, the live "Spectrum" window.
        PageListView& pages;
        ReportListView& reports;
        LiveDisplays& displays;
        LiveSpectrumWindow& spectrum;
        // A loss, and a page file that cannot be written.
        CLooseDataDlg& lossNotice;
        OperatorNotices& notices;
        // The current page file, and the recording whose segments and schedule times the pages
        // get.
        RecordFile& file;
        Recording& recording;
        // The link's (scheduler mode).
        const MeterMode& mode;
        // The program's setup block, the head of every page file.
        const records::SetupBlock& header;
        // The folder of the record index and its page files, read at every page.
        const std::string& recordFolder;
    };

    explicit LiveRecorder(const Uses& uses) : m_uses(uses) { Reset(); }
    LiveRecorder(const LiveRecorder&) = delete;
    LiveRecorder& operator=(const LiveRecorder&) = delete;

    // A new session: every counter 0, no previous record; nothing is recorded before the
    // run's record files start (BeginRecording).
    void Reset();
    // The record files of a run were started (the first page file is open and has its head):
    // the first page, nothing written on it. Without an open page file nothing is recorded.
    void BeginRecording();

    // The samples per page of a recording of `kind` under the current setup: the operator's
    // choice, the dialog's first choice when none was made, always at least one whole record
    // and never more than the data buffer holds.
    long long PageSize(records::RecordKind kind) const;

    // One live record of `kind`, as the meter sent it.
    void ProcessRecord(records::RecordKind kind, const std::string& reply) override;

    // The next report-list row (the rows of the current page).
    int RowCounter() const { return m_row; }
    int PageNumber() const { return m_page; }
    // Samples written to the current page file.
    long long PageSamples() const { return m_pageSamples; }
    long long TotalRecords() const { return m_total; }
    bool Failed() const { return m_failed; }

private:
    struct Timing {
        std::string text = "00:00:00";  // "%.2d:%.2d:%.2d" of the record's elapsed time
        std::uint16_t word = 0;
        std::optional<CivilTime> when;  // the meter's date and time plus the elapsed time
    };

    void ProcessLevels(records::RecordKind kind, const std::string& reply);
    void ProcessProfile(records::RecordKind kind, const std::string& reply);
    void ProcessSpectrum(records::RecordKind kind, const std::string& reply);
    // Takes the record's elapsed time; true when a loss lies before it.
    bool TakeTime(const std::optional<records::ElapsedTime>& elapsed, records::RecordKind kind);
    void RecordLoss(records::RecordKind kind, int rows, int levelColumns);
    int InsertRow(const std::string& time);
    void AddSpectrumRow(const std::vector<std::uint16_t>& bands);
    void WriteRecord(records::RecordKind kind, const std::vector<std::uint16_t>& values);
    void ClosePage(records::RecordKind kind);
    bool OpenNextPage(const std::string& start, const std::string& stamp, records::RecordKind kind);
    void Fail(const std::string& path);
    records::RecordLayout Layout(records::RecordKind kind) const;

    Uses m_uses;

    int m_row = 0;
    long long m_sincePageStart = 0;
    long long m_pageSamples = 0;
    int m_page = 0;
    long long m_total = 0;
    int m_spectrumRows = 0;
    bool m_failed = false;
    Timing m_last;
    std::optional<CivilTime> m_previous;
};

}  // namespace acquisition
