#pragma once
// The live recording: the recorder that each record of a monitoring run goes to, the windows
// it draws on (the view's report list and live displays, the live "Spectrum" window), and the
// report list's trim after a page ends (timer 12), whose job it registers.

#include <string>

#include "acquisition/live_recorder.h"
#include "app/live_spectrum_chart.h"
#include "app/view_live_displays.h"
#include "app/view_report_list.h"

class FrameTimers;
class FrameUi;
class ViewLookup;

class LiveRecording : private acquisition::LiveRecorderHost {
public:
    // What the live recording uses, none of it owned.
    struct Uses {
        // The view's page list, which lists the pages as they end.
        acquisition::PageListView& pages;
        // The current page file and the recording the view shows.
        acquisition::RecordFile& recordFile;
        acquisition::Recording& recording;
        const MeterMode& mode;
        // The program's setup block, the head of every page file.
        const records::SetupBlock& setupBlock;
        FrameTimers& timers;
        // Cuts the view's report list back, a step each tick of timer 12.
        FrameUi& ui;
        acquisition::OperatorNotices& notices;
        acquisition::CLooseDataDlg& lossNotice;
        // The chart windows' live "Spectrum" window.
        charts::CDemoDlg& liveSpectra;
        const ViewLookup& views;
        // The folder of the record index and its page files.
        const std::string& recordFolder;
    };

    // Registers the handler of timer 12.
    explicit LiveRecording(const Uses& uses);
    ~LiveRecording() override;
    LiveRecording(const LiveRecording&) = delete;
    LiveRecording& operator=(const LiveRecording&) = delete;

    acquisition::LiveRecorder& Recorder() { return m_recorder; }

private:
    // acquisition::LiveRecorderHost: the current setup, and timer 12 armed.
    acquisition::LiveSetup Setup() const override;
    void StartReportTrim() override;
    // Timer 12: a step of the trim, which stops once nothing is left to cut.
    void TrimReportList();

    FrameTimers& m_timers;
    FrameUi& m_ui;
    ViewReportList m_reports;
    ViewLiveDisplays m_displays;
    LiveSpectrumChart m_spectrum;
    acquisition::LiveRecorder m_recorder;
};
