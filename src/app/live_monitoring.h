#pragma once
// A live monitoring run on the program's side: the reply that starts its record files (the
// record index, the first page file and its head, the page list's first rows), each record of
// the run, which the link's router hands over while the meter streams them, and the watchdog
// that ends the run when records stop coming for ten record intervals (timer 13), or once the
// integration time is over. It registers the reply, the records and timer 13's job when it is
// built.

#include <string>

class CInstrStatus;
class FrameNotices;
class FrameTimers;
class FrameUi;
class LinkSession;
class MonitoringSession;
class ViewLookup;

namespace acquisition {
class CSchedulerDlg;
class LiveRecorder;
class RecordFile;
class Recording;
class SchedulerRun;
}  // namespace acquisition
namespace records {
class SetupBlock;
}

class LiveMonitoring {
public:
    // What the run uses, none of it owned.
    struct Uses {
        LinkSession& link;
        FrameTimers& timers;
        // The page list's first rows and the setup's display.
        FrameUi& ui;
        FrameNotices& notices;
        // The meter's setup as last read: its record times and its integration.
        const CInstrStatus& current;
        // The program's setup block, the head of every page file.
        records::SetupBlock& setupBlock;
        // The live records' recorder, the current page file and the recording the view shows.
        acquisition::LiveRecorder& recorder;
        acquisition::RecordFile& recordFile;
        acquisition::Recording& recording;
        // A scheduled run, which counts its records, and its window's schedule.
        acquisition::SchedulerRun& run;
        acquisition::CSchedulerDlg& schedulerWindow;
        // Ends the run whose integration time is over.
        MonitoringSession& session;
        const ViewLookup& views;
        // The folder of the record index and its page files.
        const std::string& recordFolder;
    };

    explicit LiveMonitoring(const Uses& uses);
    ~LiveMonitoring();
    LiveMonitoring(const LiveMonitoring&) = delete;
    LiveMonitoring& operator=(const LiveMonitoring&) = delete;

    // The seconds of the run measured against a single integration's time.
    void SetElapsedSeconds(int seconds) { m_elapsedSeconds = seconds; }

private:
    void StartRecordFile(const std::string& reply);
    // A reply while the meter streams: a record of the channel mode's kind for the recorder.
    bool TakeRecord(const std::string& record);
    // Timer 13: no record for too long, or the integration time over.
    void OnIntegrationEndTimer();

    Uses m_uses;
    int m_elapsedSeconds = 0;
};
