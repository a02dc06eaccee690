#include "link/meter_mode.h"

#include "link/link_reply_state.h"

MeterMode::MeterMode(LinkReplyState& listeners) : m_downloading(listeners.dumpMode) {}

void MeterMode::OnLinkClosed() {
    m_linkActive = false;
    EndLive();
}

bool MeterMode::IsSendingHeld() const {
    return m_firmwareUpgrading || IsDownloading();
}

void MeterMode::EndLive() {
    m_monitorOn = false;
    m_acquiring = false;
}

void MeterMode::ResetForConnect() {
    EndLive();
    m_dataLogging = false;
    SetDownloading(false);
    m_statusDlgShown = false;
    m_channelMode.reset();
}

bool MeterMode::IsDownloading() const {
    return m_downloading != FALSE;
}

void MeterMode::SetDownloading(bool on) {
    m_downloading = on ? TRUE : FALSE;
}

void MeterMode::SetAudioRecording(bool recording, bool fileOpen) {
    m_audioRecording = recording;
    m_audioFileOpen = fileOpen;
}
