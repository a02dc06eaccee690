#pragma once
// What a scheduled run needs of the program: the monitoring link's port, queue and confirming
// exchange, the connect routines, the frame's timers, the electric calibration's window, the
// memory download, the record files, the scheduler log and the windows that show a run. The
// meter's mode (connected, monitoring, acquiring, the channel) the run shares directly
// (MeterMode). The frame implements it; tests give an in-memory one.

#include <cstddef>
#include <ctime>
#include <string>

#include "records/record_kind.h"

namespace acquisition {

class SchedulerRunHost {
public:
    virtual ~SchedulerRunHost() = default;

    // The local date and time now, in whole seconds.
    virtual std::time_t Now() = 0;

    // --- the monitoring link
    // The command's line (command_code) straight to the link port, past the queue; no reply
    // is awaited, and the meter's acknowledgement is not taken for one.
    virtual void WriteLink(int code) = 0;
    // What has arrived on the link port since, at most `limit` bytes.
    virtual std::string ReadLink(size_t limit) = 0;
    virtual void PurgeLink() = 0;
    // What arrives unasked from now on is a live record.
    virtual void ListenForRecords() = 0;
    // The confirmed acquisition stop and end of monitoring (LinkSession's): the command, then
    // the state query, until the state is reached, three rounds at most. Each handles the
    // program's messages while it waits.
    virtual bool ConfirmAcquisitionStop() = 0;
    virtual bool ConfirmMonitorOff() = 0;
    // Queues the command table's `code` with its two arguments.
    virtual void QueueCommand(int code, const std::string& arg1, const std::string& arg2) = 0;
    // The queue is idle and may send.
    virtual bool IsReadyToSend() = 0;

    // --- connecting (each routine handles messages while it probes)
    // The connection settings search every port ("Auto detect").
    virtual bool IsAutoDetect() = 0;
    // Before each attempt, once the mode is reset: the please-wait box shown with an empty
    // text.
    virtual void PrepareConnectAttempt() = 0;
    // -1 when connecting cannot succeed at all.
    virtual int ConnectForScheduler() = 0;
    virtual void ConnectInstrument() = 0;
    virtual void ConnectInstrumentPort() = 0;
    // The link just came up: the queue emptied, the reply state cleared, the display and
    // acquisition states queried, the send tick running and sending allowed.
    virtual void ArmLink() = 0;
    // The frame's part of closing the link between acquisitions: "STT:MON:OFF", its status
    // poll and record watchdog stopped, its monitoring, connected and receive flags cleared, a
    // modem call ended, the port closed, the link pane "Disconnected", the queue emptied and
    // the recording caption gone.
    virtual void CloseLink() = 0;

    // --- monitoring
    // Frame timer 13, the watchdog of the record stream (also the integration end).
    virtual void KillRecordWatchdog() = 0;
    // Frame timer 9.
    virtual void KillStatusPoll() = 0;
    // The current automatic-storing value ("ON", "OFF") and the edited integration mode.
    virtual std::string AutoStoreValue() = 0;
    virtual std::string EditedIntegrationMode() = 0;
    // The frame's new monitoring set-up (CMainFrame::StartNewSession) with the live segment
    // selected; handles messages while it confirms monitoring off.
    virtual void StartNewSession() = 0;
    // An acquisition starts: the current file becomes the run's record index, the report list
    // is prepared for `kind` when it is not, the graph legend of a level recording shown.
    virtual void OnAcquisitionStart(records::RecordKind kind) = 0;
    // The recording's blinking caption (frame timer 6).
    virtual void StartRecordingBlink() = 0;
    // Ten all-zero rows in the live 3-D spectrum window of a spectrum recording, when it
    // exists, as a visible gap.
    virtual void AddSpectrumGap(records::RecordKind kind) = 0;
    // The session's audio recording ends, its line written to the audio file list.
    virtual void StopAudioRecording() = 0;

    // --- calibration and download
    // Shows the electric calibration window and queues the states it starts from.
    virtual void StartElectricCalibration() = 0;
    virtual void CloseElectricCalibrationWindow() = 0;
    // The dump file created and the memory download started; false when it could not start,
    // the reason logged.
    virtual bool StartDownload() = 0;

    // --- the end of a run
    // The run's records become "Scheduler.kr9", which the main view shows.
    virtual void ShowRunResult() = 0;
    // The scheduler window's settings enabled again, START enabled, STOP disabled.
    virtual void OnRunEnded() = 0;

    // --- the scheduler window
    // A time-stamped line of the scheduler log.
    virtual void Log(const std::string& text) = 0;
    virtual std::string Caption() = 0;
    virtual void SetCaption(const std::string& caption) = 0;
};

}  // namespace acquisition
