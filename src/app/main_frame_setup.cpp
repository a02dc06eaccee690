// The instrument setup on the frame's side: the "Setup Instrument" sheet at the end of a whole
// read, and the queueing of the values the operator changed there.

#include "app/frame_ui.h"
#include "app/kx9monitor_app.h"
#include "app/main_frame.h"
#include "link/setup_send.h"
#include "link/state_replies.h"
#include "setup/setup_instrument.h"

void CMainFrame::QueueSetupCommands() {
    ::QueueSetupCommands(Current(), Edited(), m_link.Sender());
    Mode().OnSetupQueued();
    // When nothing changed the queue is empty already: the tick says so at once.
    m_link.WakeSendTick();
}

void CMainFrame::OnSetupInstrument() {
    if (Ui().IsSetupWaitBoxShown())
        CloseSetupWaitBox();
    if (Mode().PendingOp() != kSetupOp)
        return;
    m_link.SetReadyToSend(TRUE);
    // The read is over whatever the operator does; a send sets the operation again.
    Mode().EndPendingOp();
    setup::RunSetupInstrument(m_setupHost, Mode());
}
