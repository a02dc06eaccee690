// "Avvia nuova verifica" and "Continua verifica": after the technician step they open the
// verification bench window, for a new verification or for one resumed from its file while
// that is less than seven days old.

#include "app/verification_workflow.h"

#include "app/frame_bench.h"
#include "app/frame_timers.h"
#include "app/frame_web.h"
#include "app/kx9monitor_app.h"
#include "app/workflow_steps.h"
#include "platform/files.h"
#include "platform/operator.h"
#include "report/report_age.h"
#include "report/verification_file.h"

namespace {
constexpr size_t kKeyLineChars = 1024;
constexpr const char* kTooOld =
    "ATTENZIONE:\nLa prova e' stata eseguita piu' di 7 giorni fa.\nNon e' possibile continuarla";
}  // namespace

VerificationWorkflow::VerificationWorkflow(const Uses& uses) : m_uses(uses), m_steps(uses.steps) {
    FrameTimers& timers = m_uses.timers;
    timers.OnExpiry(FrameTimers::kCalibExpiryUpdate, [this] {
        m_uses.timers.Kill(FrameTimers::kCalibExpiryUpdate);
        OnUpdateCalibExpiry();
    });
    timers.OnExpiry(FrameTimers::kReportValidation, [this] { OfferValidation(); });
}

void VerificationWorkflow::OnNewVerification() {
    const WorkflowGuard::Hold hold = m_steps.Enter();
    if (!hold)
        return;
    if (!m_uses.web.CheckInternetWhenDue())
        return;
    if (!m_steps.EnsureTechnician(&m_technicianData))
        return;

    CSoundDlg& bench = m_uses.bench.Window();
    if (!bench.HasWindow())
        bench.Create();
    // Its next showing connects the instruments and starts the run.
    bench.m_bFirstShow = 1;
    m_verdict.calibratorOnly = false;
    if (!bench.HasWindow())
        return;
    bench.m_strResumeFile.clear();
    bench.m_bUnattendedRun = 0;
    bench.m_bNewVerification = 1;
    bench.m_bKeyAlignOnly = 0;
    bench.ShowWindow(true);
}

void VerificationWorkflow::OnContinueVerification() {
    const WorkflowGuard::Hold hold = m_steps.Enter();
    if (!hold)
        return;
    CKX9MonitorApp& app = TheApp();
    // The verification goes on offline too.
    m_uses.web.CheckInternetWhenDue();
    web::TechnicianLookup unused;
    if (!m_steps.EnsureTechnician(&unused))
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
    CSoundDlg& bench = m_uses.bench.Window();
    if (!bench.HasWindow())
        bench.Create();
    if (!bench.HasWindow())
        return;

    const size_t slash = path->rfind('/');
    if (slash == std::string::npos) {
        platform::AfxMessageBox("Error 2");
    } else {
        bench.m_strResumeFolder = path->substr(0, slash);
        bench.m_strResumeFile = path->substr(slash + 1);
        TakeResumeKeys(*path);
    }
    bench.m_bUnattendedRun = 0;
    bench.m_bNewVerification = 0;
    bench.ShowWindow(true);
}

void VerificationWorkflow::TakeResumeKeys(const std::string& path) {
    platform::LineReader reader(platform::ToNativePath(path));
    if (!reader.IsOpen()) {
        platform::AfxMessageBox("Error 1");
        return;
    }
    CSoundDlg& bench = m_uses.bench.Window();
    report::CustomerKeys keys;
    for (std::string line; reader.ReadLine(line, kKeyLineChars);)
        report::ScanCustomerKeys(line, keys);
    if (keys.customerName)
        bench.m_strCustomerName = *keys.customerName;
    if (keys.meterMaker)
        bench.m_strMeterMaker = *keys.meterMaker;
    if (keys.calibratorPresent)
        bench.m_bCalibratorPresent = *keys.calibratorPresent ? 1 : 0;
}
