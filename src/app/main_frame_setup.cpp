// The instrument setup on the frame's side: the "Setup Instrument" sheet at the end of a whole
// read, and the queueing of the values the operator changed there.

#include "app/kx9monitor_app.h"
#include "app/main_frame.h"
#include "link/model_rules.h"
#include "link/setup_send.h"
#include "link/state_replies.h"

void CMainFrame::QueueSetupCommands() {
    ::QueueSetupCommands(Current(), Edited(), Sender());
    m_bSetupReadPending = TRUE;
    // When nothing changed the queue is empty already: the tick says so at once.
    m_link.WakeSendTick();
}

void CMainFrame::OnSetupInstrument() {
    if (Ui().IsSetupWaitBoxShown())
        CloseSetupWaitBox();
    if (m_nPendingOp != kSetupOp)
        return;

    const std::string& model = Current().m_strModel;
    const SetupSheetPages pages{.spectrum = model_rules::HasSpectrum(model),
                                .dataLogging = model_rules::HasDataLogging(model)};
    m_link.SetReadyToSend(TRUE);
    // The read is over whatever the operator does; a send sets the operation again.
    const bool apply = Services().RunSetupSheet(*this, pages) == IDOK;
    m_nPendingOp = kNoPendingOp;
    if (!apply)
        return;
    if (m_bDataLogging || m_bAcquiring) {
        if (!Confirm("WARNING: Instrument is in ACQUISITION state.\nTo modify setup parameters "
                     "you must stop acquisition.\nConfirm stop acquisition ?"))
            return;
        ExchangeAndWait("STT:ACQ:STOP\r\n", "STT:ACQ:?\r\n", "STOP");
        m_bAcquiring = FALSE;
    }
    m_nPendingOp = kSetupOp;
    QueueSetupCommands();
    Ui().ShowSetupWaitBox("Sending Setup parameters to instrument...\r\nPlease wait.");
}
