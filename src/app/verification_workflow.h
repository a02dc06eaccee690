#pragma once
// The verification workflow: starting and continuing a verification on the bench, the
// verification files (opening one, editing its header, the data sheet of a newly identified
// meter), validating a report with the web service, and the calibration-expiry update that may
// follow it.

#include <string>

#include "platform/win_types.h"
#include "report/verification_file.h"
#include "web/technician_account.h"

class FrameBench;
class FrameBoxes;
class FrameTimers;
class FrameWeb;
class ViewLookup;
class WorkflowSteps;

class VerificationWorkflow {
public:
    // What the workflow uses, none of it owned.
    struct Uses {
        WorkflowSteps& steps;
        // The web service: its internet check, client and the instrument log.
        FrameWeb& web;
        // The bench window, the calibration-expiry dialog and the bench's meters.
        FrameBench& bench;
        FrameBoxes& boxes;
        // Timer 16 starts the calibration-expiry update after a validated report.
        FrameTimers& timers;
        // The view whose report list shows a loaded report.
        const ViewLookup& views;
    };

    // Registers the handlers of timers 16 and 17.
    explicit VerificationWorkflow(const Uses& uses);
    VerificationWorkflow(const VerificationWorkflow&) = delete;
    VerificationWorkflow& operator=(const VerificationWorkflow&) = delete;

    // "Avvia nuova verifica" and "Continua verifica" (verification_workflow.cpp).
    void OnNewVerification();
    void OnContinueVerification();

    // The verification files (verification_reports.cpp). LoadReport checks the file's seal and
    // shows its report in the view's report list, takes its verdict and makes the file the
    // current one; FALSE, after a message, when the file is refused.
    BOOL LoadReport(const std::string& path);
    void OnFileOpen();
    void OnEditReportHeader();
    // The verification data sheet of the instrument whose serial number just arrived.
    void ShowInstrInfoDlg();
    // "Validazione Rapporto", also frame timer 17 after a complete run.
    void OnValidateReport();

    // "Aggiorna data scadenza taratura": the start-up job's last step, the menu command and
    // frame timer 16 after a validated report (calib_expiry_command.cpp).
    void OnUpdateCalibExpiry();

    // The current report's verdict. Its calibrator-only mark stays from the report that set it
    // until a new verification.
    const report::ReportVerdict& Verdict() const { return m_verdict; }
    // The laboratory data of the technician check of a new verification.
    const web::TechnicianLookup& TechnicianData() const { return m_technicianData; }

private:
    // The customer keys of a continued verification's file into the bench window.
    void TakeResumeKeys(const std::string& path);
    // The report that validation sends, stored beside the file and opened.
    void UploadAndOpenReport(const std::string& vpgPath);
    // Runs the calibration-expiry dialog until it gives a result; its result, "-" for none.
    std::string RunCalibExpiryDialog();
    // Timer 17: the operator is asked whether to validate the report now.
    void OfferValidation();

    Uses m_uses;
    WorkflowSteps& m_steps;
    report::ReportVerdict m_verdict;
    web::TechnicianLookup m_technicianData;
};
