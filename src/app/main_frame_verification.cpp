// "Avvia nuova verifica" and "Continua verifica": after the technician step they open the
// verification bench window, for a new verification or for one resumed from its file while
// that is less than seven days old.

#include "app/kx9monitor_app.h"
#include "app/main_frame.h"
#include "platform/files.h"
#include "platform/operator.h"
#include "report/report_age.h"
#include "report/verification_file.h"

namespace {
constexpr size_t kKeyLineChars = 1024;
constexpr const char* kTooOld =
    "ATTENZIONE:\nLa prova e' stata eseguita piu' di 7 giorni fa.\nNon e' possibile continuarla";
}  // namespace

void CMainFrame::OnNewVerification() {
    const WorkflowGuard::Hold hold = m_workflow.Enter();
    if (!hold)
        return;
    if (!m_web.CheckInternetOnce())
        return;
    if (!EnsureTechnician(&m_technicianData))
        return;

    if (!m_bench.Window().HasWindow())
        m_bench.Window().Create();
    // Its next showing connects the instruments and starts the run.
    m_bench.Window().m_bFirstShow = 1;
    m_bCalibratorOnlyReport = 0;
    if (!m_bench.Window().HasWindow())
        return;
    m_bench.Window().m_strResumeFile.clear();
    m_bench.Window().m_bUnattendedRun = 0;
    m_bench.Window().m_bNewVerification = 1;
    m_bench.Window().m_bKeyAlignOnly = 0;
    m_bench.Window().ShowWindow(true);
}

void CMainFrame::OnContinueVerification() {
    const WorkflowGuard::Hold hold = m_workflow.Enter();
    if (!hold)
        return;
    CKX9MonitorApp& app = TheApp();
    // The verification goes on offline too.
    m_web.CheckInternetOnce();
    web::TechnicianLookup unused;
    if (!EnsureTechnician(&unused))
        return;

    platform::FileChoice choice;
    choice.title = "Continua verifica";
    choice.folder = platform::JoinPath(app.m_strProgramDir, "\\archivio_verifiche\\");
    choice.fileName = "Nome_Cliente";
    choice.filter = "Verifica periodica generica (*.vpg)";
    const std::optional<std::string> path = platform::ChooseFile(choice);
    if (!path)
        return;
    if (!report::IsReportWithin7Days(*path)) {
        platform::AfxMessageBox(kTooOld, MB_ICONSTOP);
        return;
    }
    // A file refused by its seal is not continued: the bench would seal it anew. It is
    // refused before the bench window exists, which would keep "Apri rapporto" disabled.
    if (!LoadReport(*path))
        return;
    if (!m_bench.Window().HasWindow())
        m_bench.Window().Create();
    if (!m_bench.Window().HasWindow())
        return;

    const size_t slash = path->rfind('/');
    if (slash == std::string::npos) {
        platform::AfxMessageBox("Error 2");
    } else {
        m_bench.Window().m_strResumeFolder = path->substr(0, slash);
        m_bench.Window().m_strResumeFile = path->substr(slash + 1);
        TakeResumeKeys(*path);
    }
    m_bench.Window().m_bUnattendedRun = 0;
    m_bench.Window().m_bNewVerification = 0;
    m_bench.Window().ShowWindow(true);
}

void CMainFrame::TakeResumeKeys(const std::string& path) {
    platform::LineReader reader(platform::ToNativePath(path));
    if (!reader.IsOpen()) {
        platform::AfxMessageBox("Error 1");
        return;
    }
    report::CustomerKeys keys;
    for (std::string line; reader.ReadLine(line, kKeyLineChars);)
        report::ScanCustomerKeys(line, keys);
    if (keys.customerName)
        m_bench.Window().m_strCustomerName = *keys.customerName;
    if (keys.meterMaker)
        m_bench.Window().m_strMeterMaker = *keys.meterMaker;
    if (keys.calibratorPresent)
        m_bench.Window().m_bCalibratorPresent = *keys.calibratorPresent ? 1 : 0;
}
