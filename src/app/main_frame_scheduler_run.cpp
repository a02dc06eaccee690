// The frame's part in a scheduler run: closing the link between acquisitions, and showing the
// run's records when it ends.

#include "app/kx9monitor_app.h"
#include "app/main_frame.h"
#include "link/link_port.h"
#include "platform/files.h"
#include "platform/text.h"

namespace {
constexpr const char* kSchedulerIndexFile = "\\Scheduler.kr9";
}  // namespace

void CMainFrame::DisconnectBetweenAcquisitions() {
    KillTimer(kStatusPoll);
    KillTimer(kIntegrationEnd);
    m_bMonitorOn = FALSE;
    m_bAcquiring = FALSE;
    m_bLinkActive = FALSE;
    m_link.Close();
    Ui().SetPaneText(kStatusPane, "Disconnected");
    Ui().SetPaneColors(kStatusPane, 0x00FFFF, 0x000080);
    if (platform::Contains(Ui().GetTitle(), "-RECORDING-"))
        Ui().SetTitle(NormalTitle());
}

void CMainFrame::ShowSchedulerResult() {
    CKX9MonitorApp& app = TheApp();
    const std::string index = app.ProgramPath(std::string("\\") + acquisition::kRecordIndexName);
    if (const auto text = platform::ReadWholeFile(index))
        platform::WriteFileAtomic(app.ProgramPath(kSchedulerIndexFile), *text);
    Monitoring().OpenSchedulerFile();
}
