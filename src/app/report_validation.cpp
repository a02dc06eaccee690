// "Validazione Rapporto": the finished verification's file goes to the web service, which
// answers with the rendered report; the report is kept beside the file as a PDF and opened,
// and the calibration-expiry update of the instrument may follow (frame timer 16).

#include "app/frame_bench.h"
#include "app/frame_boxes.h"
#include "app/frame_timers.h"
#include "app/frame_web.h"
#include "app/kx9monitor_app.h"
#include "app/verification_workflow.h"
#include "app/workflow_steps.h"
#include "platform/files.h"
#include "platform/operator.h"
#include "platform/shell.h"
#include "web/multipart_upload.h"

namespace {
constexpr const char* kValidatedModel = "QS4060KRTN";
constexpr unsigned kExpiryUpdateDelayMs = 200;

constexpr const char* kOtherMaker =
    "ATTENZIONE:\nSolo verifiche effettuate su strumentazione Corvanex possono essere validate.";
constexpr const char* kUnknownTechnician =
    "ATTENZIONE:\nLa verifica e' stata eseguita da un operatore non riconosciuto.\nLa "
    "validazione non puo' essere eseguita.";
constexpr const char* kIncomplete =
    "ATTENZIONE:\nLa verifica e' incompleta.\nControllare se e' stata eseguita la prova del "
    "calibratore associato (se presente).\nLa validazione non puo' essere eseguita.";
constexpr const char* kFailed =
    "ATTENZIONE:\nLa verifica e' fallita.\nLa validazione non puo' essere eseguita.";
constexpr const char* kOverwrite = "File pdf gia' presente.\nSovrascriverlo ?";
constexpr const char* kOfferExpiryUpdate =
    "Dopo aver validato il rapporto e' possibile aggiornare la data di scadenza della taratura "
    "sul fonometro DUT.\nAggiornare la data adesso ?";
}  // namespace

void VerificationWorkflow::OnValidateReport() {
    const WorkflowGuard::Hold hold = m_steps.Enter();
    if (!hold)
        return;
    CKX9MonitorApp& app = TheApp();
    const char* refusal = nullptr;
    const std::string& model = m_uses.bench.Instruments().target.model;
    if (model != kValidatedModel && !m_verdict.calibratorOnly)
        refusal = kOtherMaker;
    else if (!app.m_bTechnicianChecked)
        refusal = kUnknownTechnician;
    else if (!m_verdict.complete)
        refusal = kIncomplete;
    else if (!m_verdict.positive)
        refusal = kFailed;
    if (refusal) {
        platform::AfxMessageBox(refusal, MB_ICONSTOP);
        return;
    }

    // The file this validation is about, whatever a served message makes current meanwhile.
    const std::string vpgPath = app.m_strCurrentFile;
    m_uses.boxes.ShowPleaseWait("Connessione con il server...");
    app.WaitWithMessages(FrameWeb::kServerPauseMs);
    UploadAndOpenReport(vpgPath);
    m_uses.boxes.ClosePleaseWait();
}

void VerificationWorkflow::UploadAndOpenReport(const std::string& vpgPath) {
    const std::string pdfPath = platform::ToNativePath(web::ReportPathFor(vpgPath));
    // The earlier report stays until the new one has arrived whole.
    if (platform::FileExists(pdfPath) &&
        platform::AfxMessageBox(kOverwrite, MB_YESNO | MB_ICONEXCLAMATION) != IDYES)
        return;

    const web::ReportUpload upload = m_uses.web.Client().HttpUploadFilePost(vpgPath);
    if (upload.serviceError) {
        platform::AfxMessageBox("ERRORE\n\n" + *upload.serviceError, MB_ICONSTOP);
        return;
    }
    if (upload.result != "1") {
        platform::AfxMessageBox(upload.result);
        return;
    }
    platform::OpenDocument(pdfPath);
    if (!m_verdict.calibratorOnly &&
        platform::AfxMessageBox(kOfferExpiryUpdate, MB_YESNO | MB_ICONINFORMATION) == IDYES)
        m_uses.timers.Set(FrameTimers::kCalibExpiryUpdate, kExpiryUpdateDelayMs);
}

void VerificationWorkflow::OfferValidation() {
    m_uses.timers.Kill(FrameTimers::kReportValidation);
    if (platform::AfxMessageBox("Eseguire la validazione del rapporto",
                                MB_YESNO | MB_ICONINFORMATION) == IDYES)
        OnValidateReport();
}
