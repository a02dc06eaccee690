#include "app/kx9monitor_app.h"

#include <cassert>
#include <cstdio>

#include "app/dialogs/about_dlg.h"
#include "app/frame_commands.h"
#include "app/frame_data_files.h"
#include "app/frame_web.h"
#include "app/main_frame.h"
#include "app/main_frame_window.h"
#include "app/startup_host.h"
#include "app/startup_settings.h"
#include "link/serial.h"
#include "link/serial_port_list.h"
#include "platform/date_time.h"
#include "platform/event_loop.h"
#include "platform/files.h"
#include "platform/operator.h"
#include "platform/text.h"
#include "ui/program_images.h"

namespace {
CKX9MonitorApp* g_app = nullptr;

constexpr const char* kTechnicianDatabase = "\\msvcrt80.dll";
constexpr const char* kCorrectionsTable = "\\msvcrt70.dll";
constexpr const char* kBookingFile = "\\msvcrt60_temp.dll";

bool IsAutomationStart(const std::string& argument) {
    const std::string a = platform::ToLower(argument);
    return a == "-embedding" || a == "/embedding" || a == "-automation" || a == "/automation";
}
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
    m_pFrameOwner.reset();
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

BOOL CKX9MonitorApp::InitInstance(const std::vector<std::string>& arguments) {
    // Whoever starts the program as an automation server waits for a server that this build
    // does not have: the start ends at once and says why, instead of running with no window.
    for (const std::string& argument : arguments)
        if (IsAutomationStart(argument)) {
            std::fprintf(stderr,
                         "kx9monitor: started with %s, but this build has no automation "
                         "server\n",
                         argument.c_str());
            return FALSE;
        }
    if (!InitModule())
        return FALSE;
    m_strProgramDir = platform::CurrentDirectory();
    // A kill between writing a settings file's temporary and renaming it leaves the temporary.
    platform::RemoveStaleTemporaries(m_strProgramDir);
    LoadPortIni();
    // The COM numbers of USB adapters are known once the ports were listed.
    PublishSerialPorts();
    ui::RegisterProgramImages();
    for (const std::string& argument : arguments)
        if (!argument.empty() && argument[0] != '-')
            m_strCommandLineFile = argument;

    // Creating the frame runs the start-up job.
    m_pFrameOwner = std::make_unique<CMainFrame>();
    if (m_pFrameOwner->OnCreate() == -1)
        return FALSE;
    CMainFrame* frame = m_pMainFrame;
    if (frame)
        frame->Commands().InstallMenu();
    // The program ends once the main loop meets this quit.
    platform::EventLoop::RequestQuit(0);
    if (frame) {
        if (CMainFrameWindow* window = frame->Window())
            window->showMaximized();
        if (!m_strCommandLineFile.empty())
            frame->DataFiles().Reader().OpenSessionFile(m_strCommandLineFile);
        SetStartupHost(&frame->Web().Startup());
    }
    StartupUpdateCheck();
    return TRUE;
}

int CKX9MonitorApp::ExitInstance() {
    m_bModuleInitialised = false;
    return platform::EventLoop::ExitCode();
}

void CKX9MonitorApp::LoadPortIni() {
    ::LoadPortIni(ProgramPath("\\port.ini"), m_RefPort, m_TargetPort);
}

void CKX9MonitorApp::SavePortIni(const PortRecord& reference, const PortRecord& target) {
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
