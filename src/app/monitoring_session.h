#pragma once
// The session operations on the monitoring link: stopping a monitoring run, reading the whole
// setup, starting a new monitoring session (or ending the live run that goes on), the end of
// a run's link, and starting a download of the meter's memory. A new session asks whether to
// save before it discards anything. The session keeps the running audio recording, whose line
// goes to "AudioFileList.txt" when it ends, and the meter's clock on the status bar while a
// session runs. The scheduler's window and run set them going too.

#include <string>

#include "acquisition/run_session.h"
#include "sound/audio_file_list.h"

class ChartWindows;
class FrameDataFiles;
class FrameNotices;
class FrameTimers;
class FrameUi;
class LinkSession;
class ViewLookup;
struct DownloadProgress;

namespace acquisition {
class DumpDecoder;
class LiveRecorder;
class RecordFile;
class Recording;
}  // namespace acquisition

namespace records {
class SetupBlock;
}

class MonitoringSession : public acquisition::RunSession {
public:
    // What the operations use, none of it owned.
    struct Uses {
        LinkSession& link;
        FrameTimers& timers;
        FrameUi& ui;
        FrameNotices& notices;
        // The live recording: its records, its page file and the recording the view shows.
        acquisition::LiveRecorder& liveRecorder;
        acquisition::RecordFile& recordFile;
        acquisition::Recording& recording;
        records::SetupBlock& setupBlock;
        // The memory download and its progress.
        acquisition::DumpDecoder& dumpDecoder;
        DownloadProgress& download;
        // What shows the session's data: the "Save on File" window and the navigator, the
        // graph legend, the view.
        FrameDataFiles& dataFiles;
        ChartWindows& charts;
        const ViewLookup& views;
    };

    // Registers the job of timer 14, the meter's clock on the status bar while a session runs.
    explicit MonitoringSession(const Uses& uses);
    ~MonitoringSession() override;
    MonitoringSession(const MonitoringSession&) = delete;
    MonitoringSession& operator=(const MonitoringSession&) = delete;

    // Switches the meter's monitoring off and ends the run (Disconnect).
    void StopMonitoring() override;
    // Queues the read of the whole setup of the current model; the last reply opens the sheet.
    void QueueSetupQueries() override;
    // Ends a live run when one runs; otherwise empties the current data (asking whether to save
    // them first) and queues the identification and setup queries of a new session.
    void StartNewSession();
    // A scheduled acquisition's new session: its records go to the live segment, also when
    // the new session only ended the live run that went on.
    void StartLiveSession() override;
    // The main view, its graphs and charts and the floating windows lose the data of the last
    // session.
    void EmptyViewForNewSession();

    // The end of a monitoring run: the run's timers and flags, the link closed, the title, the
    // live page file closed.
    void Disconnect();
    // Disconnect without closing the live page file: between two acquisitions of a scheduler
    // run, whose records go on in the same file.
    void CloseMonitoringLink() override;

    // Creates the dump file with its header and starts a download of the meter's memory; false
    // when the file could not be made (said in a box, or in the log in scheduler mode).
    bool OpenDumpFile() override;

    // The running audio recording, as its list line will tell it.
    sound::AudioRecordingEntry& AudioRecording() { return m_audioRecording; }
    // Ends the audio recording of a session: its line goes to "AudioFileList.txt".
    void StopAudioRecordingLog() override;

private:
    // Timer 14: the date and time panes of the status bar.
    void OnInstrumentClockTimer();
    // A live run ends: its file closed, monitoring confirmed off, the audio recording ended.
    void EndLiveRun();

    Uses m_uses;
    sound::AudioRecordingEntry m_audioRecording;
};
