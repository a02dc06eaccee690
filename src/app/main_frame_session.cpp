// The session operations on the monitoring link: confirming a state change, stopping a
// monitoring run, reading the whole setup, starting or ending a monitoring session, starting
// the electric calibration and starting a memory download.

#include "app/kx9monitor_app.h"
#include "app/kx9monitor_view.h"
#include "app/main_frame.h"
#include "link/command_codes.h"
#include "link/model_rules.h"
#include "link/session_queries.h"
#include "link/state_replies.h"
#include "platform/date_time.h"
#include "platform/operator.h"
#include "platform/text.h"

using namespace command_code;
using records::SetupBlock;

namespace {

constexpr unsigned kInstrumentClockMs = 1000;
constexpr const char* kFastestProfileTime = "0.125s";
constexpr int kElectricCalibrationRoutine = 0;

}  // namespace

void CMainFrame::StopMonitoring() {
    Mode().MarkDataUnsaved();
    m_link.WriteCommand(kMonitorOff);
    KillTimer(kInstrumentClock);
    Disconnect();
}

void CMainFrame::QueueSetupQueries() {
    Current().Reset();
    Edited().Reset();
    Mode().BeginSetupTransfer();
    for (int code : SetupQueryCodes(Current().m_strModel))
        SendCommand(code, "", "");
    Ui().ShowSetupWaitBox("Receiving Setup parameters from instrument...\r\nPlease wait.");
}

void CMainFrame::StartNewSession() {
    if (Mode().IsMonitorOn() && Mode().IsAcquiring()) {
        EndLiveRun();
        return;
    }
    m_link.ConfirmMonitorOff();
    m_link.PurgeLink();

    // Nothing of the current data goes before the operator has had the chance to save them.
    if (!Mode().IsSchedulerMode() && !Mode().IsDataSaved()) {
        const int answer = platform::AfxMessageBox(
            "Do you want to save current data before starting new session ?",
            MB_YESNOCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2);
        if (answer == IDCANCEL || (answer == IDYES && !m_data.RunSaveDialog()))
            return;
    }
    m_liveRecorder.Reset();
    m_nRecordCount = 0;
    m_recording.SelectSegment(-1);
    TheApp().m_strCurrentFile.clear();
    if (!Mode().IsSchedulerMode()) {
        Current().Reset();
        Edited().Reset();
        m_SetupBlock.Fill(SetupBlock::kFieldSize, SetupBlock::kUnset);
    }

    EmptyViewForNewSession();
    m_recording.SelectRecord(0);
    Mode().BeginNewSession();
    SetTimer(kInstrumentClock, kInstrumentClockMs);

    const std::string model = Current().m_strModel;
    for (int code : NewSessionQueryCodes(model))
        SendCommand(code, "", "");
    // Without "p" in its model the meter's profile starts at its shortest time.
    if (model_rules::HasDataLogging(model)) {
        Current().m_strProfileTime = kFastestProfileTime;
        m_SetupBlock.SetField(SetupBlock::kProfileTime, kFastestProfileTime);
    }
    m_link.SetReadyToSend(TRUE);
    Ui().ShowSetupWaitBox("Comunication setup...Please wait.");
    Mode().MarkDataUnsaved();
}

void CMainFrame::EndLiveRun() {
    m_RecFile.Close();
    KillTimer(kIntegrationEnd);
    Ui().ShowWaitCursor(true);
    m_link.SetReadyToSend(TRUE);
    Mode().OnMonitorStopped();
    SetTimer(kStatusPoll, kStatusPollMs);
    m_link.ConfirmMonitorOff();
    m_link.PurgeLink();
    if (Mode().IsAudioRecording()) {
        Mode().OnAudioRecordingStopped();
        StopAudioRecordingLog();
    }
    Ui().ShowWaitCursor(false);
}

void CMainFrame::EmptyViewForNewSession() {
    CKX9MonitorApp& app = TheApp();
    if (CKX9MonitorView* view = app.m_pView)
        view->EmptyForNewSession();
    app.m_astrLabelsA.clear();
    app.m_astrLabelsB.clear();
    m_data.ShowNavigator(false);
    if (m_charts.Legend().HasWindow())
        m_charts.Legend().ShowWindow(false);
}

void CMainFrame::StartElectricCalibration() {
    // Refused while the meter is held otherwise: the run's watchdog then ends the calibration
    // as one that never answered.
    if (!Mode().BeginElectricCalibration())
        return;
    m_maintenance.OpenElectricCalibration(kElectricCalibrationRoutine);
    SendCommand(kAcquisitionQuery, "", "");
    SendCommand(kDisplayQuery, "", "");
}

bool CMainFrame::OpenDumpFile() {
    CKX9MonitorApp& app = TheApp();
    m_dumpDecoder.PrepareDownload();
    m_nDownloadFile = 0;
    m_nDownloadLine = 0;
    Mode().OnDumpFileOpened();

    acquisition::DumpFile& file = app.m_DumpFile;
    if (!file.Create(app.ProgramPath(acquisition::DumpFile::kFileName))) {
        Warn(platform::Format("Error: Unable to open selected file (code %d)", file.Error()),
             MB_OK);
        return false;
    }
    // A file without its header would be no dump file: the download does not start.
    if (!file.Write(
            acquisition::DumpFile::Header(Current().m_strModel, Current().m_strSerialNumber))) {
        Warn(platform::Format("error writing dump file (code %d)", file.Error()), MB_ICONSTOP);
        file.Close();
        return false;
    }
    m_link.SetReadyToSend(TRUE);
    Mode().RequestDownload();
    SendCommand(kAcquisitionQuery, "", "");
    Ui().ShowDownloadBox();
    return true;
}

void CMainFrame::StopAudioRecordingLog() {
    if (!m_AudioRecording.fileName.empty()) {
        m_AudioRecording.stopTime = platform::DateTime::Now().Format("%Y/%m/%d %H:%M:%S");
        if (!sound::AppendAudioFileListLine(TheApp().m_strProgramDir, m_AudioRecording))
            Warn("ERROR: Unable to write the audio file list", MB_ICONEXCLAMATION);
    }
    m_AudioRecording = {};
}
