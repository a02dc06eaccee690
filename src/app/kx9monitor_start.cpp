// The program's start: the shared data read in, the frame built with its window and view, its
// start-up job run, and the window shown once the job is over.

#include <cstdio>

#include "app/frame_commands.h"
#include "app/frame_data_files.h"
#include "app/frame_web.h"
#include "app/kx9monitor_app.h"
#include "app/main_frame.h"
#include "app/main_frame_window.h"
#include "link/serial_port_list.h"
#include "platform/event_loop.h"
#include "platform/files.h"
#include "platform/text.h"
#include "ui/program_images.h"

namespace {

bool IsAutomationStart(const std::string& argument) {
    const std::string a = platform::ToLower(argument);
    return a == "-embedding" || a == "/embedding" || a == "-automation" || a == "/automation";
}

}  // namespace

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
    m_frame = std::make_shared<CMainFrame>();
    CMainFrame& frame = *m_frame;
    if (frame.OnCreate() == -1)
        return FALSE;
    // A job that ended with the program's exit let the window go.
    CMainFrameWindow* window = frame.Window();
    if (window)
        frame.Commands().InstallMenu();
    // The program ends once the main loop meets this quit.
    platform::EventLoop::RequestQuit(0);
    if (window) {
        window->showMaximized();
        if (!m_strCommandLineFile.empty())
            frame.DataFiles().Reader().OpenSessionFile(m_strCommandLineFile);
        SetStartupHost(&frame.Web().Startup());
    }
    StartupUpdateCheck();
    return TRUE;
}
