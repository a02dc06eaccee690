#include "maintenance/mic_calib_dlg.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <utility>

#include "maintenance/dialog_buttons.h"

using ui::ToQt;

CMicCalibDlg::CMicCalibDlg(SendCommandFn send, WithdrawCommandFn withdraw, web::WebClient& web,
                           InstrLog& log)
    : m_wizard(std::move(send), std::move(withdraw), web, log) {}

CMicCalibDlg::~CMicCalibDlg() {
    DestroyWindow();
}

ui::HookedDialog::Hooks CMicCalibDlg::WindowHooks() {
    return {.ok = [this] { OnNext(); }, .cancel = [this] { OnCancel(); }};
}

void CMicCalibDlg::ShowWindow(bool show) {
    if (!HasWindow())
        return;
    if (!show) {
        ModelessWindow::ShowWindow(false);
        return;
    }
    // The command that shows it switched the meter off and emptied the queue: a replacement
    // under way from before cannot go on.
    m_strMicSerial.clear();
    m_wizard.Begin(m_strTechnicianRecord, m_strMicSerialBefore);
    ShowState();
    ModelessWindow::ShowWindow(true);
    AfterStep();
}

int CMicCalibDlg::RunOnScreen() {
    ModelessWindow::ShowWindow(true);
    return kAnswerOnWindow;
}

void CMicCalibDlg::NextStep() {
    m_wizard.NextStep();
    AfterStep();
}

void CMicCalibDlg::OnWriteAnswered(int code, const std::string& arg1) {
    m_wizard.OnWriteAnswered(code, arg1);
    AfterStep();
}

void CMicCalibDlg::OnCommandLost(int code, const std::string& arg1,
                                 maintenance::MicReplacement::Loss loss) {
    m_wizard.OnCommandLost(code, arg1, loss);
    AfterStep();
}

void CMicCalibDlg::OnNext() {
    QDialog* window = Window();
    if (!window)
        return;
    if (auto* serial = window->findChild<QLineEdit*>(kSerialEditName);
        serial && serial->isEnabled() && !serial->text().isEmpty())
        m_strMicSerial = ui::FromQt(serial->text());
    if (!m_wizard.Next(m_strMicSerial) && m_wizard.WaitsForOperator())
        platform::AfxMessageBox(m_wizard.Message(), MB_ICONEXCLAMATION);
    AfterStep();
}

void CMicCalibDlg::OnCancel() {
    if (!HasWindow())
        return;
    m_wizard.Cancel();
    AfterStep();
}

void CMicCalibDlg::AfterStep() {
    if (!HasWindow())
        return;
    if (m_wizard.IsOver()) {
        DestroyWindow();
        return;
    }
    ShowState();
    if (!m_wizard.WaitsForOperator())
        return;
    switch (DoModal()) {
        case kAnswerOnWindow:
            break;
        case IDOK:
            OnNext();
            break;
        default:
            OnCancel();
            break;
    }
}

void CMicCalibDlg::BuildWindow(QDialog& dialog) {
    dialog.setWindowTitle(ToQt("Sostituzione microfono"));
    auto* layout = new QVBoxLayout(&dialog);
    auto* message = new QLabel(&dialog);
    message->setObjectName(kMessageLabelName);
    message->setWordWrap(true);
    layout->addWidget(message);
    layout->addWidget(new QLabel(ToQt("Numero di serie del nuovo microfono:"), &dialog));
    auto* serial = new QLineEdit(&dialog);
    serial->setObjectName(kSerialEditName);
    layout->addWidget(serial);
    maintenance::AddStepButtons(dialog, *layout, "Avanti");
    dialog.resize(460, 220);
}

void CMicCalibDlg::ShowState() {
    QDialog* window = Window();
    if (!window)
        return;
    if (auto* message = window->findChild<QLabel*>(kMessageLabelName))
        message->setText(ToQt(m_wizard.Message()));
    if (auto* serial = window->findChild<QLineEdit*>(kSerialEditName)) {
        const bool entering = m_wizard.GetStep() == maintenance::MicReplacement::kEnterMicrophone;
        serial->setEnabled(entering);
        if (!entering)
            serial->setText(ToQt(m_wizard.MicrophoneSerial()));
    }
    if (auto* next = window->findChild<QPushButton*>(QString::number(IDOK)))
        next->setEnabled(m_wizard.WaitsForOperator());
}
