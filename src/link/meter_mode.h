#pragma once
// What the program is doing with the meter, kept in one place: whether a meter answers on the
// link, monitoring and acquisition, datalogging, the channel mode, the operation the queued
// commands are for, a memory download, a setup being sent, a scheduled run, a firmware
// upgrade, the guided electric calibration, the screen check and the session's data. The link
// session owns it; the frame's reply handlers, the scheduler window and run, the live recorder,
// the setup sheet and the maintenance commands read and move it directly.
//
// The user-interface thread's, all but the download flag: that one is the listeners' dump mode
// (LinkReplyState::dumpMode), which the dump decoder reads and clears on its thread.

#include <optional>
#include <string>

#include "records/record_kind.h"

class LinkFlag;
class LinkReplyState;

// What the queued commands are for (PendingOp). The acquisition-state reply carries out the
// first three.
enum PendingOperation {
    kNoPendingOp = -1,
    kStartDataLoggingOp = 1,
    kStopDataLoggingOp = 2,
    kStartDownloadOp = 3,
    // The whole setup is being read or sent.
    kSetupOp = 5,
    // A monitoring session is being started.
    kNewSessionOp = 9,
};

class MeterMode {
public:
    explicit MeterMode(LinkReplyState& listeners);
    MeterMode(const MeterMode&) = delete;
    MeterMode& operator=(const MeterMode&) = delete;

    // --- the link
    // A meter answered on the monitoring link.
    bool IsLinkActive() const { return m_linkActive; }
    void SetLinkActive(bool on) { m_linkActive = on; }
    // The monitoring link closed: no meter on it, monitoring and acquisition over.
    void OnLinkClosed();
    // While true the queue sends nothing: a firmware upgrade holds the meter, or a download's
    // decoder alone talks to it.
    bool IsSendingHeld() const;

    // --- monitoring
    // The meter's monitoring is on: "STT:MON:ON" went out, or its state reply said so.
    bool IsMonitorOn() const { return m_monitorOn; }
    void SetMonitorOn(bool on) { m_monitorOn = on; }
    // The meter acquires.
    bool IsAcquiring() const { return m_acquiring; }
    void SetAcquiring(bool on) { m_acquiring = on; }
    // Both: every reply is a live record.
    bool IsLive() const { return m_monitorOn && m_acquiring; }
    void EndLive();
    // The meter stores what it measures.
    bool IsDataLogging() const { return m_dataLogging; }
    void SetDataLogging(bool on) { m_dataLogging = on; }
    // A live record is being processed.
    bool IsProcessingRecord() const { return m_processingRecord; }
    void SetProcessingRecord(bool on) { m_processingRecord = on; }
    // The kind of the recording monitored or loaded (the channel mode); none before either.
    std::optional<records::RecordKind> ChannelMode() const { return m_channelMode; }
    void SetChannelMode(std::optional<records::RecordKind> kind) { m_channelMode = kind; }
    // Before each connect attempt of a scheduled run: nothing live, no datalogging, no
    // download, the status window's flag and the channel mode cleared.
    void ResetForConnect();

    // --- what the queued commands are for
    int PendingOp() const { return m_pendingOp; }
    void SetPendingOp(int op) { m_pendingOp = op; }
    // Set once the changed setup is queued: when the queue has run empty the setup wait box
    // closes and the pending operation ends.
    bool IsSetupQueued() const { return m_setupQueued; }
    void SetSetupQueued(bool on) { m_setupQueued = on; }

    // --- the memory download
    bool IsDownloading() const;
    void SetDownloading(bool on);
    // Refused, or cut short by the meter's screen or by a dump file that could not be
    // written: its end is then not announced as a complete download.
    bool IsDumpRefused() const { return m_dumpRefused; }
    void SetDumpRefused(bool on) { m_dumpRefused = on; }
    // The dump file failed a write in this download; what comes after is not written.
    bool HasDumpWriteFailed() const { return m_dumpWriteFailed; }
    void SetDumpWriteFailed(bool on) { m_dumpWriteFailed = on; }

    // --- the scheduler
    // Warnings go to the scheduler log instead of boxes, nobody is asked.
    bool IsSchedulerMode() const { return m_schedulerMode; }
    void SetSchedulerMode(bool on) { m_schedulerMode = on; }
    // A run goes on: the program cannot be left, nothing saved meanwhile.
    bool IsSchedulerRunning() const { return m_schedulerRunning; }
    void SetSchedulerRunning(bool on) { m_schedulerRunning = on; }

    // --- maintenance
    bool IsFirmwareUpgrading() const { return m_firmwareUpgrading; }
    void SetFirmwareUpgrading(bool on) { m_firmwareUpgrading = on; }
    // The guided programs' window reads the meter's screens and printed values.
    bool IsElectricCalRunning() const { return m_electricCalRunning; }
    void SetElectricCalRunning(bool on) { m_electricCalRunning = on; }
    // The Delta Leq text of the last electric calibration.
    const std::string& DeltaLeq() const { return m_deltaLeq; }
    void SetDeltaLeq(const std::string& text) { m_deltaLeq = text; }

    // --- the screen check: while on, the screen-state reply is answered with key presses
    bool IsCheckingDisplay() const { return m_checkingDisplay; }
    void SetCheckingDisplay(bool on) { m_checkingDisplay = on; }
    // The screen-state replies answered in a row; CountDisplayRound counts one more.
    int CountDisplayRound() { return ++m_displayRounds; }
    void ResetDisplayRounds() { m_displayRounds = 0; }
    // The instrument status window was opened by a state reply and is still open.
    bool IsStatusDlgShown() const { return m_statusDlgShown; }
    void SetStatusDlgShown(bool on) { m_statusDlgShown = on; }

    // --- the session's data
    // Set when the current data were saved; while clear a new session asks before discarding.
    bool IsDataSaved() const { return m_dataSaved; }
    void SetDataSaved(bool on) { m_dataSaved = on; }
    // An audio recording of the session runs, and its wave file is being written.
    bool IsAudioRecording() const { return m_audioRecording; }
    bool IsAudioFileOpen() const { return m_audioFileOpen; }
    void SetAudioRecording(bool recording, bool fileOpen);

private:
    LinkFlag& m_downloading;
    bool m_linkActive = false;
    bool m_monitorOn = false;
    bool m_acquiring = false;
    bool m_dataLogging = false;
    bool m_processingRecord = false;
    std::optional<records::RecordKind> m_channelMode;
    int m_pendingOp = kNoPendingOp;
    bool m_setupQueued = false;
    bool m_dumpRefused = false;
    bool m_dumpWriteFailed = false;
    bool m_schedulerMode = false;
    bool m_schedulerRunning = false;
    bool m_firmwareUpgrading = false;
    bool m_electricCalRunning = false;
    std::string m_deltaLeq;
    bool m_checkingDisplay = false;
    int m_displayRounds = 0;
    bool m_statusDlgShown = false;
    bool m_dataSaved = false;
    bool m_audioRecording = false;
    bool m_audioFileOpen = false;
};
