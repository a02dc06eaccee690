#include "app/frame_scheduler_host.h"

#include "app/chart_windows.h"
#include "app/frame_bench.h"
#include "app/frame_notices.h"
#include "app/frame_scheduler.h"
#include "app/kx9monitor_app.h"
#include "app/kx9monitor_view.h"
#include "app/kx9monitor_view_widget.h"
#include "app/main_frame.h"
#include "app/monitoring_session.h"
#include "link/command_codes.h"

const CInstrStatus& FrameSchedulerHost::CurrentSetup() const {
    return TheApp().m_InstrStatus;
}

CInstrStatus& FrameSchedulerHost::EditedSetup() {
    return TheApp().m_EditStatus;
}

void FrameSchedulerHost::SendCommand(int code, const std::string& argument) {
    m_frame.SendCommand(code, argument, "");
}

void FrameSchedulerHost::QueueSetupQueries() {
    m_frame.Session().QueueSetupQueries();
}

int FrameSchedulerHost::LinkBaudRate() const {
    return TheApp().m_RefPort.m_nBaudRate;
}

bool FrameSchedulerHost::IsModemLink() const {
    return TheApp().m_bModemLink == 1;
}

void FrameSchedulerHost::WriteToLink(int code) {
    m_frame.Link().WriteCommand(LinkSide::Reference, code);
}

void FrameSchedulerHost::StopFrameMonitoring() {
    m_frame.Session().StopMonitoring();
}

void FrameSchedulerHost::DisconnectLink() {
    WriteToLink(command_code::kMonitorOff);
    m_frame.Session().Disconnect();
}

void FrameSchedulerHost::PrepareLiveSpectrumWindow() {
    charts::CDemoDlg& window = m_frame.Charts().LiveSpectra();
    if (!window.HasWindow())
        window.Create();
    window.ClearRows();
    window.ShowWindow(false);
}

void FrameSchedulerHost::FollowLastReportRow() {
    if (CKX9MonitorView* view = TheApp().m_pView)
        view->m_bFollowLastRow = TRUE;
}

void FrameSchedulerHost::ShowBenchForSchedulerRecording() {
    m_frame.Bench().Window().ShowForSchedulerRecording();
}

void FrameSchedulerHost::ResetViewForScheduler() {
    m_frame.Scheduler().ResetView();
}

void FrameSchedulerHost::OpenSchedulerFile() {
    m_frame.Scheduler().OpenFile();
}

void FrameSchedulerHost::LogScheduler(bool restart, const std::string& text, bool stamp) {
    m_frame.Notices().LogScheduler(restart, text, stamp);
}

std::string FrameSchedulerHost::ProgramFolder() const {
    return TheApp().m_strProgramDir;
}

std::vector<QImage> FrameSchedulerHost::LogImages() const {
    return ViewImages();
}

void FrameSchedulerHost::WaitWithMessages(unsigned ms) {
    TheApp().WaitWithMessages(ms);
}

void FrameSchedulerHost::StartRun(const acquisition::SchedulePlan& plan) {
    m_frame.Scheduler().Run().Start(plan);
}

void FrameSchedulerHost::StopRun() {
    m_frame.Scheduler().Leftovers().Begin();
    m_frame.Scheduler().Run().Stop();
}

void FrameSchedulerHost::StopRunMonitoring() {
    m_frame.Scheduler().Run().StopMonitoring();
}
