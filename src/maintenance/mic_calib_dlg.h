#pragma once
// The microphone-replacement wizard (dialog 375), modeless: a page of instructions and
// readings, the new microphone's serial number, "Avanti" and "Annulla". The calibration itself
// is MicReplacement; the calibration replies feed it while the window exists. The window closes
// itself when the replacement is over.
//
// The operator is asked through the operator seam whenever the wizard waits for them: on
// screen the window's buttons answer later; a script answers at once (IDOK is "Avanti", with
// m_strMicSerial as the entry; IDCANCEL is "Annulla").

#include <memory>
#include <string>

#include "maintenance/mic_replacement.h"
#include "platform/operator.h"
#include "ui/modeless_window.h"

class CMicCalibDlg : public platform::ModalDialog, public ui::ModelessWindow {
public:
    static constexpr int IDD = 375;
    // RunOnScreen's answer: the window is shown and its buttons answer.
    static constexpr int kAnswerOnWindow = 0;
    static constexpr const char* kMessageLabelName = "message";
    static constexpr const char* kSerialEditName = "serial";

    // What the wizard is handed (MicReplacement's constructor).
    CMicCalibDlg(SendCommandFn send, WithdrawCommandFn withdraw, web::WebClient& web,
                 InstrLog& log);
    ~CMicCalibDlg() override;

    std::string DialogName() const override { return "CMicCalibDlg"; }
    int RunOnScreen() override;

    // Showing the window starts the wizard afresh for m_strTechnicianRecord and
    // m_strMicSerialBefore.
    void ShowWindow(bool show);

    // What the calibration replies hand over, and the step it sets before NextStep.
    void SetChannelGain(int channel, const std::string& text) {
        m_wizard.SetChannelGain(channel, text);
    }
    void SetElectricCal(const std::string& text) { m_wizard.SetElectricCal(text); }
    void SetProtectionCode(const std::string& text) { m_wizard.SetProtectionCode(text); }
    void SetLevel(const std::string& text) { m_wizard.SetLevel(text); }
    void SetStep(int step) { m_wizard.SetStep(step); }
    void NextStep();
    void OnWriteAnswered(int code, const std::string& arg1);
    // The link gave up one of the wizard's commands: the wizard ends with what the meter
    // confirmed, and the window closes.
    void OnCommandLost(int code, const std::string& arg1, maintenance::MicReplacement::Loss loss);

    // "Avanti" and "Annulla".
    void OnNext();
    void OnCancel();

    const maintenance::MicReplacement& Wizard() const { return m_wizard; }

    // The technician code, the six laboratory fields, the technician's name and code and the
    // serial number of the instrument under test, joined by ";".
    std::string m_strTechnicianRecord;
    // The serial number of the microphone the meter had, as its identity read gave it; empty
    // when not known.
    std::string m_strMicSerialBefore;
    // The new microphone's serial number.
    std::string m_strMicSerial;

private:
    ui::HookedDialog::Hooks WindowHooks() override;
    void BuildWindow(QDialog& dialog) override;
    void ShowState();
    // Asks the operator when the wizard waits for them; closes the window once it is over.
    void AfterStep();

    maintenance::MicReplacement m_wizard;
};
