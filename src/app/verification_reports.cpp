// The verification files on the frame: loading one into the view's report list ("Apri
// rapporto" and a continued verification), editing its header within its seven days
// ("Modifica intestazione rapporto"), and the data sheet shown for a newly identified meter.

#include "app/verification_workflow.h"

#include "app/kx9monitor_app.h"
#include "app/kx9monitor_view.h"
#include "app/view_lookup.h"
#include "app/workflow_steps.h"
#include "platform/files.h"
#include "platform/operator.h"
#include "platform/text.h"
#include "report/instr_info_dlg.h"
#include "report/report_age.h"
#include "report/report_file.h"
#include "report/report_list.h"

namespace {
constexpr const char* kReportFilter = "Verifica periodica generica (*.vpg)";
constexpr const char* kNoReport = "Nessun rapporto di verifica aperto.";
constexpr const char* kHeaderTooOld =
    "ATTENZIONE:\nLa prova e' stata eseguita piu' di 7 giorni fa.\nNon e' possibile "
    "modificarne l'intestazione";

bool IsVerificationFile(const std::string& path) {
    return platform::EndsWith(platform::ToLower(path), ".vpg");
}
}  // namespace

BOOL VerificationWorkflow::LoadReport(const std::string& path) {
    const report::LoadedReport loaded = report::ReadVerificationFile(path);
    if (!loaded.Loaded()) {
        platform::AfxMessageBox(loaded.error, MB_ICONSTOP);
        return FALSE;
    }
    if (CKX9MonitorView* view = m_uses.views.Shown()) {
        report::FillReportList(view->m_ReportList, report::ReportRows(loaded.sections));
        view->ShowControl(CKX9MonitorView::IDC_DATA_LIST, false);
        view->ShowControl(CKX9MonitorView::IDC_REPORT_LIST, true);
    }
    m_verdict.complete = loaded.verdict.complete;
    m_verdict.positive = loaded.verdict.positive;
    m_verdict.calibratorOnly = m_verdict.calibratorOnly || loaded.verdict.calibratorOnly;
    TheApp().m_strCurrentFile = path;
    return TRUE;
}

void VerificationWorkflow::OnFileOpen() {
    const WorkflowGuard::Hold hold = m_steps.Enter();
    if (!hold)
        return;
    platform::FileChoice choice;
    choice.title = "Apri rapporto";
    choice.folder = platform::JoinPath(TheApp().m_strProgramDir, "\\archivio_verifiche\\");
    choice.filter = kReportFilter;
    if (const std::optional<std::string> path = platform::ChooseFile(choice))
        LoadReport(*path);
}

void VerificationWorkflow::OnEditReportHeader() {
    const WorkflowGuard::Hold hold = m_steps.Enter();
    if (!hold)
        return;
    const std::string path = TheApp().m_strCurrentFile;
    if (!IsVerificationFile(path)) {
        platform::AfxMessageBox(kNoReport, MB_ICONEXCLAMATION);
        return;
    }
    if (!report::IsReportWithin7Days(path)) {
        platform::AfxMessageBox(kHeaderTooOld, MB_ICONSTOP);
        return;
    }
    const report::LoadedReport loaded = report::ReadVerificationFile(path);
    if (!loaded.Loaded()) {
        platform::AfxMessageBox(loaded.error, MB_ICONSTOP);
        return;
    }
    CInstrInfoDlg sheet;
    if (const report::FileSection* header =
            report::FindSection(loaded.sections, report::kHeaderSection))
        for (const auto& [key, value] : header->values)
            sheet.SetValue(key, value);
    if (sheet.DoModal() != IDOK)
        return;
    if (const std::string error = report::RewriteHeader(path, sheet.Values()); !error.empty()) {
        platform::AfxMessageBox(error, MB_ICONSTOP);
        return;
    }
    LoadReport(path);
}

void VerificationWorkflow::ShowInstrInfoDlg() {
    CInstrInfoDlg sheet;
    sheet.SetValue(report::kMeterModelKey, TheApp().m_InstrStatus.m_strModel);
    sheet.SetValue(report::kMeterSerialKey, TheApp().m_InstrStatus.m_strSerialNumber);
    sheet.SetValue(report::kLabNameKey, m_technicianData.lab[0]);
    sheet.SetValue(report::kTechnicianKey, m_technicianData.nameAndCode);
    sheet.DoModal();
}
