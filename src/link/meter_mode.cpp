#include "link/meter_mode.h"

#include "link/link_reply_state.h"
#include "link/state_replies.h"

namespace {

const char* ActivityName(MeterActivity activity) {
    switch (activity) {
        case MeterActivity::kIdle:
            return "nothing";
        case MeterActivity::kMonitoring:
            return "monitoring";
        case MeterActivity::kDownloading:
            return "the memory download";
        case MeterActivity::kUpgradingFirmware:
            return "the firmware upgrade";
        case MeterActivity::kCalibrating:
            return "the electric calibration";
    }
    return "nothing";
}

}  // namespace

std::string MonitorStartRefusal(MeterActivity holder) {
    return std::string("WARNING: Monitoring not started, the instrument is busy with ") +
           ActivityName(holder) + ".";
}

MeterMode::MeterMode(LinkReplyState& listeners) : m_downloading(listeners.dumpMode) {}

MeterActivity MeterMode::Activity() const {
    return IsDownloading() ? MeterActivity::kDownloading : m_activity;
}

bool MeterMode::IsDownloading() const {
    return m_downloading != FALSE;
}

bool MeterMode::IsSendingHeld() const {
    const MeterActivity activity = Activity();
    return activity == MeterActivity::kUpgradingFirmware || activity == MeterActivity::kDownloading;
}

bool MeterMode::BeginLive() {
    if (!OnMonitorStarted())
        return false;
    m_acquiring = true;
    return true;
}

void MeterMode::EndLive() {
    OnMonitorStopped();
    m_acquiring = false;
}

bool MeterMode::BeginDownload() {
    if (Activity() != MeterActivity::kIdle)
        return false;
    m_downloading = TRUE;
    return true;
}

void MeterMode::EndDownload() {
    m_downloading = FALSE;
}

bool MeterMode::Begin(MeterActivity activity) {
    if (Activity() != MeterActivity::kIdle)
        return false;
    m_activity = activity;
    return true;
}

void MeterMode::End(MeterActivity activity) {
    if (m_activity == activity)
        m_activity = MeterActivity::kIdle;
}

void MeterMode::OnLinkClosed() {
    m_linkActive = false;
    EndLive();
}

void MeterMode::ResetForConnect() {
    EndLive();
    m_dataLogging = false;
    EndDownload();
    m_statusDlgShown = false;
    m_channelMode.reset();
}

void MeterMode::OnAcquisitionReported(const AcquisitionReplyOutcome& outcome) {
    m_acquiring = outcome.acquiring;
    m_dataLogging = outcome.dataLogging;
}

int MeterMode::TakeAcquisitionRequest() {
    const int op = m_pendingOp;
    if (op == kStartDataLoggingOp || op == kStopDataLoggingOp || op == kStartDownloadOp)
        m_pendingOp = kNoPendingOp;
    return op;
}

bool MeterMode::EndSetupSend() {
    if (!m_setupQueued)
        return false;
    m_setupQueued = false;
    m_pendingOp = kNoPendingOp;
    return true;
}

void MeterMode::OnDumpFileOpened() {
    m_dumpRefused = false;
    m_dumpWriteFailed = false;
}

void MeterMode::OnDumpRefused() {
    m_dumpRefused = true;
    EndDownload();
}

void MeterMode::OnDumpWriteFailed() {
    m_dumpWriteFailed = true;
    m_dumpRefused = true;
}

bool MeterMode::TakeDumpRefusal() {
    if (!m_dumpRefused)
        return false;
    m_dumpRefused = false;
    EndDownload();
    return true;
}

void MeterMode::LeaveSchedulerMode() {
    m_schedulerRunning = false;
    m_finalJob = RunFinalJob::kNone;
    m_schedulerMode = false;
}

void MeterMode::EndDisplayCheck() {
    m_checkingDisplay = false;
    m_displayRounds = 0;
}

void MeterMode::OnAudioRecordingStarted() {
    m_audioRecording = true;
    m_audioFileOpen = true;
}

void MeterMode::OnAudioRecordingStopped() {
    m_audioRecording = false;
    m_audioFileOpen = false;
}
