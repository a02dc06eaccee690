#include "app/monitoring_session.h"

#include "acquisition/dump_decoder.h"
#include "acquisition/live_recorder.h"
#include "acquisition/record_file.h"
#include "acquisition/recording.h"
#include "app/chart_windows.h"
#include "app/frame_data_files.h"
#include "app/frame_dump_host.h"
#include "app/frame_notices.h"
#include "app/frame_timers.h"
#include "app/frame_ui.h"
#include "app/kx9monitor_app.h"
#include "app/kx9monitor_view.h"
#include "app/view_lookup.h"
#include "link/command_codes.h"
#include "link/link_session.h"
#include "link/model_rules.h"
#include "link/session_queries.h"
#include "platform/date_time.h"
#include "platform/operator.h"
#include "platform/text.h"

using namespace command_code;
using records::SetupBlock;

namespace {

constexpr unsigned kInstrumentClockMs = 1000;
constexpr const char* kFastestProfileTime = "0.125s";

CInstrStatus& Current() {
    return TheApp().m_InstrStatus;
}

CInstrStatus& Edited() {
    return TheApp().m_EditStatus;
}

}  // namespace

MonitoringSession::MonitoringSession(const Uses& uses) : m_uses(uses) {
    m_uses.timers.OnExpiry(FrameTimers::kInstrumentClock, [this] { OnInstrumentClockTimer(); });
}

MonitoringSession::~MonitoringSession() {
    m_uses.timers.OnExpiry(FrameTimers::kInstrumentClock, nullptr);
}

void MonitoringSession::OnInstrumentClockTimer() {
    const MeterMode& mode = m_uses.link.Mode();
    if (!mode.IsLinkActive())
        return;
    const platform::DateTime now = platform::DateTime::Now();
    if (!now.IsValid())
        return;
    const int datePane = mode.IsSchedulerMode() ? 9 : 6;
    m_uses.ui.SetPaneText(datePane, "Instr.Date: " + now.Format("%Y/%m/%d"));
    m_uses.ui.SetPaneText(datePane + 1, "Instr.Time: " + now.Format("%H:%M:%S"));
}

void MonitoringSession::StopMonitoring() {
    m_uses.link.Mode().MarkDataUnsaved();
    m_uses.link.WriteCommand(kMonitorOff);
    m_uses.timers.Kill(FrameTimers::kInstrumentClock);
    Disconnect();
}

void MonitoringSession::QueueSetupQueries() {
    Current().Reset();
    Edited().Reset();
    m_uses.link.Mode().BeginSetupTransfer();
    for (int code : SetupQueryCodes(Current().m_strModel))
        m_uses.link.SendCommand(code, "", "");
    m_uses.ui.ShowSetupWaitBox("Receiving Setup parameters from instrument...\r\nPlease wait.");
}

void MonitoringSession::StartNewSession() {
    LinkSession& link = m_uses.link;
    MeterMode& mode = link.Mode();
    if (mode.IsMonitorOn() && mode.IsAcquiring()) {
        EndLiveRun();
        return;
    }
    link.ConfirmMonitorOff();
    link.PurgeLink();

    // Nothing of the current data goes before the operator has had the chance to save them.
    if (!mode.IsSchedulerMode() && !mode.IsDataSaved()) {
        const int answer = platform::AfxMessageBox(
            "Do you want to save current data before starting new session ?",
            MB_YESNOCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2);
        if (answer == IDCANCEL || (answer == IDYES && !m_uses.dataFiles.RunSaveDialog()))
            return;
    }
    m_uses.liveRecorder.Reset();
    m_uses.recording.SelectSegment(-1);
    TheApp().m_strCurrentFile.clear();
    if (!mode.IsSchedulerMode()) {
        Current().Reset();
        Edited().Reset();
        m_uses.setupBlock.Fill(SetupBlock::kFieldSize, SetupBlock::kUnset);
    }

    EmptyViewForNewSession();
    m_uses.recording.SelectRecord(0);
    mode.BeginNewSession();
    m_uses.timers.Set(FrameTimers::kInstrumentClock, kInstrumentClockMs);

    const std::string model = Current().m_strModel;
    for (int code : NewSessionQueryCodes(model))
        link.SendCommand(code, "", "");
    // Without "p" in its model the meter's profile starts at its shortest time.
    if (model_rules::HasDataLogging(model)) {
        Current().m_strProfileTime = kFastestProfileTime;
        m_uses.setupBlock.SetField(SetupBlock::kProfileTime, kFastestProfileTime);
    }
    link.SetReadyToSend(TRUE);
    m_uses.ui.ShowSetupWaitBox("Comunication setup...Please wait.");
    mode.MarkDataUnsaved();
}

void MonitoringSession::StartLiveSession() {
    StartNewSession();
    m_uses.recording.SelectSegment(-1);
}

void MonitoringSession::EndLiveRun() {
    LinkSession& link = m_uses.link;
    m_uses.recordFile.Close();
    m_uses.timers.Kill(FrameTimers::kIntegrationEnd);
    m_uses.ui.ShowWaitCursor(true);
    link.SetReadyToSend(TRUE);
    link.Mode().OnMonitorStopped();
    m_uses.timers.Set(FrameTimers::kStatusPoll, FrameTimers::kStatusPollMs);
    link.ConfirmMonitorOff();
    link.PurgeLink();
    if (link.Mode().IsAudioRecording()) {
        link.Mode().OnAudioRecordingStopped();
        StopAudioRecordingLog();
    }
    m_uses.ui.ShowWaitCursor(false);
}

void MonitoringSession::EmptyViewForNewSession() {
    CKX9MonitorApp& app = TheApp();
    if (CKX9MonitorView* view = m_uses.views.Current())
        view->EmptyForNewSession();
    app.m_astrLabelsA.clear();
    app.m_astrLabelsB.clear();
    m_uses.dataFiles.ShowNavigator(false);
    if (m_uses.charts.Legend().HasWindow())
        m_uses.charts.Legend().ShowWindow(false);
}

void MonitoringSession::Disconnect() {
    CloseMonitoringLink();
    m_uses.recordFile.Close();
}

void MonitoringSession::CloseMonitoringLink() {
    MeterMode& mode = m_uses.link.Mode();
    FrameUi& ui = m_uses.ui;
    m_uses.timers.Kill(FrameTimers::kStatusPoll);
    m_uses.timers.Kill(FrameTimers::kIntegrationEnd);
    mode.OnLinkClosed();
    m_uses.link.Close();
    // A download the link took with it keeps what came.
    if (mode.IsDownloading()) {
        m_uses.dumpDecoder.Interrupt();
        m_uses.timers.Kill(FrameTimers::kDownloadProgress);
    }

    ui.SetPaneText(FrameUi::kStatusPane, "Disconnected");
    ui.SetPaneColors(FrameUi::kStatusPane, 0x00FFFF, 0x000080);

    if (platform::Contains(ui.GetTitle(), "-RECORDING-"))
        ui.SetTitle(NormalFrameTitle(Current()));
}

bool MonitoringSession::OpenDumpFile() {
    CKX9MonitorApp& app = TheApp();
    MeterMode& mode = m_uses.link.Mode();
    m_uses.dumpDecoder.PrepareDownload();
    m_uses.download = {};
    mode.OnDumpFileOpened();

    acquisition::DumpFile& file = app.m_DumpFile;
    if (!file.Create(app.ProgramPath(acquisition::DumpFile::kFileName))) {
        m_uses.notices.Warn(
            platform::Format("Error: Unable to open selected file (code %d)", file.Error()), MB_OK);
        return false;
    }
    // A file without its header would be no dump file: the download does not start.
    if (!file.Write(
            acquisition::DumpFile::Header(Current().m_strModel, Current().m_strSerialNumber))) {
        m_uses.notices.Warn(platform::Format("error writing dump file (code %d)", file.Error()),
                            MB_ICONSTOP);
        file.Close();
        return false;
    }
    m_uses.link.SetReadyToSend(TRUE);
    mode.RequestDownload();
    m_uses.link.SendCommand(kAcquisitionQuery, "", "");
    m_uses.ui.ShowDownloadBox();
    return true;
}

void MonitoringSession::StopAudioRecordingLog() {
    if (!m_audioRecording.fileName.empty()) {
        m_audioRecording.stopTime = platform::DateTime::Now().Format("%Y/%m/%d %H:%M:%S");
        if (!sound::AppendAudioFileListLine(TheApp().m_strProgramDir, m_audioRecording))
            m_uses.notices.Warn("ERROR: Unable to write the audio file list", MB_ICONEXCLAMATION);
    }
    m_audioRecording = {};
}
