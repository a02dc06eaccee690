// The steps that the verification and maintenance commands share: making sure a technician is
// known, and arming the queued link for the dialog that follows.

#include "app/kx9monitor_app.h"
#include "app/main_frame.h"
#include "web/code_entry_form.h"

namespace {
// Eight blanks after "VP".
constexpr const char* kTechnicianTitle = "QS4060KRTN_VP        - ID TECNICO: ";
}  // namespace

bool CMainFrame::EnsureTechnician(web::TechnicianLookup* lookup) {
    CKX9MonitorApp& app = TheApp();
    if (!app.m_strTechnicianId.empty())
        return true;
    CSetLabelDlg codeForm(CSetLabelDlg::kTechnicianCode);
    if (codeForm.DoModal() != IDOK)
        return false;
    app.m_strTechnicianId = codeForm.m_strText;
    Ui().SetTitle(kTechnicianTitle + app.m_strTechnicianId);
    if (lookup)
        *lookup = m_technician.CheckTechnician(true, app.m_strTechnicianId);
    return true;
}

void CMainFrame::ArmQueuedLink() {
    m_link.SetLinkPort(LinkSide::Target);
    Mode().SetLinkActive(true);
    m_link.DeleteAllCommands();
    Mode().SetCheckingDisplay(true);
    m_link.StartSendTick();
    m_link.SetReadyToSend(TRUE);
}
