#include "app/workflow_steps.h"

#include "app/kx9monitor_app.h"
#include "app/main_frame.h"
#include "platform/operator.h"
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
    m_frame.Ui().SetTitle(kTechnicianTitle + app.m_strTechnicianId);
    if (lookup)
        *lookup = m_frame.Web().Technician().CheckTechnician(true, app.m_strTechnicianId);
    return true;
}

bool WorkflowSteps::CheckMaintenanceTechnician(const std::string& refusal,
                                               web::TechnicianLookup& lookup) {
    CKX9MonitorApp& app = TheApp();
    if (!EnsureTechnician(nullptr))
        return false;
    lookup = m_frame.Web().Technician().CheckTechnician(true, app.m_strTechnicianId);
    if (app.m_bTechnicianChecked)
        return true;
    app.m_strTechnicianId.clear();
    platform::AfxMessageBox(refusal, MB_ICONSTOP);
    m_frame.Boxes().ClosePleaseWait();
    return false;
}

std::string WorkflowSteps::TechnicianRecord(const web::TechnicianLookup& lookup) {
    std::string record = TheApp().m_strTechnicianId;
    for (const std::string& field : lookup.lab)
        record += ";" + field;
    return record + ";" + lookup.nameAndCode + ";" + m_frame.Bench().Instruments().target.serial;
}

bool WorkflowSteps::IsCalibExpiryBlocked() {
    // The instrument whose dates change, and the reference meter when one was connected.
    const verification::BenchInstruments& instruments = m_frame.Bench().Instruments();
    web::ServerDatabases& databases = m_frame.Web().Databases();
    if (databases.IsInstrumentBlackListed(instruments.target.serial))
        return true;
    return web::BlackListHolds(databases.LocalPath(web::kBlackListFile), instruments.refSerial);
}

void WorkflowSteps::ArmQueuedLink() {
    LinkSession& link = m_frame.Link();
    link.SetLinkPort(LinkSide::Target);
    m_frame.Mode().OnMeterAnswered();
    link.DeleteAllCommands();
    m_frame.Mode().BeginDisplayCheck();
    link.StartSendTick();
    link.SetReadyToSend(TRUE);
}

void WorkflowSteps::CloseTargetPort() {
    m_frame.Link().ClosePort(LinkSide::Target);
}
