#include "app/frame_setup_host.h"

#include "app/frame_ui.h"
#include "app/kx9monitor_app.h"
#include "app/kx9monitor_view.h"
#include "app/main_frame.h"
#include "link/state_replies.h"

CInstrStatus& FrameSetupHost::Current() {
    return TheApp().m_InstrStatus;
}

CInstrStatus& FrameSetupHost::Edited() {
    return TheApp().m_EditStatus;
}

std::string FrameSetupHost::ParameterName(const std::string& stored) const {
    const CKX9MonitorView* view = TheApp().m_pView;
    return view ? view->GetParameterName(stored) : stored;
}

std::string FrameSetupHost::ProgramDir() const {
    return TheApp().m_strProgramDir;
}

bool FrameSetupHost::StopAcquisition() {
    return m_frame.Link().ConfirmAcquisitionStop();
}

void FrameSetupHost::SendSetup() {
    m_frame.Mode().BeginSetupTransfer();
    m_frame.QueueSetupCommands();
    m_frame.Ui().ShowSetupWaitBox("Sending Setup parameters to instrument...\r\nPlease wait.");
}
