#include "app/workflow_steps.h"

#include "app/frame_boxes.h"
#include "app/frame_ui.h"
#include "app/kx9monitor_app.h"
#include "link/link_session.h"
#include "platform/operator.h"
#include "verification/bench_host.h"
#include "web/black_list.h"
#include "web/code_entry_form.h"
#include "web/service_paths.h"

namespace {
// Eight blanks after "VP".
constexpr const char* kTechnicianTitle = "QS4060KRTN_VP        - ID TECNICO: ";
}  // namespace

bool WorkflowSteps::EnsureTechnician(web::TechnicianLookup* lookup) {
    CKX9MonitorApp& app = TheApp();
    if (!app.m_strTechnicianId.empty())
        return true;
    CSetLabelDlg codeForm(CSetLabelDlg::kTechnicianCode);
    if (codeForm.DoModal() != IDOK)
        return false;
    app.m_strTechnicianId = codeForm.m_strText;
    m_uses.ui.SetTitle(kTechnicianTitle + app.m_strTechnicianId);
    if (lookup)
        *lookup = m_uses.technician.CheckTechnician(true, app.m_strTechnicianId);
    return true;
}

bool WorkflowSteps::CheckMaintenanceTechnician(const std::string& refusal,
                                               web::TechnicianLookup& lookup) {
    CKX9MonitorApp& app = TheApp();
    if (!EnsureTechnician(nullptr))
        return false;
    lookup = m_uses.technician.CheckTechnician(true, app.m_strTechnicianId);
    if (app.m_bTechnicianChecked)
        return true;
    app.m_strTechnicianId.clear();
    platform::AfxMessageBox(refusal, MB_ICONSTOP);
    m_uses.boxes.ClosePleaseWait();
    return false;
}

std::string WorkflowSteps::TechnicianRecord(const web::TechnicianLookup& lookup) {
    std::string record = TheApp().m_strTechnicianId;
    for (const std::string& field : lookup.lab)
        record += ";" + field;
    return record + ";" + lookup.nameAndCode + ";" + m_uses.instruments.target.serial;
}

bool WorkflowSteps::IsCalibExpiryBlocked() {
    // The instrument whose dates change, and the reference meter when one was connected.
    const verification::BenchInstruments& instruments = m_uses.instruments;
    web::ServerDatabases& databases = m_uses.databases;
    if (databases.IsInstrumentBlackListed(instruments.target.serial))
        return true;
    return web::BlackListHolds(databases.LocalPath(web::kBlackListFile), instruments.refSerial);
}

void WorkflowSteps::ArmQueuedLink() {
    LinkSession& link = m_uses.link;
    link.SetLinkPort(LinkSide::Target);
    link.Mode().OnMeterAnswered();
    link.DeleteAllCommands();
    link.Mode().BeginDisplayCheck();
    link.StartSendTick();
    link.SetReadyToSend(TRUE);
}

void WorkflowSteps::CloseTargetPort() {
    m_uses.link.ClosePort(LinkSide::Target);
}
