#include "app/frame_bench_host.h"

#include "app/frame_bench.h"
#include "app/frame_web.h"
#include "app/kx9monitor_app.h"
#include "app/kx9monitor_view.h"
#include "app/main_frame.h"

void FrameBenchHost::WaitWithMessages(unsigned ms) {
    TheApp().WaitWithMessages(ms);
}

void FrameBenchHost::WriteInstrLog(const std::string& text) {
    m_frame.Web().Log().WriteInstrLog(text);
}

std::string FrameBenchHost::ProgramDir() {
    return TheApp().m_strProgramDir;
}

LinkPort* FrameBenchHost::TargetPort() {
    return m_frame.View() ? &m_frame.Link().PortOf(LinkSide::Target) : nullptr;
}

void FrameBenchHost::RequestAbortWait() {
    TheApp().m_bAbortWait = 1;
}

void FrameBenchHost::SetBenchLog(std::function<void(const std::string&)> log) {
    TheApp().SetBenchLog(std::move(log));
}

PortRecord& FrameBenchHost::RefPortRecord() {
    return TheApp().m_RefPort;
}

PortRecord& FrameBenchHost::TargetPortRecord() {
    return TheApp().m_TargetPort;
}

void FrameBenchHost::SavePortIni() {
    CKX9MonitorApp& app = TheApp();
    app.SavePortIni(app.m_RefPort, app.m_TargetPort);
}

bool FrameBenchHost::ViewPresent() {
    return m_frame.View() != nullptr;
}

LinkPort* FrameBenchHost::RefPort() {
    return m_frame.View() ? &m_frame.Link().PortOf(LinkSide::Reference) : nullptr;
}

bool FrameBenchHost::OpenPort(LinkSide side, const PortSettings& settings) {
    return m_frame.View() && m_frame.Link().OpenPort(side, settings) == 0;
}

void FrameBenchHost::ClosePort(LinkSide side) {
    m_frame.Link().ClosePort(side);
}

void FrameBenchHost::CloseTargetPort() {
    ClosePort(LinkSide::Target);
}

std::string FrameBenchHost::UnlockTargetCryp() {
    return m_frame.Bench().Window().UnlockTargetCryp();
}

std::string FrameBenchHost::TechnicianId() {
    return TheApp().m_strTechnicianId;
}
