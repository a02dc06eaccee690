// The frame's side of the link session: the end of a monitoring run, and what an empty queue
// or a command that timed out means.

#include "app/kx9monitor_app.h"
#include "app/main_frame.h"
#include "link/command_codes.h"
#include "link/state_replies.h"
#include "platform/text.h"

using namespace command_code;

void CMainFrame::OnQueueEmpty() {
    if (!Mode().EndSetupSend())
        return;
    Ui().DestroySetupWaitBox();
}

void CMainFrame::OnCommandTimedOut(const CCommand& command) {
    if (command.GetCode() == kAcquisitionQuery)
        KillTimer(kStatusPoll);
    if (Mode().PendingOp() == kSetupOp) {
        AbortSetupRead(command.GetCode());
    } else if (Mode().IsDownloading()) {
        KillTimer(kDownloadProgress);
        EndInterruptedDownload();
    } else if (Mode().IsSchedulerMode() &&
               m_scheduler.Run().State() == acquisition::SchedulerRun::kDownloading) {
        // A meter that stopped answering before or after its dump would hold the run for ever.
        m_scheduler.Run().SetState(acquisition::SchedulerRun::kDownloaded);
        EndScheduledDownload();
    }
}

void CMainFrame::Disconnect() {
    CloseMonitoringLink();
    m_RecFile.Close();
}

void CMainFrame::CloseMonitoringLink() {
    KillTimer(kStatusPoll);
    KillTimer(kIntegrationEnd);
    Mode().OnLinkClosed();
    m_link.Close();
    // A download the link took with it keeps what came.
    if (Mode().IsDownloading()) {
        m_dumpDecoder.Interrupt();
        KillTimer(kDownloadProgress);
    }

    Ui().SetPaneText(kStatusPane, "Disconnected");
    Ui().SetPaneColors(kStatusPane, 0x00FFFF, 0x000080);

    if (platform::Contains(Ui().GetTitle(), "-RECORDING-"))
        Ui().SetTitle(NormalTitle());
}
