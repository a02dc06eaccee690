// The frame's side of the link session: what an empty queue or a command that timed out
// means.

#include "app/frame_scheduler.h"
#include "app/frame_timers.h"
#include "app/frame_ui.h"
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
        m_timers.Kill(FrameTimers::kStatusPoll);
    if (Mode().PendingOp() == kSetupOp) {
        AbortSetupRead(command.GetCode());
    } else if (Mode().IsDownloading()) {
        m_timers.Kill(FrameTimers::kDownloadProgress);
        EndInterruptedDownload();
    } else if (Mode().IsSchedulerMode() &&
               m_scheduler->Run().State() == acquisition::SchedulerRun::kDownloading) {
        // A meter that stopped answering before or after its dump would hold the run for ever.
        m_scheduler->Run().SetState(acquisition::SchedulerRun::kDownloaded);
        EndScheduledDownload();
    }
}
