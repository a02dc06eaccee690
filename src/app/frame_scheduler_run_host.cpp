#include "app/frame_scheduler_run_host.h"

#include <cstdint>
#include <vector>

#include "app/chart_windows.h"
#include "app/frame_boxes.h"
#include "app/frame_notices.h"
#include "app/frame_scheduler.h"
#include "app/frame_timers.h"
#include "app/kx9monitor_app.h"
#include "app/main_frame.h"
#include "app/maintenance_commands.h"
#include "app/meter_connection.h"
#include "app/monitoring_session.h"
#include "link/command_codes.h"
#include "platform/clock.h"
#include "platform/text.h"

namespace {
// Rows the live 3-D spectrum window holds before it starts afresh.
constexpr int kFullSpectrumGraphRows = 2000;
}  // namespace

std::time_t FrameSchedulerRunHost::Now() {
    using platform::Clock;
    if (Clock::Speed() == 1.0)
        return Clock::Now();
    // A faster program clock (a test's) runs the schedule with it: the wall clock when first
    // asked, and the program time since.
    if (!m_anchor) {
        m_anchor = Clock::Now();
        m_anchorTick = Clock::TickCount();
    }
    return *m_anchor + static_cast<std::time_t>((Clock::TickCount() - m_anchorTick) / 1000);
}

void FrameSchedulerRunHost::WriteLink(int code) {
    m_frame.Link().WriteUnanswered(code);
}

std::string FrameSchedulerRunHost::ReadLink(size_t limit) {
    return m_frame.Link().ReadWaiting(limit);
}

void FrameSchedulerRunHost::PurgeLink() {
    m_frame.Link().PurgeLink();
}

void FrameSchedulerRunHost::ListenForRecords() {
    m_frame.Link().ListenForRecords();
}

bool FrameSchedulerRunHost::ConfirmAcquisitionStop() {
    return m_frame.Link().ConfirmAcquisitionStop();
}

bool FrameSchedulerRunHost::ConfirmMonitorOff() {
    return m_frame.Link().ConfirmMonitorOff();
}

void FrameSchedulerRunHost::QueueCommand(int code, const std::string& arg1,
                                         const std::string& arg2) {
    m_frame.SendCommand(code, arg1, arg2);
}

bool FrameSchedulerRunHost::IsReadyToSend() {
    const LinkSession& link = m_frame.Link();
    return link.IsReadyToSend() && link.IsQueueEmpty() && link.CurrentCommand() == nullptr;
}

bool FrameSchedulerRunHost::IsAutoDetect() {
    return TheApp().m_bAutoDetectPort != 0;
}

void FrameSchedulerRunHost::PrepareConnectAttempt() {
    m_frame.Boxes().m_TryConnDlg.SetText("");
    m_frame.Boxes().m_TryConnDlg.ShowWindow(true);
}

int FrameSchedulerRunHost::ConnectForScheduler() {
    return m_frame.Scheduler().Connection().ConnectForScheduler();
}

void FrameSchedulerRunHost::ConnectInstrument() {
    m_frame.Scheduler().Connection().ConnectInstrument();
}

void FrameSchedulerRunHost::ConnectInstrumentPort() {
    m_frame.Scheduler().Connection().ConnectInstrumentPort();
}

void FrameSchedulerRunHost::ArmLink() {
    LinkSession& link = m_frame.Link();
    link.DeleteAllCommands();
    m_frame.Mode().EndPendingOp();
    m_frame.SendCommand(command_code::kDisplayQuery, "", "");
    m_frame.SendCommand(command_code::kAcquisitionQuery, "", "");
    link.StartSendTick();
    link.SetReadyToSend(TRUE);
}

void FrameSchedulerRunHost::CloseLink() {
    m_frame.Session().CloseMonitoringLink();
}

void FrameSchedulerRunHost::KillRecordWatchdog() {
    m_frame.Timers().Kill(FrameTimers::kIntegrationEnd);
}

void FrameSchedulerRunHost::KillStatusPoll() {
    m_frame.Timers().Kill(FrameTimers::kStatusPoll);
}

std::string FrameSchedulerRunHost::AutoStoreValue() {
    return TheApp().m_InstrStatus.m_strAutoStore;
}

std::string FrameSchedulerRunHost::EditedIntegrationMode() {
    return TheApp().m_EditStatus.m_strIntegrationMode;
}

void FrameSchedulerRunHost::StartNewSession() {
    m_frame.Session().StartNewSession();
    m_frame.m_recording.SelectSegment(-1);
}

void FrameSchedulerRunHost::OnAcquisitionStart(records::RecordKind kind) {
    TheApp().m_strCurrentFile = TheApp().ProgramPath(std::string("\\") + records::kRecordIndexName);
    if (kind->shape == records::RecordShape::Levels)
        m_frame.Charts().ShowLegend();
}

void FrameSchedulerRunHost::StartRecordingBlink() {
    m_frame.Timers().Set(FrameTimers::kRecordingBlink, FrameTimers::kRecordingBlinkMs);
}

void FrameSchedulerRunHost::AddSpectrumGap(records::RecordKind kind) {
    charts::CDemoDlg& window = m_frame.Charts().LiveSpectra();
    if (!window.HasWindow() || !kind.IsSpectrum())
        return;
    if (window.Row() >= kFullSpectrumGraphRows)
        window.ClearRows();
    const std::vector<std::uint16_t> zeros(static_cast<size_t>(kind->valuesPerSample), 0);
    for (int row = 0; row < charts::CDemoDlg::kSeparatorRows; ++row)
        window.AddSpectrumRow(zeros);
}

void FrameSchedulerRunHost::StopAudioRecording() {
    m_frame.Mode().OnAudioRecordingStopped();
    m_frame.Session().StopAudioRecordingLog();
}

void FrameSchedulerRunHost::StartElectricCalibration() {
    m_frame.Scheduler().StartElectricCalibration();
}

void FrameSchedulerRunHost::CloseElectricCalibrationWindow() {
    m_frame.Scheduler().ElectricCalibration().DestroyWindow();
}

bool FrameSchedulerRunHost::StartDownload() {
    return m_frame.Session().OpenDumpFile();
}

void FrameSchedulerRunHost::ShowRunResult() {
    m_frame.Scheduler().ShowResult();
}

void FrameSchedulerRunHost::OnRunEnded() {
    m_frame.Scheduler().Window().EnableScheduleControls();
    m_frame.Scheduler().Window().EndRun();
}

void FrameSchedulerRunHost::Log(const std::string& text) {
    m_frame.Notices().LogScheduler(false, text, true);
}

std::string FrameSchedulerRunHost::Caption() {
    return m_frame.Scheduler().Window().Caption();
}

void FrameSchedulerRunHost::SetCaption(const std::string& caption) {
    m_frame.Scheduler().Window().SetCaption(caption);
}
