#include "maintenance/mic_calib_dlg.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/hooked_dialog.h"

using ui::ToQt;

CMicCalibDlg::CMicCalibDlg(maintenance::MicReplacementHost& host) : m_wizard(host) {}

CMicCalibDlg::~CMicCalibDlg() {
    DestroyWindow();
}

QWidget* CMicCalibDlg::Window() const {
    return m_window.get();
}

bool CMicCalibDlg::IsWindowVisible() const {
    return m_window && m_window->isVisible();
}

void CMicCalibDlg::Create() {
    if (m_window)
        return;
    m_window = std::make_unique<ui::HookedDialog>(
        ui::HookedDialog::Hooks{.ok = [this] { OnNext(); }, .cancel = [this] { OnCancel(); }});
    BuildWindow();
}

void CMicCalibDlg::DestroyWindow() {
    if (m_window)
        ui::DisposeWindow(std::move(m_window));
}

void CMicCalibDlg::ShowWindow(bool show) {
    if (!m_window)
        return;
    if (!show) {
        m_window->hide();
        return;
    }
    // The command that shows it switched the meter off and emptied the queue: a replacement
    // under way from before cannot go on.
    m_strMicSerial.clear();
    m_wizard.Begin(m_strTechnicianRecord);
    ShowState();
    m_window->show();
    AfterStep();
}

int CMicCalibDlg::RunOnScreen() {
    if (m_window)
        m_window->show();
    return kAnswerOnWindow;
}

void CMicCalibDlg::NextStep() {
    m_wizard.NextStep();
    AfterStep();
}

void CMicCalibDlg::OnNext() {
    if (!m_window)
        return;
    if (auto* serial = m_window->findChild<QLineEdit*>(kSerialEditName);
        serial && serial->isEnabled() && !serial->text().isEmpty())
        m_strMicSerial = ui::FromQt(serial->text());
    if (!m_wizard.Next(m_strMicSerial) && m_wizard.WaitsForOperator())
        platform::AfxMessageBox(m_wizard.Message(), MB_ICONEXCLAMATION);
    AfterStep();
}

void CMicCalibDlg::OnCancel() {
    if (!m_window)
        return;
    m_wizard.Cancel();
    AfterStep();
}

void CMicCalibDlg::AfterStep() {
    if (!m_window)
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

void CMicCalibDlg::BuildWindow() {
    QDialog& dialog = *m_window;
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
    auto* buttons = new QDialogButtonBox(&dialog);
    buttons->addButton(ToQt("Avanti"), QDialogButtonBox::AcceptRole)
        ->setObjectName(QString::number(IDOK));
    buttons->addButton(ToQt("Annulla"), QDialogButtonBox::RejectRole)
        ->setObjectName(QString::number(IDCANCEL));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    dialog.resize(460, 220);
}

void CMicCalibDlg::ShowState() {
    if (!m_window)
        return;
    if (auto* message = m_window->findChild<QLabel*>(kMessageLabelName))
        message->setText(ToQt(m_wizard.Message()));
    if (auto* serial = m_window->findChild<QLineEdit*>(kSerialEditName)) {
        const bool entering = m_wizard.GetStep() == maintenance::MicReplacement::kEnterMicrophone;
        serial->setEnabled(entering);
        if (!entering)
            serial->setText(ToQt(m_wizard.MicrophoneSerial()));
    }
    if (auto* next = m_window->findChild<QPushButton*>(QString::number(IDOK)))
        next->setEnabled(m_wizard.WaitsForOperator());
}
