#include "app/kx9monitor_app.h"

#include <cassert>

#include "app/dialogs/about_dlg.h"
#include "app/startup_host.h"
#include "app/startup_settings.h"
#include "link/serial.h"
#include "platform/date_time.h"
#include "platform/event_loop.h"
#include "platform/files.h"
#include "platform/operator.h"
#include "platform/text.h"

namespace {
CKX9MonitorApp* g_app = nullptr;

constexpr const char* kTechnicianDatabase = "\\msvcrt80.dll";
constexpr const char* kCorrectionsTable = "\\msvcrt70.dll";
constexpr const char* kBookingFile = "\\msvcrt60_temp.dll";
}  // namespace

CKX9MonitorApp& TheApp() {
    assert(g_app);
    return *g_app;
}

CKX9MonitorApp::CKX9MonitorApp() : m_DataBuffer(kDataBufferSize) {
    g_app = this;
    InitGlobalStringArrays();
}

CKX9MonitorApp::~CKX9MonitorApp() {
    // The frame still reaches the application while it goes.
    m_pStartupHost = nullptr;
    m_frame.reset();
    SetBenchLog(nullptr);
    if (g_app == this)
        g_app = nullptr;
}

void CKX9MonitorApp::SetBenchLog(std::function<void(const std::string&)> log) {
    m_benchLog = std::move(log);
    CSerial::SetPendingReadLog(m_benchLog);
}

std::string CKX9MonitorApp::ProgramPath(const std::string& relative) const {
    return platform::JoinPath(m_strProgramDir, relative);
}

BOOL CKX9MonitorApp::InitModule() {
    m_bModuleInitialised = true;
    return TRUE;
}

int CKX9MonitorApp::ExitInstance() {
    m_bModuleInitialised = false;
    return platform::EventLoop::ExitCode();
}

void CKX9MonitorApp::LoadPortIni() {
    ::LoadPortIni(ProgramPath("\\port.ini"), m_RefPort, m_TargetPort);
}

void CKX9MonitorApp::SavePortIni(PortRecord& reference, PortRecord& target) {
    if (!::SavePortIni(ProgramPath("\\port.ini"), reference, target))
        platform::AfxMessageBox("Error : fail saving port configuration.", MB_ICONEXCLAMATION);
}

void CKX9MonitorApp::StartupUpdateCheck() {
    m_strProgramDir = platform::CurrentDirectory();
    m_nDisplayAudioSetting = 1;
    const platform::DateTime now = platform::DateTime::Now();
    ApplyStartupSettings(now);
    for (const char* database : {kTechnicianDatabase, kCorrectionsTable})
        if (!platform::FileExists(ProgramPath(database)) && IsInternetChecked())
            m_pStartupHost->UpdateServerDatabases();
    ExpireBooking(now);
    m_bDebug = 0;
}

bool CKX9MonitorApp::IsInternetChecked() const {
    return m_pStartupHost && m_pStartupHost->IsInternetChecked();
}

void CKX9MonitorApp::ApplyStartupSettings(const platform::DateTime& now) {
    const std::string settingsPath = ProgramPath(kStartupSettingsFile);
    const auto settings = ReadStartupSettings(settingsPath);
    if (!settings) {
        platform::AfxMessageBox("Unable to open QS4060KRTN_VP.ini");
        return;
    }
    const bool refreshDue = settings->IsRefreshDue(now);
    if (refreshDue && m_pStartupHost)
        m_pStartupHost->CheckInternetConnection();
    if (!settings->displayAudioSetting)
        m_nDisplayAudioSetting = 0;
    if (!refreshDue || !IsInternetChecked())
        return;
    // A refresh that failed is not done: the next start tries again.
    if (!m_pStartupHost->UpdateServerDatabases())
        return;
    const std::string content =
        FormatStartupSettings(platform::DateTime::Now(), m_nDisplayAudioSetting != 0);
    if (!platform::WriteFileAtomic(settingsPath, content))
        platform::AfxMessageBox("Unable to open QS4060KRTN_VP.ini");
}

void CKX9MonitorApp::ExpireBooking(const platform::DateTime& now) {
    const std::string bookingPath = ProgramPath(kBookingFile);
    platform::LineReader booking(bookingPath);
    std::string firstLine;
    if (!booking.IsOpen() || !booking.ReadLine(firstLine, 512))
        return;
    const auto bookedAt = platform::DateTime::Parse(firstLine);
    if (bookedAt && platform::WholeDaysBetween(*bookedAt, now) >= kBookingLifetimeDays)
        platform::RemoveFile(bookingPath);
}

void CKX9MonitorApp::WaitWithMessages(unsigned ms) {
    if (ms > 300 && m_benchLog)
        m_benchLog(platform::Format("Sleep %u ms", ms));
    platform::EventLoop::Wait(ms, &m_bAbortWait);
}

void CKX9MonitorApp::OnAppAbout() {
    CAboutDlg().DoModal();
}

void CKX9MonitorApp::InitGlobalStringArrays() {
    m_astrLabelsA.assign(13, std::string());
    m_astrLabelsB.assign(13, std::string());
}
