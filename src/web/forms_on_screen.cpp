// The on-screen side of the web-service forms: each builds its Qt dialog, moves its members
// into the controls, runs the buttons through the form's own handlers and moves the controls'
// contents back.

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/dialog_parent.h"
#include "ui/button_st.h"
#include "web/booking_form.h"
#include "web/code_entry_form.h"
#include "web/form_widgets.h"
#include "web/laboratory_choice_form.h"
#include "web/login_form.h"
#include "web/registration_form.h"

using namespace web::forms;

namespace {
constexpr const char* kTitle = "QS4060KRTN_VP";

int Run(QDialog& dialog) {
    return dialog.exec() == QDialog::Accepted ? IDOK : IDCANCEL;
}

QLabel* AddText(QBoxLayout* layout, const char* text, int id = -1) {
    auto* label = new QLabel(ToQt(text));
    label->setWordWrap(true);
    if (id >= 0)
        label->setObjectName(IdName(id));
    layout->addWidget(label);
    return label;
}
}  // namespace

int CSetHystogramRange::RunOnScreen() {
    QDialog dialog(platform::DialogParent());
    dialog.setWindowTitle(kTitle);
    auto* layout = new QVBoxLayout(&dialog);
    AddText(layout, "Inserire codice tecnico e password per accedere");
    auto* fields = new QFormLayout;
    QLineEdit* code = AddEdit(fields, "Matricola Tecnico", 1495, m_strCode, 6);
    QLineEdit* password = AddEdit(fields, "Password", 1496, m_strPassword, 0, true);
    layout->addLayout(fields);
    auto* authorised = new QCheckBox(ToQt("Sono un tecnico autorizzato Corvanex"));
    authorised->setObjectName(IdName(1797));
    layout->addWidget(authorised);
    auto* buttons = new QHBoxLayout;
    QPushButton* forgot = AddButton(buttons, "Password dimenticata", 1498);
    QPushButton* registration = AddButton(buttons, "Registrazione nuovo utente", 1497);
    layout->addLayout(buttons);
    QPushButton* ok = AddOkCancel(layout, dialog, false);

    auto read = [&] {
        m_strCode = FromQt(code->text());
        m_strPassword = FromQt(password->text());
        m_bAuthorised = authorised->isChecked() ? 1 : 0;
    };
    auto write = [&] {
        code->setText(ToQt(m_strCode));
        password->setText(ToQt(m_strPassword));
        authorised->setChecked(m_bAuthorised != 0);
        password->setEnabled(PasswordEnabled());
    };
    write();
    QObject::connect(authorised, &QCheckBox::clicked, &dialog, [&] {
        read();
        write();
    });
    QObject::connect(forgot, &QPushButton::clicked, &dialog, [&] {
        read();
        OnForgotPassword();
    });
    QObject::connect(registration, &QPushButton::clicked, &dialog, [&] { OnRegisterUser(); });
    QObject::connect(ok, &QPushButton::clicked, &dialog, [&] {
        read();
        if (OnOK())
            dialog.accept();
        else
            write();
    });
    return Run(dialog);
}

int CSelDocToPrint::RunOnScreen() {
    QDialog dialog(platform::DialogParent());
    dialog.setWindowTitle(ToQt("Registrazione nuovo utente"));
    auto* layout = new QVBoxLayout(&dialog);
    auto* fields = new QFormLayout;
    QLineEdit* code = AddEdit(fields, "Matricola Tecnico", 1029, m_strCode, 6);
    QLineEdit* password = AddEdit(fields, "Password", 1030, m_strPassword, 0, true);
    QLineEdit* confirm = AddEdit(fields, "Conferma password", 1031, m_strConfirm, 0, true);
    QLineEdit* mail = AddEdit(fields, "Email", 1032, m_strMail);
    layout->addLayout(fields);
    QPushButton* ok = AddOkCancel(layout, dialog, true);
    QObject::connect(ok, &QPushButton::clicked, &dialog, [&] {
        m_strCode = FromQt(code->text());
        m_strPassword = FromQt(password->text());
        m_strConfirm = FromQt(confirm->text());
        m_strMail = FromQt(mail->text());
        if (OnOK())
            dialog.accept();
    });
    return Run(dialog);
}

int CSetLabelDlg::RunOnScreen() {
    QDialog dialog(platform::DialogParent());
    dialog.setWindowTitle(kTitle);
    auto* layout = new QVBoxLayout(&dialog);
    AddText(layout, Prompt().c_str(), 1799);
    auto* text = new QLineEdit(ToQt(m_strText));
    text->setObjectName(IdName(1723));
    if (m_nMode == kTechnicianCode)
        text->setMaxLength(6);
    layout->addWidget(text);
    auto* row = new QHBoxLayout;
    row->addStretch();
    // The form's owner-drawn OK: flat, with the border while the mouse is over it.
    auto* ok = new ui::CButtonST("OK");
    ok->setObjectName(IdName(1722));
    ok->PreSubclassWindow(ui::BS_DEFPUSHBUTTON);
    ok->setMinimumSize(75, 23);
    row->addWidget(ok);
    layout->addLayout(row);
    QObject::connect(ok, &QPushButton::clicked, &dialog, [&] {
        m_strText = FromQt(text->text());
        if (OnOK())
            dialog.accept();
        else  // OK took the focus on its click, by Enter too: the next digits belong to the code
            text->setFocus(Qt::OtherFocusReason);
    });
    return Run(dialog);
}

int CSetLimitDlg::RunOnScreen() {
    QDialog dialog(platform::DialogParent());
    dialog.setWindowTitle(kTitle);
    auto* layout = new QVBoxLayout(&dialog);
    auto* laboratories = new QComboBox;
    laboratories->setObjectName(IdName(1031));
    for (const std::string& entry : Entries())
        laboratories->addItem(ToQt(entry));
    layout->addWidget(laboratories);
    QPushButton* ok = AddOkCancel(layout, dialog, true);
    QObject::connect(ok, &QPushButton::clicked, &dialog, [&] {
        m_nChoice = laboratories->currentIndex();
        dialog.accept();
    });
    return Run(dialog);
}

int CAudioTriggerEvDlg::RunOnScreen() {
    QDialog dialog(platform::DialogParent());
    dialog.setWindowTitle(ToQt("Prenotazione strumenti"));
    auto* layout = new QVBoxLayout(&dialog);
    AddText(layout,
            "Per comunicare con gli strumenti da verificare il software necessita di una "
            "connessione internet.");
    AddText(layout,
            "Se nel luogo della verifica la connessione non e' disponibile, e' possibile salvare "
            "adesso le informazioni necessarie. Le informazioni restano memorizzate sul PC per "
            "7 giorni.");
    AddText(layout,
            "Inserire qui sotto i numeri di serie degli strumenti (al massimo 6 strumenti).");
    auto* group = new QGroupBox(ToQt("Strumenti da verificare"));
    auto* fields = new QFormLayout(group);
    std::array<QLineEdit*, 6> serials{};
    for (size_t i = 0; i < serials.size(); ++i) {
        const std::string label = "Strumento " + std::to_string(i + 1);
        serials[i] = AddEdit(fields, label.c_str(), kSerialIds[i], m_strSerials[i]);
    }
    fields->addRow(new QLabel(ToQt("Ref Instr SN")));
    layout->addWidget(group);
    QPushButton* ok = AddOkCancel(layout, dialog, true);
    QObject::connect(ok, &QPushButton::clicked, &dialog, [&] {
        for (size_t i = 0; i < serials.size(); ++i)
            m_strSerials[i] = FromQt(serials[i]->text());
        if (OnOK())
            dialog.accept();
    });
    return Run(dialog);
}
