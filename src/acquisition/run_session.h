#pragma once
// The monitoring session's operations that the scheduler's window and its run set going: the
// end of monitoring, the read of the setup, a new session, the end of a run's link between
// acquisitions, the memory download and the audio recording's list line. The application's
// session operations implement it.

namespace acquisition {

class RunSession {
public:
    virtual ~RunSession() = default;

    // "STT:MON:OFF" and the end of monitoring: timers, flags, the link closed, the live page
    // file closed.
    virtual void StopMonitoring() = 0;
    // The read of the whole setup, whose last reply opens the setup sheet.
    virtual void QueueSetupQueries() = 0;
    // A new monitoring set-up whose records go to the live segment; handles messages while it
    // confirms monitoring off.
    virtual void StartLiveSession() = 0;
    // The link closed between acquisitions: the status poll and record watchdog stopped, the
    // monitoring, connected and receive flags cleared, a modem call ended, the port closed, the
    // link pane "Disconnected", the queue emptied and the recording caption gone. The live page
    // file stays open.
    virtual void CloseMonitoringLink() = 0;
    // The dump file created and the memory download started; false when it could not start,
    // the reason told.
    virtual bool OpenDumpFile() = 0;
    // The audio recording's line goes to the audio file list.
    virtual void StopAudioRecordingLog() = 0;
};

}  // namespace acquisition
