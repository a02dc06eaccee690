#include "app/frame_bench_host.h"

#include "app/kx9monitor_app.h"
#include "app/view_lookup.h"

bool FrameBenchHost::ViewPresent() {
    return m_views.Shown() != nullptr;
}

void FrameBenchHost::WaitWithMessages(unsigned ms) {
    TheApp().WaitWithMessages(ms);
}

void FrameBenchHost::RequestAbortWait() {
    m_abortWait = 1;
}

void FrameBenchHost::SetBenchLog(std::function<void(const std::string&)> log) {
    TheApp().SetBenchLog(std::move(log));
}

void FrameBenchHost::SavePortIni() {
    CKX9MonitorApp& app = TheApp();
    app.SavePortIni(app.m_RefPort, app.m_TargetPort);
}
